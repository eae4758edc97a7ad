// Dragging the pieces, the placement check after each drop, and the win.
#include "game/placement.h"

#include <string>

#include "game/game_flow.h"
#include "game/game_texts.h"

namespace kv {

bool IsInPlace(std::int32_t left, std::int32_t top, std::int32_t homeX, std::int32_t homeY) {
    // Strict bounds 5 pixels either side of the exact home (board at 25, 80).
    return left > homeX + kBoardLeft - 5 && left < homeX + kBoardLeft + 5 &&
           top > homeY + kBoardTop - 5 && top < homeY + kBoardTop + 5;
}

void GameFlow::PieceMouseDown(PieceId /*piece*/, bool leftButton, std::int32_t x, std::int32_t y) {
    if (leftButton) {
        state_.Dragging = true;
        state_.DragStartX = x;
        state_.DragStartY = y;
    } else {
        state_.Dragging = false;
    }
}

void GameFlow::PieceMouseMove(PieceId piece, std::int32_t x, std::int32_t y) {
    if (!state_.Dragging || piece == kNoPiece) return;
    board_.SetPieceLeft(piece, board_.PieceLeft(piece) + x - state_.DragStartX);
    board_.SetPieceTop(piece, board_.PieceTop(piece) + y - state_.DragStartY);
}

void GameFlow::PieceMouseUp(PieceId /*piece*/) {
    state_.Dragging = false;
    CheckPlacement();
}

void GameFlow::CheckPlacement() {
    // Pieces exist only during play; a release that arrives after the win (or after a new game)
    // has nothing to check and must not touch released controls.
    if (!state_.InPlay) return;
    state_.PlacedCount = 0;
    const std::int32_t count = state_.PieceCount();
    for (std::int32_t k = 1; k <= count; ++k) {
        const PieceId piece = state_.Pieces[k];
        if (piece != kNoPiece &&
            IsInPlace(board_.PieceLeft(piece), board_.PieceTop(piece), state_.PieceHomeX[k],
                      state_.PieceHomeY[k])) {
            ++state_.PlacedCount;
        }
        window_.SetText(WindowText::Label9, std::to_string(state_.PlacedCount));
    }
    if (state_.PlacedCount != count) return;
    Win();
}

void GameFlow::Win() {
    window_.SetClockEnabled(false);
    const std::int32_t count = state_.PieceCount();
    for (std::int32_t k = 1; k <= count; ++k) {
        const PieceId piece = state_.Pieces[k];
        board_.SetPieceLeft(piece, state_.PieceHomeX[k] + kBoardLeft);
        board_.SetPieceTop(piece, state_.PieceHomeY[k] + kBoardTop);
    }
    window_.SetText(WindowText::Label1, kStatusSolvedText);
    window_.SetText(WindowText::Label7, kHintSolvedText);
    window_.ShowMessage(kSolvedMessageText);
    ReleasePieceControls();
    state_.InPlay = false;
    state_.PictureOnBoard = true;
    state_.ReadyToShuffle = false;
    state_.BoardRect = kBoardClientRect;
    board_.DrawWholePicture(state_);
}

}  // namespace kv
