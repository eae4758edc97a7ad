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
    // Advance by advance, as our own text is laid out: no kerning and no ligatures. Latin and
    // Cyrillic text then skips the shaper, whose tables the window thread would otherwise load
    // for every face at start-up; scripts that need shaping are shaped still.
    result.setKerning(false);
    result.setStyleStrategy(QFont::PreferNoShaping);
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
