// TBitmap: building storage, from kept file bytes or at a new size.
#include <cstring>

#include "codecs/bmp.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_internal.h"
#include "graphics/raster.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

// ---- TBitmap: storage and sizing ----------------------------------------------------------

void TBitmap::EnsureStorage() const {
    const TBitmapImage& image = *image_;
    if (image.dib || image.savedFile.empty()) return;
    // Only saved file bytes: decode them into a fresh record holding both.
    TMemoryStream stream(image.savedFile);
    BmpReadResult read = ReadBmpStream(stream);
    auto fresh = CloneHeader(image);
    fresh->savedFile = image.savedFile;
    if (!read.empty && read.dib) {
        fresh->width = read.dib->Width();
        fresh->height = read.dib->Description().height;
        fresh->description = read.dib->Description();
        fresh->deviceIndependent = read.deviceIndependent;
        fresh->dib = std::move(read.dib);
    }
    image_ = std::move(fresh);
}

std::unique_ptr<Dib> TBitmap::BuildStorage(const TBitmapImage& from, int width, int height) const {
    DibDescription description;
    std::vector<RgbQuad> palette;
    const int signedHeight = from.height < 0 ? -height : height;
    if (!from.deviceIndependent) {
        if (from.Monochrome()) {
            description = DescriptionFor(width, height, 1);
            palette = MonochromePalette();
        } else {
            description = DisplayCompatibleDescription(width, height);
        }
    } else {
        description = from.description;
        if (description.bitCount == 0) description.bitCount = 32;
        description.width = width;
        description.height = signedHeight;
        if (description.bitCount <= 8) {
            palette = from.dib ? from.dib->Palette() : from.palette;
            if (palette.empty()) palette = DefaultPalette(description.bitCount);
        }
    }
    auto dib = std::make_unique<Dib>(description, palette);  // EOutOfResources beyond the limit
    const TRect all = Bounds(*dib);
    if (canvas_) {
        FillRect(*dib, all, all, canvas_->Brush().ToRaster(), canvas_->Brush().ToBackground());
    } else if (dib->BitCount() <= 8) {
        // The all-ones index need not be white (the halftone table ends in grey): take the
        // entry nearest to white.
        FillRect(*dib, all, all, RasterBrush{}, TextBackground{});
    } else {
        std::memset(dib->Bits(), 0xFF, dib->ByteSize());  // every bit set: white
    }
    if (from.dib) {
        const TRect old = Bounds(*from.dib);
        StretchCopy(*dib, all, old, *from.dib, old, kSrcCopy);
    }
    return dib;
}

void TBitmap::SetSizeImpl(int width, int height) {
    if (width < 0 || height < 0) throw EOutOfResources(kOutOfResourcesText);
    EnsureStorage();
    const TBitmapImage& old = *image_;
    auto fresh = CloneHeader(old);
    fresh->width = width;
    fresh->height = old.height < 0 ? -height : height;
    if (width != 0 && height != 0) fresh->dib = BuildStorage(old, width, height);
    if (fresh->dib) fresh->description = fresh->dib->Description();
    image_ = std::move(fresh);
    Changed();
}

void TBitmap::SetWidth(int value) {
    if (value == Width()) return;
    SetSizeImpl(value, Height());
}

void TBitmap::SetHeight(int value) {
    if (value == Height()) return;
    SetSizeImpl(Width(), value);
}

void TBitmap::SetSize(int width, int height) {
    if (width == Width() && height == Height()) return;
    SetSizeImpl(width, height);
}

}  // namespace kv
