// Raster primitives against the sizes the game uses: the board is 688x448, the preview
// 225x160, pictures may be camera-sized, and a window frame is composed of a background
// and the piece pictures.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "graphics/raster.h"

namespace kv {
namespace {

std::unique_ptr<Dib> Picture(int width, int height, int bits) {
    auto dib = std::make_unique<Dib>(DescriptionFor(width, height, bits));
    uint8_t* bytes = dib->Bits();
    for (size_t i = 0; i < dib->ByteSize(); ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    return dib;
}

void Stretch(benchmark::State& state, int srcWidth, int srcHeight, int bits) {
    const auto src = Picture(srcWidth, srcHeight, bits);
    Dib board(DisplayCompatibleDescription(688, 448));
    const TRect all{0, 0, 688, 448};
    for (auto _ : state) {
        StretchCopy(board, all, all, *src, TRect{0, 0, srcWidth, srcHeight});
        benchmark::DoNotOptimize(board.Bits());
    }
    state.SetItemsProcessed(state.iterations() * 688 * 448);
}

void BM_StretchCamera32(benchmark::State& state) { Stretch(state, 6000, 4000, 32); }
void BM_StretchCamera24(benchmark::State& state) { Stretch(state, 6000, 4000, 24); }
void BM_StretchPreview32(benchmark::State& state) { Stretch(state, 225, 160, 32); }
BENCHMARK(BM_StretchCamera32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchCamera24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchPreview32)->Unit(benchmark::kMicrosecond);

void BM_FillBoard(benchmark::State& state) {
    Dib board(DisplayCompatibleDescription(688, 448));
    RasterBrush white;
    const TRect all{0, 0, 688, 448};
    for (auto _ : state) {
        FillRect(board, all, all, white, {});
        benchmark::DoNotOptimize(board.Bits());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(board.ByteSize()));
}
BENCHMARK(BM_FillBoard)->Unit(benchmark::kMicrosecond);

void BM_MemsetBoard(benchmark::State& state) {
    std::vector<uint8_t> bytes(688 * 448 * 4);
    for (auto _ : state) {
        std::memset(bytes.data(), 0xFF, bytes.size());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_MemsetBoard)->Unit(benchmark::kMicrosecond);

void BM_CopyQuarterBoard(benchmark::State& state) {
    const auto src = Picture(688, 448, 32);
    Dib dst(DisplayCompatibleDescription(344, 224));
    const TRect all{0, 0, 344, 224};
    for (auto _ : state) {
        StretchCopy(dst, all, all, *src, TRect{172, 112, 516, 336});
        benchmark::DoNotOptimize(dst.Bits());
    }
    state.SetBytesProcessed(state.iterations() * 344 * 224 * 4);
}
BENCHMARK(BM_CopyQuarterBoard)->Unit(benchmark::kMicrosecond);

void BM_MemcpyQuarterBoard(benchmark::State& state) {
    std::vector<uint8_t> src(688 * 448 * 4), dst(344 * 224 * 4);
    for (auto _ : state) {
        for (int y = 0; y < 224; ++y)
            std::memcpy(dst.data() + y * 344 * 4, src.data() + ((y + 112) * 688 + 172) * 4, 344 * 4);
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetBytesProcessed(state.iterations() * 344 * 224 * 4);
}
BENCHMARK(BM_MemcpyQuarterBoard)->Unit(benchmark::kMicrosecond);

// A 987x705 window frame: background fill plus 37 piece-sized copies.
void BM_ComposeFrame(benchmark::State& state) {
    Dib frame(DisplayCompatibleDescription(987, 705));
    std::vector<std::unique_ptr<Dib>> pieces;
    for (int i = 0; i < 37; ++i) pieces.push_back(Picture(114, 74, 32));
    RasterBrush face;
    face.colour = RgbQuad{240, 240, 240, 0};
    const TRect all{0, 0, 987, 705};
    for (auto _ : state) {
        FillRect(frame, all, all, face, {});
        for (int i = 0; i < 37; ++i) {
            const int x = (i * 131) % (987 - 60) - 30, y = (i * 89) % (705 - 40) - 20;  // some cut by the edge
            StretchCopy(frame, all, RectOfSize(x, y, 114, 74), *pieces[i], TRect{0, 0, 114, 74});
        }
        benchmark::DoNotOptimize(frame.Bits());
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kv
