// Text: glyph coverage blended in the font colour over what is there.
#include "graphics/raster.h"
#include "graphics/raster_span.h"

namespace kv {
namespace {

uint8_t Blend(uint8_t dest, uint8_t colour, unsigned coverage) {
    const int d = dest, c = colour;
    // d + (c - d) * a / 255, rounded to nearest
    const int delta = (c - d) * static_cast<int>(coverage);
    return static_cast<uint8_t>(d + (delta >= 0 ? (delta + 127) / 255 : -((-delta + 127) / 255)));
}

}  // namespace

void DrawCoverage(Dib& dib, const TRect& clip, int x, int y, const CoverageView& mask, RgbQuad colour,
                  const TextBackground& bk) {
    if (mask.width <= 0 || mask.height <= 0 || mask.coverage == nullptr) return;
    const TRect cell = RectOfSize(x, y, mask.width, mask.height);
    if (bk.opaque) {
        RasterBrush brush;
        brush.colour = bk.colour;
        FillRect(dib, clip, cell, brush, bk);
    }
    const TRect area = raster::VisibleArea(dib, clip, cell);
    if (area.IsEmpty()) return;
    const raster::PixelCodec codec(dib);
    const int bpp = dib.BitCount();
    if (codec.PlainRgb()) {
        // Bytes blue, green, red: each blends in place (a fourth byte is kept).
        const size_t step = static_cast<size_t>(bpp / 8);
        for (int py = area.top; py < area.bottom; ++py) {
            uint8_t* p = dib.Row(py) + static_cast<size_t>(area.left) * step;
            const uint8_t* coverage = mask.coverage + static_cast<size_t>(py - y) * static_cast<size_t>(mask.width) +
                                      (area.left - x);
            for (int px = area.left; px < area.right; ++px, p += step) {
                const unsigned a = *coverage++;
                if (a == 0) continue;
                p[0] = a == 255 ? colour.blue : Blend(p[0], colour.blue, a);
                p[1] = a == 255 ? colour.green : Blend(p[1], colour.green, a);
                p[2] = a == 255 ? colour.red : Blend(p[2], colour.red, a);
            }
        }
        return;
    }
    const uint32_t full = codec.Encode(colour);
    for (int py = area.top; py < area.bottom; ++py) {
        uint8_t* row = dib.Row(py);
        const uint8_t* coverage = mask.coverage + static_cast<size_t>(py - y) * static_cast<size_t>(mask.width);
        for (int px = area.left; px < area.right; ++px) {
            const unsigned a = coverage[px - x];
            if (a == 0) continue;
            const uint32_t old = raster::ReadRaw(row, px, bpp);
            uint32_t value;
            if (a == 255) {
                value = full;
            } else {
                const RgbQuad d = codec.Decode(old);
                value = codec.Encode(RgbQuad{Blend(d.blue, colour.blue, a), Blend(d.green, colour.green, a),
                                             Blend(d.red, colour.red, a), 0});
            }
            // The fourth byte of a 32-bit pixel is kept.
            const uint32_t keep = ~codec.RopMask();
            raster::WriteRaw(row, px, bpp, (old & keep) | (value & codec.RopMask()));
        }
    }
}

}  // namespace kv
