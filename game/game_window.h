#pragma once
// The window services the game flow relies on. The main window implements them over its real
// controls; tests implement them with a recording double. The flow never touches a control
// except through this interface.
#include <memory>
#include <string>

#include "game/puzzle_state.h"

namespace kv {

// The window texts the game writes.
enum class WindowText { Label1, Label6, Label7, Label8, Label9, Edit2 };

class GameWindow {
public:
    virtual ~GameWindow() = default;

    // --- Plain services -----------------------------------------------------------------------
    // Text of the path box Edit2.
    virtual std::string PathText() const = 0;
    virtual void SetText(WindowText control, const std::string& text) = 0;
    // Modal box with one text and OK, captioned with the application title; returns once closed.
    virtual void ShowMessage(const std::string& text) = 0;
    // Selects item `index` (0 for "2" .. 4 for "6") of ComboBox1 without raising its change event.
    virtual void SetPieceCountIndex(int index) = 0;
    // Makes the text field of ComboBox1 read-only, so N is only chosen from its items.
    virtual void MakePieceCountReadOnly() = 0;
    // Switches Timer1 on (one tick a second) or off. Switching on may throw when no timer is left.
    virtual void SetClockEnabled(bool enabled) = 0;

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
    // shows it on the main window, above the pieces made before it. The window owns it.
    virtual TImage* CreatePiece(const PuzzleState& state, int index, int left, int top) = 0;
    // Repaints the whole main window at once.
    virtual void RepaintWindow() = 0;

    // --- Pieces during play -------------------------------------------------------------------
    virtual int PieceLeft(TImage* piece) const = 0;
    virtual int PieceTop(TImage* piece) const = 0;
    virtual void SetPieceLeft(TImage* piece, int left) = 0;
    virtual void SetPieceTop(TImage* piece, int top) = 0;
    // Removes a piece control from the window and releases it. May be called from inside that
    // piece's own mouse event; the window then puts off the destruction until the event is done.
    virtual void ReleasePiece(TImage* piece) = 0;
};

}  // namespace kv
