// Painting the main window's graphic controls: one drag step of a piece (repaint of the
// invalidated area only) and a full repaint of the client area, with 36 pieces on the board.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/controls/control_host.h"
#include "graphics/controls/image.h"
#include "graphics/controls/label.h"
#include "graphics/dib.h"

namespace {

using namespace kv;

// The main window during play: board, a few labels, 36 pieces of 114 x 74, painted into a
// display-compatible buffer of the client size.
struct PlayWindow {
    TControlHost host;
    Dib buffer{DisplayCompatibleDescription(987, 705)};
    TCanvas canvas;
    std::unique_ptr<TImage> board;
    std::vector<std::unique_ptr<TLabel>> labels;
    std::vector<std::unique_ptr<TImage>> pieces;

    PlayWindow() {
        host.SetClientSize(987, 705);
        host.SetColor(MakeColor(227, 227, 227));
        canvas.SetHandle(&buffer);

        board = std::make_unique<TImage>();
        board->SetBounds(25, 80, 688, 448);
        board->SetStretch(true);
        TCanvas& boardCanvas = board->Canvas();
        boardCanvas.Brush().SetColor(clWhite);
        boardCanvas.FillRect({0, 0, 688, 448});
        board->SetParent(&host);

        const char* texts[] = {"Выбрана картинка :", "Разбей на", "00 : 00", "0"};
        int top = 540;
        for (const char* text : texts) {
            auto label = std::make_unique<TLabel>();
            label->SetBounds(232, top, 100, 20);
            label->SetCaption(text);
            label->SetParent(&host);
            labels.push_back(std::move(label));
            top += 30;
        }

        uint32_t seed = 0;
        auto next = [&seed](uint32_t range) {
            seed = seed * 134775813u + 1u;
            return static_cast<int>((static_cast<uint64_t>(seed) * range) >> 32);
        };
        for (int i = 0; i < 36; ++i) {
            auto piece = std::make_unique<TImage>();
            piece->SetHeight(74);
            piece->SetWidth(114);
            const int left = next(500) + 30;
            const int topPos = next(350) + 70;
            piece->SetTop(topPos);
            piece->SetLeft(left);
            TCanvas& c = piece->Canvas();
            c.Brush().SetColor(MakeColor(static_cast<uint8_t>(i * 7), 90, static_cast<uint8_t>(255 - i * 7)));
            c.FillRect({0, 0, 114, 74});
            piece->SetParent(&host);
            pieces.push_back(std::move(piece));
        }
        host.PaintRegion(canvas, host.ClientRect());
        host.TakeUpdateRect();
    }
};

void BM_DragStep(benchmark::State& state) {
    PlayWindow window;
    // Arg 0: the topmost piece; arg 1: the lowest one (most pieces above it to repaint).
    TImage& piece = state.range(0) == 0 ? *window.pieces.back() : *window.pieces.front();
    int step = 0;
    for (auto _ : state) {
        const int d = (step++ & 1) ? -3 : 3;
        piece.SetLeft(piece.Left() + d);
        piece.SetTop(piece.Top() + d);
        window.host.PaintRegion(window.canvas, window.host.TakeUpdateRect());
        benchmark::DoNotOptimize(window.buffer.Bits());
    }
}
BENCHMARK(BM_DragStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint(benchmark::State& state) {
    PlayWindow window;
    for (auto _ : state) {
        window.host.PaintRegion(window.canvas, window.host.ClientRect());
        benchmark::DoNotOptimize(window.buffer.Bits());
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
