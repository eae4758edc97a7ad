// The main window driven as a player would: simulated mouse events over the form, the path box
// typed into, the piece-count box chosen, message boxes answered by a recorder.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "game/game_board.h"
#include "game/game_texts.h"
#include "graphics/bitmap.h"
#include "graphics/controls/label.h"
#include "ui_test_support.h"

namespace kv::test {
namespace {

// What the host paints for the whole client area right now, from scratch.
std::unique_ptr<TBitmap> FullPaint(TForm1& form) {
    auto shot = std::make_unique<TBitmap>();
    shot->SetWidth(form.Host().ClientWidth());
    shot->SetHeight(form.Host().ClientHeight());
    form.Host().PaintRegion(shot->Canvas(), form.Host().ClientRect());
    return shot;
}

// Pixels of the window's own image that differ from a fresh full paint, once the pending paints
// are done. Areas under the windowed controls are not painted by the form and do not count.
int StalePixels(TForm1& form) {
    // A clock tick handled in one round posts its paint for the next; a slow run (under a
    // sanitizer) can meet a tick in the last round, so go on until a pair of rounds saw none.
    int seconds;
    do {
        seconds = form.Flow().State().ElapsedSeconds;
        QApplication::processEvents();
        QApplication::processEvents();
    } while (form.Flow().State().ElapsedSeconds != seconds);
    const auto fresh = FullPaint(form);
    const Dib& shown = form.Buffer();
    QRegion covered;
    for (const QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible()) covered += child->geometry();
    int stale = 0;
    QRect where;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x)
            if (!(shown.PixelAt(x, y) == fresh->GetDib()->PixelAt(x, y)) && !covered.contains(QPoint(x, y))) {
                ++stale;
                where |= QRect(x, y, 1, 1);
            }
    if (stale > 0) {
        std::fprintf(stderr, "stale pixels in (%d, %d) %d x %d\n", where.x(), where.y(), where.width(), where.height());
    }
    return stale;
}

const Dib& BoardPixels(TForm1& form) {
    return *static_cast<const TBitmap*>(form.Image1->Picture().Graphic())->GetDib();
}

class TempBmp {
public:
    explicit TempBmp(const std::string& bytes) {
        path_ = (std::filesystem::temp_directory_path() /
                 ("kv_ui_test_" + std::to_string(::getpid()) + "_bad.bmp")).string();
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TempBmp() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const std::string kGoodBmp = CorpusFile("bmp/g/rgb24.bmp");

class MainWindow : public ::testing::Test, public MainWindowTest {};

TEST_F(MainWindow, StartsWithTheLayoutAndThePlaceholder) {
    EXPECT_EQ(form->windowTitle().toStdString(), kFormCaption);
    EXPECT_EQ(form->width(), kFormClientWidth);
    EXPECT_EQ(form->height(), kFormClientHeight);
    EXPECT_EQ(form->pos(), QPoint(216, 106));

    // Graphic controls in layout order, which is their painting order.
    const std::vector<std::string> order = {"Image1", "Label2", "Image2", "Label1", "Label4",
                                            "Label5", "Label6", "Label7", "Label8", "Label9",
                                            "Image3", "Image4", "Image5", "Image6", "Image7"};
    ASSERT_EQ(form->Host().ControlCount(), static_cast<int>(order.size()));
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(form->Host().Controls(static_cast<int>(i))->Name(), order[i]);

    EXPECT_EQ(form->Label1->Caption(), " уже прошло.       На своих местах пока :");
    EXPECT_EQ(form->Label2->Caption(), "Выбрана картинка :");
    EXPECT_EQ(form->Label4->Caption(), "Выбери картинку");
    EXPECT_EQ(form->Label5->Caption(), "Разбей на");
    EXPECT_EQ(form->Label6->Caption(), " x2 = 4 частей и ");
    EXPECT_EQ(form->Label7->Caption(), "Выбирай справа... Жми кнопки вверху....");
    EXPECT_EQ(form->Label8->Caption(), "00 : 00");
    EXPECT_EQ(form->Label9->Caption(), "0");
    EXPECT_EQ(form->Label1->Font().Color(), clRed);
    EXPECT_EQ(form->Label4->Font().Color(), clMaroon);
    EXPECT_TRUE(form->Label7->WordWrap());
    EXPECT_EQ(form->Label7->Width(), 489);
    EXPECT_EQ(form->Label7->Height(), 33);
    EXPECT_EQ(form->Image3->BoundsRect(), (TRect{24, 8, 249, 65}));
    EXPECT_EQ(form->Image7->BoundsRect(), (TRect{24, 626, 161, 660}));

    ASSERT_EQ(form->ComboBox1->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(form->ComboBox1->itemText(i), QString::number(i + 2));
    EXPECT_EQ(form->ComboBox1->currentText(), "2");
    EXPECT_FALSE(form->ComboBox1->isEditable());
    EXPECT_EQ(form->ComboBox1->geometry(), QRect(448, 24, 49, 32));
    EXPECT_TRUE(form->Edit2->text().isEmpty());
    EXPECT_EQ(form->Edit2->geometry(), QRect(392, 632, 569, 21));
    EXPECT_EQ(form->FileListBox1->geometry(), QRect(736, 280, 217, 161));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 1000);

    // The placeholder's red cell is on the board, and the window shows what the host paints.
    const Dib& board = BoardPixels(*form);
    int red = 0;
    for (int y = 0; y < board.Height(); y += 4)
        for (int x = 0; x < board.Width(); x += 4)
            if (board.PixelAt(x, y) == (RgbQuad{0, 0, 255, 0})) ++red;
    EXPECT_GT(red, 1000);
    EXPECT_EQ(StalePixels(*form), 0);
    EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(MainWindow, TheDropDownsOpenWithTheirOwnRowHeights) {
    // The row delegates are set when a list first opens; an open list must have them.
    form->ComboBox1->showPopup();
    EXPECT_EQ(form->ComboBox1->view()->sizeHintForRow(0), 24);
    form->ComboBox1->hidePopup();
    form->DriveComboBox1->showPopup();
    EXPECT_EQ(form->DriveComboBox1->view()->sizeHintForRow(0),
              std::max(form->DriveComboBox1->fontMetrics().height(), 11));
    form->DriveComboBox1->hidePopup();
    // A second opening keeps them.
    form->ComboBox1->showPopup();
    EXPECT_EQ(form->ComboBox1->view()->sizeHintForRow(0), 24);
    form->ComboBox1->hidePopup();
}

TEST_F(MainWindow, PlaysATypedBmpFromLoadToWin) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    ASSERT_TRUE(boxes.Shown.empty()) << boxes.Shown[0].text;
    EXPECT_TRUE(State().PictureOnBoard);
    EXPECT_EQ(form->Label9->Caption(), "");

    ChooseGridSize(3);
    EXPECT_EQ(State().GridSize, 3);
    EXPECT_EQ(form->Label6->Caption(), "x3 = 9 частей и");

    Press(*form->Image5);
    ASSERT_TRUE(State().InPlay);
    EXPECT_EQ(form->Host().ControlCount(), 15 + 9);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Label1->Caption(), kStatusPlayingText);
    EXPECT_EQ(StalePixels(*form), 0);

    // The win message comes while the last piece's release is handled.
    bool piecesSnappedWhenWinShown = false;
    boxes.WhileOpen = [&](const MessageBoxRequest&) {
        piecesSnappedWhenWinShown = true;
        for (int k = 1; k <= 9; ++k) {
            piecesSnappedWhenWinShown &= Piece(k)->Left() == kBoardLeft + State().PieceHomeX[static_cast<size_t>(k)] &&
                                         Piece(k)->Top() == kBoardTop + State().PieceHomeY[static_cast<size_t>(k)];
        }
    };
    for (int k = 1; k <= 9 && State().InPlay; ++k) {
        ASSERT_TRUE(DragHome(k)) << "piece " << k << " cannot be grabbed";
        if (State().InPlay) {
            EXPECT_EQ(StalePixels(*form), 0) << "after piece " << k;
        }
    }
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"Ура, получилось!!!"});
    EXPECT_EQ(boxes.Shown[0].caption, "KVADRIKO");
    EXPECT_EQ(boxes.Shown[0].icon, MessageBoxIcon::None);
    EXPECT_TRUE(piecesSnappedWhenWinShown);

    EXPECT_FALSE(State().InPlay);
    EXPECT_TRUE(State().PictureOnBoard);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->Host().ControlCount(), 15);  // pieces gone once the release was delivered
    EXPECT_EQ(form->Label1->Caption(), kStatusSolvedText);
    EXPECT_EQ(form->Label7->Caption(), kHintSolvedText);
    EXPECT_EQ(form->Label9->Caption(), "9");

    // The whole picture is back on the board, without a grid.
    TBitmap expected;
    expected.SetWidth(kBoardWidth);
    expected.SetHeight(kBoardHeight);
    expected.Canvas().StretchDraw(TRect{0, 0, kBoardWidth, kBoardHeight}, State().SourcePicture.get());
    const Dib& board = BoardPixels(*form);
    int differing = 0;
    for (int y = 0; y < kBoardHeight; ++y)
        for (int x = 0; x < kBoardWidth; ++x)
            if (!(board.PixelAt(x, y) == expected.GetDib()->PixelAt(x, y))) ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(StalePixels(*form), 0);
}

// Records the regions of the paint events a widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

TEST_F(MainWindow, MovingAPiecePaintsOnlyWhatItLeftAndWhatItTakes) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    ChooseGridSize(6);
    Press(*form->Image5);
    QApplication::processEvents();
    TImage* top = Piece(36);
    ASSERT_NE(top, nullptr);
    const QRect before(top->Left(), top->Top(), top->Width(), top->Height());

    PaintRecorder recorder(*form);
    const QPoint grab(Centre(*top));
    mouse->Press(grab);
    mouse->Move(grab + QPoint(7, 5));
    QApplication::processEvents();
    mouse->Release(grab + QPoint(7, 5));
    QApplication::processEvents();
    const QRect after(top->Left(), top->Top(), top->Width(), top->Height());
    EXPECT_EQ(after, before.translated(7, 5));
    EXPECT_FALSE(recorder.painted.isEmpty());
    // The piece moves its left, then its top: what it passes on the way lies in between.
    EXPECT_TRUE((recorder.painted - QRegion(before.united(after))).isEmpty())
        << "painted beyond the piece: " << recorder.painted.boundingRect().x() << ","
        << recorder.painted.boundingRect().y() << " " << recorder.painted.boundingRect().width() << "x"
        << recorder.painted.boundingRect().height();
    EXPECT_EQ(StalePixels(*form), 0);
}

TEST_F(MainWindow, RefusalsAppearAsMessageBoxes) {
    Press(*form->Image5);
    Press(*form->Image3);  // nothing typed
    ChooseGridSize(5);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kNotDividedText, kNothingSelectedText, kNothingToDivideText}));
    for (const auto& box : boxes.Shown) {
        EXPECT_EQ(box.caption, "KVADRIKO");
        EXPECT_EQ(box.icon, MessageBoxIcon::None);
    }
    EXPECT_EQ(form->ComboBox1->currentText(), "2");  // back to the current N
    EXPECT_EQ(State().GridSize, 2);

    // During play: another N and another load are refused, the box keeps showing N.
    TypePath(kGoodBmp);
    Press(*form->Image3);
    ChooseGridSize(4);
    Press(*form->Image5);
    ASSERT_TRUE(State().InPlay);
    boxes.Shown.clear();
    ChooseGridSize(6);
    Press(*form->Image3);
    Press(*form->Image5);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kNothingToDivideText, kFinishFirstText, kAlreadyShuffledText}));
    EXPECT_EQ(form->ComboBox1->currentText(), "4");
    EXPECT_EQ(State().GridSize, 4);
}

TEST_F(MainWindow, ChoosingWithTheKeyboardRunsTheChangeOfN) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    form->ComboBox1->setFocus();
    QTest::keyClick(form->ComboBox1, Qt::Key_Down);
    QTest::keyClick(form->ComboBox1, Qt::Key_Down);
    EXPECT_EQ(State().GridSize, 4);
    EXPECT_EQ(form->Label6->Caption(), "x4 = 16 частей и");
    EXPECT_TRUE(boxes.Shown.empty());
    // Typing does not change the box's text.
    QTest::keyClicks(form->ComboBox1, "9");
    EXPECT_NE(form->ComboBox1->currentText(), "9");
}

TEST_F(MainWindow, APictureButtonReleasedOutsideStillActsAndRegainsItsSize) {
    TImage& shuffle = *form->Image5;
    const QPoint inside = Centre(shuffle);
    // A point inside the pill that the shrunk button no longer covers.
    const int x = shuffle.Left() + 219, y = shuffle.Top() + shuffle.Height() / 2;
    QApplication::processEvents();
    const RgbQuad before = form->Buffer().PixelAt(x, y);

    mouse->Press(inside);
    EXPECT_EQ(shuffle.Width(), 215);
    EXPECT_EQ(shuffle.Height(), 54);
    // Repainted at once, without waiting for the event loop.
    EXPECT_FALSE(form->Buffer().PixelAt(x, y) == before);
    EXPECT_EQ(form->Buffer().PixelAt(x, y), ColorToRgb(cl3DLight));

    mouse->Move(QPoint(-40, -30));
    mouse->Release(QPoint(-40, -30));
    EXPECT_EQ(shuffle.Width(), 225);
    EXPECT_EQ(shuffle.Height(), 57);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kNotDividedText});
    EXPECT_EQ(form->Buffer().PixelAt(x, y), before);
}

TEST_F(MainWindow, RightAndMiddleClicksOnPictureButtons) {
    TypePath(kGoodBmp);
    Press(*form->Image3, Qt::RightButton);
    EXPECT_TRUE(State().PictureOnBoard);
    EXPECT_EQ(form->Image3->Width(), 225);
    EXPECT_EQ(form->Image3->Height(), 57);

    Press(*form->Image4, Qt::MiddleButton);  // new game
    EXPECT_FALSE(State().PictureOnBoard);
    EXPECT_TRUE(form->Edit2->text().isEmpty());
    EXPECT_EQ(form->Image4->Width(), 137);
    EXPECT_EQ(form->Image4->Height(), 35);
    EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(MainWindow, ARightPressReleasedElsewhereDoesNotShrinkTheButtonForGood) {
    TImage& load = *form->Image3;
    // The right button is not captured: its release off the picture never reaches the button.
    mouse->Press(Centre(load), Qt::RightButton);
    mouse->Release(QPoint(600, 300), Qt::RightButton);
    EXPECT_EQ(load.Width(), 215);
    EXPECT_EQ(load.Height(), 54);
    // The next full click brings the layout's size back, not a size three pixels short.
    Press(load);
    EXPECT_EQ(load.Width(), 225);
    EXPECT_EQ(load.Height(), 57);
}

TEST_F(MainWindow, EveryPictureButtonShrinksByItsOwnStepWhenPressed) {
    // A right press released off the button: the press alone, no action.
    const struct {
        TImage* button;
        int width, height;
    } pressed[] = {{form->Image3, 215, 54}, {form->Image5, 215, 54}, {form->Image4, 134, 34},
                   {form->Image6, 134, 34}, {form->Image7, 134, 33}};
    for (const auto& [button, width, height] : pressed) {
        mouse->Press(Centre(*button), Qt::RightButton);
        mouse->Release(QPoint(600, 300), Qt::RightButton);
        EXPECT_EQ(button->Width(), width) << button->Name();
        EXPECT_EQ(button->Height(), height) << button->Name();
    }
    EXPECT_TRUE(boxes.Shown.empty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MainWindow, NewGameDuringPlayTakesThePiecesAway) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    Press(*form->Image5);
    ASSERT_EQ(form->Host().ControlCount(), 15 + 4);
    Press(*form->Image4);
    EXPECT_EQ(form->Host().ControlCount(), 15);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->Label8->Caption(), "00 : 00");
    EXPECT_EQ(form->Label1->Caption(), kStatusNewGameText);
    EXPECT_EQ(form->ComboBox1->currentText(), "2");
    EXPECT_EQ(StalePixels(*form), 0);
}

TEST_F(MainWindow, ClosingDuringPlayReleasesThePieces) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    ChooseGridSize(6);
    Press(*form->Image5);
    ASSERT_EQ(form->Board().PieceCount(), 36);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Board().PieceCount(), 0);
    EXPECT_EQ(form->Host().ControlCount(), 15);
    EXPECT_TRUE(State().PieceControlsReleased);
    EXPECT_TRUE(State().PieceBitmapsReleased);
}

TEST_F(MainWindow, TheExitButtonClosesTheWindowAndReleasesThePieces) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    Press(*form->Image5);
    ASSERT_EQ(form->Board().PieceCount(), 4);
    Press(*form->Image6);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Board().PieceCount(), 0);
    EXPECT_EQ(form->Image6->Width(), 137);
    EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(MainWindow, AFailingLoadShowsTheFailureReportAndTheGameGoesOn) {
    const TempBmp bad("XX this is not a bitmap at all, only some text of a reasonable length.");
    TypePath(bad.Path());
    Press(*form->Image3);
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].icon, MessageBoxIcon::Stop);
    EXPECT_EQ(boxes.Shown[0].caption, "KVADRIKO");
    EXPECT_EQ(boxes.Shown[0].text, "Bitmap image is not valid.");
    EXPECT_FALSE(State().PictureOnBoard);
    EXPECT_FALSE(State().ReadyToShuffle);
    EXPECT_EQ(form->Image3->Width(), 225);  // the button was restored before the load failed

    TypePath(kGoodBmp);
    Press(*form->Image3);
    EXPECT_EQ(boxes.Shown.size(), 1u);
    EXPECT_TRUE(State().PictureOnBoard);
}

TEST_F(MainWindow, TheClockCountsWhileAGameIsUnderWay) {
    TypePath(kGoodBmp);
    Press(*form->Image3);
    Press(*form->Image5);
    ASSERT_TRUE(form->Timer1->isActive());
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(form->Label8->Caption(), "0 : 2");
    // A message box opened meanwhile does not stop the clock.
    Press(*form->Image5);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kAlreadyShuffledText});
    EXPECT_TRUE(form->Timer1->isActive());
}

}  // namespace
}  // namespace kv::test
