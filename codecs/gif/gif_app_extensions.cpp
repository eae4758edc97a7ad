#include "codecs/gif/gif_app_extensions.h"

#include "codecs/gif/gif_io.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

void TGIFApplicationExtension::ReadBody(TStream& stream) {
    uint8_t blockSize = 0;
    ReadExact(stream, &blockSize, 1);
    AppIdentifier.fill(0);
    if (blockSize < 10) throw GIFException(kUnsupportedAppBlockSizeText);
    if (blockSize == 10) {
        ReadExact(stream, AppIdentifier.data(), 10);
    } else {
        ReadExact(stream, AppIdentifier.data(), kIdentifierSize);
        SkipBytes(stream, blockSize - kIdentifierSize);
    }
    ReadPayload(stream);
}

void TGIFAppExtNSLoop::ReadPayload(TStream& stream) {
    uint8_t size = 0;
    while (ReadGifByte(stream, size) && size != 0) {
        uint8_t id = 0;
        ReadExact(stream, &id, 1);
        int used = 1;
        uint8_t field[4];
        switch (id & 0x07) {
            case 1:
                if (size < 3) throw GIFException(kInvalidGifDataText);
                ReadExact(stream, field, 2);
                RepeatCount = GetLe16(field);
                used += 2;
                break;
            case 2:
                if (size < 5) throw GIFException(kInvalidGifDataText);
                ReadExact(stream, field, 4);
                BufferHint = GetLe32(field);
                used += 4;
                break;
            default:
                break;
        }
        SkipBytes(stream, size - used);
    }
}

void TGIFUnknownAppExtension::ReadPayload(TStream& stream) {
    RawBlocks.clear();
    uint8_t size = 0;
    while (ReadGifByte(stream, size) && size != 0) {
        TGIFBlock block;
        block.Data.resize(size);
        ReadExact(stream, block.Data.data(), size);
        RawBlocks.push_back(std::move(block));
    }
}

std::unique_ptr<TGIFExtension> TGIFApplicationExtension::Clone(TGIFSubImage& frame) const {
    return CloneGifExtension<TGIFApplicationExtension, TGIFApplicationFields>(*this, frame);
}

std::unique_ptr<TGIFExtension> TGIFAppExtNSLoop::Clone(TGIFSubImage& frame) const {
    return CloneGifExtension<TGIFAppExtNSLoop, TGIFApplicationFields, TGIFLoopFields>(*this, frame);
}

std::unique_ptr<TGIFExtension> TGIFUnknownAppExtension::Clone(TGIFSubImage& frame) const {
    return CloneGifExtension<TGIFUnknownAppExtension, TGIFApplicationFields, TGIFUnknownAppFields>(*this, frame);
}

}  // namespace kv
