#pragma once
// The order of play: every action of the main window either runs or is refused with a fixed
// message, and moves the game between its four states:
//   S0 no picture  (InPlay, PictureOnBoard, ReadyToShuffle = false, false, false)
//   S1 divided     (false, true, true)
//   S2 playing     (true, false, true)
//   S3 solved      (false, true, false)
// Handlers carry the names of the window events that trigger them.
#include <cstdint>
#include <string>

#include "game/board_services.h"
#include "game/game_window.h"
#include "game/puzzle_state.h"
#include "game/random.h"

namespace kv {

class GameFlow {
public:
    // The window gives the texts, message boxes, piece-count box and clock; the board the
    // drawing and the pieces. Both must outlive the flow.
    GameFlow(GameWindow& window, BoardServices& board) : window_(window), board_(board) {}
    GameFlow(const GameFlow&) = delete;
    GameFlow& operator=(const GameFlow&) = delete;

    // Initialise, once, when the main window is created.
    void FormCreate();
    // Load: decode the file named by the path box and draw it with the grid.
    void Image3MouseUp();
    // Change of N to the number of the item the player picked in the piece-count box.
    void ComboBox1Change(std::int32_t chosen);
    // Shuffle: cut the board into pieces, scatter them and start the clock.
    void Image5MouseUp();
    // New game: never refused; back to the placeholder, releasing whatever the game holds.
    void Image4MouseUp();
    // The main window closes: release what the game still holds.
    void FormClose();
    // One clock tick.
    void Timer1Timer();

    // Mouse events of the piece controls. `x`, `y` are inside the piece.
    void PieceMouseDown(PieceId piece, bool leftButton, std::int32_t x, std::int32_t y);
    void PieceMouseMove(PieceId piece, std::int32_t x, std::int32_t y);
    void PieceMouseUp(PieceId piece);
    // Counts the pieces in place, shows the count, and runs the win when all are home.
    void CheckPlacement();

    const PuzzleState& State() const { return state_; }

private:
    void CutPieces();
    void ScatterPieces();
    void Win();
    void ReleasePieceBitmaps();
    void ReleasePieceControls();

    GameWindow& window_;
    BoardServices& board_;
    PuzzleState state_;
    GameRandom random_;
};

// "x" N " = " N*N " частей и", the caption after the piece-count box.
std::string PieceCountCaption(std::int32_t gridSize);

}  // namespace kv
