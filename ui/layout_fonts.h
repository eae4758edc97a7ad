#pragma once
// Fonts of the window layout. A face name resolves through the text engine (fontconfig) to an
// installed family, and Qt is given that family, so a label we paint and a box Qt paints
// with the same face name look alike.
#include <QFont>
#include <string>

#include "graphics/color.h"
#include "graphics/font_engine.h"
#include "graphics/tools.h"

namespace kv {

inline constexpr uint8_t kRussianCharset = 204;

struct LayoutFont {
    const char* face = kDefaultFontName;
    int charHeight = 11;  // character height in pixels (the em size)
    bool bold = false;
    bool italic = false;
    TColor color = clWindowText;
    uint8_t charset = 1;  // DEFAULT_CHARSET; 204 is the Russian set
    bool underline = false;
};

// The text engine's request for a layout font, as a drawing-layer font given it asks for it.
FontRequest LayoutFontRequest(const LayoutFont& font);
// The installed family a face name resolves to.
QString ResolvedQtFamily(const LayoutFont& font);
// A Qt font for a windowed control.
QFont ToQFont(const LayoutFont& font);
// Gives a drawing-layer font the layout font's face, height, style, colour and character set.
void ApplyLayoutFont(TFont& target, const LayoutFont& font);

}  // namespace kv
