// Pen lines: the thin line of the platform's rasteriser and wide lines as filled capsules.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/raster.h"
#include "graphics/raster_span.h"

namespace kv {
namespace {

struct DashPattern {
    int count;
    int lengths[6];
};
// On/off run lengths in pixels for dash, dot, dash-dot and dash-dot-dot, starting with "on".
constexpr DashPattern kDashes[4] = {
    {2, {18, 6}},
    {2, {3, 3}},
    {4, {9, 6, 3, 6}},
    {6, {9, 3, 3, 3, 3, 3}},
};

// Mixes one raw value into a pixel, touching only the bits the modes work on.
struct Mixer {
    Dib& dib;
    Rop2 rop;
    uint32_t ropMask;
    int bpp;

    void Mix(int x, int y, uint32_t pen) const {
        uint8_t* row = dib.Row(y);
        const uint32_t old = raster::ReadRaw(row, x, bpp);
        const uint32_t mixed = (old & ~ropMask) | (ApplyRop2(rop, pen, old) & ropMask);
        if (mixed != old) raster::WriteRaw(row, x, bpp, mixed);
    }
};

// Octants counted as the platform's rasteriser does (y downwards); the ones that take the tie
// bias are 3, 5, 6 and 8, which makes a line and its reverse cover the same pixels.
int Octant(int64_t dx, int64_t dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

void ThinLine(Dib& dib, const TRect& area, TPoint from, TPoint to, const RasterPen& pen, const TextBackground& bk) {
    const int64_t dx = int64_t{to.x} - from.x;
    const int64_t dy = int64_t{to.y} - from.y;
    const int octant = Octant(dx, dy);
    const int64_t bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    const bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
    const int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t majorStart = xMajor ? from.x : from.y;
    const int64_t minorStart = xMajor ? from.y : from.x;
    const int64_t majorLo = xMajor ? area.left : area.top;
    const int64_t majorHi = xMajor ? area.right : area.bottom;  // exclusive
    const int64_t minorLo = xMajor ? area.top : area.left;
    const int64_t minorHi = xMajor ? area.bottom : area.right;

    // Steps j = 0..major-1 are drawn (the end point is step `major`); keep those inside the area.
    int64_t jFirst = 0, jLast = major - 1;
    if (majorStep > 0) {
        jFirst = std::max(jFirst, majorLo - majorStart);
        jLast = std::min(jLast, majorHi - 1 - majorStart);
    } else {
        jFirst = std::max(jFirst, majorStart - (majorHi - 1));
        jLast = std::min(jLast, majorStart - majorLo);
    }
    if (jFirst > jLast) return;

    // Minor offset after j steps: ceil((2*minor*j - major + bias) / (2*major)), kept incrementally.
    // (128-bit here: with 32-bit coordinates the product can exceed 63 bits.)
    const __int128 numerator = static_cast<__int128>(2 * minor) * jFirst - major + bias;
    const __int128 twoMajor = 2 * major;
    const __int128 floorQ = numerator >= 0 ? numerator / twoMajor : -((-numerator + twoMajor - 1) / twoMajor);
    int64_t k = static_cast<int64_t>(floorQ * twoMajor == numerator ? floorQ : floorQ + 1);
    int64_t slack = static_cast<int64_t>(twoMajor * k - numerator);  // in [0, 2*major)

    const raster::PixelCodec codec(dib);
    const Mixer mixer{dib, pen.rop, codec.RopMask(), dib.BitCount()};
    const uint32_t penRaw = codec.Encode(pen.colour);
    const uint32_t gapRaw = codec.Encode(bk.colour);
    const DashPattern* dash = pen.style >= kPsDash && pen.style <= kPsDashDotDot ? &kDashes[pen.style - kPsDash] : nullptr;
    int dashPeriod = 0;
    if (dash)
        for (int i = 0; i < dash->count; ++i) dashPeriod += dash->lengths[i];

    for (int64_t j = jFirst; j <= jLast; ++j) {
        const int64_t m = majorStart + majorStep * j;
        const int64_t n = minorStart + minorStep * k;
        if (n >= minorLo && n < minorHi) {
            const int x = static_cast<int>(xMajor ? m : n);
            const int y = static_cast<int>(xMajor ? n : m);
            bool on = true;
            if (dash) {
                int position = static_cast<int>(j % dashPeriod);
                int segment = 0;
                while (position >= dash->lengths[segment]) position -= dash->lengths[segment++];
                on = (segment % 2) == 0;
            }
            if (on)
                mixer.Mix(x, y, penRaw);
            else if (bk.opaque)
                mixer.Mix(x, y, gapRaw);
        }
        slack -= 2 * minor;
        if (slack < 0) {
            ++k;
            slack += 2 * major;
        }
    }
}

// The open interval of x where the row at height cy meets the capsule (segment a-b, radius r).
bool CapsuleRow(double ax, double ay, double bx, double by, double r, double cy, double& lo, double& hi) {
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    auto disc = [&](double px, double py) {
        const double d = cy - py;
        if (d * d < r * r) {
            const double h = std::sqrt(r * r - d * d);
            lo = std::min(lo, px - h);
            hi = std::max(hi, px + h);
        }
    };
    disc(ax, ay);
    disc(bx, by);
    const double length = std::hypot(bx - ax, by - ay);
    if (length > 0) {
        const double ux = (bx - ax) / length, uy = (by - ay) / length;
        // Along the segment: 0 <= (x-ax)*ux + (cy-ay)*uy <= length.
        // Across it: -r < (x-ax)*uy - (cy-ay)*ux < r.
        double bandLo = -HUGE_VAL, bandHi = HUGE_VAL;
        auto limit = [&](double a, double b, double low, double high) {  // low <= a*x + b <= high
            if (a == 0) {
                if (b < low || b > high) bandLo = HUGE_VAL;
                return;
            }
            double x1 = (low - b) / a, x2 = (high - b) / a;
            if (x1 > x2) std::swap(x1, x2);
            bandLo = std::max(bandLo, x1);
            bandHi = std::min(bandHi, x2);
        };
        limit(ux, -ax * ux + (cy - ay) * uy, 0, length);
        limit(uy, -ax * uy - (cy - ay) * ux, -r, r);
        if (bandLo < bandHi) {
            lo = std::min(lo, bandLo);
            hi = std::max(hi, bandHi);
        }
    }
    return lo < hi;
}

void WideLine(Dib& dib, const TRect& area, TPoint from, TPoint to, const RasterPen& pen) {
    const double offset = (pen.width % 2) ? 0.5 : 0.0;  // odd widths centre on pixel centres
    const double ax = from.x + offset, ay = from.y + offset;
    const double bx = to.x + offset, by = to.y + offset;
    const double r = pen.width / 2.0;
    // Rows that can meet the shape, kept inside the area (doubles: the ends may be far outside).
    const int top = static_cast<int>(std::clamp(std::floor(std::min(ay, by) - r) - 1, static_cast<double>(area.top), static_cast<double>(area.bottom)));
    const int bottom = static_cast<int>(std::clamp(std::ceil(std::max(ay, by) + r) + 1, static_cast<double>(area.top), static_cast<double>(area.bottom)));

    const raster::PixelCodec codec(dib);
    const Mixer mixer{dib, pen.rop, codec.RopMask(), dib.BitCount()};
    const uint32_t penRaw = codec.Encode(pen.colour);
    for (int y = top; y < bottom; ++y) {
        double lo, hi;
        if (!CapsuleRow(ax, ay, bx, by, r, y + 0.5, lo, hi)) continue;
        // Pixel centres i + 0.5 strictly inside (lo, hi).
        const double first = std::max<double>(area.left, std::floor(lo - 0.5) + 1);
        const double last = std::min<double>(area.right - 1, std::ceil(hi - 0.5) - 1);
        for (int x = static_cast<int>(first); x <= static_cast<int>(last); ++x) mixer.Mix(x, y, penRaw);
    }
}

}  // namespace

void LineTo(Dib& dib, const TRect& clip, TPoint from, TPoint to, const RasterPen& pen, const TextBackground& bk) {
    if (pen.style == kPsClear || from == to) return;
    const TRect area = raster::VisibleArea(dib, clip, TRect{0, 0, dib.Width(), dib.Height()});
    if (area.IsEmpty()) return;
    if (pen.width <= 1)
        ThinLine(dib, area, from, to, pen, bk);
    else
        WideLine(dib, area, from, to, pen);
}

}  // namespace kv
