// The shuffle on the real board: piece bitmaps cut from the board, the board turned white with
// its grid, the piece controls with their names, sizes, places and stacking, one repaint.
#include <gtest/gtest.h>

#include "tests/game/board_fixture.h"

namespace kv::test {
namespace {

constexpr RgbQuad kWhite{255, 255, 255, 0};
constexpr RgbQuad kRed{0, 0, 255, 0};

const Dib& PixelsOf(const TBitmap& bitmap) { return *bitmap.GetDib(); }
const Dib& PixelsOf(const TImage* piece) {
    return *static_cast<const TBitmap*>(piece->Picture().Graphic())->GetDib();
}

TEST_F(BoardTest, EveryNCutsPiecesOfTheBoardDividedByN) {
    const int widths[] = {344, 229, 172, 137, 114};
    const int heights[] = {224, 149, 112, 89, 74};
    for (int n = 2; n <= 6; ++n) {
        Play(n);
        const int count = n * n;
        ASSERT_EQ(window.Drawing.PieceCount(), count);
        ASSERT_EQ(window.Host.ControlCount(), 2 + count);
        for (int k = 1; k <= count; ++k) {
            const TImage* piece = window.Piece(k);
            ASSERT_NE(piece, nullptr);
            EXPECT_EQ(piece->Width(), widths[n - 2]) << "N=" << n << " k=" << k;
            EXPECT_EQ(piece->Height(), heights[n - 2]) << "N=" << n << " k=" << k;
            EXPECT_EQ(PixelsOf(piece).Width(), widths[n - 2]);
            EXPECT_EQ(PixelsOf(piece).Height(), heights[n - 2]);
            EXPECT_EQ(State().PieceBitmaps[k]->Width(), widths[n - 2]);
            EXPECT_EQ(State().PieceBitmaps[k]->Height(), heights[n - 2]);
            EXPECT_EQ(piece->Name(), "Image" + std::to_string(k + 10));
            // Scattered over the window's left part, left 30..529, top 70..419.
            EXPECT_GE(piece->Left(), 30);
            EXPECT_LE(piece->Left(), 529);
            EXPECT_GE(piece->Top(), 70);
            EXPECT_LE(piece->Top(), 419);
        }
        window.Flow.Image4MouseUp();
        EXPECT_EQ(window.Drawing.PieceCount(), 0);
        EXPECT_EQ(window.Host.ControlCount(), 2);
    }
}

TEST_F(BoardTest, FirstShuffleOfTheRunPutsThePiecesAtTheGeneratorsPlaces) {
    Play(2);
    const TPoint expected[] = {{30, 80}, {460, 140}, {166, 305}, {189, 126}};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(window.Piece(k)->Left(), expected[k - 1].x) << k;
        EXPECT_EQ(window.Piece(k)->Top(), expected[k - 1].y) << k;
    }
    EXPECT_TRUE(window.ClockOn);
    EXPECT_EQ(State().ElapsedSeconds, 0);
    // Piece 1 lies 5 pixels right of its cell: not in place.
    window.Flow.CheckPlacement();
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
}

TEST_F(BoardTest, PiecesCarryTheirBoardCellWithTheGridAndTheStripBelongsToNone) {
    Divide(6);
    // The board before the cut: the picture with lines 0..5 of the change of N.
    const GridLines lines = GridLines::Of(114, 74, 6);
    window.Flow.Image5MouseUp();
    for (int k = 1; k <= 36; ++k) {
        const int homeX = State().PieceHomeX[k];
        const int homeY = State().PieceHomeY[k];
        const TRect cell{0, 0, 114, 74};
        const auto expected = [&](int x, int y) {
            return lines.Apply(PatternPixel(homeX + x, homeY + y), homeX + x, homeY + y);
        };
        EXPECT_EQ(Mismatches(PixelsOf(*State().PieceBitmaps[k]), cell, expected), "") << "bitmap " << k;
        EXPECT_EQ(Mismatches(PixelsOf(window.Piece(k)), cell, expected), "") << "control " << k;
    }
    // Column by column: piece 2 is below piece 1, piece 7 starts the second column, piece 36 is
    // the bottom-right cell, which ends 4 pixels short of the board's right and bottom edges.
    EXPECT_EQ(State().PieceHomeX[2], 0);
    EXPECT_EQ(State().PieceHomeY[2], 74);
    EXPECT_EQ(State().PieceHomeX[7], 114);
    EXPECT_EQ(State().PieceHomeY[7], 0);
    EXPECT_EQ(State().PieceHomeX[36] + 114, 684);
    EXPECT_EQ(State().PieceHomeY[36] + 74, 444);
}

TEST_F(BoardTest, ShuffledBoardIsWhiteWithARedGridWhiteAtTheCrossings) {
    Play(6);
    const GridLines lines = GridLines::Of(114, 74, 7);  // lines 0..N: x = 684 and y = 444 too
    const TRect whole{0, 0, kBoardWidth, kBoardHeight};
    EXPECT_EQ(Mismatches(window.BoardPixels(), whole,
                         [&](int x, int y) {
                             const RgbQuad drawn = lines.Apply(kWhite, x, y);
                             return SameColour(drawn, kWhite) ? kWhite : kRed;
                         }),
              "");
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(684, 10), kRed));
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(114, 74), kWhite));
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(686, 446), kWhite));
}

TEST_F(BoardTest, WindowIsRepaintedOnceAfterAllPiecesExist) {
    Divide(4);
    std::vector<int> piecesAtRepaint;
    window.Host.OnUpdate = [&] { piecesAtRepaint.push_back(window.Drawing.PieceCount()); };
    window.Flow.Image5MouseUp();
    EXPECT_EQ(piecesAtRepaint, std::vector<int>{16});
    EXPECT_TRUE(window.Host.UpdateRect() == window.Host.ClientRect());
}

TEST_F(BoardTest, LaterPiecesLieAboveEarlierOnesAndTakeThePress) {
    Play(2);
    // Piece 1 at (30, 80) and piece 4 at (189, 126) overlap around (200, 130).
    for (int k = 1; k < 4; ++k)
        EXPECT_LT(window.Host.IndexOf(window.Piece(k)), window.Host.IndexOf(window.Piece(k + 1)));
    EXPECT_GT(window.Host.IndexOf(window.Piece(1)), window.Host.IndexOf(&window.Board));
    EXPECT_EQ(window.Host.ControlAtPos({200, 130}), window.Piece(4));

    // What the window shows there is piece 4's picture; where only piece 1 lies, piece 1's.
    std::unique_ptr<TBitmap> shot = window.Screenshot();
    const Dib& screen = PixelsOf(*shot);
    EXPECT_TRUE(SameColour(screen.PixelAt(200, 130), PixelsOf(window.Piece(4)).PixelAt(11, 4)));
    EXPECT_TRUE(SameColour(screen.PixelAt(100, 100), PixelsOf(window.Piece(1)).PixelAt(70, 20)));
    // Outside every piece the board shows: white with its grid.
    EXPECT_TRUE(SameColour(screen.PixelAt(700, 500), window.BoardPixels().PixelAt(675, 420)));

    // A press there drags piece 4, not the piece beneath.
    Drag({200, 130}, {210, 140});
    EXPECT_EQ(window.Piece(4)->Left(), 199);
    EXPECT_EQ(window.Piece(4)->Top(), 136);
    EXPECT_EQ(window.Piece(1)->Left(), 30);
    EXPECT_EQ(window.Piece(1)->Top(), 80);
}

}  // namespace
}  // namespace kv::test
