#pragma once
// Builds BMP files byte by byte for reader tests.
#include <cstdint>
#include <vector>

namespace kv::test {

class ByteWriter {
public:
    ByteWriter& U8(uint8_t v) { bytes.push_back(v); return *this; }
    ByteWriter& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ByteWriter& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    ByteWriter& Bytes(const std::vector<uint8_t>& v) { bytes.insert(bytes.end(), v.begin(), v.end()); return *this; }
    ByteWriter& Fill(size_t count, uint8_t v) { bytes.insert(bytes.end(), count, v); return *this; }
    std::vector<uint8_t> bytes;
};

struct InfoFields {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    uint32_t headerSize = 40;  // longer headers are padded with zeros after the 40 bytes
};

// File header ("BM", sizes and offset filled from the arguments) + Windows info header.
inline ByteWriter WindowsHeaders(const InfoFields& f, uint32_t pixelOffset = 0) {
    ByteWriter w;
    w.U8('B').U8('M').U32(0).U16(0).U16(0).U32(pixelOffset);
    w.U32(f.headerSize).I32(f.width).I32(f.height).U16(f.planes).U16(f.bitCount).U32(f.compression);
    w.U32(f.sizeImage).I32(2835).I32(2835).U32(f.clrUsed).U32(0);
    if (f.headerSize > 40) w.Fill(f.headerSize - 40, 0);
    return w;
}

// File header + OS/2 core header.
inline ByteWriter CoreHeaders(uint16_t width, uint16_t height, uint16_t bitCount, uint16_t planes = 1) {
    ByteWriter w;
    w.U8('B').U8('M').U32(0).U16(0).U16(0).U32(0);
    w.U32(12).U16(width).U16(height).U16(planes).U16(bitCount);
    return w;
}

}  // namespace kv::test
