#pragma once
// Raw pixel access for every storage format, shared by the storage and the raster primitives.
// A "raw" value is what one pixel holds: a palette index for 1, 4 and 8 bits, the packed bits for
// 16, and 0x00RRGGBB (plus the fourth byte for 32 bits) for 24 and 32 bits.
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "graphics/dib.h"

namespace kv::raster {

static_assert(std::endian::native == std::endian::little, "pixel rows are read as little-endian words");

inline uint32_t ReadRaw(const uint8_t* row, int x, int bpp) {
    switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8: return row[x];
    case 16: return static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
    case 24: {
        const uint8_t* p = row + 3 * static_cast<size_t>(x);
        return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    }
    default: {
        uint32_t v;
        std::memcpy(&v, row + 4 * static_cast<size_t>(x), 4);
        return v;
    }
    }
}

inline void WriteRaw(uint8_t* row, int x, int bpp, uint32_t v) {
    switch (bpp) {
    case 1: {
        const int shift = 7 - (x & 7);
        uint8_t& b = row[x >> 3];
        b = static_cast<uint8_t>((b & ~(1u << shift)) | ((v & 1u) << shift));
        break;
    }
    case 4: {
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (v & 0x0F)) : static_cast<uint8_t>((b & 0x0F) | ((v & 0x0F) << 4));
        break;
    }
    case 8: row[x] = static_cast<uint8_t>(v); break;
    case 16:
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        break;
    case 24: {
        uint8_t* p = row + 3 * static_cast<size_t>(x);
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
        break;
    }
    default: std::memcpy(row + 4 * static_cast<size_t>(x), &v, 4); break;
    }
}

// Turns colours into raw values of one storage and back. Cheap to make; the nearest-palette
// search keeps a small cache of its own, so a codec is meant for one operation on one thread.
class PixelCodec {
public:
    explicit PixelCodec(const Dib& dib);
    PixelCodec(const DibDescription& description, const std::vector<RgbQuad>& palette);

    int Bpp() const { return bpp_; }
    bool Indexed() const { return indexed_; }
    // 24 bits, or 32 with 8-8-8 masks at the usual places: bytes blue, green, red (and a fourth).
    bool PlainRgb() const { return plainRgb_; }
    // The bits the mix and copy modes work on.
    uint32_t RopMask() const { return ropMask_; }

    uint32_t Encode(RgbQuad colour) const;
    RgbQuad Decode(uint32_t raw) const;

private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        int bits = 0;
        uint8_t expand[256] = {};  // value -> 8-bit level, for channels of 8 bits or fewer
    };
    static void SetUp(Channel& channel, uint32_t mask);
    static uint8_t DecodeChannel(const Channel& channel, uint32_t raw);
    static uint32_t EncodeChannel(const Channel& channel, uint8_t level);
    uint32_t Nearest(RgbQuad colour) const;

    int bpp_ = 32;
    bool indexed_ = false;
    bool plainRgb_ = true;  // 24 bits, or 32 bits with 8-8-8 masks at the usual places
    uint32_t ropMask_ = 0xFFFFFF;
    const RgbQuad* palette_ = nullptr;
    int paletteCount_ = 0;
    Channel red_, green_, blue_;
    struct CacheEntry {
        uint32_t key = 0;  // colour | 0x1000000 when filled
        uint32_t index = 0;
    };
    mutable std::unique_ptr<CacheEntry[]> cache_;
};

}  // namespace kv::raster
