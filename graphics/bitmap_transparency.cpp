// TBitmap: the transparent colour and mode.
#include "graphics/bitmap.h"

namespace kv {

// ---- TBitmap: transparency ----------------------------------------------------------------

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault) return ResolveColor(transparentColor_);
    if (Monochrome()) return clWhite;
    const Dib* dib = GetDib();
    if (!dib || dib->Width() == 0 || dib->Height() == 0) return clDefault;
    return RgbToColor(dib->PixelAt(0, dib->Height() - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == transparentColor_) return;
    transparentMode_ = value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    transparentColor_ = value;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == transparentMode_) return;
    if (value == TTransparentMode::tmAuto) {
        SetTransparentColor(clDefault);
    } else {
        SetTransparentColor(TransparentColor());
    }
}

}  // namespace kv
