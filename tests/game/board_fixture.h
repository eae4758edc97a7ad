#pragma once
// The game on the real board: a headless window, pictures on disk, pixel expectations for the
// board with its grid, and a player's hand that drags pieces through the host's mouse routing.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/game/board_game_window.h"
#include "tests/game/test_pictures.h"

namespace kv::test {

// Grid lines g = 0 .. count - 1 for piece size (pw, ph). A 2-pixel line at v covers v - 1 and v.
struct GridLines {
    std::vector<int> xs, ys;
    static GridLines Of(int pw, int ph, int count) {
        GridLines lines;
        for (int g = 0; g < count; ++g) {
            lines.xs.push_back(g * pw);
            lines.ys.push_back(g * ph);
        }
        return lines;
    }
    static bool Covers(const std::vector<int>& at, int v) {
        for (int line : at)
            if (v == line - 1 || v == line) return true;
        return false;
    }
    // A pixel on one line is inverted once; where two lines cross it is inverted twice.
    RgbQuad Apply(RgbQuad under, int x, int y) const {
        const bool once = Covers(xs, x) != Covers(ys, y);
        return once ? NotXorRed(under) : under;
    }
};

// Pixels of `dib` inside `area` that differ from expected(x, y); the first few are described.
template <class Expected>
std::string Mismatches(const Dib& dib, const TRect& area, Expected expected) {
    int count = 0;
    std::string first;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const RgbQuad got = dib.PixelAt(x, y);
            const RgbQuad want = expected(x, y);
            if (SameColour(got, want)) continue;
            if (++count <= 3) {
                first += " (" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                         std::to_string(got.red) + "/" + std::to_string(got.green) + "/" +
                         std::to_string(got.blue) + " want " + std::to_string(want.red) + "/" +
                         std::to_string(want.green) + "/" + std::to_string(want.blue) + ";";
            }
        }
    }
    return count == 0 ? std::string() : std::to_string(count) + " pixels differ:" + first;
}

class BoardTest : public ::testing::Test {
protected:
    BoardGameWindow window;
    TempFile picture = BoardSizedBmp();

    const PuzzleState& State() const { return window.State(); }

    // Loads the board-sized pattern and sets N (a change of N only when it differs).
    void Divide(int n) {
        window.Load(picture.Path());
        if (n != State().GridSize) window.Flow.ComboBox1Change(n);
    }
    void Play(int n) {
        Divide(n);
        window.Flow.Image5MouseUp();
    }

    // A point of the window where `piece` is the control the mouse reaches.
    std::optional<TPoint> VisiblePoint(TControl* piece) const {
        const TRect bounds = piece->BoundsRect().Intersect(window.Host.ClientRect());
        for (int y = bounds.top; y < bounds.bottom; y += 2)
            for (int x = bounds.left; x < bounds.right; x += 2)
                if (window.Host.ControlAtPos({x, y}) == piece) return TPoint{x, y};
        return std::nullopt;
    }

    // The player's hand: press the left button at `from`, move in a few steps to `to`, release.
    void Drag(TPoint from, TPoint to, int steps = 3) {
        const TShiftState held{TShiftStateItem::ssLeft};
        window.Host.MouseDown(TMouseButton::mbLeft, held, from.x, from.y);
        for (int i = 1; i <= steps; ++i) {
            window.Host.MouseMove(held, from.x + (to.x - from.x) * i / steps,
                                  from.y + (to.y - from.y) * i / steps);
        }
        window.Host.MouseUp(TMouseButton::mbLeft, {}, to.x, to.y);
    }

    // Grabs the piece where it can be seen and drags it so its top-left lands at (left, top).
    void DragPieceTo(TImage* piece, int left, int top) {
        const std::optional<TPoint> grab = VisiblePoint(piece);
        ASSERT_TRUE(grab.has_value()) << piece->Name() << " cannot be reached";
        const int dx = grab->x - piece->Left();
        const int dy = grab->y - piece->Top();
        Drag(*grab, {left + dx, top + dy});
    }

    void DragHome(int k, int offX = 0, int offY = 0) {
        DragPieceTo(window.Piece(k), State().PieceHomeX[k] + kBoardLeft + offX,
                    State().PieceHomeY[k] + kBoardTop + offY);
    }
};

}  // namespace kv::test
