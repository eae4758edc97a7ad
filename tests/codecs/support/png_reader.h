#pragma once
// Reads the reference pictures of the corpus through libpng, for comparing decodes with them in tests.
#include <cstdint>
#include <string>
#include <vector>

namespace kv::test {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // top row first, 4 bytes per pixel
    const uint8_t* At(int x, int y) const { return rgba.data() + (static_cast<size_t>(y) * width + x) * 4; }
};

// Any PNG, as 8-bit RGBA: 16-bit samples keep their high byte, grey and palette pictures are
// expanded, a transparent colour key becomes alpha 0. Throws std::runtime_error on a file libpng refuses.
RgbaImage ReadPng(const std::string& path);

}  // namespace kv::test
