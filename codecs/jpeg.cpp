#include "codecs/jpeg.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "codecs/jpeg_decoder.h"
#include "codecs/jpeg_errors.h"
#include "graphics/canvas.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

namespace {

TProgressStage ToProgressStage(JpegProgressStage stage) {
    switch (stage) {
        case JpegProgressStage::Starting: return TProgressStage::psStarting;
        case JpegProgressStage::Running: return TProgressStage::psRunning;
        case JpegProgressStage::Ending: break;
    }
    return TProgressStage::psEnding;
}

}  // namespace

TJPEGImage::TJPEGImage() : data_(std::make_shared<TJPEGData>()), settings_(JPEGDefaults()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TGraphic* source) {
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg == this) return;
        data_ = jpeg->data_;
        bitmap_.reset();
        if (jpeg->bitmap_) {
            bitmap_ = std::make_unique<TBitmap>();
            bitmap_->Assign(jpeg->bitmap_.get());
        }
        SetPaletteModified(true);
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        data_ = std::make_shared<TJPEGData>();
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(bitmap);
        SetPaletteModified(true);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TGraphic& dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(&dest)) {
        bitmap->Assign(&Bitmap());
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) {
    canvas.StretchDraw(rect, &Bitmap());
}

bool TJPEGImage::Equals(const TGraphic* other) const {
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(other);
    if (jpeg == nullptr || typeid(*other) != typeid(*this)) return false;
    if (jpeg == this || jpeg->data_ == data_) return true;
    if (!data_->hasData || !jpeg->data_->hasData) return TGraphic::Equals(other);
    const PixelBuffer& mine = data_->bytes;
    const PixelBuffer& theirs = jpeg->data_->bytes;
    if (mine.size() != theirs.size()) return false;
    return mine.size() == 0 || std::memcmp(mine.data(), theirs.data(), mine.size()) == 0;
}

bool TJPEGImage::Empty() const {
    if (data_->hasData) return false;
    return !bitmap_ || bitmap_->Empty();
}

int TJPEGImage::Width() const {
    if (bitmap_) return bitmap_->Width();
    return JpegScaledDimension(data_->width, settings_.scale);
}

int TJPEGImage::Height() const {
    if (bitmap_) return bitmap_->Height();
    return JpegScaledDimension(data_->height, settings_.scale);
}

void TJPEGImage::SetWidth(int) {
    throw EInvalidGraphicOperation(kCannotChangeSizeText);
}

void TJPEGImage::SetHeight(int) {
    throw EInvalidGraphicOperation(kCannotChangeSizeText);
}

std::vector<RgbQuad> TJPEGImage::Palette() const {
    return bitmap_ ? bitmap_->Palette() : std::vector<RgbQuad>{};
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    const int64_t count = stream.Remaining();
    // A compressed file this large cannot decode into storage we would accept anyway.
    if (static_cast<uint64_t>(count) > kMaxStorageBytes) throw EOutOfResources(kOutOfResourcesText);
    data_ = std::make_shared<TJPEGData>();
    bitmap_.reset();
    PixelBuffer bytes(static_cast<size_t>(count));
    stream.ReadBuffer(bytes.data(), count);
    TakeBytes(std::move(bytes));
}

void TJPEGImage::ReadData(TStream& stream) {
    const std::vector<uint8_t> counted = ReadCountedBytes(stream);
    data_ = std::make_shared<TJPEGData>();
    bitmap_.reset();
    PixelBuffer bytes(counted.size());
    std::copy(counted.begin(), counted.end(), bytes.data());
    TakeBytes(std::move(bytes));
}

void TJPEGImage::TakeBytes(PixelBuffer bytes) {
    auto data = std::make_shared<TJPEGData>();
    data->bytes = std::move(bytes);
    data->hasData = true;
    data_ = data;
    if (data->bytes.size() > 0) {
        JpegHeaderInfo info = ReadJpegHeader(data->bytes.data(), data->bytes.size());
        data->width = info.width;
        data->height = info.height;
        data->grayscale = info.grayscale;
        settings_.progressiveEncoding = info.multiScan;
    }
    SetPaletteModified(true);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const {
    if (!data_->hasData) {
        TGraphic::SaveToStream(stream);
        return;
    }
    if (data_->bytes.size() > 0 &&
        stream.Write(data_->bytes.data(), static_cast<int64_t>(data_->bytes.size())) !=
            static_cast<int64_t>(data_->bytes.size())) {
        throw EStreamError("Stream write error");
    }
}

TBitmap& TJPEGImage::Bitmap() const {
    if (!bitmap_) Decode();
    return *bitmap_;
}

void TJPEGImage::Invalidate() {
    bitmap_.reset();
}

void TJPEGImage::Decode() const {
    // Decoding only fills the cache and reports through the events; the picture's value does
    // not change, which is why const requests (drawing, conversion) may do it.
    auto& self = const_cast<TJPEGImage&>(*this);
    const TRect whole{0, 0, Width(), Height()};
    bitmap_ = std::make_unique<TBitmap>();  // kept, empty or partly filled, if decoding fails
    if (!data_->hasData) return;            // nothing was ever read: an empty picture
    TBitmap& bitmap = *bitmap_;
    const std::shared_ptr<TJPEGData> data = data_;  // stays alive even if a handler reassigns us
    JpegProgressHandler progress;
    if (OnProgress) {
        progress = [&self, whole](JpegProgressStage stage, int percent) {
            self.Progress(ToProgressStage(stage), static_cast<uint8_t>(std::clamp(percent, 0, 100)), false,
                              whole, "");
        };
    }
    bool paletteMade = false;
    DecodeJpeg(
        data->bytes.data(), data->bytes.size(), settings_,
        [&](const DibDescription& description, std::vector<RgbQuad> palette) -> Dib& {
            DibDescription layout = description;
            paletteMade = !palette.empty();
            if (paletteMade) layout.clrUsed = static_cast<uint32_t>(palette.size());
            bitmap.SetDib(std::make_unique<Dib>(layout, std::move(palette)), true);
            return *bitmap.MutableDib();
        },
        progress ? &progress : nullptr);
    if (paletteMade) {
        self.SetPaletteModified(true);
        self.Changed();
    }
}

}  // namespace kv
