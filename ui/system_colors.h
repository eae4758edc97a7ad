#pragma once
// The system colour table of the drawing layer, filled from the desktop's colour scheme.
#include <QPalette>

namespace kv {

// Sets the system colours (button face, window, texts, highlight, 3-D shades, tooltips ...)
// from the palette's roles. Colours without a counterpart in the palette keep their defaults.
void ApplyDesktopColors(const QPalette& palette);

}  // namespace kv
