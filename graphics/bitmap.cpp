// TBitmap: the shared copy-on-write records, queries, assignment and drawing.
#include "graphics/bitmap.h"

#include <algorithm>
#include <cstring>

#include "graphics/bitmap_internal.h"
#include "runtime/exceptions.h"

namespace kv {

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

// ---- TBitmap: records and copy on write ---------------------------------------------------

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
