#include "graphics/raster_pixels.h"

#include <algorithm>

namespace kv::raster {
namespace {
constexpr int kCacheSize = 4096;
}

PixelCodec::PixelCodec(const Dib& dib) : PixelCodec(dib.Description(), dib.Palette()) {}

PixelCodec::PixelCodec(const DibDescription& description, const std::vector<RgbQuad>& palette)
    : bpp_(description.bitCount) {
    if (bpp_ <= 8) {
        indexed_ = true;
        ropMask_ = (1u << bpp_) - 1;
        palette_ = palette.data();
        const int slots = 1 << bpp_;
        int used = description.clrUsed > 0 && description.clrUsed < static_cast<uint32_t>(slots)
                       ? static_cast<int>(description.clrUsed)
                       : slots;
        paletteCount_ = std::min<int>(used, static_cast<int>(palette.size()));
        plainRgb_ = false;
        return;
    }
    const ChannelMasks masks = EffectiveMasks(description);
    if (bpp_ == 16) {
        ropMask_ = 0xFFFF;
        plainRgb_ = false;
    } else {
        plainRgb_ = masks.red == 0xFF0000 && masks.green == 0xFF00 && masks.blue == 0xFF;
        ropMask_ = bpp_ == 24 ? 0xFFFFFFu : (masks.red | masks.green | masks.blue);
    }
    if (plainRgb_) return;  // the common case needs no channel tables
    SetUp(red_, masks.red);
    SetUp(green_, masks.green);
    SetUp(blue_, masks.blue);
}

void PixelCodec::SetUp(Channel& channel, uint32_t mask) {
    channel.mask = mask;
    if (mask == 0) return;
    channel.shift = std::countr_zero(mask);
    channel.bits = std::min(32 - channel.shift, std::countr_one(mask >> channel.shift));
    if (channel.bits <= 8) {
        const uint32_t max = (1u << channel.bits) - 1;
        for (uint32_t v = 0; v <= max; ++v) channel.expand[v] = static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
}

uint8_t PixelCodec::DecodeChannel(const Channel& channel, uint32_t raw) {
    if (channel.bits == 0) return 0;
    const uint32_t v = (raw >> channel.shift) & (channel.bits >= 32 ? 0xFFFFFFFFu : (1u << channel.bits) - 1);
    if (channel.bits <= 8) return channel.expand[v];
    return static_cast<uint8_t>(v >> (channel.bits - 8));
}

uint32_t PixelCodec::EncodeChannel(const Channel& channel, uint8_t level) {
    if (channel.bits == 0) return 0;
    uint64_t v;
    if (channel.bits <= 8) {
        v = level >> (8 - channel.bits);
    } else {
        const uint64_t max = channel.bits >= 32 ? 0xFFFFFFFFull : (1ull << channel.bits) - 1;
        v = (level * max + 127) / 255;
    }
    return static_cast<uint32_t>(v << channel.shift) & channel.mask;
}

uint32_t PixelCodec::Encode(RgbQuad colour) const {
    if (plainRgb_) return static_cast<uint32_t>(colour.blue | (colour.green << 8) | (colour.red << 16));
    if (indexed_) return Nearest(colour);
    return EncodeChannel(red_, colour.red) | EncodeChannel(green_, colour.green) | EncodeChannel(blue_, colour.blue);
}

RgbQuad PixelCodec::Decode(uint32_t raw) const {
    if (plainRgb_)
        return RgbQuad{static_cast<uint8_t>(raw), static_cast<uint8_t>(raw >> 8), static_cast<uint8_t>(raw >> 16), 0};
    if (indexed_) {
        if (static_cast<int>(raw) < paletteCount_) {
            RgbQuad c = palette_[raw];
            c.reserved = 0;
            return c;
        }
        return RgbQuad{};  // an index beyond the colour table reads as black
    }
    return RgbQuad{DecodeChannel(blue_, raw), DecodeChannel(green_, raw), DecodeChannel(red_, raw), 0};
}

uint32_t PixelCodec::Nearest(RgbQuad colour) const {
    if (paletteCount_ == 0) return 0;
    const uint32_t key = static_cast<uint32_t>(colour.blue | (colour.green << 8) | (colour.red << 16)) | 0x1000000u;
    if (!cache_) cache_ = std::make_unique<CacheEntry[]>(kCacheSize);
    CacheEntry& entry = cache_[((key >> 12) ^ key) & (kCacheSize - 1)];
    if (entry.key == key) return entry.index;
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < paletteCount_; ++i) {
        const int dr = palette_[i].red - colour.red;
        const int dg = palette_[i].green - colour.green;
        const int db = palette_[i].blue - colour.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    entry.key = key;
    entry.index = static_cast<uint32_t>(best);
    return entry.index;
}

}  // namespace kv::raster
