// Actions that do not fit the state are refused with one message and change nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/game_texts.h"
#include "tests/game/game_flow_fixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;

// Everything a refusal must leave alone.
struct Snapshot {
    Flags flags;
    int gridSize, pieceWidth, pieceHeight, elapsed, placed;
    std::map<WindowText, std::string> texts;
    int livePieces, bitmapsHeld;
    bool clockOn;
    bool operator==(const Snapshot&) const = default;
};

class RefusalTest : public GameFlowTest {
protected:
    Snapshot Take() const {
        const PuzzleState& s = State();
        return {FlagsOf(s),  s.GridSize,           s.PieceWidth,          s.PieceHeight,
                s.ElapsedSeconds, s.PlacedCount,   window.Texts,          window.LivePieces(),
                window.BitmapsHeld(), window.ClockOn};
    }
    // Runs `action` and checks that it did nothing but the expected log lines.
    template <typename Action>
    void ExpectRefused(Action action, std::vector<std::string> expectedLog) {
        const Snapshot before = Take();
        window.ClearLog();
        action();
        EXPECT_EQ(window.Log, expectedLog);
        EXPECT_TRUE(Take() == before) << "a refused action changed the game";
    }
};

TEST_F(RefusalTest, AtStartShuffleAndChangeOfNAreRefused) {
    ExpectRefused([&] { flow.Image5MouseUp(); }, {std::string("message:") + kNotDividedText});
    // The box is put back on "2" before the message shows.
    window.PieceCountIndex = 3;
    ExpectRefused([&] { flow.ComboBox1Change(5); },
                  {"index:0", std::string("message:") + kNothingToDivideText});
    EXPECT_EQ(window.PieceCountIndex, 0);
}

TEST_F(RefusalTest, LoadWithEmptyPathIsRefusedInEveryState) {
    ExpectRefused([&] { Load(""); }, {std::string("message:") + kNothingSelectedText});
    ToPlaying();
    // The empty path is checked before play.
    ExpectRefused([&] { Load(""); }, {std::string("message:") + kNothingSelectedText});
    flow.Image4MouseUp();  // new game empties the path box in the real window
    ExpectRefused([&] { Load(""); }, {std::string("message:") + kNothingSelectedText});
}

TEST_F(RefusalTest, DuringPlayLoadShuffleAndChangeOfNAreRefused) {
    ToPlaying(4);
    ExpectRefused([&] { Load("/pics/other.bmp"); }, {std::string("message:") + kFinishFirstText});
    ExpectRefused([&] { flow.Image5MouseUp(); }, {std::string("message:") + kAlreadyShuffledText});
    // The box goes back to the current N (index N - 2), then the message.
    ExpectRefused([&] { flow.ComboBox1Change(6); },
                  {"index:2", std::string("message:") + kNothingToDivideText});
    ExpectRefused([&] { flow.ComboBox1Change(4); },
                  {"index:2", std::string("message:") + kNothingToDivideText});
}

TEST_F(RefusalTest, AfterWinShuffleIsRefusedUntilNIsChosenAgainOrAPictureLoaded) {
    ToSolved(3);
    ExpectRefused([&] { flow.Image5MouseUp(); }, {std::string("message:") + kNotDividedText});

    // Choosing the same N again is enough.
    flow.ComboBox1Change(3);
    EXPECT_TRUE(State().ReadyToShuffle);
    flow.Image5MouseUp();
    EXPECT_TRUE(State().InPlay);

    for (int k = 1; k <= 9; ++k) DropHome(k);
    ASSERT_FALSE(State().ReadyToShuffle);
    Load();
    window.ClearLog();
    flow.Image5MouseUp();
    EXPECT_TRUE(window.Messages.empty());
    EXPECT_TRUE(State().InPlay);
}

TEST_F(RefusalTest, AfterNewGameEverythingButLoadIsRefusedAgain) {
    ToPlaying();
    flow.Image4MouseUp();
    ExpectRefused([&] { flow.Image5MouseUp(); }, {std::string("message:") + kNotDividedText});
    ExpectRefused([&] { flow.ComboBox1Change(3); },
                  {"index:0", std::string("message:") + kNothingToDivideText});
}

TEST_F(RefusalTest, OutOfRangeNumberIsIgnoredWithoutOverrunningThePieceArrays) {
    ToDivided(3);
    window.ClearLog();
    flow.ComboBox1Change(7);
    flow.ComboBox1Change(1);
    EXPECT_THAT(window.Log, ElementsAre("index:1", "index:1"));
    EXPECT_EQ(State().GridSize, 3);
}

}  // namespace
}  // namespace kv::test
