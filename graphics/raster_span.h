#pragma once
// Row helpers shared by the raster primitives.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "graphics/dib.h"
#include "graphics/geometry.h"
#include "graphics/raster_pixels.h"

namespace kv::raster {

// The part of r that lies inside the storage and the clip rectangle.
inline TRect VisibleArea(const Dib& dib, const TRect& clip, const TRect& r) {
    return r.Intersect(clip).Intersect(TRect{0, 0, dib.Width(), dib.Height()});
}

// Writes raw value v into pixels x0..x1-1 of a row.
inline void FillRowRaw(uint8_t* row, int x0, int x1, int bpp, uint32_t v) {
    if (x1 <= x0) return;
    if (bpp == 8) {
        std::memset(row + x0, static_cast<int>(v & 0xFF), static_cast<size_t>(x1 - x0));
        return;
    }
    if (bpp < 8) {
        for (int x = x0; x < x1; ++x) WriteRaw(row, x, bpp, v);
        return;
    }
    // Whole-byte pixels: write one, then double the written run until the span is full.
    const size_t pixelBytes = static_cast<size_t>(bpp / 8);
    uint8_t* start = row + static_cast<size_t>(x0) * pixelBytes;
    const size_t total = static_cast<size_t>(x1 - x0) * pixelBytes;
    WriteRaw(start, 0, bpp, v);
    size_t done = pixelBytes;
    while (done < total) {
        const size_t chunk = std::min(done, total - done);
        std::memcpy(start + done, start, chunk);
        done += chunk;
    }
}

}  // namespace kv::raster
