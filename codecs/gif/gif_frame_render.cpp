// Rendering one frame: its 8-bit bitmap of colour indices with the frame palette, its
// transparency mask, and drawing it into a rectangle of a canvas.
#include <algorithm>
#include <cstring>

#include "codecs/gif/gif_image.h"
#include "codecs/gif/gif_sub_image.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/dib.h"
#include "graphics/raster.h"

namespace kv {

namespace {

constexpr TCanvasState kDrawState{TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid,
                                  TCanvasStateItem::csPenValid, TCanvasStateItem::csBrushValid};

// a * b / c rounded to the nearest integer (halves away from zero); c > 0.
int MulDivRound(int a, int b, int c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

std::vector<RgbQuad> TGIFSubImage::FramePalette() const {
    if (colorMap_.Count() > 0) return colorMap_.ToPalette();
    return Image() ? Image()->PicturePalette() : std::vector<RgbQuad>{};
}

void TGIFSubImage::ReleaseRendering() {
    frameBitmap_.reset();
    transparencyMask_.reset();
    maskWanted_ = true;
}

TBitmap& TGIFSubImage::Bitmap() {
    if (!frameBitmap_) Render();
    return *frameBitmap_;
}

const Dib* TGIFSubImage::Mask() {
    if (maskWanted_ && hasTransparency_) {
        frameBitmap_.reset();
        Render();
    }
    return transparencyMask_.get();
}

void TGIFSubImage::Render() {
    auto bitmap = std::make_unique<TBitmap>();
    const std::vector<RgbQuad> palette = FramePalette();
    if (Empty()) {
        bitmap->SetPalette(palette);
        bitmap->SetWidth(width_);
        bitmap->SetHeight(height_);
        frameBitmap_ = std::move(bitmap);
        return;
    }
    // 256 colour slots: the frame palette first, the rest black.
    std::vector<RgbQuad> slots(256);
    std::copy_n(palette.begin(), std::min<size_t>(palette.size(), 256), slots.begin());
    DibDescription description = DescriptionFor(width_, height_, 8);
    description.clrUsed = 256;
    auto dib = std::make_unique<Dib>(description, std::move(slots));

    const int transparent = TransparentIndex();
    const bool buildMask = maskWanted_ && transparent >= 0;
    std::unique_ptr<Dib> mask;
    bool anyTransparent = false;
    if (buildMask) mask = std::make_unique<Dib>(DescriptionFor(width_, height_, 1), MonochromePalette());

    TGIFImage* image = Image();
    if (image) image->RenderProgress(TProgressStage::psStarting, 0);
    const size_t width = width_;
    for (int y = 0; y < height_; ++y) {
        if (image && y % 32 == 0 && y > 0) image->RenderProgress(TProgressStage::psRunning, y * 100 / height_);
        const uint8_t* source = pixels_.data() + static_cast<size_t>(y) * width;
        std::memcpy(dib->Row(y), source, width);
        if (!buildMask) continue;
        uint8_t* maskRow = mask->Row(y);
        for (size_t x = 0; x < width; ++x) {
            if (source[x] != transparent) continue;
            maskRow[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
            anyTransparent = true;
        }
    }
    bitmap->SetDib(std::move(dib), true);
    frameBitmap_ = std::move(bitmap);
    if (image) image->RenderProgress(TProgressStage::psEnding, 100);
    if (buildMask) {
        transparencyMask_ = anyTransparent ? std::move(mask) : nullptr;
        maskWanted_ = false;
    }
}

void TGIFSubImage::DrawAt(TCanvas& canvas, const TRect& place, bool transparent) {
    TBitmap& bitmap = Bitmap();
    const Dib* mask = transparent && hasTransparency_ ? Mask() : nullptr;
    const Dib* source = bitmap.GetDib();
    if (!source) return;
    if (!mask) {
        canvas.StretchDraw(place, &bitmap);
        return;
    }
    // Only pixels whose mask bit is clear are written.
    const TCanvas::Target target = canvas.RequiredState(kDrawState);
    if (!target.dib) return;
    MaskedCopy(*target.dib, target.clip, place.Offset(target.origin.x, target.origin.y), *source,
               TRect{0, 0, source->Width(), source->Height()}, *mask, canvas.CopyMode());
    canvas.Changed();
}

void TGIFSubImage::Draw(TCanvas& canvas, const TRect& rect, bool transparent, bool tile) {
    if (Empty()) return;
    if (tile) {
        for (int y = rect.top; y < rect.bottom; y += height_)
            for (int x = rect.left; x < rect.right; x += width_)
                DrawAt(canvas, RectOfSize(x, y, width_, height_), transparent);
        return;
    }
    DrawAt(canvas, PlaceIn(rect), transparent);
}

TRect TGIFSubImage::PlaceIn(const TRect& rect) const {
    // A screen that wrapped to 0 counts as the frame's own extent.
    int screenWidth = Image() ? Image()->Header().ScreenWidth() : 0;
    int screenHeight = Image() ? Image()->Header().ScreenHeight() : 0;
    if (screenWidth == 0) screenWidth = left_ + width_;
    if (screenHeight == 0) screenHeight = top_ + height_;
    return TRect{rect.left + MulDivRound(left_, rect.Width(), screenWidth),
                 rect.top + MulDivRound(top_, rect.Height(), screenHeight),
                 rect.left + MulDivRound(left_ + width_, rect.Width(), screenWidth),
                 rect.top + MulDivRound(top_ + height_, rect.Height(), screenHeight)};
}

}  // namespace kv
