#pragma once
// Device-independent pixel storage: exactly the layout a BMP file's pixel array has
// (rows padded to 4 bytes, bottom-up when the height is positive, top-down when negative),
// with its colour table and bit masks. "Display-compatible" storage is 32 bits per pixel,
// bytes blue, green, red, unused.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/pixel_buffer.h"

namespace kv {

// Largest pixel array we agree to allocate; anything larger is refused with EOutOfResources.
inline constexpr uint64_t kMaxStorageBytes = uint64_t{1} << 30;

struct RgbQuad {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// Compression codes of the description (only Rgb and BitFields describe live storage).
enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3 };

// The description of a pixel array: the fields of a BMP info header that matter for storage.
struct DibDescription {
    int32_t width = 0;
    int32_t height = 0;        // > 0 bottom-up, < 0 top-down
    uint16_t planes = 1;
    uint16_t bitCount = 32;    // 1, 4, 8, 16, 24 or 32 (15-bit is 16 with 5-5-5 masks)
    uint32_t compression = kBiRgb;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    uint32_t clrUsed = 0;      // colour table entries; 0 = 2^bitCount for bitCount <= 8
    bool operator==(const DibDescription&) const = default;
};

// Bytes in one padded row; 0 for impossible input. Never overflows.
uint64_t DibStride(int64_t width, int bitCount);
// Bytes of the whole pixel array, or UINT64_MAX when it cannot be represented.
uint64_t DibImageSize(int64_t width, int64_t height, int bitCount);

class Dib {
public:
    // Zero-filled storage. Raises EOutOfResources "Out of system resources" when the
    // description is not a storable format, a dimension is 0 or negative beyond the sign
    // convention, or the pixel array would exceed kMaxStorageBytes. Palette entries beyond
    // those given are black; a bitCount <= 8 storage always has 2^bitCount table slots.
    Dib(const DibDescription& description, std::vector<RgbQuad> palette = {});
    // True-colour storage over pixels owned elsewhere (a window's surface, painted in place),
    // which must outlive it; `size` bytes lie at `bits`. Raises EOutOfResources when the
    // description is not storable, is indexed or needs more bytes than there are.
    static std::unique_ptr<Dib> Over(const DibDescription& description, uint8_t* bits, size_t size);

    const DibDescription& Description() const { return description_; }
    int Width() const { return description_.width; }
    int Height() const { return description_.height < 0 ? -description_.height : description_.height; }
    bool TopDown() const { return description_.height < 0; }
    int BitCount() const { return description_.bitCount; }
    size_t Stride() const { return stride_; }

    // Row y counted from the top of the picture (y in 0..Height()-1; not checked here).
    uint8_t* Row(int y) { return bits_.data() + RowOffset(y); }
    const uint8_t* Row(int y) const { return bits_.data() + RowOffset(y); }
    uint8_t* Bits() { return bits_.data(); }
    const uint8_t* Bits() const { return bits_.data(); }
    size_t ByteSize() const { return bits_.size(); }

    const std::vector<RgbQuad>& Palette() const { return palette_; }
    std::vector<RgbQuad>& Palette() { return palette_; }

    // The colour of one pixel, palette and masks resolved (x, y from the top-left; checked).
    RgbQuad PixelAt(int x, int y) const;
    // Writes one pixel in this storage's format (nearest palette entry for indexed storage).
    // Outside the picture PixelAt reads black and SetPixel does nothing.
    void SetPixel(int x, int y, RgbQuad colour);

    // A copy of this picture converted into the given format (same width and height unless the
    // description says otherwise; the top-left of the picture is kept).
    // An indexed target with no palette given takes this picture's palette when the bit counts
    // match, else DefaultPalette(bitCount).
    std::unique_ptr<Dib> ConvertTo(const DibDescription& target, std::vector<RgbQuad> palette = {}) const;

    // An exact copy (same description, palette and bytes).
    std::unique_ptr<Dib> Clone() const;

private:
    Dib() = default;
    size_t RowOffset(int y) const {
        return (TopDown() ? static_cast<size_t>(y) : static_cast<size_t>(Height() - 1 - y)) * stride_;
    }

    DibDescription description_;
    size_t stride_ = 0;
    std::vector<RgbQuad> palette_;
    PixelBuffer bits_;
};

// Standard layouts.
DibDescription DisplayCompatibleDescription(int width, int height);  // 32 bpp, bottom-up
DibDescription DescriptionFor(int width, int height, int bitsPerPixel); // 1,4,8,15,16,24,32
// 15 is 16 bits with 5-5-5 masks, 16 is 16 bits with 5-6-5 masks (both as kBiBitFields).

// The pixel format of a description: 1, 4, 8, 15, 16 (5-6-5), 24 or 32; 0 when the description
// is not storable or uses other bit masks.
int PixelFormatBits(const DibDescription& description);

// The channel masks the storage really uses: the implied 5-5-5 and 8-8-8 masks for kBiRgb,
// the description's masks for kBiBitFields (zero masks mean the implied ones); 0 for indexed.
struct ChannelMasks {
    uint32_t red = 0, green = 0, blue = 0;
};
ChannelMasks EffectiveMasks(const DibDescription& description);

// Colour tables: black and white; the 16-colour system palette (black, maroon, green, olive, navy,
// purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white); the 256-entry
// halftone palette (those 16, a 6x6x6 colour cube, 24 greys); and the default for a bit count.
std::vector<RgbQuad> MonochromePalette();
std::vector<RgbQuad> SystemPalette16();
std::vector<RgbQuad> HalftonePalette();
std::vector<RgbQuad> DefaultPalette(int bitCount);

}  // namespace kv
