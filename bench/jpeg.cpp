// Decoding a 6000 x 4000 4:2:0 JPEG (baseline, and the same picture progressive) from memory into
// a bitmap, beside libjpeg called directly with the float DCT on the same bytes in the same binary
// (the streaming floor: one output row, as its command-line decoder works) and beside that
// command-line decoder (djpeg -dct float) as a whole process.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>
#include <time.h>

#include "codecs/jpeg.h"
#include "codecs/jpeg_decoder.h"
#include "runtime/stream.h"
#include "tests/codecs/jpeg_test_support.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

enum Kind : int { kBaseline = 0, kProgressive = 1 };

// A photo-like picture: smooth colour fields with fine texture, encoded at quality 90, 4:2:0.
const std::vector<uint8_t>& BenchJpeg(int kind = kBaseline) {
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
        uint32_t noise = 12345;
        uint8_t* out = rgb.data();
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
        return rgb;
    }();
    static std::vector<uint8_t> encoded[2];
    if (encoded[kind].empty()) {
        kv::test::EncodeOptions options;
        options.progressive = kind == kProgressive;
        encoded[kind] = kv::test::EncodeJpeg(kWidth, kHeight, JCS_RGB, 3, pixels, options);
    }
    return encoded[kind];
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

// Our reader: a picture read from memory and assigned to a bitmap (new storage every time).
void DecodeWithOurReader(const std::vector<uint8_t>& bytes) {
    kv::TMemoryStream stream(bytes.data(), bytes.size());
    kv::TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    kv::TBitmap bitmap;
    bitmap.Assign(&jpeg);
    benchmark::DoNotOptimize(bitmap.GetDib());
}

// libjpeg on its own with the float DCT and its default output (red, green, blue), one row at a
// time into the same buffer.
void DecodeWithLibjpeg(const std::vector<uint8_t>& bytes) {
    jpeg_decompress_struct ci{};
    jpeg_error_mgr errors{};
    ci.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&ci);
    jpeg_mem_src(&ci, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&ci, TRUE);
    ci.dct_method = JDCT_FLOAT;
    jpeg_start_decompress(&ci);
    std::vector<uint8_t> row(static_cast<size_t>(ci.output_width) * ci.output_components);
    JSAMPROW rows[1] = {row.data()};
    while (ci.output_scanline < ci.output_height) jpeg_read_scanlines(&ci, rows, 1);
    benchmark::DoNotOptimize(row.data());
    jpeg_finish_decompress(&ci);
    jpeg_destroy_decompress(&ci);
}

// The calling thread's processor time (user and system, so page faults count) of one decode:
// unlike the wall clock it does not grow when other processes share the processors.
double MillisecondsOf(void (*decode)(const std::vector<uint8_t>&), const std::vector<uint8_t>& bytes) {
    auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    const double start = now();
    decode(bytes);
    return now() - start;
}

// Both decoders in turn on the same bytes, so the ratio holds even when the machine's speed
// drifts; the iteration time is our processor time.
void BM_JpegOursVsLibjpegFloat(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = BenchJpeg(static_cast<int>(state.range(0)));
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        const double ms = MillisecondsOf(DecodeWithOurReader, bytes);
        ours += ms;
        theirs += MillisecondsOf(DecodeWithLibjpeg, bytes);
        state.SetIterationTime(ms / 1000.0);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["ours_cpu_ms"] = ours / n;
    state.counters["libjpeg_cpu_ms"] = theirs / n;
    state.counters["ratio"] = theirs > 0 ? ours / theirs : 0;
    state.SetLabel(state.range(0) == kProgressive ? "progressive" : "baseline");
}
BENCHMARK(BM_JpegOursVsLibjpegFloat)->Arg(kBaseline)->Arg(kProgressive)->Unit(benchmark::kMillisecond)
    ->UseManualTime()->Iterations(8);

void BM_JpegLoadAndDecodeToBitmap(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = BenchJpeg();
    for (auto _ : state) DecodeWithOurReader(bytes);
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
