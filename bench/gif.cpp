// Decoding a large generated GIF (4000 x 3000, 256 colours, photo-like bands with noise) from
// memory: reading alone, interlaced reading, and reading plus conversion to a bitmap.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "runtime/stream.h"
#include "tests/codecs/gif/gif_builder.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

std::vector<uint8_t> MakeGif(bool interlaced) {
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[static_cast<size_t>(i)] = (static_cast<uint32_t>(i) << 16) | (static_cast<uint32_t>(255 - i) << 8) |
                                          static_cast<uint32_t>((i * 7) & 0xFF);
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const double v = 128 + 100 * std::sin(x / 300.0) * std::cos(y / 200.0);
            pixels[static_cast<size_t>(y) * kWidth + x] =
                static_cast<uint8_t>(static_cast<int>(v) + static_cast<int>((noise >> 16) & 7));
        }
    kv::test::GifWriter gif(kWidth, kHeight, palette);
    gif.Frame(0, 0, kWidth, kHeight, pixels, 8, {}, interlaced).Trailer();
    return gif.Bytes();
}

const std::vector<uint8_t>& BenchGif(bool interlaced) {
    static const std::vector<uint8_t> plain = MakeGif(false);
    static const std::vector<uint8_t> woven = MakeGif(true);
    return interlaced ? woven : plain;
}

void Read(benchmark::State& state, bool interlaced, bool convert) {
    const std::vector<uint8_t>& bytes = BenchGif(interlaced);
    for (auto _ : state) {
        kv::TMemoryStream stream(bytes.data(), bytes.size());
        kv::TGIFImage gif;
        gif.LoadFromStream(stream);
        if (convert) {
            kv::TBitmap bitmap;
            bitmap.Assign(&gif);
            benchmark::DoNotOptimize(bitmap.GetDib());
        }
        benchmark::DoNotOptimize(gif.Images()[0].Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_GifRead(benchmark::State& state) { Read(state, false, false); }
void BM_GifReadInterlaced(benchmark::State& state) { Read(state, true, false); }
void BM_GifReadAndConvert(benchmark::State& state) { Read(state, false, true); }

BENCHMARK(BM_GifRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifReadInterlaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifReadAndConvert)->Unit(benchmark::kMillisecond);

}  // namespace
