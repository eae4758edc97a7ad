#pragma once
// The small pictures of the browser's rows, drawn here: folders and files 16 x 15, drives 16 x 11.
#include <QPixmap>

#include "browser/glyph_role.h"

namespace kv {

// A null pixmap for TGlyphRole::None.
const QPixmap& BrowserGlyph(TGlyphRole role);

}  // namespace kv
