// Reading and writing bitmaps as BMP files.
#include <cstdint>
#include <vector>

#include "codecs/bmp.h"
#include "graphics/bitmap.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

namespace {

void PutLe16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

// ---- TBitmap: streams ---------------------------------------------------------------------

void TBitmap::LoadFromStream(TStream& stream) {
    BmpReadResult read = ReadBmpStream(stream);  // raises before anything here changes
    auto fresh = std::make_shared<TBitmapImage>();
    if (!read.empty && read.dib) {
        fresh->deviceIndependent = read.deviceIndependent;
        fresh->description = read.dib->Description();
        fresh->width = read.dib->Width();
        fresh->height = read.dib->Description().height;
        if (read.dib->BitCount() > 8 || !read.deviceIndependent) fresh->palette = std::move(read.colorTable);
        fresh->dib = std::move(read.dib);
        fresh->fileFields.imageSize = read.header.sizeImage;
        fresh->fileFields.xPelsPerMeter = read.header.xPelsPerMeter;
        fresh->fileFields.yPelsPerMeter = read.header.yPelsPerMeter;
        fresh->fileFields.clrImportant = read.header.clrImportant;
        fresh->savedFile = std::move(read.fileBytes);
        fresh->os2Format = read.os2Format;
    }
    SetImage(std::move(fresh));
}

void TBitmap::ReadData(TStream& stream) {
    TMemoryStream file(ReadCountedBytes(stream));
    LoadFromStream(file);
}

void TBitmap::SaveToStream(TStream& stream) const {
    const TBitmapImage& image = *image_;
    if (!image.savedFile.empty()) {
        stream.Write(image.savedFile.data(), static_cast<int64_t>(image.savedFile.size()));
        return;
    }
    const Dib* dib = image.dib.get();
    if (!dib) return;
    const DibDescription& d = dib->Description();
    const bool masks = d.compression == kBiBitFields;
    const std::vector<RgbQuad> table = d.bitCount <= 8 ? dib->Palette() : image.palette;
    const uint32_t headerBytes = 14 + 40 + (masks ? 12 : 0) + static_cast<uint32_t>(table.size()) * 4;
    std::vector<uint8_t> out;
    out.reserve(headerBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, static_cast<uint32_t>(headerBytes + dib->ByteSize()));
    PutLe32(out, 0);
    PutLe32(out, headerBytes);
    PutLe32(out, 40);
    PutLe32(out, static_cast<uint32_t>(d.width));
    PutLe32(out, static_cast<uint32_t>(d.height));
    PutLe16(out, 1);
    PutLe16(out, d.bitCount);
    PutLe32(out, d.compression);
    PutLe32(out, static_cast<uint32_t>(dib->ByteSize()));
    PutLe32(out, static_cast<uint32_t>(image.fileFields.xPelsPerMeter));
    PutLe32(out, static_cast<uint32_t>(image.fileFields.yPelsPerMeter));
    PutLe32(out, static_cast<uint32_t>(table.size()));
    PutLe32(out, image.fileFields.clrImportant);
    if (masks) {
        PutLe32(out, d.redMask);
        PutLe32(out, d.greenMask);
        PutLe32(out, d.blueMask);
    }
    for (const RgbQuad& q : table) {
        out.push_back(q.blue);
        out.push_back(q.green);
        out.push_back(q.red);
        out.push_back(0);
    }
    stream.Write(out.data(), static_cast<int64_t>(out.size()));
    stream.Write(dib->Bits(), static_cast<int64_t>(dib->ByteSize()));
}

}  // namespace kv
