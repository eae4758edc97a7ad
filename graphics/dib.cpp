#include "graphics/dib.h"

#include <limits>
#include <new>

#include "graphics/raster.h"
#include "graphics/raster_pixels.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

bool StorableBitCount(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

bool Storable(const DibDescription& d) {
    if (!StorableBitCount(d.bitCount)) return false;
    if (d.compression == kBiRgb) return true;
    return d.compression == kBiBitFields && (d.bitCount == 16 || d.bitCount == 32);
}

[[noreturn]] void OutOfResources() { throw EOutOfResources(kOutOfResourcesText); }

}  // namespace

uint64_t DibStride(int64_t width, int bitCount) {
    if (width <= 0 || bitCount <= 0 || bitCount > 32) return 0;
    if (static_cast<uint64_t>(width) > (std::numeric_limits<uint64_t>::max() - 31) / 32) return 0;
    return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32 * 4;
}

uint64_t DibImageSize(int64_t width, int64_t height, int bitCount) {
    if (width == 0 || height == 0) return 0;
    if (height == std::numeric_limits<int64_t>::min()) return std::numeric_limits<uint64_t>::max();
    const uint64_t stride = DibStride(width, bitCount);
    if (stride == 0) return std::numeric_limits<uint64_t>::max();
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    if (rows > std::numeric_limits<uint64_t>::max() / stride) return std::numeric_limits<uint64_t>::max();
    return stride * rows;
}

Dib::Dib(const DibDescription& description, std::vector<RgbQuad> palette) : description_(description) {
    if (!Storable(description) || description.width <= 0 || description.height == 0 ||
        description.height == std::numeric_limits<int32_t>::min())
        OutOfResources();
    const uint64_t size = DibImageSize(description.width, description.height, description.bitCount);
    if (size > kMaxStorageBytes) OutOfResources();
    try {
        stride_ = static_cast<size_t>(DibStride(description.width, description.bitCount));
        if (description.bitCount <= 8) {
            palette.resize(size_t{1} << description.bitCount);
        } else if (palette.size() > 256) {
            palette.resize(256);  // a colour table beside true-colour pixels is only a hint
        }
        palette_ = std::move(palette);
        bits_ = PixelBuffer(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        OutOfResources();
    } catch (const std::length_error&) {
        OutOfResources();
    }
}

std::unique_ptr<Dib> Dib::Over(const DibDescription& description, uint8_t* bits, size_t size) {
    if (!Storable(description) || description.bitCount <= 8 || description.width <= 0 || description.height == 0 ||
        description.height == std::numeric_limits<int32_t>::min())
        OutOfResources();
    const uint64_t needed = DibImageSize(description.width, description.height, description.bitCount);
    if (bits == nullptr || needed > size) OutOfResources();
    std::unique_ptr<Dib> dib(new Dib());
    dib->description_ = description;
    dib->stride_ = static_cast<size_t>(DibStride(description.width, description.bitCount));
    dib->bits_ = PixelBuffer::Borrowed(bits, static_cast<size_t>(needed));
    return dib;
}

RgbQuad Dib::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return RgbQuad{};
    const raster::PixelCodec codec(*this);
    return codec.Decode(raster::ReadRaw(Row(y), x, BitCount()));
}

void Dib::SetPixel(int x, int y, RgbQuad colour) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    const raster::PixelCodec codec(*this);
    raster::WriteRaw(Row(y), x, BitCount(), codec.Encode(colour));
}

std::unique_ptr<Dib> Dib::ConvertTo(const DibDescription& target, std::vector<RgbQuad> palette) const {
    if (target.bitCount <= 8 && palette.empty())
        palette = target.bitCount == BitCount() ? palette_ : DefaultPalette(target.bitCount);
    auto result = std::make_unique<Dib>(target, std::move(palette));
    const TRect all{0, 0, result->Width(), result->Height()};
    const TRect overlap = all.Intersect(TRect{0, 0, Width(), Height()});
    StretchCopy(*result, all, overlap, *this, overlap, kSrcCopy);
    return result;
}

std::unique_ptr<Dib> Dib::Clone() const {
    try {
        return std::make_unique<Dib>(*this);
    } catch (const std::bad_alloc&) {
        OutOfResources();
    }
}

DibDescription DisplayCompatibleDescription(int width, int height) { return DescriptionFor(width, height, 32); }

DibDescription DescriptionFor(int width, int height, int bitsPerPixel) {
    DibDescription d;
    d.width = width;
    d.height = height;
    d.bitCount = static_cast<uint16_t>(bitsPerPixel == 15 ? 16 : bitsPerPixel);
    if (bitsPerPixel == 15) {
        d.compression = kBiBitFields;
        d.redMask = 0x7C00;
        d.greenMask = 0x03E0;
        d.blueMask = 0x001F;
    } else if (bitsPerPixel == 16) {
        d.compression = kBiBitFields;
        d.redMask = 0xF800;
        d.greenMask = 0x07E0;
        d.blueMask = 0x001F;
    }
    return d;
}

ChannelMasks EffectiveMasks(const DibDescription& d) {
    if (d.bitCount <= 8) return {};
    const bool given = d.compression == kBiBitFields && (d.redMask | d.greenMask | d.blueMask) != 0;
    if (d.bitCount == 16) {
        if (given) return {d.redMask & 0xFFFF, d.greenMask & 0xFFFF, d.blueMask & 0xFFFF};
        return {0x7C00, 0x03E0, 0x001F};
    }
    if (d.bitCount == 32 && given) return {d.redMask, d.greenMask, d.blueMask};
    return {0xFF0000, 0xFF00, 0xFF};
}

int PixelFormatBits(const DibDescription& d) {
    if (!Storable(d)) return 0;
    if (d.bitCount <= 8 || d.bitCount == 24) return d.bitCount;
    const ChannelMasks m = EffectiveMasks(d);
    if (d.bitCount == 16) {
        if (m.red == 0x7C00 && m.green == 0x03E0 && m.blue == 0x001F) return 15;
        if (m.red == 0xF800 && m.green == 0x07E0 && m.blue == 0x001F) return 16;
        return 0;
    }
    return (m.red == 0xFF0000 && m.green == 0xFF00 && m.blue == 0xFF) ? 32 : 0;
}

std::vector<RgbQuad> MonochromePalette() { return {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}}; }

std::vector<RgbQuad> SystemPalette16() {
    auto rgb = [](uint8_t r, uint8_t g, uint8_t b) { return RgbQuad{b, g, r, 0}; };
    return {rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
            rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
            rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
            rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255)};
}

std::vector<RgbQuad> HalftonePalette() {
    std::vector<RgbQuad> palette = SystemPalette16();
    palette.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(RgbQuad{static_cast<uint8_t>(b * 51), static_cast<uint8_t>(g * 51),
                                          static_cast<uint8_t>(r * 51), 0});
    for (int i = 0; i < 24; ++i) {
        const auto level = static_cast<uint8_t>(8 + 10 * i);
        palette.push_back(RgbQuad{level, level, level, 0});
    }
    return palette;
}

std::vector<RgbQuad> DefaultPalette(int bitCount) {
    switch (bitCount) {
    case 1: return MonochromePalette();
    case 4: return SystemPalette16();
    case 8: return HalftonePalette();
    default: return {};
    }
}

}  // namespace kv
