#pragma once
// A headless main window for the game: a control host of the window's client size with the board
// Image1 and the preview Image2 at their places, the real GameBoard behind every drawing service,
// and the window services (texts, message boxes, clock) recorded.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/board_services.h"
#include "game/game_board.h"
#include "game/game_flow.h"
#include "game/game_texts.h"
#include "game/game_window.h"
#include "graphics/bitmap.h"
#include "graphics/controls/control_host.h"
#include "graphics/controls/image.h"

namespace kv::test {

class BoardGameWindow : public GameWindow, public BoardServices {
public:
    static constexpr int kClientWidth = 979;
    static constexpr int kClientHeight = 671;

    BoardGameWindow() {
        Host.SetClientSize(kClientWidth, kClientHeight);
        Board.SetBounds(kBoardLeft, kBoardTop, kBoardWidth, kBoardHeight);
        Board.SetStretch(true);
        Board.SetName("Image1");
        Board.SetParent(&Host);
        Preview.SetBounds(736, 456, 225, 160);
        Preview.SetStretch(true);
        Preview.SetName("Image2");
        Preview.SetParent(&Host);
        Flow.FormCreate();
    }
    ~BoardGameWindow() override { Flow.FormClose(); }

    // Declared in the order they must be built; destroyed the other way round.
    TControlHost Host;
    TImage Board;
    TImage Preview;
    GameFlow Flow{*this, *this};
    GameBoard Drawing{Host, Board, Preview, Flow};

    std::string Path;
    std::map<WindowText, std::string> Texts;
    std::vector<std::string> Messages;
    bool ClockOn = false;
    int PieceCountIndex = 0;
    // Runs while a message box would be open (the flow waits for it to close).
    std::function<void(const std::string&)> OnMessage;
    // Runs as the win puts the whole picture back, the last step inside the piece's release.
    std::function<void()> OnWholePicture;

    // ---- window services ----
    std::string PathText() const override { return Path; }
    void SetText(WindowText control, const std::string& text) override { Texts[control] = text; }
    void ShowMessage(const std::string& text) override {
        Messages.push_back(text);
        if (OnMessage) OnMessage(text);
    }
    void SetPieceCountIndex(int index) override { PieceCountIndex = index; }
    void MakePieceCountReadOnly() override {}
    void SetClockEnabled(bool enabled) override { ClockOn = enabled; }

    // ---- drawing, by the real board ----
    void DrawNoPicture() override { Drawing.DrawNoPicture(); }
    void LoadAndDrawPicture(PuzzleState& state, const std::string& path) override {
        Drawing.LoadAndDrawPicture(state, path);
    }
    void RedrawForGridSize(const PuzzleState& state) override { Drawing.RedrawForGridSize(state); }
    void DrawWholePicture(const PuzzleState& state) override {
        if (OnWholePicture) OnWholePicture();
        Drawing.DrawWholePicture(state);
    }
    std::shared_ptr<TBitmap> CutPiece(const TRect& cell) override { return Drawing.CutPiece(cell); }
    void DrawShuffledBoard(const PuzzleState& state) override { Drawing.DrawShuffledBoard(state); }
    PieceId CreatePiece(const PuzzleState& state, int index, int left, int top) override {
        return Drawing.CreatePiece(state, index, left, top);
    }
    void RepaintWindow() override { Drawing.RepaintWindow(); }
    int PieceLeft(PieceId piece) const override { return Drawing.PieceLeft(piece); }
    int PieceTop(PieceId piece) const override { return Drawing.PieceTop(piece); }
    void SetPieceLeft(PieceId piece, int left) override { Drawing.SetPieceLeft(piece, left); }
    void SetPieceTop(PieceId piece, int top) override { Drawing.SetPieceTop(piece, top); }
    void ReleasePiece(PieceId piece) override { Drawing.ReleasePiece(piece); }

    // ---- helpers for tests ----
    const PuzzleState& State() const { return Flow.State(); }
    // The control of piece k while the board holds it, else nullptr.
    TImage* Piece(int k) const { return Drawing.PieceControl(State().Pieces[static_cast<std::size_t>(k)]); }
    // The board's own pixels (its bitmap), not what the window shows.
    const Dib& BoardPixels() const {
        return *static_cast<const TBitmap*>(Board.Picture().Graphic())->GetDib();
    }
    // What the window shows now: the host painted into a bitmap of the client size.
    std::unique_ptr<TBitmap> Screenshot() {
        auto shot = std::make_unique<TBitmap>();
        shot->SetWidth(kClientWidth);
        shot->SetHeight(kClientHeight);
        Host.PaintRegion(shot->Canvas(), Host.ClientRect());
        return shot;
    }

    void Load(const std::string& path) {
        Path = path;
        Flow.Image3MouseUp();
    }
};

}  // namespace kv::test
