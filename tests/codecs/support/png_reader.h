#pragma once
// A small PNG reader for comparing decodes with reference pictures in tests: non-interlaced
// greyscale, RGB, palette, grey+alpha and RGBA at the bit depths PNG allows. Not hardened for
// untrusted input; test data only.
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

// Throws std::runtime_error on anything it does not understand.
RgbaImage ReadPng(const std::string& path);

// Raw DEFLATE decompression (RFC 1951), exposed for its own test.
std::vector<uint8_t> Inflate(const uint8_t* data, size_t size);

}  // namespace kv::test
