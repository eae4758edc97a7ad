// The shuffle of a 6 x 6 game on the real board: cutting 36 pieces from the 688 x 448 board,
// clearing it with its grid, creating and placing the 36 piece controls, and one repaint request.
// Also the parts on their own, to see where the time goes.
#include <benchmark/benchmark.h>

#include "tests/game/board_game_window.h"
#include "tests/game/test_pictures.h"

namespace {

using namespace kv;
using kv::test::BoardGameWindow;

// A window with the board-sized picture loaded and divided 6 x 6 (state S1).
struct DividedWindow {
    test::TempFile picture{"bench.bmp", test::MakeBmp(688, 448, test::PatternPixel)};
    BoardGameWindow window;

    DividedWindow() { Divide(); }
    void Divide() {
        window.Load(picture.Path());
        window.Flow.ComboBox1Change(6);
    }
};

void BM_ShuffleSixBySix(benchmark::State& state) {
    DividedWindow divided;
    for (auto _ : state) {
        divided.window.Flow.Image5MouseUp();
        state.PauseTiming();
        divided.window.Flow.Image4MouseUp();  // new game, then back to a divided board
        divided.Divide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShuffleSixBySix)->Unit(benchmark::kMillisecond);

void BM_CutThirtySixPieces(benchmark::State& state) {
    DividedWindow divided;
    GameBoard& board = divided.window.Drawing;
    for (auto _ : state) {
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 6; ++r)
                benchmark::DoNotOptimize(board.CutPiece({c * 114, r * 74, c * 114 + 114, r * 74 + 74}));
    }
}
BENCHMARK(BM_CutThirtySixPieces)->Unit(benchmark::kMillisecond);

void BM_ClearBoardWithGrid(benchmark::State& state) {
    DividedWindow divided;
    for (auto _ : state) divided.window.Drawing.DrawShuffledBoard(divided.window.State());
}
BENCHMARK(BM_ClearBoardWithGrid)->Unit(benchmark::kMillisecond);

void BM_LoadBoardSizedBmp(benchmark::State& state) {
    DividedWindow divided;
    for (auto _ : state) divided.window.Load(divided.picture.Path());
}
BENCHMARK(BM_LoadBoardSizedBmp)->Unit(benchmark::kMillisecond);

}  // namespace
