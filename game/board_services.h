#pragma once
// The board services the game flow relies on: drawing on the board, cutting it into piece
// bitmaps, and making, moving and releasing the piece controls, which the game knows only by
// their PieceId. The game board (game/game_board.h) implements them on the drawing layer; tests
// implement them with a recording double.
#include <memory>
#include <string>

#include "game/piece_id.h"
#include "game/puzzle_state.h"

namespace kv {

class BoardServices {
public:
    virtual ~BoardServices() = default;

    // --- Board drawing ------------------------------------------------------------------------
    // The no-picture placeholder on the board and in the preview.
    virtual void DrawNoPicture() = 0;
    // Clears the board, decodes the file at `path` into state.SourcePicture with the decoder
    // LoadFormatOf(path) names (none: the old picture stays), draws it stretched into
    // state.BoardRect and the grid lines 0..N with the red not-xor pen. Decoder failures
    // propagate; the flow then leaves its flags and texts alone.
    virtual void LoadAndDrawPicture(PuzzleState& state, const std::string& path) = 0;
    // For the N, piece size and BoardRect already in `state`: clears the board, draws the source
    // picture stretched and the grid lines 0..N-1 with the pen the last load left.
    virtual void RedrawForGridSize(const PuzzleState& state) = 0;
    // Draws state.SourcePicture stretched into state.BoardRect, no grid (after a win).
    virtual void DrawWholePicture(const PuzzleState& state) = 0;

    // --- Cutting and scattering ---------------------------------------------------------------
    // A new bitmap of cell's size holding the board's pixels of `cell`.
    virtual std::shared_ptr<TBitmap> CutPiece(const TRect& cell) = 0;
    // Board to white, then the grid lines 0..N of `state`.
    virtual void DrawShuffledBoard(const PuzzleState& state) = 0;
    // Creates piece control `index` (PieceWidth x PieceHeight, named "Image<index+10>", with the
    // piece mouse handlers), sets its top then its left, copies PieceBitmaps[index] into it and
    // shows it on the main window, above the pieces made before it. The window owns it; the
    // returned number names it from then on.
    virtual PieceId CreatePiece(const PuzzleState& state, int index, int left, int top) = 0;
    // Repaints the whole main window at once.
    virtual void RepaintWindow() = 0;

    // --- Pieces during play -------------------------------------------------------------------
    // A number that names no piece held (kNoPiece, or one already released) reads as 0 and
    // ignores moves.
    virtual int PieceLeft(PieceId piece) const = 0;
    virtual int PieceTop(PieceId piece) const = 0;
    virtual void SetPieceLeft(PieceId piece, int left) = 0;
    virtual void SetPieceTop(PieceId piece, int top) = 0;
    // Removes a piece control from the window and releases it. May be called from inside that
    // piece's own mouse event; the window then puts off the destruction until the event is done.
    virtual void ReleasePiece(PieceId piece) = 0;
};

}  // namespace kv
