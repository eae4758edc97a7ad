// The about box as a player meets it: opened by the about button of a shown main window, closed
// with Ok, Enter or its close box, its link answered by a URL handler (no browser starts), and
// the game going on behind it.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "codecs/picture.h"
#include "graphics/bitmap.h"
#include "graphics/controls/label.h"
#include "graphics/controls/shape.h"
#include "ui/about.h"
#include "ui/about_texts.h"
#include "ui_test_support.h"

namespace kv::test {
namespace {

// Stands in for the desktop's browser: keeps every address it is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> Asked;
public slots:
    void Open(const QUrl& url) { Asked.push_back(url); }
};

class AboutBox : public ::testing::Test, public MainWindowTest {
protected:
    AboutBox() : about(std::make_unique<TAboutBox>(*form)) {}

    // Releases the about button and runs `inside` while the box it opened is shown; returns once
    // the box has been closed (a box left open is closed after a while, as a failure).
    void WhileOpen(const std::function<void()>& inside) {
        bool ran = false;
        QTimer::singleShot(0, about.get(), [&] {
            ran = true;
            inside();
        });
        QTimer::singleShot(15000, about.get(), [this] {
            if (about->isVisible()) {
                ADD_FAILURE() << "the about box did not close";
                about->reject();
            }
        });
        Press(*form->Image7);
        EXPECT_TRUE(ran) << "the about button did not open the box";
        EXPECT_FALSE(about->isVisible());
    }

    std::unique_ptr<TAboutBox> about;
};

// The one-line labels size themselves to their final font and caption, exactly as a label given
// that font and caption one attribute at a time does.
TEST_F(AboutBox, OneLineLabelsFitTheirFinalFontAndCaption) {
    for (TLabel* label : {about->Label1, about->Label2, about->Label5, about->Label6, about->Label7}) {
        SCOPED_TRACE(label->Name());
        EXPECT_TRUE(label->AutoSize());
        TLabel reference;
        reference.SetBounds(label->Left(), label->Top(), 1, 1);
        reference.Font().Assign(label->Font());
        reference.SetCaption(label->Caption());
        EXPECT_EQ(label->BoundsRect(), reference.BoundsRect());
        EXPECT_GT(label->Width(), 20);
    }
}

TEST_F(AboutBox, IsLaidOutAsItsLayoutSays) {
    EXPECT_FALSE(about->isVisible());  // made hidden at start-up
    EXPECT_EQ(about->windowTitle().toStdString(), " О программе");
    EXPECT_EQ(about->size(), QSize(385, 259));

    const std::vector<std::string> order = {"Label1", "Label2", "Label3", "Shape1", "Label4",
                                            "Image1", "Label5", "Label6", "Label7"};
    TControlHost& host = about->Surface().Host();
    ASSERT_EQ(host.ControlCount(), static_cast<int>(order.size()));
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(host.Controls(static_cast<int>(i))->Name(), order[i]);

    EXPECT_EQ(about->Label1->Caption(), "Кадрилка  KVADRIKO");
    EXPECT_EQ(about->Label2->Caption(), "Version  2.0");
    EXPECT_EQ(about->Button1->text(), "Ok");
    EXPECT_EQ(about->Label7->Caption(), "Сайт автора");
    // The twenty blanks push the second sentence onto a line of its own; the block is centred
    // and keeps its size.
    ASSERT_GE(about->Label3->Lines().size(), 3u);
    EXPECT_EQ(about->Label3->Lines()[0], "Программа для досуга.");
    EXPECT_EQ(about->Label3->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(about->Label3->BoundsRect(), (TRect{88, 80, 321, 145}));
    EXPECT_EQ(about->Label4->Lines().size(), 3u);
    EXPECT_EQ(about->Shape1->BoundsRect(), (TRect{16, 160, 369, 161}));

    // The link: bold, underlined, blue, a hand over it.
    EXPECT_EQ(about->Label6->Caption(), kProjectLinkText);
    EXPECT_EQ(about->Label6->Font().Color(), clBlue);
    EXPECT_TRUE(about->Label6->Font().Style().Contains(TFontStyle::fsBold));
    EXPECT_TRUE(about->Label6->Font().Style().Contains(TFontStyle::fsUnderline));
    EXPECT_EQ(about->Label6->Cursor(), TCursor::crHandPoint);

    // The emblem: a 32 x 32 bitmap of 256 colours, stretched to 41 x 41.
    EXPECT_EQ(about->Image1->BoundsRect(), (TRect{16, 16, 57, 57}));
    const auto* emblem = dynamic_cast<const TBitmap*>(about->Image1->Picture().Graphic());
    ASSERT_NE(emblem, nullptr);
    EXPECT_EQ(emblem->Width(), 32);
    EXPECT_EQ(emblem->PixelFormat(), TPixelFormat::pf8bit);

    EXPECT_EQ(about->Button1->geometry(), QRect(272, 192, 97, 25));

    // Painted: the rule is one dark row on the button face, the link has blue in it.
    TBitmap shot;
    shot.SetWidth(kAboutClientWidth);
    shot.SetHeight(kAboutClientHeight);
    host.PaintRegion(shot.Canvas(), host.ClientRect());
    const Dib& pixels = *shot.GetDib();
    EXPECT_EQ(pixels.PixelAt(200, 160), (RgbQuad{0, 0, 0, 0}));
    EXPECT_FALSE(pixels.PixelAt(200, 159) == (RgbQuad{0, 0, 0, 0}));
    int blue = 0;
    for (int y = 216; y < 232; ++y)
        for (int x = 120; x < 186; ++x)
            if (pixels.PixelAt(x, y) == (RgbQuad{255, 0, 0, 0})) ++blue;
    EXPECT_GT(blue, 20);
}

TEST_F(AboutBox, OpensModallyOnEachReleaseAndClosesWithOkEnterOrTheCloseBox) {
    WhileOpen([&] {
        EXPECT_TRUE(about->isVisible());
        EXPECT_TRUE(about->isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), about.get());
        EXPECT_EQ(form->Image7->Width(), 137);  // released, full size again
        QTest::mouseClick(about->Button1, Qt::LeftButton);
    });
    WhileOpen([&] {
        // Escape is not a way out: the box has no cancel button.
        QTest::keyClick(about.get(), Qt::Key_Escape);
        EXPECT_TRUE(about->isVisible());
        QTest::keyClick(about->Button1, Qt::Key_Return);
    });
    WhileOpen([&] { about->close(); });
}

TEST_F(AboutBox, LinkAsksTheDesktopForTheAddressOnceAndLeavesTheBoxOpen) {
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Open");
    WhileOpen([&] {
        SimulatedMouse mouse(about->Surface());
        const QPoint link = Centre(*about->Label6);
        mouse.Move(link);
        EXPECT_EQ(about->Surface().cursor().shape(), Qt::PointingHandCursor);
        mouse.Click(link);
        EXPECT_TRUE(about->isVisible());
        about->Button1->click();
    });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.Asked.size(), 1u);
    EXPECT_EQ(browser.Asked[0], QUrl(QString::fromUtf8(kProjectAddress)));
    EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(AboutBox, DuringPlayTheClockCountsOnAndTheMainWindowTakesNoInput) {
    TypePath(std::string(KV_SOURCE_DIR) + "/samples/garden.bmp");
    Press(*form->Image3);
    Press(*form->Image5);
    ASSERT_TRUE(State().InPlay);
    ASSERT_TRUE(boxes.Shown.empty()) << boxes.Shown[0].text;
    const int before = State().ElapsedSeconds;
    WhileOpen([&] {
        // The new-game button, pressed through the window system, is not reached.
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, Centre(*form->Image4));
        QTest::qWait(2300);
        about->Button1->click();
    });
    EXPECT_TRUE(State().InPlay);
    EXPECT_NE(Piece(1), nullptr);
    EXPECT_GE(State().ElapsedSeconds, before + 2);
    EXPECT_NE(form->Label8->Caption(), "00 : 00");
}

}  // namespace
}  // namespace kv::test

#include "about_box_test.moc"
