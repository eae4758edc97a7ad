#pragma once
// Small BMP files made on the spot for the game's tests, removed when the test ends.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "graphics/dib.h"

namespace kv::test {

using PixelFunction = std::function<RgbQuad(int x, int y)>;

// A colour for each pixel that tells the picture's columns and rows apart.
inline RgbQuad PatternPixel(int x, int y) {
    return {static_cast<uint8_t>((x * 7 + y) & 0xFF), static_cast<uint8_t>((y * 3) & 0xFF),
            static_cast<uint8_t>(x & 0xFF), 0};
}

// A 24-bit bottom-up BMP file of the given size.
inline std::vector<uint8_t> MakeBmp(int width, int height, const PixelFunction& pixel) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> out;
    auto put16 = [&out](uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    put32(54 + imageSize);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const RgbQuad c = pixel(x, row);
            out.push_back(c.blue);
            out.push_back(c.green);
            out.push_back(c.red);
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

// A file in a fresh temporary folder, deleted with the object.
class TempFile {
public:
    TempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        static int counter = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("kv_game_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(folder_);
        path_ = (folder_ / name).string();
        std::ofstream file(path_, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::string path_;
};

// A BMP of the board's size with the pattern above, so the board shows it one to one.
inline TempFile BoardSizedBmp(const std::string& name = "board.bmp") {
    return TempFile(name, MakeBmp(688, 448, PatternPixel));
}

// What the red not-xor pen makes of a pixel: red kept, green and blue inverted.
inline RgbQuad NotXorRed(RgbQuad c) {
    return {static_cast<uint8_t>(~c.blue), static_cast<uint8_t>(~c.green), c.red, c.reserved};
}

inline bool SameColour(RgbQuad a, RgbQuad b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

}  // namespace kv::test
