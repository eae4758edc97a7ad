#include "codecs/gif/gif_extensions.h"

#include <algorithm>
#include <cstring>

#include "codecs/gif/gif_io.h"
#include "codecs/gif/gif_sub_image.h"
#include "runtime/stream.h"

namespace kv {

TGIFExtension::TGIFExtension(TGIFSubImage& frame) : TGIFItem(frame.Image()), frame_(frame) {}

void TGIFExtension::LoadFromStream(TStream& stream) {
    uint8_t head[2];
    ReadExact(stream, head, 2);  // introducer and label, already checked by the caller
    ReadBody(stream);
}

void ReadGifTextLines(TStream& stream, std::vector<std::string>& lines) {
    uint8_t size = 0;
    char bytes[255];
    while (ReadGifByte(stream, size) && size != 0) {
        ReadExact(stream, bytes, size);
        const void* zero = std::memchr(bytes, 0, size);
        const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size;
        lines.emplace_back(bytes, length);
    }
}

void TGIFGraphicControlExtension::ReadBody(TStream& stream) {
    uint8_t body[6] = {BlockSize, ControlFlags, static_cast<uint8_t>(FrameDelay & 0xFF),
                       static_cast<uint8_t>(FrameDelay >> 8), TransparentIndex, Terminator};
    const int64_t got = stream.ReadUpTo(body, 6);
    if (got < 6) Warning(kGifPrematureEndText);
    BlockSize = body[0];
    ControlFlags = body[1];
    FrameDelay = GetLe16(body + 2);
    TransparentIndex = body[4];
    Terminator = body[5];
    if (Transparent()) Frame().SetHasTransparency(true);
}

void TGIFTextExtension::ReadBody(TStream& stream) {
    uint8_t record[13];
    ReadExact(stream, record, 13);
    BlockSize = record[0];
    Left = GetLe16(record + 1);
    Top = GetLe16(record + 3);
    Width = GetLe16(record + 5);
    Height = GetLe16(record + 7);
    CellWidth = record[9];
    CellHeight = record[10];
    ForegroundColorIndex = record[11];
    BackgroundColorIndex = record[12];
    Lines.clear();
    ReadGifTextLines(stream, Lines);
}

void TGIFCommentExtension::ReadBody(TStream& stream) {
    Lines.clear();
    ReadGifTextLines(stream, Lines);
}

std::unique_ptr<TGIFExtension> TGIFGraphicControlExtension::Clone(TGIFSubImage& frame) const {
    return CloneGifExtension<TGIFGraphicControlExtension, TGIFGraphicControlFields>(*this, frame);
}

std::unique_ptr<TGIFExtension> TGIFTextExtension::Clone(TGIFSubImage& frame) const {
    return CloneGifExtension<TGIFTextExtension, TGIFTextFields>(*this, frame);
}

std::unique_ptr<TGIFExtension> TGIFCommentExtension::Clone(TGIFSubImage& frame) const {
    return CloneGifExtension<TGIFCommentExtension, TGIFCommentFields>(*this, frame);
}

}  // namespace kv
