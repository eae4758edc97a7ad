// Drawing through bitmaps and canvases: composing the game window's frame from piece bitmaps,
// and drawing a camera-sized picture stretched over the board.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "graphics/bitmap.h"

namespace kv {
namespace {

// A bitmap of the given size and format filled with a few colour bands.
std::unique_ptr<TBitmap> MakePicture(int width, int height, TPixelFormat format) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    TCanvas& canvas = bitmap->Canvas();
    const TColor colours[] = {clRed, clGreen, clBlue, clYellow, clTeal};
    for (int i = 0; i < 5; ++i) {
        canvas.Brush().SetColor(colours[i]);
        canvas.FillRect({0, height * i / 5, width, height * (i + 1) / 5});
    }
    return bitmap;
}

// The window's frame: background fill, then 36 pieces and the board's 37th copy, each 114 x 74.
void BM_ComposeFrame(benchmark::State& state) {
    TBitmap frame;
    frame.SetSize(987, 705);
    std::vector<std::unique_ptr<TBitmap>> pieces;
    for (int i = 0; i < 37; ++i) pieces.push_back(MakePicture(114, 74, TPixelFormat::pfDevice));
    TCanvas& canvas = frame.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    for (auto _ : state) {
        canvas.FillRect({0, 0, 987, 705});
        for (int i = 0; i < 37; ++i) {
            const int x = (i * 97) % (987 - 114);
            const int y = (i * 61) % (705 - 74);
            canvas.CopyRect({x, y, x + 114, y + 74}, pieces[i]->Canvas(), {0, 0, 114, 74});
        }
        benchmark::DoNotOptimize(frame.GetDib()->Bits());
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMicrosecond);

void StretchOntoBoard(benchmark::State& state, TPixelFormat format) {
    auto picture = MakePicture(6000, 4000, format);
    TBitmap board;
    board.SetSize(688, 448);
    TCanvas& canvas = board.Canvas();
    for (auto _ : state) {
        canvas.StretchDraw({0, 0, 688, 448}, picture.get());
        benchmark::DoNotOptimize(board.GetDib()->Bits());
    }
}
void BM_StretchDraw6000x4000_24bit(benchmark::State& state) { StretchOntoBoard(state, TPixelFormat::pf24bit); }
void BM_StretchDraw6000x4000_32bit(benchmark::State& state) { StretchOntoBoard(state, TPixelFormat::pfDevice); }
BENCHMARK(BM_StretchDraw6000x4000_24bit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchDraw6000x4000_32bit)->Unit(benchmark::kMicrosecond);

// Copy on write: the first drawing on a shared 688 x 448 bitmap copies its storage.
void BM_CopyOnWrite688x448(benchmark::State& state) {
    TBitmap original;
    original.SetSize(688, 448);
    for (auto _ : state) {
        TBitmap copy;
        copy.Assign(&original);
        copy.Canvas().FillRect({0, 0, 1, 1});
        benchmark::DoNotOptimize(copy.GetDib()->Bits());
    }
}
BENCHMARK(BM_CopyOnWrite688x448)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kv
