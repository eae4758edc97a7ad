#include "ui/browser_glyphs.h"

#include <QPainter>
#include <QPolygon>
#include <map>

namespace kv {
namespace {

constexpr int kGlyphWidth = 16;
constexpr int kFileGlyphHeight = 15;
constexpr int kDriveGlyphHeight = 11;

const QColor kOutline(0, 0, 0);
const QColor kFolder(255, 255, 0);
const QColor kFolderShade(128, 128, 0);
const QColor kPaper(255, 255, 255);
const QColor kGrey(192, 192, 192);
const QColor kDark(128, 128, 128);

QPixmap Blank(int height) {
    QPixmap pixmap(kGlyphWidth, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap Folder(bool open, bool current) {
    QPixmap pixmap = Blank(kFileGlyphHeight);
    QPainter paint(&pixmap);
    paint.setPen(kOutline);
    paint.setBrush(kFolderShade);
    paint.drawPolygon(QPolygon({QPoint(0, 3), QPoint(5, 3), QPoint(6, 4), QPoint(13, 4), QPoint(13, 13), QPoint(0, 13)}));
    paint.setBrush(kFolder);
    if (open) {
        paint.drawPolygon(QPolygon({QPoint(2, 7), QPoint(15, 7), QPoint(13, 13), QPoint(0, 13)}));
    } else {
        paint.drawRect(0, 6, 13, 7);
    }
    if (current) {
        paint.setPen(kPaper);
        paint.drawLine(4, 10, 10, 10);
    }
    return pixmap;
}

QPixmap Page(bool executable) {
    QPixmap pixmap = Blank(kFileGlyphHeight);
    QPainter paint(&pixmap);
    paint.setPen(kOutline);
    paint.setBrush(executable ? kGrey : kPaper);
    paint.drawPolygon(QPolygon({QPoint(3, 0), QPoint(10, 0), QPoint(13, 3), QPoint(13, 14), QPoint(3, 14)}));
    paint.setPen(executable ? QColor(0, 0, 128) : kDark);
    for (int y = 4; y <= 11; y += 2) paint.drawLine(5, y, 11, y);
    return pixmap;
}

QPixmap Drive(TGlyphRole role) {
    QPixmap pixmap = Blank(kDriveGlyphHeight);
    QPainter paint(&pixmap);
    paint.setPen(kOutline);
    switch (role) {
        case TGlyphRole::CDRom:
            paint.setBrush(kGrey);
            paint.drawEllipse(2, 0, 10, 10);
            paint.setBrush(kPaper);
            paint.drawEllipse(6, 4, 2, 2);
            break;
        case TGlyphRole::Floppy:
            paint.setBrush(QColor(0, 0, 128));
            paint.drawRect(2, 0, 10, 10);
            paint.setBrush(kPaper);
            paint.drawRect(4, 0, 6, 3);
            break;
        default:
            paint.setBrush(kGrey);
            paint.drawRect(0, 2, 15, 6);
            paint.setPen(role == TGlyphRole::Ram ? QColor(0, 128, 0) : QColor(0, 160, 0));
            paint.drawPoint(12, 5);
            if (role == TGlyphRole::Network) {
                paint.setPen(kOutline);
                paint.drawLine(7, 8, 7, 10);
                paint.drawLine(2, 10, 13, 10);
            }
            break;
    }
    return pixmap;
}

QPixmap Make(TGlyphRole role) {
    switch (role) {
        case TGlyphRole::None: return {};
        case TGlyphRole::Executable: return Page(true);
        case TGlyphRole::UnknownFile: return Page(false);
        case TGlyphRole::ClosedFolder: return Folder(false, false);
        case TGlyphRole::OpenFolder: return Folder(true, false);
        case TGlyphRole::CurrentFolder: return Folder(true, true);
        default: return Drive(role);
    }
}

}  // namespace

const QPixmap& BrowserGlyph(TGlyphRole role) {
    // Made on first use, once the application (and with it the pixmap support) exists.
    static std::map<TGlyphRole, QPixmap> glyphs;
    auto found = glyphs.find(role);
    if (found == glyphs.end()) found = glyphs.emplace(role, Make(role)).first;
    return found->second;
}

}  // namespace kv
