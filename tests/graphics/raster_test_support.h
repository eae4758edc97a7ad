#pragma once
// Helpers shared by the raster and storage tests: colours, solid surfaces, random pictures and
// pixel counts.
#include <cstdint>
#include <random>
#include <set>
#include <utility>

#include "graphics/raster.h"

namespace kv::raster_test {

inline constexpr RgbQuad kWhite{255, 255, 255, 0}, kBlack{0, 0, 0, 0}, kRed{0, 0, 255, 0}, kBlue{255, 0, 0, 0};

inline RasterBrush Solid(RgbQuad colour) {
    RasterBrush brush;
    brush.colour = colour;
    return brush;
}

inline TRect All(const Dib& dib) { return TRect{0, 0, dib.Width(), dib.Height()}; }

// Storage of the given format (default colour table) filled with one colour.
inline Dib Surface(int width, int height, RgbQuad colour, int bits = 32) {
    Dib dib(DescriptionFor(width, height, bits), DefaultPalette(bits));
    FillRect(dib, All(dib), All(dib), Solid(colour), {});
    return dib;
}

// Storage of the given format filled with pseudo-random colours from the seed.
inline Dib RandomDib(int width, int height, unsigned seed, int bits = 32) {
    Dib dib(DescriptionFor(width, height, bits), DefaultPalette(bits));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dib.SetPixel(x, y, RgbQuad{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                       static_cast<uint8_t>(random()), 0});
    return dib;
}

// The colour as one number, for sets of colours.
inline uint32_t ColourKey(RgbQuad c) { return static_cast<uint32_t>(c.blue | (c.green << 8) | (c.red << 16)); }

inline int CountColour(const Dib& dib, RgbQuad colour) {
    int n = 0;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x) n += dib.PixelAt(x, y) == colour;
    return n;
}

// The positions of every pixel that is not the background colour.
inline std::set<std::pair<int, int>> PixelsNot(const Dib& dib, RgbQuad background) {
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x)
            if (dib.PixelAt(x, y) != background) pixels.insert({x, y});
    return pixels;
}

}  // namespace kv::raster_test
