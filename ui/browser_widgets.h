#pragma once
// The browser panel's three windowed controls: Qt widgets that mirror their toolkit-free models
// (browser/) and pass the player's selections in. Every action of the player runs through the
// event dispatch, so a failure raised by a change handler reaches the default failure report.
#include <QListWidget>

#include "browser/directory_list.h"
#include "browser/drive_combo.h"
#include "browser/file_list.h"
#include "browser/type_ahead.h"
#include "ui/popup_delegate_combo.h"

namespace kv {

class DriveComboBoxWidget final : public PopupDelegateComboBox {
    Q_OBJECT
public:
    explicit DriveComboBoxWidget(QWidget* parent);
    TDriveComboBox& Model() { return model_; }

private:
    void SyncRows();

    TDriveComboBox model_;
};

class DirectoryListWidget final : public QListWidget {
    Q_OBJECT
public:
    DirectoryListWidget(int rowHeight, QWidget* parent);
    TDirectoryListBox& Model() { return model_; }

protected:
    // Double click and Enter open the selected row; typed characters run the type-ahead.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;

private:
    void SyncRows();

    TDirectoryListBox model_;
    TTypeAhead typeAhead_;
};

class FileListWidget final : public QListWidget {
    Q_OBJECT
public:
    FileListWidget(int rowHeight, QWidget* parent);
    TFileListBox& Model() { return model_; }

protected:
    // Typed characters run the type-ahead.
    void keyPressEvent(QKeyEvent* event) override;
    // Focus arriving selects nothing.
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;

private:
    void SyncRows();

    TFileListBox model_;
    TTypeAhead typeAhead_;
};

}  // namespace kv
