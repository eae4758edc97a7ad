#include "ui/browser_widgets.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <functional>
#include <optional>

#include "ui/browser_glyphs.h"
#include "ui/browser_rows.h"
#include "ui/event_dispatch.h"

namespace kv {
namespace {

// Offsets of the drive rows: glyph at 2, text 6 past the glyph (a missing glyph counts 16 wide).
constexpr int kDriveGlyphLeft = 2;
constexpr int kDriveTextGap = 6;
constexpr int kMissingGlyphWidth = 16;
constexpr int kDirectoryTextGap = 4;
constexpr int kFileTextLeft = 2;
constexpr int kFileGlyphTextGap = 6;

int GlyphWidth(TGlyphRole role) {
    const QPixmap& glyph = BrowserGlyph(role);
    return glyph.isNull() ? kMissingGlyphWidth : glyph.width();
}

QListWidgetItem* MakeItem(const std::string& text, TGlyphRole glyph, int glyphLeft, int textLeft) {
    auto* item = new QListWidgetItem(QString::fromStdString(text));  // owned by the list it joins
    item->setData(kGlyphRoleData, static_cast<int>(glyph));
    item->setData(kGlyphLeftData, glyphLeft);
    item->setData(kTextLeftData, textLeft);
    return item;
}

void PrepareList(QListWidget& list, int rowHeight) {
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setUniformItemSizes(true);
    list.setItemDelegate(new BrowserRowDelegate(rowHeight, &list));
}

// A typed character or Backspace goes to the list's own type-ahead instead of Qt's keyboard
// search: the row it picks (-1: none matches), or nothing when the key is not one for it.
std::optional<int> TypeAheadRow(TTypeAhead& typeAhead, const QKeyEvent& event, int rowCount, int current,
                                const TTypeAhead::RowText& rowText) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
    if (event.key() == Qt::Key_Backspace) return typeAhead.Backspace(rowCount, rowText, current);
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint()) return std::nullopt;
    return typeAhead.Type(text.toStdString(), rowCount, rowText, current);
}

// Selects a row for the player: a new current row reports itself through currentRowChanged;
// the row already current is clicked again (which reports no change).
template <typename Model>
void SelectForPlayer(QListWidget& list, Model& model, int row) {
    if (row < 0) return;
    if (row != list.currentRow()) {
        list.setCurrentRow(row);
    } else {
        DispatchEvent([&model, row] { model.ClickRow(row); });
    }
}

// Qt makes the first row current when focus arrives at a list that has none, which would select
// a file no player chose: the current row is put back where the model has it, silently.
void FocusInKeepingRow(QListWidget& list, int modelRow, const std::function<void()>& baseFocusIn) {
    const QSignalBlocker quiet(&list);
    baseFocusIn();
    if (list.currentRow() != modelRow)
        list.selectionModel()->setCurrentIndex(list.model()->index(modelRow, 0), QItemSelectionModel::NoUpdate);
}

// Ctrl+click or Ctrl+Space on the selected row would take its highlight away while the model
// still holds it as the selection: that row stays selected.
QItemSelectionModel::SelectionFlags KeepSelectedRow(QItemSelectionModel::SelectionFlags flags) {
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) return QItemSelectionModel::NoUpdate;
    return flags;
}

}  // namespace

// ---- drive selector ----

DriveComboBoxWidget::DriveComboBoxWidget(QWidget* parent)
    : PopupDelegateComboBox(parent, [](QComboBox& box) {
          const int height = box.fontMetrics().height();
          return new BrowserRowDelegate(height > 11 ? height : 11, &box);
      }) {
    setEditable(false);
    model_.OnRowsChanged = [this] { SyncRows(); };
    // "activated" comes from the player only, also for the row already selected.
    connect(this, &QComboBox::activated, this, [this](int index) { DispatchEvent([this, index] { model_.PickRow(index); }); });
}

void DriveComboBoxWidget::SyncRows() {
    const QSignalBlocker quiet(this);
    const auto& rows = model_.Rows();
    if (count() != static_cast<int>(rows.size())) {
        clear();
        for (const TDriveRow& row : rows) {
            addItem(QIcon(BrowserGlyph(row.glyph)), QString::fromStdString(row.text));
            const int at = count() - 1;
            setItemData(at, static_cast<int>(row.glyph), kGlyphRoleData);
            setItemData(at, kDriveGlyphLeft, kGlyphLeftData);
            setItemData(at, GlyphWidth(row.glyph) + kDriveTextGap, kTextLeftData);
        }
    } else {
        for (int i = 0; i < count(); ++i) setItemText(i, QString::fromStdString(rows[static_cast<size_t>(i)].text));
    }
    setCurrentIndex(model_.ItemIndex());
}

// ---- directory list ----

DirectoryListWidget::DirectoryListWidget(int rowHeight, QWidget* parent) : QListWidget(parent) {
    PrepareList(*this, rowHeight);
    model_.OnRowsChanged = [this] { SyncRows(); };
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        DispatchEvent([this, row] { model_.ClickRow(row); });
    });
}

void DirectoryListWidget::SyncRows() {
    const QSignalBlocker quiet(this);
    clear();
    const auto& rows = model_.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const int index = static_cast<int>(i);
        const int indent = model_.RowIndent(index);
        addItem(MakeItem(model_.DisplayText(index), rows[i].glyph, indent,
                         indent + GlyphWidth(rows[i].glyph) + kDirectoryTextGap));
    }
    setCurrentRow(model_.ItemIndex());
}

void DirectoryListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    if (row < 0) return;
    DispatchEvent([this, row] {
        if (row != model_.ItemIndex()) setCurrentRow(row);
        model_.OpenSelectedRow();
    });
}

void DirectoryListWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        DispatchEvent([this] { model_.OpenSelectedRow(); });
        return;
    }
    const auto row = TypeAheadRow(typeAhead_, *event, count(), model_.ItemIndex(),
                                  [this](int index) { return model_.DisplayText(index); });
    if (row) {
        SelectForPlayer(*this, model_, *row);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryListWidget::focusInEvent(QFocusEvent* event) {
    FocusInKeepingRow(*this, model_.ItemIndex(), [&] { QListWidget::focusInEvent(event); });
}

QItemSelectionModel::SelectionFlags DirectoryListWidget::selectionCommand(const QModelIndex& index,
                                                                          const QEvent* event) const {
    return KeepSelectedRow(QListWidget::selectionCommand(index, event));
}

// ---- file list ----

FileListWidget::FileListWidget(int rowHeight, QWidget* parent) : QListWidget(parent) {
    PrepareList(*this, rowHeight);
    model_.OnRowsChanged = [this] { SyncRows(); };
    model_.OnBusyCursor = [](bool busy) {
        if (busy) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QGuiApplication::restoreOverrideCursor();
        }
    };
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        DispatchEvent([this, row] { model_.ClickRow(row); });
    });
}

void FileListWidget::SyncRows() {
    const QSignalBlocker quiet(this);
    clear();
    for (const TFileRow& row : model_.Rows()) {
        const bool glyph = model_.ShowGlyphs() && row.glyph != TGlyphRole::None;
        const int textLeft = glyph ? GlyphWidth(row.glyph) + kFileGlyphTextGap : kFileTextLeft;
        addItem(MakeItem(row.text, glyph ? row.glyph : TGlyphRole::None, kFileTextLeft, textLeft));
    }
    setCurrentRow(model_.ItemIndex());
}

void FileListWidget::keyPressEvent(QKeyEvent* event) {
    const auto row = TypeAheadRow(typeAhead_, *event, count(), model_.ItemIndex(), [this](int index) {
        return model_.Rows().at(static_cast<size_t>(index)).text;
    });
    if (row) {
        SelectForPlayer(*this, model_, *row);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FileListWidget::focusInEvent(QFocusEvent* event) {
    FocusInKeepingRow(*this, model_.ItemIndex(), [&] { QListWidget::focusInEvent(event); });
}

QItemSelectionModel::SelectionFlags FileListWidget::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    return KeepSelectedRow(QListWidget::selectionCommand(index, event));
}

}  // namespace kv
