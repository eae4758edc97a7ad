// Rectangle fills with solid, hatched and pattern brushes.
#include "graphics/raster.h"
#include "graphics/raster_span.h"

namespace kv {
namespace {

// 8x8 hatch patterns, one byte per row, most significant bit leftmost; a set bit is a line pixel.
constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal (down to the right)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal (up to the right)
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

void FillHatched(Dib& dib, const TRect& area, const RasterBrush& brush, const TextBackground& bk) {
    if (brush.hatch < 0 || brush.hatch >= 6) return;
    const raster::PixelCodec codec(dib);
    const uint32_t line = codec.Encode(brush.colour);
    const uint32_t gap = codec.Encode(bk.colour);
    const int bpp = dib.BitCount();
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* row = dib.Row(y);
        const unsigned bits = kHatches[brush.hatch][y & 7];
        for (int x = area.left; x < area.right; ++x) {
            if ((bits >> (7 - (x & 7))) & 1u)
                raster::WriteRaw(row, x, bpp, line);
            else if (bk.opaque)
                raster::WriteRaw(row, x, bpp, gap);
        }
    }
}

void FillPattern(Dib& dib, const TRect& area, const Dib& pattern) {
    const raster::PixelCodec target(dib);
    const raster::PixelCodec source(pattern);
    const int bpp = dib.BitCount();
    const int pw = pattern.Width();
    const int ph = pattern.Height();
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* row = dib.Row(y);
        const uint8_t* patternRow = pattern.Row(y % ph);
        for (int x = area.left; x < area.right; ++x) {
            const uint32_t raw = raster::ReadRaw(patternRow, x % pw, pattern.BitCount());
            raster::WriteRaw(row, x, bpp, target.Encode(source.Decode(raw)));
        }
    }
}

}  // namespace

void FillRect(Dib& dib, const TRect& clip, const TRect& r, const RasterBrush& brush, const TextBackground& bk) {
    const TRect area = raster::VisibleArea(dib, clip, r);
    if (r.IsEmpty() || area.IsEmpty()) return;
    switch (brush.kind) {
    case RasterBrush::Kind::Hollow: return;
    case RasterBrush::Kind::Solid: {
        const uint32_t raw = raster::PixelCodec(dib).Encode(brush.colour);
        const int bpp = dib.BitCount();
        raster::FillRowRaw(dib.Row(area.top), area.left, area.right, bpp, raw);
        if (bpp < 8) {
            for (int y = area.top + 1; y < area.bottom; ++y) raster::FillRowRaw(dib.Row(y), area.left, area.right, bpp, raw);
            return;
        }
        // Whole-byte pixels: every further row is a copy of the first one's span.
        const size_t offset = static_cast<size_t>(area.left) * static_cast<size_t>(bpp / 8);
        const size_t bytes = static_cast<size_t>(area.Width()) * static_cast<size_t>(bpp / 8);
        const uint8_t* first = dib.Row(area.top) + offset;
        for (int y = area.top + 1; y < area.bottom; ++y) std::memcpy(dib.Row(y) + offset, first, bytes);
        return;
    }
    case RasterBrush::Kind::Hatched: FillHatched(dib, area, brush, bk); return;
    case RasterBrush::Kind::Pattern:
        if (brush.pattern != nullptr && brush.pattern->Width() > 0 && brush.pattern->Height() > 0)
            FillPattern(dib, area, *brush.pattern);
        return;
    }
}

}  // namespace kv
