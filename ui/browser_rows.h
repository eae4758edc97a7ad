#pragma once
// Self-drawn rows of the browser's lists: a fixed row height, an optional glyph at its own left
// offset, vertically centred, and the text at its left offset, cut off at the row's edge.
// Each item carries the glyph role and both offsets in its data.
#include <QStyledItemDelegate>

#include "browser/glyph_role.h"

class QListWidgetItem;

namespace kv {

inline constexpr int kGlyphRoleData = Qt::UserRole;
inline constexpr int kGlyphLeftData = Qt::UserRole + 1;
inline constexpr int kTextLeftData = Qt::UserRole + 2;

class BrowserRowDelegate final : public QStyledItemDelegate {
public:
    BrowserRowDelegate(int rowHeight, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int rowHeight_;
};

}  // namespace kv
