#include "ui/layout_fonts.h"

namespace kv {

FontRequest LayoutFontRequest(const LayoutFont& font) {
    FontRequest request;
    request.name = font.face;
    request.height = -font.charHeight;
    request.bold = font.bold;
    request.italic = font.italic;
    request.underline = font.underline;
    return request;
}

QString ResolvedQtFamily(const LayoutFont& font) {
    return QString::fromStdString(FontEngine::Instance().ResolvedFamily(LayoutFontRequest(font)));
}

QFont ToQFont(const LayoutFont& font) {
    QFont result(ResolvedQtFamily(font));
    result.setPixelSize(font.charHeight);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}

void ApplyLayoutFont(TFont& target, const LayoutFont& font) {
    target.SetName(font.face);
    // A negative height asks for the character height rather than the cell height.
    target.SetHeight(-font.charHeight);
    TFontStyles style;
    if (font.bold) style.Include(TFontStyle::fsBold);
    if (font.italic) style.Include(TFontStyle::fsItalic);
    if (font.underline) style.Include(TFontStyle::fsUnderline);
    target.SetStyle(style);
    target.SetColor(font.color);
    target.SetCharset(font.charset);
}

}  // namespace kv
