#include "codecs/gif/gif_sub_image.h"

#include "codecs/gif/gif_extension_kinds.h"
#include "codecs/gif/gif_image.h"
#include "codecs/gif/gif_io.h"
#include "codecs/gif/lzw.h"
#include "graphics/bitmap.h"
#include "graphics/dib.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

namespace {

void ClaimModelMemory(TGIFImage* image, uint64_t bytes) {
    if (image) image->ClaimPixelStorage(bytes);
}

}  // namespace

TGIFSubImage::TGIFSubImage(TGIFImage* image) : TGIFItem(image), colorMap_(this), extensions_(image) {}

TGIFSubImage::~TGIFSubImage() = default;

void TGIFSubImage::Clear() {
    extensions_.Clear();
    graphicControl_ = nullptr;
    colorMap_.Clear();
    pixels_.clear();
    pixels_.shrink_to_fit();
    left_ = top_ = width_ = height_ = 0;
    imageFlags_ = 0;
    hasTransparency_ = false;
    ReleaseRendering();
}

void TGIFSubImage::CopyFrom(const TGIFSubImage& source) {
    if (&source == this) return;
    Clear();
    separator_ = source.separator_;
    left_ = source.left_;
    top_ = source.top_;
    width_ = source.width_;
    height_ = source.height_;
    imageFlags_ = source.imageFlags_;
    colorMap_.CopyFrom(source.colorMap_);
    for (const auto& extension : source.extensions_) {
        TGIFExtension& added = extensions_.Add(extension->Clone(*this));
        if (extension.get() == source.graphicControl_) graphicControl_ = static_cast<TGIFGraphicControlExtension*>(&added);
    }
    pixels_ = source.pixels_;
    hasTransparency_ = source.hasTransparency_;
}

void TGIFSubImage::SetBounds(uint16_t left, uint16_t top, uint16_t width, uint16_t height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ReleaseRendering();
}

void TGIFSubImage::SetPixels(std::vector<uint8_t> pixels) {
    pixels_ = std::move(pixels);
    ReleaseRendering();
}

int TGIFSubImage::TransparentIndex() const {
    if (!hasTransparency_ || !graphicControl_) return -1;
    return graphicControl_->TransparentIndex;
}

void TGIFSubImage::ReadExtensions(TStream& stream) {
    uint8_t byte = 0;
    if (!ReadGifByte(stream, byte)) return;
    while (byte != kGifImageSeparator && byte != kGifTrailer) {
        if (byte != kGifExtensionIntroducer) {
            Warning(kInvalidExtensionIntroducerText);
            break;
        }
        StepBack(stream);
        TGIFExtensionFactory create = ResolveExtensionClass(stream);
        if (!create) throw GIFException(kUnknownExtensionTypeText);
        ClaimModelMemory(Image(), kGifExtensionCharge);
        std::unique_ptr<TGIFExtension> extension = create(*this);
        auto* control = dynamic_cast<TGIFGraphicControlExtension*>(extension.get());
        TGIFExtension& added = extensions_.Add(std::move(extension));
        if (control && !graphicControl_) graphicControl_ = control;
        added.LoadFromStream(stream);
        if (!ReadGifByte(stream, byte)) return;
    }
    StepBack(stream);
}

void TGIFSubImage::LoadFromStream(TStream& stream) {
    Clear();
    ReadExtensions(stream);

    uint8_t next = 0;
    if (!ReadGifByte(stream, next)) return;
    StepBack(stream);
    if (next == kGifTrailer || next == 0x00) return;

    // The first byte is not checked: after an invalid introducer the bytes there are taken as
    // the descriptor.
    uint8_t descriptor[10];
    ReadExact(stream, descriptor, 10);
    separator_ = descriptor[0];
    left_ = GetLe16(descriptor + 1);
    top_ = GetLe16(descriptor + 3);
    width_ = GetLe16(descriptor + 5);
    height_ = GetLe16(descriptor + 7);
    imageFlags_ = descriptor[9];
    if (width_ == 0 || height_ == 0) {
        const TGIFHeader& header = Image()->Header();
        width_ = header.ScreenWidth();
        height_ = header.ScreenHeight();
        Warning(kImageExceedsScreenText);
    }
    if (HasLocalColorMap()) colorMap_.LoadFromStream(stream, ColorTableSize(imageFlags_));

    GifFrameShape shape;
    shape.width = width_;
    shape.height = height_;
    shape.interlaced = Interlaced();
    const int transparent = TransparentIndex();
    shape.fill = transparent >= 0 ? static_cast<uint8_t>(transparent) : 0;
    // All frames of a picture together stay within the storage limit.
    Image()->ClaimPixelStorage(static_cast<uint64_t>(width_) * height_);
    pixels_ = DecodeGifFrame(stream, shape, [this](const std::string& message) { Warning(message); });
}

void TGIFImageList::LoadFromStream(TStream& stream) {
    for (;;) {
        uint8_t byte = 0;
        bool more = false;
        while ((more = ReadGifByte(stream, byte)) && byte == 0x00) {
        }
        if (!more) return;
        StepBack(stream);
        if (byte == kGifTrailer) return;
        if (byte != kGifExtensionIntroducer && byte != kGifImageSeparator) {
            ReportWarning(kGifWarningSeverity, kUnknownBlockTypeText);
            return;
        }
        // A frame costs far more memory than the few bytes that make one.
        ClaimModelMemory(Image(), sizeof(TGIFSubImage));
        auto frame = std::make_unique<TGIFSubImage>(Image());
        frame->LoadFromStream(stream);
        Add(std::move(frame));
        if (Image()) Image()->FrameLoaded(stream);
    }
}

}  // namespace kv
