// TBitmap: pixel records, sizing, copy on write, formats, transparency, assignment and drawing.
#include "graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "codecs/bmp.h"
#include "graphics/raster.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

namespace {

TRect Bounds(const Dib& dib) { return {0, 0, dib.Width(), dib.Height()}; }

// A record with the same kind, format, palette and kept fields as `from`, without pixels.
std::shared_ptr<TBitmapImage> CloneHeader(const TBitmapImage& from) {
    auto image = std::make_shared<TBitmapImage>();
    image->deviceIndependent = from.deviceIndependent;
    image->width = from.width;
    image->height = from.height;
    image->description = from.description;
    image->palette = from.palette;
    image->fileFields = from.fileFields;
    image->os2Format = from.os2Format;
    return image;
}

}  // namespace

// ---- TBitmap: records, storage and copy on write ------------------------------------------

TBitmap::TBitmap() : image_(std::make_shared<TBitmapImage>()) {}

TBitmap::~TBitmap() {
    canvas_.reset();
    image_.reset();
}

void TBitmap::SetImage(std::shared_ptr<TBitmapImage> image) {
    if (!image) image = std::make_shared<TBitmapImage>();
    image_ = std::move(image);
    SetPaletteModified(!Palette().empty());
    Changed();
}

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

void TBitmap::UniqueImage() {
    if (image_.use_count() <= 1) return;
    auto fresh = CloneHeader(*image_);
    fresh->savedFile = image_->savedFile;
    if (image_->dib) fresh->dib = image_->dib->Clone();  // EOutOfResources when memory runs out
    image_ = std::move(fresh);
}

void TBitmap::Changing() {
    EnsureStorage();
    UniqueImage();
    // The pixels are about to differ from the file they came from.
    image_->savedFile.clear();
}

// ---- TBitmap: queries ---------------------------------------------------------------------

bool TBitmap::Empty() const { return !image_->dib && image_->savedFile.empty(); }
int TBitmap::Width() const { return image_->width; }
int TBitmap::Height() const { return image_->height < 0 ? -image_->height : image_->height; }

const Dib* TBitmap::GetDib() const {
    EnsureStorage();
    return image_->dib.get();
}

Dib* TBitmap::MutableDib() {
    Changing();
    return image_->dib.get();
}

void TBitmap::SetDib(std::unique_ptr<Dib> dib, bool deviceIndependent) {
    auto fresh = std::make_shared<TBitmapImage>();
    if (dib) {
        fresh->deviceIndependent = deviceIndependent;
        fresh->description = dib->Description();
        fresh->width = dib->Width();
        fresh->height = dib->Description().height;
        fresh->dib = std::move(dib);
    }
    SetImage(std::move(fresh));
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        EnsureStorage();
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    }
    return *canvas_;
}

uint8_t* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= Height() || (!image_->dib && image_->savedFile.empty())) {
        throw EInvalidGraphicOperation("Scan line index out of range");
    }
    Changing();
    if (!image_->dib) throw EInvalidGraphicOperation("Scan line index out of range");
    return image_->dib->Row(row);
}

std::vector<RgbQuad> TBitmap::Palette() const {
    const TBitmapImage& image = *image_;
    if (image.dib && image.dib->BitCount() <= 8) return image.dib->Palette();
    return image.palette;
}

void TBitmap::SetPalette(const std::vector<RgbQuad>& palette) {
    Changing();
    TBitmapImage& image = *image_;
    if (image.dib && image.dib->BitCount() <= 8) {
        auto& table = image.dib->Palette();
        const size_t n = std::min(table.size(), palette.size());
        std::copy_n(palette.begin(), n, table.begin());
    } else {
        image.palette = palette;
    }
    SetPaletteModified(!palette.empty());
    Changed();
}

bool TBitmap::Equals(const TGraphic* other) const {
    const auto* b = dynamic_cast<const TBitmap*>(other);
    if (!b) return false;
    if (b == this || b->image_ == image_) return true;
    if (Empty() || b->Empty()) return Empty() && b->Empty();
    const Dib* x = GetDib();
    const Dib* y = b->GetDib();
    if (!x || !y) return x == y;
    // Same layout (the colour count of a description is bookkeeping, not content).
    const ChannelMasks mx = EffectiveMasks(x->Description());
    const ChannelMasks my = EffectiveMasks(y->Description());
    if (x->Width() != y->Width() || x->Description().height != y->Description().height ||
        x->BitCount() != y->BitCount() || mx.red != my.red || mx.green != my.green || mx.blue != my.blue ||
        x->Palette() != y->Palette()) {
        return false;
    }
    return x->ByteSize() == y->ByteSize() && std::memcmp(x->Bits(), y->Bits(), x->ByteSize()) == 0;
}

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

// ---- TBitmap: assignment and drawing ------------------------------------------------------

void TBitmap::Assign(const TGraphic* source) {
    const auto* bitmap = dynamic_cast<const TBitmap*>(source);
    if (source && !bitmap) {
        TGraphic::Assign(source);  // the other picture writes itself into this bitmap
        return;
    }
    if (bitmap) {
        image_ = bitmap->image_;
    } else {
        image_ = std::make_shared<TBitmapImage>();
    }
    if (bitmap && bitmap != this) {
        SetTransparentFlag(bitmap->Transparent());
        transparentColor_ = bitmap->transparentColor_;
        transparentMode_ = bitmap->transparentMode_;
    }
    SetPaletteModified(!Palette().empty());
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
    canvas.RequiredState({TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid,
                          TCanvasStateItem::csPenValid, TCanvasStateItem::csBrushValid});
    const Dib* src = GetDib();
    if (!src) return;
    const TRect whole = Bounds(*src);
    if (Transparent()) {
        const RgbQuad key = ColorToRgb(TransparentColor());
        canvas.StretchDib(rect, *src, whole, &key);
    } else {
        canvas.StretchDib(rect, *src, whole);
    }
}

}  // namespace kv
