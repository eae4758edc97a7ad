#include "game/game_flow.h"

#include "game/game_clock.h"
#include "game/game_texts.h"

namespace kv {

std::string PieceCountCaption(std::int32_t gridSize) {
    return "x" + std::to_string(gridSize) + " = " + std::to_string(gridSize * gridSize) +
           " частей и";
}

void GameFlow::FormCreate() {
    state_.PlacedCount = 0;
    state_.GridSize = 2;
    state_.PieceWidth = kBoardWidth / 2;
    state_.PieceHeight = kBoardHeight / 2;
    state_.InPlay = false;
    state_.PictureOnBoard = false;
    state_.ReadyToShuffle = false;
    window_.MakePieceCountReadOnly();
    state_.PieceHomeX.fill(0);
    state_.PieceHomeY.fill(0);
    state_.PieceBitmapsReleased = true;
    state_.PieceControlsReleased = true;
}

void GameFlow::Image3MouseUp() {
    const std::string path = window_.PathText();
    if (path.empty()) {
        window_.ShowMessage(kNothingSelectedText);
        return;
    }
    if (state_.InPlay) {
        window_.ShowMessage(kFinishFirstText);
        return;
    }
    state_.BoardRect = kBoardClientRect;
    // A decoder failure leaves here: flags and texts stay as they were.
    board_.LoadAndDrawPicture(state_, path);
    state_.PictureOnBoard = true;
    state_.ReadyToShuffle = true;
    window_.SetText(WindowText::Label9, "");
}

void GameFlow::ComboBox1Change(std::int32_t chosen) {
    if (!state_.PictureOnBoard || chosen < kMinGridSize || chosen > kMaxGridSize) {
        // Put the box back on the current N first; setting the index raises no change event.
        window_.SetPieceCountIndex(state_.GridSize - kMinGridSize);
        // The box offers only 2..6, so an out-of-range number can only come from a faulty
        // caller; it is ignored rather than let it overrun the piece arrays.
        if (!state_.PictureOnBoard) window_.ShowMessage(kNothingToDivideText);
        return;
    }
    state_.GridSize = chosen;
    state_.PieceWidth = kBoardWidth / chosen;
    state_.PieceHeight = kBoardHeight / chosen;
    state_.BoardRect = kBoardClientRect;
    board_.RedrawForGridSize(state_);
    window_.SetText(WindowText::Label6, PieceCountCaption(chosen));
    state_.ReadyToShuffle = true;
}

void GameFlow::Image4MouseUp() {
    window_.SetClockEnabled(false);
    window_.SetText(WindowText::Label8, kClockZeroText);
    board_.DrawNoPicture();
    ReleasePieceBitmaps();
    ReleasePieceControls();
    state_.InPlay = false;
    state_.PictureOnBoard = false;
    state_.ReadyToShuffle = false;
    window_.SetText(WindowText::Label7, kHintNewGameText);
    window_.SetText(WindowText::Label9, kCountZeroText);
    window_.SetText(WindowText::Label1, kStatusNewGameText);
    window_.SetText(WindowText::Edit2, "");
}

void GameFlow::FormClose() {
    ReleasePieceBitmaps();
    ReleasePieceControls();
}

void GameFlow::Timer1Timer() {
    ++state_.ElapsedSeconds;
    window_.SetText(WindowText::Label8, ClockText(state_.ElapsedSeconds));
}

void GameFlow::ReleasePieceBitmaps() {
    if (state_.PieceBitmapsReleased) return;
    // Only the slots the last shuffle filled hold bitmaps; the others are already empty.
    for (auto& bitmap : state_.PieceBitmaps) bitmap.reset();
    state_.PieceBitmapsReleased = true;
}

void GameFlow::ReleasePieceControls() {
    if (state_.PieceControlsReleased) return;
    for (std::size_t k = 1; k < kPieceSlots; ++k) {
        const PieceId piece = state_.Pieces[k];
        state_.Pieces[k] = kNoPiece;  // cleared first: the slot never names a released piece
        if (piece != kNoPiece) board_.ReleasePiece(piece);
    }
    state_.PieceControlsReleased = true;
}

}  // namespace kv
