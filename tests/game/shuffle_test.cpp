// Cutting, homes, scattering positions, and what a shuffle releases first.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/exceptions.h"
#include "tests/game/game_flow_fixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;

std::vector<std::pair<int, int>> Positions(const FakeGameWindow& window, std::size_t from) {
    std::vector<std::pair<int, int>> out;
    for (std::size_t i = from; i < window.Pieces.size(); ++i) {
        out.emplace_back(window.Pieces[i].Left, window.Pieces[i].Top);
    }
    return out;
}

TEST_F(GameFlowTest, FirstShuffleOfARunScattersTheSameWayEveryTime) {
    ToPlaying(2);
    EXPECT_THAT(Positions(window, 0),
                ElementsAre(std::pair{30, 80}, std::pair{460, 140}, std::pair{166, 305},
                            std::pair{189, 126}));
    // The next game of the run continues the sequence.
    flow.Image4MouseUp();
    ToPlaying(2);
    EXPECT_THAT(Positions(window, 4),
                ElementsAre(std::pair{216, 218}, std::pair{71, 236}, std::pair{65, 364},
                            std::pair{59, 172}));

    // A new run starts over.
    FakeGameWindow otherWindow;
    GameFlow other(otherWindow, otherWindow);
    other.FormCreate();
    otherWindow.Path = "/x.bmp";
    other.Image3MouseUp();
    other.ComboBox1Change(6);
    other.Image5MouseUp();
    ASSERT_EQ(otherWindow.Pieces.size(), 36u);
    EXPECT_EQ(otherWindow.Pieces[0].Left, 30);
    EXPECT_EQ(otherWindow.Pieces[0].Top, 80);
    EXPECT_EQ(otherWindow.Pieces[1].Left, 460);
    other.FormClose();
}

TEST_F(GameFlowTest, PiecesAreNumberedColumnByColumnWithHomesInTheirCells) {
    ToPlaying(3);
    EXPECT_EQ(State().PieceHomeX[2], 0);
    EXPECT_EQ(State().PieceHomeY[2], 149);
    EXPECT_EQ(State().PieceHomeX[4], 229);
    EXPECT_EQ(State().PieceHomeY[4], 0);
    EXPECT_EQ(State().PieceHomeX[9], 458);
    EXPECT_EQ(State().PieceHomeY[9], 298);
    ASSERT_EQ(window.Bitmaps.size(), 9u);
    EXPECT_EQ(window.Bitmaps[1].Cell, (TRect{0, 149, 229, 298}));
    EXPECT_EQ(window.Bitmaps[8].Cell, (TRect{458, 298, 687, 447}));
    for (int k = 1; k <= 9; ++k) {
        ASSERT_NE(State().Pieces[k], kNoPiece);
        EXPECT_EQ(window.Of(State().Pieces[k]).Index, k);
        EXPECT_NE(State().PieceBitmaps[k], nullptr);
    }
    EXPECT_EQ(State().Pieces[10], kNoPiece);
    EXPECT_EQ(State().PieceBitmaps[10], nullptr);
}

TEST_F(GameFlowTest, SixBySixFillsAllThirtySixSlotsInsideTheScatterArea) {
    ToPlaying(6);
    ASSERT_EQ(window.Pieces.size(), 36u);
    EXPECT_EQ(State().PieceHomeX[36], 570);
    EXPECT_EQ(State().PieceHomeY[36], 370);
    EXPECT_EQ(window.Bitmaps[35].Cell, (TRect{570, 370, 684, 444}));
    for (const auto& piece : window.Pieces) {
        EXPECT_GE(piece.Left, 30);
        EXPECT_LE(piece.Left, 529);
        EXPECT_GE(piece.Top, 70);
        EXPECT_LE(piece.Top, 419);
    }
    // Draws for piece 1 are the same whatever N is.
    EXPECT_EQ(window.Pieces[0].Left, 30);
    EXPECT_EQ(window.Pieces[0].Top, 80);
}

TEST_F(GameFlowTest, ShuffleAfterWinReleasesTheOldBitmapsBeforeCuttingNewOnes) {
    ToSolved(2);
    flow.ComboBox1Change(3);
    window.ClearLog();
    flow.Image5MouseUp();
    ASSERT_GE(window.Log.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(window.Log.begin(), window.Log.begin() + 5),
                ElementsAre("bitmap:release", "bitmap:release", "bitmap:release",
                            "bitmap:release", "cut:0,0,229,149"));
    EXPECT_EQ(window.BitmapsReleased, 4);
    EXPECT_EQ(window.BitmapsHeld(), 9);
    EXPECT_EQ(FlagsOf(State()), (Flags{true, false, true, false, false}));
    // Closing now releases exactly the nine of this game.
    flow.FormClose();
    EXPECT_EQ(window.BitmapsHeld(), 0);
    EXPECT_EQ(window.LivePieces(), 0);
}

TEST_F(GameFlowTest, ClockRefusalLeavesACleanablePlayingGame) {
    ToDivided(2);
    window.OnClockOn = [] { throw EOutOfResources("Not enough timers available"); };
    EXPECT_THROW(flow.Image5MouseUp(), EOutOfResources);
    window.OnClockOn = nullptr;
    // The pieces exist, and the state says so: play can go on and new game cleans up.
    EXPECT_EQ(FlagsOf(State()), (Flags{true, false, true, false, false}));
    EXPECT_EQ(window.LivePieces(), 4);
    flow.Image4MouseUp();
    EXPECT_EQ(window.LivePieces(), 0);
    EXPECT_EQ(window.BitmapsHeld(), 0);
}

TEST_F(GameFlowTest, FailureWhileCreatingPiecesLosesNothing) {
    // A window that runs out of resources on the third piece.
    struct FailingWindow : FakeGameWindow {
        PieceId CreatePiece(const PuzzleState& s, int index, int left, int top) override {
            if (index == 3) throw EOutOfResources("Out of system resources");
            return FakeGameWindow::CreatePiece(s, index, left, top);
        }
    } failing;
    {
        GameFlow game(failing, failing);
        game.FormCreate();
        failing.Path = "/a.jpg";
        game.Image3MouseUp();
        EXPECT_THROW(game.Image5MouseUp(), EOutOfResources);
        EXPECT_EQ(failing.LivePieces(), 2);
        // A second try releases the leftovers before it starts.
        EXPECT_THROW(game.Image5MouseUp(), EOutOfResources);
        EXPECT_EQ(failing.LivePieces(), 2);
        EXPECT_EQ(failing.BitmapsHeld(), 4);
        game.FormClose();
        EXPECT_EQ(failing.LivePieces(), 0);
        EXPECT_EQ(failing.BitmapsHeld(), 0);
    }
    EXPECT_EQ(std::count(failing.Log.begin(), failing.Log.end(), "ERROR:double release"), 0);
}

}  // namespace
}  // namespace kv::test
