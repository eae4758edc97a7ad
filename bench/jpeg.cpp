// Decoding a 6000 x 4000 baseline 4:2:0 JPEG from memory into a bitmap, beside the library's own
// command-line decoder (djpeg -dct float) on the same file in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>

#include "codecs/jpeg.h"
#include "codecs/jpeg_decoder.h"
#include "runtime/stream.h"
#include "tests/codecs/jpeg_test_support.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A photo-like picture: smooth colour fields with fine texture, encoded at quality 90, 4:2:0.
const std::vector<uint8_t>& BenchJpeg() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
        uint32_t noise = 12345;
        uint8_t* out = pixels.data();
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1103515245u + 12345u;
                const int grain = static_cast<int>((noise >> 16) & 15) - 8;
                const double fx = x / 300.0, fy = y / 200.0;
                const int r = static_cast<int>(128 + 100 * std::sin(fx) * std::cos(fy)) + grain;
                const int g = static_cast<int>(128 + 90 * std::sin(fx * 0.7 + fy)) + grain;
                const int b = static_cast<int>(128 + 80 * std::cos(fx * 1.3 - fy * 0.5)) + grain;
                *out++ = static_cast<uint8_t>(std::clamp(r, 0, 255));
                *out++ = static_cast<uint8_t>(std::clamp(g, 0, 255));
                *out++ = static_cast<uint8_t>(std::clamp(b, 0, 255));
            }
        }
        return kv::test::EncodeJpeg(kWidth, kHeight, JCS_RGB, 3, pixels, {});
    }();
    return bytes;
}

const std::string& BenchJpegPath() {
    static const std::string path = [] {
        std::string name = "/tmp/kv_bench_jpeg_6000x4000.jpg";
        const std::vector<uint8_t>& bytes = BenchJpeg();
        if (FILE* f = std::fopen(name.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return name;
    }();
    return path;
}

void BM_JpegLoadAndDecodeToBitmap(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = BenchJpeg();
    for (auto _ : state) {
        kv::TMemoryStream stream(bytes.data(), bytes.size());
        kv::TJPEGImage jpeg;
        jpeg.LoadFromStream(stream);
        kv::TBitmap bitmap;
        bitmap.Assign(&jpeg);
        benchmark::DoNotOptimize(bitmap.GetDib());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_JpegLoadAndDecodeToBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decoder alone, writing into storage that already exists (no allocation, no page faults):
// shows how much of the figure above is the 72 MB of new zero-filled bitmap storage.
void BM_JpegDecodeIntoExistingStorage(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = BenchJpeg();
    kv::Dib storage(kv::DescriptionFor(kWidth, kHeight, 24));
    for (auto _ : state) {
        kv::DecodeJpeg(bytes.data(), bytes.size(), kv::TJPEGSettings{},
                       [&](const kv::DibDescription&, std::vector<kv::RgbQuad>) -> kv::Dib& { return storage; });
        benchmark::DoNotOptimize(storage.Bits());
    }
}
BENCHMARK(BM_JpegDecodeIntoExistingStorage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole djpeg process: start-up, reading the file, decoding, writing the picture to /dev/null.
void BM_DjpegFloat(benchmark::State& state) {
    const std::string command = "djpeg -dct float -outfile /dev/null " + BenchJpegPath() + " 2>/dev/null";
    if (std::system("command -v djpeg > /dev/null 2>&1") != 0) {
        state.SkipWithError("djpeg is not installed");
        return;
    }
    // The machine may be busy: the children's own CPU time is the figure to compare with the
    // CPU column of the in-process benchmarks.
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("djpeg failed");
    }
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
                       seconds(before.ru_stime);
    state.counters["child_cpu_ms"] = cpu * 1000.0 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DjpegFloat)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
