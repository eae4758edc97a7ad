#pragma once
// A recording stand-in for the main window, both its window services and its board services:
// keeps the texts, the piece positions and the bitmaps handed out, and logs every service call
// of either kind in one order so tests can check sequences.
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "game/board_services.h"
#include "game/game_texts.h"
#include "game/game_window.h"
#include "graphics/bitmap.h"

namespace kv {
// Failure messages show a piece's number.
inline void PrintTo(PieceId piece, std::ostream* out) { *out << "piece " << piece.value; }
}  // namespace kv

namespace kv::test {

inline const char* TextName(WindowText control) {
    switch (control) {
        case WindowText::Label1: return "Label1";
        case WindowText::Label6: return "Label6";
        case WindowText::Label7: return "Label7";
        case WindowText::Label8: return "Label8";
        case WindowText::Label9: return "Label9";
        case WindowText::Edit2: return "Edit2";
    }
    return "?";
}

class FakeGameWindow : public GameWindow, public BoardServices {
public:
    // The fake's piece controls; the piece numbered n is Pieces[n - 1].
    struct FakePiece {
        int Index = 0;
        int Left = 0;
        int Top = 0;
        bool Released = false;
    };
    struct CutBitmap {
        TRect Cell;
    };

    std::string Path;
    std::map<WindowText, std::string> Texts{
        {WindowText::Label1, kStatusLayoutText}, {WindowText::Label6, kPieceCountLayoutText},
        {WindowText::Label7, kHintLayoutText},   {WindowText::Label8, kClockZeroText},
        {WindowText::Label9, kCountZeroText},    {WindowText::Edit2, ""}};
    std::vector<std::string> Log;
    std::vector<std::string> Messages;
    int PieceCountIndex = 0;
    bool ClockOn = false;
    int BitmapsMade = 0;
    int BitmapsReleased = 0;
    std::deque<FakePiece> Pieces;       // every piece ever made, in creation order
    std::deque<CutBitmap> Bitmaps;      // every piece bitmap ever cut
    std::function<void()> OnLoad;       // lets a test make the decoder fail
    std::function<void()> OnClockOn;    // lets a test make the timer refuse

    // A number this fake never handed out is a fault of the flow: at() throws.
    FakePiece& Of(PieceId piece) { return Pieces.at(piece.value - 1); }
    const FakePiece& Of(PieceId piece) const { return Pieces.at(piece.value - 1); }

    std::string PathText() const override { return Path; }
    void SetText(WindowText control, const std::string& text) override {
        Texts[control] = text;
        Log.push_back(std::string(TextName(control)) + "=" + text);
    }
    void ShowMessage(const std::string& text) override {
        Messages.push_back(text);
        Log.push_back("message:" + text);
    }
    void SetPieceCountIndex(int index) override {
        PieceCountIndex = index;
        Log.push_back("index:" + std::to_string(index));
    }
    void MakePieceCountReadOnly() override { Log.push_back("readonly"); }
    void SetClockEnabled(bool enabled) override {
        Log.push_back(enabled ? "clock:on" : "clock:off");
        if (enabled && OnClockOn) OnClockOn();
        ClockOn = enabled;
    }
    void DrawNoPicture() override { Log.push_back("draw:placeholder"); }
    void LoadAndDrawPicture(PuzzleState& state, const std::string& path) override {
        Log.push_back("draw:load " + path + " N=" + std::to_string(state.GridSize));
        if (OnLoad) OnLoad();
    }
    void RedrawForGridSize(const PuzzleState& state) override {
        Log.push_back("draw:grid N=" + std::to_string(state.GridSize));
    }
    void DrawWholePicture(const PuzzleState&) override { Log.push_back("draw:whole"); }
    std::shared_ptr<TBitmap> CutPiece(const TRect& cell) override {
        Log.push_back("cut:" + std::to_string(cell.left) + "," + std::to_string(cell.top) + "," +
                      std::to_string(cell.right) + "," + std::to_string(cell.bottom));
        ++BitmapsMade;
        Bitmaps.push_back(CutBitmap{cell});
        // An empty bitmap whose deleter counts the releases.
        return std::shared_ptr<TBitmap>(new TBitmap, [this](TBitmap* bitmap) {
            delete bitmap;
            ++BitmapsReleased;
            Log.push_back("bitmap:release");
        });
    }
    void DrawShuffledBoard(const PuzzleState& state) override {
        Log.push_back("draw:shuffled N=" + std::to_string(state.GridSize));
    }
    PieceId CreatePiece(const PuzzleState&, int index, int left, int top) override {
        Log.push_back("create:" + std::to_string(index) + "@" + std::to_string(left) + "," +
                      std::to_string(top));
        Pieces.push_back(FakePiece{index, left, top, false});
        return PieceId{++piecesMade_};
    }
    void RepaintWindow() override { Log.push_back("repaint"); }
    int PieceLeft(PieceId piece) const override { return Of(piece).Left; }
    int PieceTop(PieceId piece) const override { return Of(piece).Top; }
    void SetPieceLeft(PieceId piece, int left) override {
        Of(piece).Left = left;
        Log.push_back("left:" + std::to_string(Of(piece).Index) + "=" + std::to_string(left));
    }
    void SetPieceTop(PieceId piece, int top) override {
        Of(piece).Top = top;
        Log.push_back("top:" + std::to_string(Of(piece).Index) + "=" + std::to_string(top));
    }
    void ReleasePiece(PieceId piece) override {
        FakePiece& fake = Of(piece);
        // Releasing a control twice would be a double delete in the real window.
        if (fake.Released) Log.push_back("ERROR:double release");
        fake.Released = true;
        Log.push_back("release:" + std::to_string(fake.Index));
    }

    // Helpers for tests.
    int LivePieces() const {
        int live = 0;
        for (const auto& piece : Pieces) live += piece.Released ? 0 : 1;
        return live;
    }
    int BitmapsHeld() const { return BitmapsMade - BitmapsReleased; }
    void ClearLog() {
        Log.clear();
        Messages.clear();
    }

private:
    std::uint32_t piecesMade_ = 0;
};

}  // namespace kv::test
