// The actions that run: their flag changes, the texts they write and the calls they make.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/game_texts.h"
#include "runtime/exceptions.h"
#include "tests/game/game_flow_fixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;

// InPlay, PictureOnBoard, ReadyToShuffle, PieceBitmapsReleased, PieceControlsReleased.
const Flags kS0Fresh{false, false, false, true, true};
const Flags kS1Fresh{false, true, true, true, true};
const Flags kS2{true, false, true, false, false};
const Flags kS3{false, true, false, false, true};

TEST_F(GameFlowTest, InitialiseSetsTheStartValues) {
    const PuzzleState& s = State();
    EXPECT_EQ(FlagsOf(s), kS0Fresh);
    EXPECT_EQ(s.GridSize, 2);
    EXPECT_EQ(s.PieceWidth, 344);
    EXPECT_EQ(s.PieceHeight, 224);
    EXPECT_EQ(s.PlacedCount, 0);
    EXPECT_EQ(s.ElapsedSeconds, 0);
    EXPECT_FALSE(s.Dragging);
    for (std::size_t k = 0; k < kPieceSlots; ++k) {
        EXPECT_EQ(s.PieceHomeX[k], 0);
        EXPECT_EQ(s.PieceHomeY[k], 0);
        EXPECT_EQ(s.Pieces[k], kNoPiece);
        EXPECT_EQ(s.PieceBitmaps[k], nullptr);
    }
    EXPECT_EQ(s.SourcePicture, nullptr);
    EXPECT_THAT(window.Log, ElementsAre("readonly"));
}

TEST_F(GameFlowTest, LoadDrawsThenDividesAndEmptiesTheCount) {
    window.ClearLog();
    Load("/pics/a.gif");
    EXPECT_THAT(window.Log, ElementsAre("draw:load /pics/a.gif N=2", "Label9="));
    EXPECT_EQ(FlagsOf(State()), kS1Fresh);
    EXPECT_EQ(State().BoardRect, (TRect{0, 0, 688, 448}));
    EXPECT_EQ(window.Texts[WindowText::Label9], "");
}

TEST_F(GameFlowTest, LoadFromSolvedStateDividesAgainAndKeepsTheOldBitmaps) {
    ToSolved();
    Load();
    EXPECT_EQ(FlagsOf(State()), (Flags{false, true, true, false, true}));
    EXPECT_EQ(window.BitmapsHeld(), 4);
}

TEST_F(GameFlowTest, DecoderFailureLeavesFlagsAndTextsAlone) {
    window.OnLoad = [] { throw EJPEG("Not a JPEG file: starts with 0x42 0x4d"); };
    const auto textsBefore = window.Texts;
    EXPECT_THROW(Load("/pics/broken.jpg"), EJPEG);
    EXPECT_EQ(FlagsOf(State()), kS0Fresh);
    EXPECT_EQ(window.Texts, textsBefore);

    // From S3 the failure leaves S3 as it is, too.
    window.OnLoad = nullptr;
    ToSolved();
    window.OnLoad = [] { throw EReadError("Stream read error"); };
    EXPECT_THROW(Load("/pics/broken.bmp"), EReadError);
    EXPECT_EQ(FlagsOf(State()), kS3);
    EXPECT_EQ(window.Texts[WindowText::Label9], "4");
}

TEST_F(GameFlowTest, ChangeOfNRecomputesPieceSizeRedrawsAndRewritesTheCaption) {
    struct Row {
        int n, width, height;
        const char* caption;
    };
    const Row rows[] = {{2, 344, 224, "x2 = 4 частей и"},
                        {3, 229, 149, "x3 = 9 частей и"},
                        {4, 172, 112, "x4 = 16 частей и"},
                        {5, 137, 89, "x5 = 25 частей и"},
                        {6, 114, 74, "x6 = 36 частей и"}};
    Load();
    for (const Row& row : rows) {
        window.ClearLog();
        flow.ComboBox1Change(row.n);
        EXPECT_EQ(State().GridSize, row.n);
        EXPECT_EQ(State().PieceWidth, row.width);
        EXPECT_EQ(State().PieceHeight, row.height);
        EXPECT_EQ(State().BoardRect, (TRect{0, 0, 688, 448}));
        EXPECT_THAT(window.Log, ElementsAre("draw:grid N=" + std::to_string(row.n),
                                            std::string("Label6=") + row.caption));
        EXPECT_EQ(FlagsOf(State()), kS1Fresh);
    }
    // The layout's caption has blanks at both ends; the rewritten one does not.
    EXPECT_EQ(PieceCountCaption(4), "x4 = 16 частей и");
}

TEST_F(GameFlowTest, ChangeOfNAfterWinDividesAgainWithoutTouchingBitmapFlags) {
    ToSolved();
    flow.ComboBox1Change(5);
    EXPECT_EQ(FlagsOf(State()), (Flags{false, true, true, false, true}));
}

TEST_F(GameFlowTest, ShuffleWritesItsTextsAndStartsTheClockAfterThePieces) {
    ToDivided();
    flow.Timer1Timer();  // a leftover count must be reset by the shuffle
    window.ClearLog();
    flow.Image5MouseUp();
    EXPECT_THAT(window.Log,
                ElementsAre("cut:0,0,344,224", "cut:0,224,344,448", "cut:344,0,688,224",
                            "cut:344,224,688,448", "Label9=0",
                            std::string("Label1=") + kStatusPlayingText, "draw:shuffled N=2",
                            "create:1@30,80", "create:2@460,140", "create:3@166,305",
                            "create:4@189,126", "repaint", "clock:on",
                            std::string("Label7=") + kHintPlayingText));
    EXPECT_EQ(FlagsOf(State()), kS2);
    EXPECT_EQ(State().ElapsedSeconds, 0);
    EXPECT_TRUE(window.ClockOn);
    // The clock label is not rewritten by the shuffle.
    EXPECT_EQ(window.Texts[WindowText::Label8], "0 : 1");
}

TEST_F(GameFlowTest, NewGameRunsItsStepsInOrderAndKeepsN) {
    ToPlaying(3);
    window.ClearLog();
    flow.Image4MouseUp();
    std::vector<std::string> expected{"clock:off", "Label8=00 : 00", "draw:placeholder"};
    for (int k = 1; k <= 9; ++k) expected.push_back("bitmap:release");
    for (int k = 1; k <= 9; ++k) expected.push_back("release:" + std::to_string(k));
    for (const char* line : {"Label7=Выбирай справа,  жми кнопки вверху...", "Label9=0",
                             "Label1= уже прошло.     На своих местах пока", "Edit2="}) {
        expected.push_back(line);
    }
    EXPECT_EQ(window.Log, expected);
    EXPECT_EQ(FlagsOf(State()), kS0Fresh);
    EXPECT_FALSE(window.ClockOn);
    EXPECT_EQ(State().GridSize, 3);
    EXPECT_EQ(State().PieceWidth, 229);
    EXPECT_EQ(window.Texts[WindowText::Label6], "x3 = 9 частей и");
    for (std::size_t k = 0; k < kPieceSlots; ++k) {
        EXPECT_EQ(State().Pieces[k], kNoPiece);
        EXPECT_EQ(State().PieceBitmaps[k], nullptr);
    }
}

TEST_F(GameFlowTest, NewGameTwiceReleasesNothingTheSecondTime) {
    ToPlaying();
    flow.Image4MouseUp();
    EXPECT_EQ(window.BitmapsReleased, 4);
    EXPECT_EQ(window.LivePieces(), 0);
    window.ClearLog();
    flow.Image4MouseUp();
    EXPECT_EQ(window.BitmapsReleased, 4);
    for (const std::string& line : window.Log) {
        EXPECT_EQ(line.find("release"), std::string::npos) << line;
    }
}

TEST_F(GameFlowTest, NewGameInEveryStateEndsInS0) {
    flow.Image4MouseUp();
    EXPECT_EQ(FlagsOf(State()), kS0Fresh);
    ToDivided();
    flow.Image4MouseUp();
    EXPECT_EQ(FlagsOf(State()), kS0Fresh);
    ToSolved();
    flow.Image4MouseUp();
    EXPECT_EQ(FlagsOf(State()), kS0Fresh);
    EXPECT_EQ(window.BitmapsHeld(), 0);
    EXPECT_EQ(window.LivePieces(), 0);
}

TEST_F(GameFlowTest, CountLabelIsEmptyAfterLoadAndZeroAfterShuffleOrNewGame) {
    Load();
    EXPECT_EQ(window.Texts[WindowText::Label9], "");
    flow.Image5MouseUp();
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
    DropHome(1);
    EXPECT_EQ(window.Texts[WindowText::Label9], "1");
    flow.Image4MouseUp();
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
}

TEST_F(GameFlowTest, CloseReleasesWhatIsHeldInEachState) {
    // At start: nothing.
    flow.FormClose();
    EXPECT_TRUE(window.Log.size() == 1);  // only the read-only switch of initialise

    // During play: bitmaps, then controls.
    ToPlaying();
    window.ClearLog();
    flow.FormClose();
    EXPECT_THAT(window.Log,
                ElementsAre("bitmap:release", "bitmap:release", "bitmap:release", "bitmap:release",
                            "release:1", "release:2", "release:3", "release:4"));
}

TEST_F(GameFlowTest, CloseAfterWinReleasesOnlyTheBitmaps) {
    ToSolved();
    ASSERT_EQ(window.LivePieces(), 0);
    window.ClearLog();
    flow.FormClose();
    EXPECT_THAT(window.Log, ElementsAre("bitmap:release", "bitmap:release", "bitmap:release",
                                        "bitmap:release"));
}

TEST_F(GameFlowTest, CloseAfterNewGameReleasesNothing) {
    ToPlaying();
    flow.Image4MouseUp();
    window.ClearLog();
    flow.FormClose();
    EXPECT_TRUE(window.Log.empty());
}

TEST_F(GameFlowTest, ClockTicksCountAndWriteTheClockLabel) {
    ToPlaying();
    for (int i = 0; i < 65; ++i) flow.Timer1Timer();
    EXPECT_EQ(State().ElapsedSeconds, 65);
    EXPECT_EQ(window.Texts[WindowText::Label8], "1 : 5");
    flow.Image4MouseUp();
    EXPECT_EQ(window.Texts[WindowText::Label8], "00 : 00");
    // New game keeps the count itself; the next shuffle resets it.
    EXPECT_EQ(State().ElapsedSeconds, 65);
}

}  // namespace
}  // namespace kv::test
