#include "codecs/gif/gif_header.h"

#include <cctype>

#include "codecs/gif/gif_io.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

namespace {

bool StartsWithGif(const uint8_t* bytes) {
    return std::toupper(bytes[0]) == 'G' && std::toupper(bytes[1]) == 'I' && std::toupper(bytes[2]) == 'F';
}

}  // namespace

void TGIFHeader::Clear() {
    screenWidth_ = 0;
    screenHeight_ = 0;
    screenFlags_ = 0;
    backgroundIndex_ = 0;
    aspectRatio_ = 0;
    globalColorMap_.Clear();
}

void TGIFHeader::CopyFrom(const TGIFHeader& source) {
    screenWidth_ = source.screenWidth_;
    screenHeight_ = source.screenHeight_;
    screenFlags_ = source.screenFlags_;
    backgroundIndex_ = source.backgroundIndex_;
    aspectRatio_ = source.aspectRatio_;
    globalColorMap_.CopyFrom(source.globalColorMap_);
}

void TGIFHeader::LoadFromStream(TStream& stream) {
    const int64_t start = stream.Position();
    uint8_t signature[6];
    ReadExact(stream, signature, 6);
    if (!StartsWithGif(signature)) {
        // Some files carry 4 bytes of something else before the GIF data.
        stream.SetPosition(start + 4);
        ReadExact(stream, signature, 6);
        if (!StartsWithGif(signature)) throw GIFException(kInvalidSignatureText);
    }
    uint8_t screen[7];
    ReadExact(stream, screen, 7);
    screenWidth_ = GetLe16(screen);
    screenHeight_ = GetLe16(screen + 2);
    screenFlags_ = screen[4];
    backgroundIndex_ = screen[5];
    aspectRatio_ = screen[6];
    if (HasGlobalColorMap())
        globalColorMap_.LoadFromStream(stream, ColorTableSize(screenFlags_));
    else
        globalColorMap_.Clear();
}

}  // namespace kv
