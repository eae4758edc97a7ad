// TBitmap: pixel formats and handle types, converting the pixels on a change.
#include "graphics/bitmap.h"
#include "graphics/bitmap_internal.h"
#include "runtime/exceptions.h"

namespace kv {

// ---- TBitmap: formats ---------------------------------------------------------------------

TBitmapHandleType TBitmap::HandleType() const {
    return image_->deviceIndependent ? TBitmapHandleType::bmDIB : TBitmapHandleType::bmDDB;
}

TPixelFormat TBitmap::PixelFormat() const {
    const TBitmapImage& image = *image_;
    if (!image.deviceIndependent) return TPixelFormat::pfDevice;
    switch (PixelFormatBits(image.description)) {
        case 1: return TPixelFormat::pf1bit;
        case 4: return TPixelFormat::pf4bit;
        case 8: return TPixelFormat::pf8bit;
        case 15: return TPixelFormat::pf15bit;
        case 16: return TPixelFormat::pf16bit;
        case 24: return TPixelFormat::pf24bit;
        case 32: return TPixelFormat::pf32bit;
        default: return TPixelFormat::pfCustom;
    }
}

namespace {

// Replaces a record's storage kind: the description for the new kind plus the pixels converted.
std::shared_ptr<TBitmapImage> Reformat(const TBitmapImage& from, bool deviceIndependent,
                                       const DibDescription& description, std::vector<RgbQuad> palette) {
    auto fresh = CloneHeader(from);
    fresh->deviceIndependent = deviceIndependent;
    fresh->description = description;
    fresh->description.width = from.width;
    fresh->description.height = from.height;
    if (description.bitCount <= 8) fresh->palette.clear();
    if (from.dib) {
        DibDescription target = fresh->description;
        target.width = from.dib->Width();
        target.height = from.dib->Description().height;
        fresh->dib = from.dib->ConvertTo(target, palette);
        fresh->description = fresh->dib->Description();
    } else if (description.bitCount <= 8) {
        fresh->palette = std::move(palette);  // used when storage is first built
    }
    return fresh;
}

}  // namespace

void TBitmap::SetPixelFormat(TPixelFormat value) {
    int bits = 0;
    std::vector<RgbQuad> palette;
    switch (value) {
        case TPixelFormat::pfDevice: SetHandleType(TBitmapHandleType::bmDDB); return;
        case TPixelFormat::pf1bit: bits = 1; palette = MonochromePalette(); break;
        case TPixelFormat::pf4bit: bits = 4; palette = SystemPalette16(); break;
        case TPixelFormat::pf8bit: bits = 8; palette = HalftonePalette(); break;
        case TPixelFormat::pf15bit: bits = 15; break;
        case TPixelFormat::pf16bit: bits = 16; break;
        case TPixelFormat::pf24bit: bits = 24; break;
        case TPixelFormat::pf32bit: bits = 32; break;
        default: throw EInvalidGraphic("Invalid pixel format");
    }
    if (value == PixelFormat()) return;
    EnsureStorage();
    auto fresh = Reformat(*image_, true, DescriptionFor(0, 0, bits), std::move(palette));
    image_ = std::move(fresh);
    SetPaletteModified(!Palette().empty());
    Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType value) {
    if (value == HandleType()) return;
    EnsureStorage();
    std::shared_ptr<TBitmapImage> fresh;
    if (value == TBitmapHandleType::bmDDB) {
        const bool mono = image_->description.bitCount == 1;
        fresh = Reformat(*image_, false, mono ? DescriptionFor(0, 0, 1) : DisplayCompatibleDescription(0, 0),
                         mono ? MonochromePalette() : std::vector<RgbQuad>{});
    } else {
        // A section in the display's format.
        const bool mono = Monochrome();
        fresh = Reformat(*image_, true, mono ? DescriptionFor(0, 0, 1) : DisplayCompatibleDescription(0, 0),
                         mono ? MonochromePalette() : std::vector<RgbQuad>{});
    }
    image_ = std::move(fresh);
    Changed();
}

bool TBitmap::Monochrome() const {
    const DibDescription& d = image_->description;
    return d.planes == 1 && d.bitCount == 1;
}

}  // namespace kv
