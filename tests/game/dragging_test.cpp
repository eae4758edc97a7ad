// Dragging pieces through the host's mouse routing: capture, buttons, the in-place limits on
// real controls, and what the window shows where a piece was.
#include <gtest/gtest.h>

#include "tests/game/board_fixture.h"

namespace kv::test {
namespace {

const TShiftState kLeftHeld{TShiftStateItem::ssLeft};

TEST_F(BoardTest, LeftDragFollowsThePointerEvenOutsideThePieceAndTheWindow) {
    Play(2);
    TImage* piece = window.Piece(4);  // at (189, 126), on top
    window.Host.MouseDown(TMouseButton::mbLeft, kLeftHeld, 200, 130);
    window.Host.MouseMove(kLeftHeld, 230, 120);
    EXPECT_EQ(piece->Left(), 219);
    EXPECT_EQ(piece->Top(), 116);
    // Far outside the piece and the window: the moves still reach it.
    window.Host.MouseMove(kLeftHeld, -500, 2000);
    EXPECT_EQ(piece->Left(), -511);
    EXPECT_EQ(piece->Top(), 1996);
    window.Host.MouseMove(kLeftHeld, 5000, -40);
    EXPECT_EQ(piece->Left(), 4989);
    EXPECT_EQ(piece->Top(), -44);
    window.Host.MouseUp(TMouseButton::mbLeft, {}, 5000, -40);
    EXPECT_FALSE(State().Dragging);
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
    EXPECT_EQ(window.Host.MouseCapture(), nullptr);

    // Without a button the pointer moves over pieces and moves nothing.
    const int left1 = window.Piece(1)->Left();
    window.Host.MouseMove({}, 40, 90);
    window.Host.MouseMove({}, 80, 120);
    EXPECT_EQ(window.Piece(1)->Left(), left1);
}

TEST_F(BoardTest, RightButtonMovesNothingButItsReleaseRunsTheCheck) {
    Play(2);
    // Piece 1 dropped home by hand first, so the check has something to count.
    DragHome(1);
    window.Texts.erase(WindowText::Label9);
    TImage* piece = window.Piece(4);
    window.Host.MouseDown(TMouseButton::mbRight, TShiftState{TShiftStateItem::ssRight}, 200, 130);
    window.Host.MouseMove(TShiftState{TShiftStateItem::ssRight}, 260, 160);
    EXPECT_EQ(piece->Left(), 189);
    EXPECT_EQ(piece->Top(), 126);
    window.Host.MouseUp(TMouseButton::mbRight, {}, 200, 130);
    EXPECT_EQ(window.Texts[WindowText::Label9], "1");
}

TEST_F(BoardTest, InPlaceOnlyWithinFourPixelsOfTheCell) {
    Play(2);
    // Piece 1's cell is the top-left one: exactly home at (25, 80).
    struct Drop {
        int left, top;
        const char* count;
    };
    const Drop drops[] = {{21, 76, "1"}, {29, 84, "1"}, {25, 80, "1"}, {20, 80, "0"},
                          {30, 80, "0"}, {25, 75, "0"}, {25, 85, "0"}, {29, 76, "1"}};
    for (const Drop& drop : drops) {
        DragPieceTo(window.Piece(1), drop.left, drop.top);
        EXPECT_EQ(window.Piece(1)->Left(), drop.left);
        EXPECT_EQ(window.Piece(1)->Top(), drop.top);
        EXPECT_EQ(window.Texts[WindowText::Label9], drop.count) << drop.left << "," << drop.top;
    }
    // A piece whose picture would fit another cell only counts in its own: piece 2 in cell 1.
    DragPieceTo(window.Piece(1), 600, 500);
    DragPieceTo(window.Piece(2), 25, 80);
    EXPECT_EQ(window.Texts[WindowText::Label9], "0");
}

TEST_F(BoardTest, BoardShowsThroughWhereARemovedPieceWas) {
    Play(2);
    const TRect area = window.Piece(4)->BoundsRect();
    std::unique_ptr<TBitmap> during = window.Screenshot();
    const Dib& piecePixels = *static_cast<const TBitmap*>(window.Piece(4)->Picture().Graphic())->GetDib();
    EXPECT_TRUE(SameColour(during->GetDib()->PixelAt(area.left + 11, area.top + 4), piecePixels.PixelAt(11, 4)));
    window.Host.TakeUpdateRect();
    window.Flow.Image4MouseUp();  // new game: the pieces go, the placeholder comes
    // Their areas were handed to the window for painting...
    const TRect update = window.Host.UpdateRect();
    EXPECT_EQ(update.Intersect(area), area);
    // ...and the window now shows the board there.
    std::unique_ptr<TBitmap> after = window.Screenshot();
    const Dib& board = window.BoardPixels();
    const TRect onBoard = area.Intersect(window.Board.BoundsRect());
    EXPECT_EQ(Mismatches(*after->GetDib(), onBoard,
                         [&](int x, int y) { return board.PixelAt(x - kBoardLeft, y - kBoardTop); }),
              "");
}

TEST_F(BoardTest, WinInsideThePiecesOwnReleaseKeepsItUntilTheEventIsDelivered) {
    Play(2);
    for (int k = 1; k <= 3; ++k) DragHome(k, 2, -3);
    EXPECT_EQ(window.Texts[WindowText::Label9], "3");
    TImage* last = window.Piece(4);
    bool checkedWhileOpen = false;
    window.OnMessage = [&](const std::string& text) {
        EXPECT_EQ(text, "Ура, получилось!!!");
        // The message is open inside the last piece's release: every piece snapped, still there.
        EXPECT_FALSE(window.ClockOn);
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(window.Piece(k)->Left(), State().PieceHomeX[k] + kBoardLeft);
            EXPECT_EQ(window.Piece(k)->Top(), State().PieceHomeY[k] + kBoardTop);
        }
        EXPECT_EQ(window.Host.ControlCount(), 6);
        EXPECT_TRUE(window.Host.Delivering());
        checkedWhileOpen = true;
    };
    // The last step of the win still runs inside the release: the pieces have left the window
    // but wait to be destroyed until the event has been delivered.
    int waitingAtLastStep = -1;
    window.OnWholePicture = [&] {
        waitingAtLastStep = window.Host.PendingReleaseCount();
        EXPECT_EQ(window.Host.ControlCount(), 2);
    };
    const TPoint grab{last->Left() + 5, last->Top() + 5};
    window.Host.MouseDown(TMouseButton::mbLeft, kLeftHeld, grab.x, grab.y);
    window.Host.MouseMove(kLeftHeld, grab.x + (369 - last->Left()) + 1, grab.y + (304 - last->Top()));
    window.Host.MouseUp(TMouseButton::mbLeft, {}, grab.x + 1, grab.y);
    EXPECT_TRUE(checkedWhileOpen);
    EXPECT_EQ(waitingAtLastStep, 4);
    // Delivered: now the pieces are gone and nothing waits for release.
    EXPECT_EQ(window.Host.ControlCount(), 2);
    EXPECT_EQ(window.Host.PendingReleaseCount(), 0);
    EXPECT_EQ(window.Drawing.PieceCount(), 0);
    EXPECT_EQ(window.Host.MouseCapture(), nullptr);
    EXPECT_EQ(window.Texts[WindowText::Label9], "4");
}

TEST_F(BoardTest, APieceNumberFromAnEarlierGameNamesNoPieceOfTheNextOne) {
    Play(2);
    const PieceId old = State().Pieces[1];
    window.Flow.Image4MouseUp();  // new game: the pieces are released
    Play(2);
    ASSERT_NE(State().Pieces[1], old);
    EXPECT_EQ(window.Drawing.PieceControl(old), nullptr);
    // A late event of the released piece moves nothing of the new game.
    const int left = window.Piece(1)->Left();
    window.Drawing.SetPieceLeft(old, left + 50);
    window.Drawing.ReleasePiece(old);
    EXPECT_EQ(window.Piece(1)->Left(), left);
    EXPECT_EQ(window.Drawing.PieceCount(), 4);
}

}  // namespace
}  // namespace kv::test
