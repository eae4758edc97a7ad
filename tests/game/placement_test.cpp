// Dragging, the in-place rule, the count after each drop, and the win.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/game_texts.h"
#include "game/placement.h"
#include "tests/game/game_flow_fixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;

TEST(InPlaceRule, FourPixelsOffCountsFiveDoesNot) {
    for (int left = 21; left <= 29; ++left) EXPECT_TRUE(IsInPlace(left, 80, 0, 0)) << left;
    for (int top = 76; top <= 84; ++top) EXPECT_TRUE(IsInPlace(25, top, 0, 0)) << top;
    EXPECT_FALSE(IsInPlace(20, 80, 0, 0));
    EXPECT_FALSE(IsInPlace(30, 80, 0, 0));
    EXPECT_FALSE(IsInPlace(25, 75, 0, 0));
    EXPECT_FALSE(IsInPlace(25, 85, 0, 0));
    // Relative to the home cell.
    EXPECT_TRUE(IsInPlace(344 + 25 + 4, 224 + 80 - 4, 344, 224));
    EXPECT_FALSE(IsInPlace(344 + 25 + 5, 224 + 80, 344, 224));
    // Far off, even outside the window.
    EXPECT_FALSE(IsInPlace(-100000, -100000, 0, 0));
}

TEST_F(GameFlowTest, LeftDragMovesThePieceByThePointerOffset) {
    ToPlaying();
    const PieceId piece = State().Pieces[2];
    auto& fake = window.Of(piece);  // starts at (460, 140)
    flow.PieceMouseMove(piece, 50, 50);      // no button: nothing moves
    EXPECT_EQ(fake.Left, 460);
    flow.PieceMouseDown(piece, true, 10, 12);
    EXPECT_TRUE(State().Dragging);
    window.ClearLog();
    flow.PieceMouseMove(piece, 15, 20);
    EXPECT_THAT(window.Log, ElementsAre("left:2=465", "top:2=148"));
    flow.PieceMouseMove(piece, 7, 2);  // pointer moved back and up
    EXPECT_EQ(fake.Left, 462);
    EXPECT_EQ(fake.Top, 138);
    flow.PieceMouseUp(piece);
    EXPECT_FALSE(State().Dragging);
    flow.PieceMouseMove(piece, 50, 50);
    EXPECT_EQ(fake.Left, 462);
}

TEST_F(GameFlowTest, OtherButtonMovesNothingButItsReleaseRunsTheCheck) {
    ToPlaying();
    const PieceId piece = State().Pieces[1];
    flow.PieceMouseDown(piece, true, 1, 1);
    flow.PieceMouseDown(piece, false, 1, 1);
    EXPECT_FALSE(State().Dragging);
    window.ClearLog();
    flow.PieceMouseMove(piece, 90, 90);
    flow.PieceMouseUp(piece);
    EXPECT_THAT(window.Log, ElementsAre("Label9=0", "Label9=0", "Label9=0", "Label9=0"));
}

TEST_F(GameFlowTest, CountIsWrittenForEveryPieceAndTheGameGoesOnUntilAllAreHome) {
    ToPlaying();
    // Piece 1 starts at (30, 80): 5 pixels right of its cell, not in place.
    window.ClearLog();
    flow.PieceMouseUp(State().Pieces[1]);
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
    DropHome(3, -4, 4);
    window.ClearLog();
    DropHome(1);
    EXPECT_THAT(window.Log, ElementsAre("Label9=1", "Label9=1", "Label9=2", "Label9=2"));
    EXPECT_EQ(State().PlacedCount, 2);
    EXPECT_TRUE(State().InPlay);
    // A piece only counts in its own cell, even if its picture would fit elsewhere.
    DropAt(2, State().PieceHomeX[4] + 25, State().PieceHomeY[4] + 80);
    DropAt(4, State().PieceHomeX[2] + 25, State().PieceHomeY[2] + 80);
    EXPECT_EQ(State().PlacedCount, 2);
    EXPECT_TRUE(State().InPlay);
}

TEST_F(GameFlowTest, WinSnapsStopsTheClockCongratulatesThenReleasesAndRedraws) {
    ToPlaying();
    DropHome(1);
    DropHome(2, 3, -2);
    DropHome(3, -1, 1);
    for (int i = 0; i < 75; ++i) flow.Timer1Timer();
    window.ClearLog();
    DropHome(4, 4, 4);
    EXPECT_THAT(window.Log,
                ElementsAre("Label9=1", "Label9=2", "Label9=3", "Label9=4", "clock:off",
                            "left:1=25", "top:1=80", "left:2=25", "top:2=304", "left:3=369",
                            "top:3=80", "left:4=369", "top:4=304",
                            std::string("Label1=") + kStatusSolvedText,
                            std::string("Label7=") + kHintSolvedText,
                            std::string("message:") + kSolvedMessageText, "release:1",
                            "release:2", "release:3", "release:4", "draw:whole"));
    EXPECT_EQ(FlagsOf(State()), (Flags{false, true, false, false, true}));
    EXPECT_EQ(window.Texts[WindowText::Label9], "4");
    EXPECT_EQ(window.Texts[WindowText::Label8], "1 : 15");  // the final time stays
    EXPECT_EQ(State().ElapsedSeconds, 75);
    EXPECT_EQ(window.BitmapsHeld(), 4);  // the win keeps the bitmaps
    EXPECT_EQ(State().BoardRect, (TRect{0, 0, 688, 448}));
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(State().Pieces[k], kNoPiece);
}

TEST_F(GameFlowTest, ReleaseArrivingAfterTheWinChecksNothing) {
    ToPlaying();
    const PieceId last = State().Pieces[4];
    for (int k = 1; k <= 4; ++k) DropHome(k);
    ASSERT_FALSE(State().InPlay);
    window.ClearLog();
    flow.PieceMouseUp(last);
    flow.CheckPlacement();
    EXPECT_TRUE(window.Log.empty());
    EXPECT_EQ(State().PlacedCount, 4);
}

}  // namespace
}  // namespace kv::test
