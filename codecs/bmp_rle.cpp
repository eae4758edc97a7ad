#include "codecs/bmp_rle.h"

#include <algorithm>
#include <cstring>

namespace kv {
namespace {

// Pixel values of display-compatible storage, ready to be stored as 4 bytes.
using PackedColours = std::array<uint32_t, 256>;

PackedColours Pack(const RleColours& colours) {
    PackedColours packed{};
    for (size_t i = 0; i < colours.size(); ++i) {
        RgbQuad c = colours[i];
        c.reserved = 0;
        std::memcpy(&packed[i], &c, sizeof c);
    }
    return packed;
}

inline void Put(uint8_t* row, int64_t x, uint32_t value) { std::memcpy(row + x * 4, &value, 4); }

// Index of pixel i of a run or absolute sequence: 8-bit data has one index per byte, 4-bit data
// two per byte, high nibble first.
template <int Bits>
inline uint8_t IndexAt(const uint8_t* bytes, size_t i) {
    if constexpr (Bits == 8) {
        return bytes[i];
    } else {
        const uint8_t b = bytes[i / 2];
        return (i & 1) ? (b & 0x0F) : (b >> 4);
    }
}

template <int Bits>
void Expand(const uint8_t* data, size_t size, const RleColours& colours, Dib& target) {
    const PackedColours packed = Pack(colours);
    const int64_t width = target.Width();
    const int64_t height = target.Height();
    // x and y may run far past the picture through deltas; 64 bits keep them exact.
    int64_t x = 0;
    int64_t y = 0;  // counted from the bottom row
    size_t pos = 0;
    auto rowOf = [&](int64_t fromBottom) { return target.Row(static_cast<int>(height - 1 - fromBottom)); };

    while (size - pos >= 2 && y < height) {
        const uint8_t count = data[pos];
        const uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {  // encoded run
            if (x < width) {
                uint8_t* row = rowOf(y);
                const int64_t end = std::min<int64_t>(x + count, width);
                if constexpr (Bits == 8) {
                    const uint32_t c = packed[value];
                    for (int64_t px = x; px < end; ++px) Put(row, px, c);
                } else {
                    const uint32_t pair[2] = {packed[value >> 4], packed[value & 0x0F]};
                    for (int64_t px = x; px < end; ++px) Put(row, px, pair[(px - x) & 1]);
                }
            }
            x += count;
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta: move right and up
            if (size - pos < 2) break;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
            const size_t n = value;
            const size_t bytes = Bits == 8 ? n : (n + 1) / 2;
            const size_t available = std::min(bytes, size - pos);
            const size_t pixels = Bits == 8 ? available : std::min(n, available * 2);
            if (x < width) {
                uint8_t* row = rowOf(y);
                const size_t inside = static_cast<size_t>(std::min<int64_t>(pixels, width - x));
                for (size_t i = 0; i < inside; ++i) Put(row, x + static_cast<int64_t>(i), packed[IndexAt<Bits>(data + pos, i)]);
            }
            x += static_cast<int64_t>(n);
            pos += std::min((bytes + 1) & ~size_t{1}, size - pos);
        }
    }
}

}  // namespace

void ExpandRle8(const uint8_t* data, size_t size, const RleColours& colours, Dib& target) {
    Expand<8>(data, size, colours, target);
}

void ExpandRle4(const uint8_t* data, size_t size, const RleColours& colours, Dib& target) {
    Expand<4>(data, size, colours, target);
}

}  // namespace kv
