#pragma once
// A recording stand-in for the main window: keeps the texts, the piece positions and the
// bitmaps handed out, and logs every service call in order so tests can check sequences.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/game_texts.h"
#include "game/game_window.h"

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

class FakeGameWindow : public GameWindow {
public:
    // The fake's piece controls. The flow only passes TImage* around and never looks inside,
    // so the fake hands out the addresses of these records as its piece handles.
    struct alignas(64) FakePiece {
        int Index = 0;
        int Left = 0;
        int Top = 0;
        bool Released = false;
    };
    struct alignas(64) BitmapToken {
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
    std::deque<BitmapToken> Bitmaps;    // every piece bitmap ever cut
    std::function<void()> OnLoad;       // lets a test make the decoder fail
    std::function<void()> OnClockOn;    // lets a test make the timer refuse

    static FakePiece& Of(TImage* piece) { return *reinterpret_cast<FakePiece*>(piece); }
    static TImage* Handle(FakePiece& piece) { return reinterpret_cast<TImage*>(&piece); }

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
        BitmapToken& token = Bitmaps.emplace_back(BitmapToken{cell});
        // The deleter stands in for the bitmap's destructor and counts releases.
        return std::shared_ptr<TBitmap>(reinterpret_cast<TBitmap*>(&token), [this](TBitmap*) {
            ++BitmapsReleased;
            Log.push_back("bitmap:release");
        });
    }
    void DrawShuffledBoard(const PuzzleState& state) override {
        Log.push_back("draw:shuffled N=" + std::to_string(state.GridSize));
    }
    TImage* CreatePiece(const PuzzleState&, int index, int left, int top) override {
        Log.push_back("create:" + std::to_string(index) + "@" + std::to_string(left) + "," +
                      std::to_string(top));
        FakePiece& piece = Pieces.emplace_back(FakePiece{index, left, top, false});
        return Handle(piece);
    }
    void RepaintWindow() override { Log.push_back("repaint"); }
    int PieceLeft(TImage* piece) const override { return Of(piece).Left; }
    int PieceTop(TImage* piece) const override { return Of(piece).Top; }
    void SetPieceLeft(TImage* piece, int left) override {
        Of(piece).Left = left;
        Log.push_back("left:" + std::to_string(Of(piece).Index) + "=" + std::to_string(left));
    }
    void SetPieceTop(TImage* piece, int top) override {
        Of(piece).Top = top;
        Log.push_back("top:" + std::to_string(Of(piece).Index) + "=" + std::to_string(top));
    }
    void ReleasePiece(TImage* piece) override {
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
};

}  // namespace kv::test
