// BMP reading speed: a 6000 x 4000 24-bit file from memory beside a plain copy of the same bytes
// and beside stb_image reading the same bytes in the same iterations (BM_Bmp24VsStb: thread
// processor time per load, and ours as a ratio of stb's), and run-length (RLE8) expansion.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "codecs/bmp.h"
#include "codecs/bmp_rle.h"
#include "graphics/dib.h"
#include "runtime/stream.h"
#include "thread_time.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

std::vector<uint8_t> Headers(int width, int height, int bits, uint32_t compression, uint32_t imageSize,
                             uint32_t colours) {
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 54 + colours * 4);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(bits));
    Put32(out, compression);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
    for (uint32_t i = 0; i < colours; ++i) Put32(out, i * 0x010101u);
    return out;
}

std::vector<uint8_t> Rgb24File(int width, int height) {
    const size_t size = kv::DibImageSize(width, height, 24);
    std::vector<uint8_t> file = Headers(width, height, 24, 0, static_cast<uint32_t>(size), 0);
    const size_t start = file.size();
    file.resize(start + size);
    for (size_t i = 0; i < size; ++i) file[start + i] = static_cast<uint8_t>(i * 31);
    return file;
}

// Rows of alternating encoded runs (lengths 1..40) and absolute runs of 20 pixels.
std::vector<uint8_t> Rle8Data(int width, int height) {
    std::vector<uint8_t> data;
    for (int y = 0; y < height; ++y) {
        int x = 0;
        int k = y;
        while (x < width) {
            const int run = std::min(1 + (k++ % 40), width - x);
            data.push_back(static_cast<uint8_t>(run));
            data.push_back(static_cast<uint8_t>(k));
            x += run;
            if (width - x >= 20) {
                data.push_back(0);
                data.push_back(20);
                for (int i = 0; i < 20; ++i) data.push_back(static_cast<uint8_t>(x + i));
                x += 20;
            }
        }
        data.push_back(0);
        data.push_back(0);
    }
    data.push_back(0);
    data.push_back(1);
    return data;
}

void BM_ReadBmp24_6000x4000(benchmark::State& state) {
    kv::TMemoryStream stream(Rgb24File(6000, 4000));
    for (auto _ : state) {
        stream.SetPosition(0);
        kv::BmpReadResult result = kv::ReadBmpStream(stream);
        benchmark::DoNotOptimize(result.dib->Bits());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(stream.Data().size()));
}
BENCHMARK(BM_ReadBmp24_6000x4000)->Unit(benchmark::kMillisecond)->UseRealTime();

// stb_image gives top-down RGB; our reader keeps the file's own layout.
void BM_Bmp24VsStb(benchmark::State& state) {
    kv::TMemoryStream stream(Rgb24File(6000, 4000));
    const std::vector<uint8_t>& bytes = stream.Data();
    double ours = 0, stb = 0;
    for (auto _ : state) {
        const double t0 = kv::bench::ThreadMilliseconds();
        stream.SetPosition(0);
        kv::BmpReadResult result = kv::ReadBmpStream(stream);
        benchmark::DoNotOptimize(result.dib->Bits());
        const double t1 = kv::bench::ThreadMilliseconds();
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                                                &channels, 0);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
        const double t2 = kv::bench::ThreadMilliseconds();
        if (!pixels || width != 6000 || height != 4000) {
            state.SkipWithError("stb could not read the file");
            break;
        }
        ours += t1 - t0;
        stb += t2 - t1;
    }
    state.counters["ours_ms"] = ours / static_cast<double>(state.iterations());
    state.counters["stb_ms"] = stb / static_cast<double>(state.iterations());
    state.counters["ours_per_stb"] = ours / stb;
}
BENCHMARK(BM_Bmp24VsStb)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor: copying the same bytes into a fresh buffer of the same size.
void BM_Memcpy_6000x4000x24(benchmark::State& state) {
    const std::vector<uint8_t> file = Rgb24File(6000, 4000);
    for (auto _ : state) {
        std::vector<uint8_t> copy(file.size());
        std::memcpy(copy.data(), file.data(), file.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_Memcpy_6000x4000x24)->Unit(benchmark::kMillisecond)->UseRealTime();

// Expansion alone, into zeroed 32-bit storage; bytes are output bytes.
void BM_ExpandRle8_2000x2000(benchmark::State& state) {
    const std::vector<uint8_t> data = Rle8Data(2000, 2000);
    kv::RleColours colours{};
    for (int i = 0; i < 256; ++i) colours[i] = kv::RgbQuad{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
    for (auto _ : state) {
        kv::Dib target(kv::DisplayCompatibleDescription(2000, 2000));
        kv::ExpandRle8(data.data(), data.size(), colours, target);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{2000} * 2000 * 4);
    state.counters["rle_bytes"] = static_cast<double>(data.size());
}
BENCHMARK(BM_ExpandRle8_2000x2000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole reader on an RLE8 file (keeps a copy of the file bytes, then expands).
void BM_ReadBmpRle8_2000x2000(benchmark::State& state) {
    const std::vector<uint8_t> data = Rle8Data(2000, 2000);
    std::vector<uint8_t> file = Headers(2000, 2000, 8, 1, static_cast<uint32_t>(data.size()), 256);
    file.insert(file.end(), data.begin(), data.end());
    kv::TMemoryStream stream(std::move(file));
    for (auto _ : state) {
        stream.SetPosition(0);
        kv::BmpReadResult result = kv::ReadBmpStream(stream);
        benchmark::DoNotOptimize(result.dib->Bits());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{2000} * 2000 * 4);
}
BENCHMARK(BM_ReadBmpRle8_2000x2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
