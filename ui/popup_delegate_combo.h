#pragma once
// A drop-down box whose list rows get their delegate when the list first opens. Setting a
// delegate builds the whole drop-down (its frame, list view and their style set-up), which the
// start-up would otherwise pay for a list the player may never open.
#include <QAbstractItemDelegate>
#include <QComboBox>
#include <functional>
#include <utility>

namespace kv {

class PopupDelegateComboBox : public QComboBox {
public:
    using DelegateFactory = std::function<QAbstractItemDelegate*(QComboBox& box)>;

    PopupDelegateComboBox(QWidget* parent, DelegateFactory makeDelegate)
        : QComboBox(parent), makeDelegate_(std::move(makeDelegate)) {}

    void showPopup() override {
        if (makeDelegate_) {
            setItemDelegate(makeDelegate_(*this));
            makeDelegate_ = nullptr;
        }
        QComboBox::showPopup();
    }

private:
    DelegateFactory makeDelegate_;
};

}  // namespace kv
