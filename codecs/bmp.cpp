#include "codecs/bmp.h"

#include <algorithm>
#include <cstring>

#include "codecs/bmp_errors.h"
#include "codecs/bmp_rle.h"
#include "runtime/byte_order.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaxColourTable = 256;

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalidBitmapText); }

int32_t I32(const uint8_t* p) { return static_cast<int32_t>(GetLe32(p)); }

// `bytes` holds the header from its size field on (the whole header, `size` bytes).
BmpInfoHeader ParseHeader(const std::vector<uint8_t>& bytes, uint32_t size) {
    const uint8_t* p = bytes.data();
    BmpInfoHeader h;
    h.size = size;
    if (size == kCoreHeaderSize) {
        h.width = GetLe16(p + 4);
        h.height = GetLe16(p + 6);
        h.planes = GetLe16(p + 8);
        h.bitCount = GetLe16(p + 10);
        return h;
    }
    h.width = I32(p + 4);
    h.height = I32(p + 8);
    h.planes = GetLe16(p + 12);
    h.bitCount = GetLe16(p + 14);
    h.compression = GetLe32(p + 16);
    h.sizeImage = GetLe32(p + 20);
    h.xPelsPerMeter = I32(p + 24);
    h.yPelsPerMeter = I32(p + 28);
    h.clrUsed = GetLe32(p + 32);
    h.clrImportant = GetLe32(p + 36);
    if (size >= 52) {  // longer headers carry their masks inside
        h.redMask = GetLe32(p + 40);
        h.greenMask = GetLe32(p + 44);
        h.blueMask = GetLe32(p + 48);
    }
    if (size >= 56) h.alphaMask = GetLe32(p + 52);
    return h;
}

bool IsRle(uint32_t compression) { return compression == kBiRle8 || compression == kBiRle4; }

// Everything the storage cannot hold is refused before any pixel memory is taken. Runs after the
// colour table has been read, so a file cut short inside its table is a read error first.
void ValidateLayout(const BmpInfoHeader& h) {
    switch (h.compression) {
        case kBiRgb:
            if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 &&
                h.bitCount != 32)
                Invalid();
            break;
        case kBiBitFields:
            if (h.bitCount != 16 && h.bitCount != 32) Invalid();
            // A header longer than 40 bytes but too short to hold the masks has nowhere to take them from.
            if (h.size > kInfoHeaderSize && h.size < 52) Invalid();
            break;
        case kBiRle8:
            if (h.bitCount != 8) Invalid();
            break;
        case kBiRle4:
            if (h.bitCount != 4) Invalid();
            break;
        default:
            Invalid();
    }
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) Invalid();
    if (IsRle(h.compression) && h.height < 0) Invalid();  // run-length data is bottom-up only

    const int64_t absHeight = h.height < 0 ? -int64_t{h.height} : int64_t{h.height};
    const uint64_t storage = IsRle(h.compression) ? DibImageSize(h.width, absHeight, 32)
                                                  : DibImageSize(h.width, absHeight, h.bitCount);
    if (storage > kMaxStorageBytes) throw EOutOfResources(kOutOfResourcesText);
}

}  // namespace

BmpReadResult ReadBmpStream(TStream& stream) {
    BmpReadResult result;
    const int64_t total = stream.Remaining();
    if (total == 0) return result;
    result.empty = false;

    uint8_t fileHeader[kFileHeaderSize];
    stream.ReadBuffer(fileHeader, kFileHeaderSize);
    if (fileHeader[0] != 0x42 || fileHeader[1] != 0x4D) Invalid();

    // The header size and the header itself; a file that ends inside them is not a bitmap we hold.
    uint8_t sizeField[4];
    if (stream.ReadUpTo(sizeField, 4) != 4) Invalid();
    const uint32_t headerSize = GetLe32(sizeField);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) Invalid();
    if (uint64_t{headerSize} > static_cast<uint64_t>(total - kFileHeaderSize)) Invalid();
    std::vector<uint8_t> header(headerSize);
    std::memcpy(header.data(), sizeField, 4);
    if (stream.ReadUpTo(header.data() + 4, headerSize - 4) != headerSize - 4) Invalid();

    BmpInfoHeader& h = result.header;
    h = ParseHeader(header, headerSize);
    result.os2Format = headerSize == kCoreHeaderSize;
    if (h.planes != 1) Invalid();
    int64_t remaining = total - kFileHeaderSize - headerSize;

    // Run-length files are kept as file bytes and read from that copy.
    const bool rle = IsRle(h.compression);
    result.deviceIndependent = !rle;
    TMemoryStream rleCopy;
    TStream* source = &stream;
    if (rle) {
        std::vector<uint8_t>& bytes = result.fileBytes;
        bytes.resize(kFileHeaderSize + headerSize + static_cast<size_t>(remaining));
        std::memcpy(bytes.data(), fileHeader, kFileHeaderSize);
        std::memcpy(bytes.data() + kFileHeaderSize, header.data(), headerSize);
        const int64_t got = stream.ReadUpTo(bytes.data() + kFileHeaderSize + headerSize, remaining);
        bytes.resize(kFileHeaderSize + headerSize + static_cast<size_t>(got));
        rleCopy.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        rleCopy.SetPosition(kFileHeaderSize + headerSize);
        source = &rleCopy;
    }

    if (headerSize == kInfoHeaderSize && h.compression == kBiBitFields && (h.bitCount == 16 || h.bitCount == 32)) {
        uint8_t masks[12];
        source->ReadBuffer(masks, sizeof masks);
        h.redMask = GetLe32(masks);
        h.greenMask = GetLe32(masks + 4);
        h.blueMask = GetLe32(masks + 8);
        remaining -= 12;
    }

    // Colours used 0: a full table for 1, 4 and 8 bits per pixel, none for any other depth.
    uint32_t tableEntries = h.clrUsed;
    if (tableEntries == 0 && (h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8)) tableEntries = 1u << h.bitCount;
    if (tableEntries > kMaxColourTable) Invalid();
    const uint32_t entrySize = result.os2Format ? 3 : 4;
    if (tableEntries > 0) {
        uint8_t table[kMaxColourTable * 4];
        source->ReadBuffer(table, tableEntries * entrySize);
        result.colorTable.resize(tableEntries);
        for (uint32_t i = 0; i < tableEntries; ++i) {
            const uint8_t* e = table + i * entrySize;
            result.colorTable[i] = RgbQuad{e[0], e[1], e[2], entrySize == 4 ? e[3] : uint8_t{0}};
        }
        remaining -= int64_t{tableEntries} * entrySize;
    }
    ValidateLayout(h);

    const int64_t absHeight = h.height < 0 ? -int64_t{h.height} : int64_t{h.height};
    const uint64_t imageSize = h.sizeImage != 0 ? h.sizeImage : DibImageSize(h.width, absHeight, h.bitCount);
    const uint64_t pixelBytes = std::min<uint64_t>(remaining > 0 ? static_cast<uint64_t>(remaining) : 0, imageSize);

    if (!rle) {
        DibDescription d;
        d.width = h.width;
        d.height = h.height;
        d.planes = 1;
        d.bitCount = h.bitCount;
        d.compression = h.compression;
        if (h.compression == kBiBitFields) {
            d.redMask = h.redMask;
            d.greenMask = h.greenMask;
            d.blueMask = h.blueMask;
            d.alphaMask = h.alphaMask;
        }
        std::vector<RgbQuad> palette;
        if (h.bitCount <= 8) {
            const size_t slots = size_t{1} << h.bitCount;
            palette.assign(result.colorTable.begin(),
                           result.colorTable.begin() + static_cast<std::ptrdiff_t>(std::min(slots, result.colorTable.size())));
            for (RgbQuad& q : palette) q.reserved = 0;
            d.clrUsed = static_cast<uint32_t>(palette.size());
        }
        result.dib = std::make_unique<Dib>(d, std::move(palette));
        Dib& dib = *result.dib;
        const uint64_t toRead = std::min<uint64_t>(pixelBytes, dib.ByteSize());
        source->ReadUpTo(dib.Bits(), static_cast<int64_t>(toRead));
        return result;
    }

    // Run-length data: expand into display-compatible storage through the colour table.
    result.dib = std::make_unique<Dib>(DisplayCompatibleDescription(h.width, static_cast<int>(absHeight)));
    RleColours colours{};
    for (size_t i = 0; i < result.colorTable.size() && i < colours.size(); ++i) colours[i] = result.colorTable[i];
    const size_t dataStart = static_cast<size_t>(rleCopy.Position());
    const size_t available = result.fileBytes.size() > dataStart ? result.fileBytes.size() - dataStart : 0;
    const size_t dataSize = static_cast<size_t>(std::min<uint64_t>(pixelBytes, available));
    const uint8_t* data = result.fileBytes.data() + dataStart;
    if (h.compression == kBiRle8)
        ExpandRle8(data, dataSize, colours, *result.dib);
    else
        ExpandRle4(data, dataSize, colours, *result.dib);
    return result;
}

}  // namespace kv
