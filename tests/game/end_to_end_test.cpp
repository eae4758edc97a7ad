// Whole games on the real board, played with the mouse through the host: load a BMP, choose N,
// shuffle, drag every piece home, win, and see the whole picture again.
#include <gtest/gtest.h>

#include "tests/game/board_fixture.h"

namespace kv::test {
namespace {

class EndToEndTest : public BoardTest, public ::testing::WithParamInterface<int> {
protected:
    // Moves every piece, topmost first, to a staircase at the window's right edge where each
    // keeps a strip that nothing covers; this also takes each drag out of the window.
    void ParkAll(int count) {
        for (int k = count; k >= 1; --k) {
            DragPieceTo(window.Piece(k), BoardGameWindow::kClientWidth - 4 * (count + 1 - k), 8);
            ASSERT_FALSE(HasFailure());
        }
    }
};

TEST_P(EndToEndTest, BmpFromLoadToWin) {
    const int n = GetParam();
    const int count = n * n;
    window.Flow.Image4MouseUp();  // the window is shown with the placeholder
    Divide(n);
    window.Flow.Image5MouseUp();
    ASSERT_EQ(window.Host.ControlCount(), 2 + count);
    ASSERT_TRUE(State().InPlay);

    int messagesWhileOpen = 0;
    window.OnMessage = [&](const std::string&) {
        ++messagesWhileOpen;
        for (int k = 1; k <= count; ++k) {
            EXPECT_EQ(window.Piece(k)->Left(), State().PieceHomeX[k] + kBoardLeft);
            EXPECT_EQ(window.Piece(k)->Top(), State().PieceHomeY[k] + kBoardTop);
        }
    };

    ParkAll(count);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
    // Home, each a little off its cell but within 4 pixels; the count grows with every drop.
    for (int k = 1; k <= count; ++k) {
        DragHome(k, (k % 9) - 4, 4 - (k % 7));
        ASSERT_FALSE(HasFailure());
        EXPECT_EQ(window.Texts[WindowText::Label9], std::to_string(k));
        if (k < count) {
            EXPECT_TRUE(State().InPlay);
        }
    }

    EXPECT_EQ(window.Messages, std::vector<std::string>{"Ура, получилось!!!"});
    EXPECT_EQ(messagesWhileOpen, 1);
    EXPECT_FALSE(window.ClockOn);
    EXPECT_FALSE(State().InPlay);
    EXPECT_TRUE(State().PictureOnBoard);
    EXPECT_FALSE(State().ReadyToShuffle);
    EXPECT_EQ(window.Host.ControlCount(), 2);
    EXPECT_EQ(window.Drawing.PieceCount(), 0);
    EXPECT_EQ(window.Texts[WindowText::Label1], "прошло времени - на своих местах все");
    EXPECT_EQ(window.Texts[WindowText::Label7], "Неплохо, давай еще...");

    // The whole picture, without its grid, on the board and on the screen.
    const TRect board{0, 0, kBoardWidth, kBoardHeight};
    EXPECT_EQ(Mismatches(window.BoardPixels(), board, PatternPixel), "");
    std::unique_ptr<TBitmap> shot = window.Screenshot();
    EXPECT_EQ(Mismatches(*shot->GetDib(), window.Board.BoundsRect(),
                         [](int x, int y) { return PatternPixel(x - kBoardLeft, y - kBoardTop); }),
              "");
}

INSTANTIATE_TEST_SUITE_P(GridSizes, EndToEndTest, ::testing::Values(2, 6),
                         [](const auto& info) { return "N" + std::to_string(info.param); });

}  // namespace
}  // namespace kv::test
