#pragma once
// The three GIF files the GIF benchmarks compare readers on, made in memory with giflib's encoder
// (fast and independent of our reader): 4000 x 3000 noise over 256 colours, a 4000 x 3000
// photo-like picture (smooth bands with a little noise, as a dithered photo compresses) and a
// 480 x 360 animation of 50 such frames, each moved a little.
#include <gif_lib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv::bench {

struct GifInput {
    const char* name;
    std::vector<uint8_t> bytes;
};

namespace detail {

inline int Append(GifFileType* file, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(file->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

inline void Check(int status) {
    if (status != GIF_OK) throw std::runtime_error("giflib could not encode a benchmark GIF");
}

inline std::vector<uint8_t> PhotoLike(int width, int height, int shift) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const double v = 128 + 100 * std::sin((x + shift) / 300.0) * std::cos((y + shift / 2) / 200.0);
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(static_cast<int>(v) + static_cast<int>((noise >> 16) & 7));
        }
    return pixels;
}

inline std::vector<uint8_t> Noise(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint32_t state = 2463534242u;
    for (uint8_t& p : pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        p = static_cast<uint8_t>(state >> 24);
    }
    return pixels;
}

// One GIF of the given frames (all width x height at 0,0), 256-colour global table; frames after
// the first carry a graphic control block with a 4/100 s delay.
inline std::vector<uint8_t> Encode(int width, int height, const std::vector<std::vector<uint8_t>>& frames) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, &Append, &error);
    if (!file) throw std::runtime_error("giflib could not start a benchmark GIF");
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                                  static_cast<GifByteType>((i * 7) & 0xFF)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(file, true);
    Check(EGifPutScreenDesc(file, width, height, 8, 0, map));
    for (const std::vector<uint8_t>& frame : frames) {
        if (frames.size() > 1) {
            const GifByteType control[4] = {0x04, 4, 0, 0};  // disposal: leave; delay 4
            Check(EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, control));
        }
        Check(EGifPutImageDesc(file, 0, 0, width, height, false, nullptr));
        for (int y = 0; y < height; ++y)
            Check(EGifPutLine(file, const_cast<GifPixelType*>(frame.data()) + static_cast<size_t>(y) * width, width));
    }
    GifFreeMapObject(map);
    Check(EGifCloseFile(file, &error));
    return out;
}

}  // namespace detail

inline const std::vector<GifInput>& GifInputs() {
    static const std::vector<GifInput> inputs = [] {
        std::vector<GifInput> made;
        made.push_back({"noise_4000x3000", detail::Encode(4000, 3000, {detail::Noise(4000, 3000)})});
        made.push_back({"photo_4000x3000", detail::Encode(4000, 3000, {detail::PhotoLike(4000, 3000, 0)})});
        std::vector<std::vector<uint8_t>> frames;
        for (int k = 0; k < 50; ++k) frames.push_back(detail::PhotoLike(480, 360, 8 * k));
        made.push_back({"anim_480x360x50", detail::Encode(480, 360, frames)});
        return made;
    }();
    return inputs;
}

// Writes the inputs as DIR/<name>.gif for whole-process timing.
inline void WriteGifInputs(const std::string& dir) {
    for (const GifInput& input : GifInputs()) {
        const std::string path = dir + "/" + input.name + ".gif";
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(input.bytes.data(), 1, input.bytes.size(), out) != input.bytes.size())
            throw std::runtime_error("cannot write " + path);
        std::fclose(out);
        std::printf("%s %zu bytes\n", path.c_str(), input.bytes.size());
    }
}

}  // namespace kv::bench
