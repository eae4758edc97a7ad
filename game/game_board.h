#pragma once
// GameBoard: everything the game draws and every piece control it makes, implemented on the
// toolkit-free control host. A main window implements the board services (BoardServices) by
// forwarding them here; its window services (GameWindow: texts, message boxes, the clock) stay
// its own. The game names each piece by the PieceId this board hands out.
//
// Construction: GameBoard(host, board, preview, flow)
//   host     the main window's control host; piece controls are given it as parent, so they are
//            painted over everything created before them and receive the host's mouse routing;
//   board    the board control Image1 (688 x 448, Stretch on), drawn on through its canvas;
//   preview  the preview control Image2 (225 x 160, Stretch on), for the placeholder;
//   flow     the game flow whose PieceMouseDown/Move/Up the piece controls call.
// None of them is owned; all must outlive the board object. The piece controls are owned here
// on behalf of the window: ReleasePiece (or destroying the GameBoard) releases them.
// A PieceId that names no piece held here (kNoPiece, one released) reads as position 0,
// ignores moves and releases nothing.
//
// Failures of the drawing and picture layers (a file that cannot be read, for instance) leave
// these methods as raised; the window reports them. A failure inside a piece's mouse handler
// leaves the host's MouseDown/MouseMove/MouseUp call that delivered the event.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/piece_id.h"
#include "game/puzzle_state.h"
#include "graphics/geometry.h"

namespace kv {

class GameFlow;
class TCanvas;
class TControlHost;
class TImage;

class GameBoard {
public:
    // The display size the grid lines run to when nothing else is set; the board clips them.
    static constexpr int kDefaultScreenWidth = 1920;
    static constexpr int kDefaultScreenHeight = 1080;

    GameBoard(TControlHost& host, TImage& board, TImage& preview, GameFlow& flow);
    ~GameBoard();
    GameBoard(const GameBoard&) = delete;
    GameBoard& operator=(const GameBoard&) = delete;

    // The display's size in pixels, which the window may set from the real screen.
    void SetScreenSize(int width, int height);
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }

    // ---- board drawing (BoardServices' services of the same names) ----
    void DrawNoPicture();
    void LoadAndDrawPicture(PuzzleState& state, const std::string& path);
    void RedrawForGridSize(const PuzzleState& state);
    void DrawWholePicture(const PuzzleState& state);

    // ---- cutting and scattering ----
    std::shared_ptr<TBitmap> CutPiece(const TRect& cell);
    void DrawShuffledBoard(const PuzzleState& state);
    PieceId CreatePiece(const PuzzleState& state, int index, int left, int top);
    void RepaintWindow();

    // ---- pieces during play ----
    int PieceLeft(PieceId piece) const;
    int PieceTop(PieceId piece) const;
    void SetPieceLeft(PieceId piece, int left);
    void SetPieceTop(PieceId piece, int top);
    // Takes the piece out of the window now; destroys it at once, or, when called while the host
    // delivers a mouse event (to this piece or any other), once that event has been delivered.
    void ReleasePiece(PieceId piece);
    // The control behind a piece, for whoever must find it on the window (a scripted hand, a
    // test); nullptr when the number names no piece held.
    TImage* PieceControl(PieceId piece) const;
    // How many piece controls this board holds.
    int PieceCount() const { return static_cast<int>(pieces_.size()); }

private:
    TCanvas& BoardCanvas();
    // Board to white over its whole client rectangle.
    void ClearBoard(TCanvas& canvas);
    // Grid lines g = 0 .. count - 1 with the pen the canvas has: vertical first, each to the
    // display's edge.
    void DrawGridLines(TCanvas& canvas, const PuzzleState& state, int count);

    TControlHost& host_;
    TImage& board_;
    TImage& preview_;
    GameFlow& flow_;
    int screenWidth_ = kDefaultScreenWidth;
    int screenHeight_ = kDefaultScreenHeight;
    struct HeldPiece {
        PieceId id;
        std::unique_ptr<TImage> control;
    };
    std::vector<HeldPiece> pieces_;  // in creation order
    std::uint32_t lastId_ = 0;       // numbers are not reused, so a stale one names nothing
};

}  // namespace kv
