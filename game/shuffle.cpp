// The shuffle action: cut the board into pieces, scatter them and start the clock.
#include "game/game_flow.h"
#include "game/game_texts.h"

namespace kv {

namespace {
// A piece's top-left corner lands at left 30..529, top 70..419 of the window's client area.
constexpr std::uint32_t kScatterWidth = 500;
constexpr std::int32_t kScatterLeft = 30;
constexpr std::uint32_t kScatterHeight = 350;
constexpr std::int32_t kScatterTop = 70;
}  // namespace

void GameFlow::Image5MouseUp() {
    if (state_.InPlay) {
        window_.ShowMessage(kAlreadyShuffledText);
        return;
    }
    if (!state_.ReadyToShuffle) {
        window_.ShowMessage(kNotDividedText);
        return;
    }
    // The bitmaps of a solved game are still held here; they go before new ones are cut.
    // Controls are only left over by a shuffle that failed half-way; they go too.
    ReleasePieceBitmaps();
    ReleasePieceControls();

    CutPieces();
    window_.SetText(WindowText::Label9, kCountZeroText);
    window_.SetText(WindowText::Label1, kStatusPlayingText);
    board_.DrawShuffledBoard(state_);
    ScatterPieces();
    board_.RepaintWindow();

    // The game is under way once the pieces exist. The flags are set before the clock is
    // asked for a timer, so that when none is left the pieces still belong to a game that a
    // win, a new game or closing the window cleans up.
    state_.InPlay = true;
    state_.PictureOnBoard = false;
    window_.SetClockEnabled(true);
    state_.ElapsedSeconds = 0;
    window_.SetText(WindowText::Label7, kHintPlayingText);
}

void GameFlow::CutPieces() {
    // Marked as held from the first cut on, so a failure half-way still releases what exists.
    state_.PieceBitmapsReleased = false;
    const std::int32_t n = state_.GridSize;
    const std::int32_t pw = state_.PieceWidth;
    const std::int32_t ph = state_.PieceHeight;
    for (std::int32_t c = 1; c <= n; ++c) {
        for (std::int32_t r = 1; r <= n; ++r) {
            const std::int32_t k = (c - 1) * n + r;
            const std::int32_t homeX = (c - 1) * pw;
            const std::int32_t homeY = (r - 1) * ph;
            state_.PieceBitmaps[k] = board_.CutPiece({homeX, homeY, homeX + pw, homeY + ph});
            state_.PieceHomeX[k] = homeX;
            state_.PieceHomeY[k] = homeY;
        }
    }
}

void GameFlow::ScatterPieces() {
    state_.PieceControlsReleased = false;
    const std::int32_t count = state_.PieceCount();
    for (std::int32_t i = 1; i <= count; ++i) {
        // Left is drawn before top.
        const std::int32_t left = static_cast<std::int32_t>(random_.Next(kScatterWidth)) + kScatterLeft;
        const std::int32_t top = static_cast<std::int32_t>(random_.Next(kScatterHeight)) + kScatterTop;
        state_.Pieces[i] = board_.CreatePiece(state_, i, left, top);
    }
}

}  // namespace kv
