#pragma once
// A created main window's game flow over the recording window, with helpers that walk the game
// into each of its states through the real actions.
#include <gtest/gtest.h>

#include <tuple>

#include "game/game_flow.h"
#include "tests/game/fake_game_window.h"

namespace kv::test {

// InPlay, PictureOnBoard, ReadyToShuffle, PieceBitmapsReleased, PieceControlsReleased.
using Flags = std::tuple<bool, bool, bool, bool, bool>;

inline Flags FlagsOf(const PuzzleState& s) {
    return {s.InPlay, s.PictureOnBoard, s.ReadyToShuffle, s.PieceBitmapsReleased,
            s.PieceControlsReleased};
}

class GameFlowTest : public ::testing::Test {
protected:
    // The window is declared first so it outlives the flow, whose bitmaps report to it.
    FakeGameWindow window;
    GameFlow flow{window, window};

    void SetUp() override { flow.FormCreate(); }

    const PuzzleState& State() const { return flow.State(); }

    void Load(const std::string& path = "/home/player/sunset.jpg") {
        window.Path = path;
        flow.Image3MouseUp();
    }
    void ToDivided(int n = 2) {
        Load();
        if (n != State().GridSize) flow.ComboBox1Change(n);
    }
    void ToPlaying(int n = 2) {
        ToDivided(n);
        flow.Image5MouseUp();
    }
    // Moves piece k by the fake's own hands to (left, top) and drops it.
    void DropAt(int k, int left, int top) {
        const PieceId piece = State().Pieces[k];
        window.Of(piece).Left = left;
        window.Of(piece).Top = top;
        flow.PieceMouseUp(piece);
    }
    void DropHome(int k, int dx = 0, int dy = 0) {
        DropAt(k, State().PieceHomeX[k] + kBoardLeft + dx, State().PieceHomeY[k] + kBoardTop + dy);
    }
    void ToSolved(int n = 2) {
        ToPlaying(n);
        for (int k = 1; k <= n * n; ++k) DropHome(k);
    }
};

}  // namespace kv::test
