#include "ui/browser_rows.h"

#include <QApplication>
#include <QPainter>

#include "ui/browser_glyphs.h"

namespace kv {

BrowserRowDelegate::BrowserRowDelegate(int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

QSize BrowserRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_);
}

void BrowserRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QRect row = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(row, selected ? palette.highlight() : palette.base());

    const auto role = static_cast<TGlyphRole>(index.data(kGlyphRoleData).toInt());
    const QPixmap& glyph = BrowserGlyph(role);
    if (!glyph.isNull()) {
        const int top = (row.top() + row.bottom() + 1 - glyph.height()) / 2;
        painter->drawPixmap(row.left() + index.data(kGlyphLeftData).toInt(), top, glyph);
    }
    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    painter->setFont(option.font);
    painter->setClipRect(row);
    const QRect textArea(row.left() + index.data(kTextLeftData).toInt(), row.top(), row.width(), row.height());
    painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
    if ((option.state & QStyle::State_HasFocus) != 0) {
        QStyleOptionFocusRect focus;
        focus.rect = row;
        focus.state = option.state;
        focus.backgroundColor = selected ? palette.highlight().color() : palette.base().color();
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
    }
    painter->restore();
}

}  // namespace kv
