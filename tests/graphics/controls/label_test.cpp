// Labels: line breaking, auto-size, alignment and painting.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "graphics/controls/label.h"
#include "graphics/controls/text_wrap.h"
#include "graphics/font_engine.h"

namespace kv {
namespace {

using testing::MakeSurface;
using testing::Pixel;
using testing::Rgb;

// Every byte one pixel wide, so expected breaks can be worked out by hand.
int ByteWidth(std::string_view text) { return static_cast<int>(text.size()); }

TEST(BreakLinesTest, WithoutWrappingOnlyLineFeedsBreak) {
    EXPECT_EQ(BreakLines("one two", false, 3, ByteWidth), (std::vector<std::string>{"one two"}));
    EXPECT_EQ(BreakLines("a\r\nb\n", false, 3, ByteWidth), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(BreakLines("", false, 3, ByteWidth), (std::vector<std::string>{""}));
}

TEST(BreakLinesTest, WordsFillALineAndTheBlanksAtABreakAreDropped) {
    EXPECT_EQ(BreakLines("aa bb cc dd", true, 5, ByteWidth), (std::vector<std::string>{"aa bb", "cc dd"}));
    EXPECT_EQ(BreakLines("aa bb cc", true, 4, ByteWidth), (std::vector<std::string>{"aa", "bb", "cc"}));
    // Many blanks push the next word onto the next line, where they vanish.
    EXPECT_EQ(BreakLines("first.          second", true, 12, ByteWidth),
              (std::vector<std::string>{"first.", "second"}));
    // A word longer than the width stands alone, unbroken.
    EXPECT_EQ(BreakLines("a verylongword b", true, 5, ByteWidth),
              (std::vector<std::string>{"a", "verylongword", "b"}));
    // Leading blanks stay; trailing blanks stay on the last line.
    EXPECT_EQ(BreakLines("  ab cd  ", true, 20, ByteWidth), (std::vector<std::string>{"  ab cd  "}));
    EXPECT_EQ(BreakLines("ab\ncd ef", true, 3, ByteWidth), (std::vector<std::string>{"ab", "cd", "ef"}));
}

class LabelTest : public ::testing::Test {
protected:
    LabelTest() {
        host.SetColor(clGray);
        host.SetClientSize(300, 120);
        surface = MakeSurface(300, 120);
    }
    void Paint() { host.PaintRegion(surface->Canvas(), host.ClientRect()); }
    static int Measure(TLabel& label, std::string_view text) {
        return FontEngine::Instance().Measure(label.Font().ToRequest(), text).width;
    }

    TControlHost host;
    std::unique_ptr<TBitmap> surface;
};

TEST_F(LabelTest, AutoSizeFollowsTheTextAndTheFont) {
    TLabel label;
    label.SetBounds(20, 30, 149, 20);
    label.SetCaption("Выбрана картинка :");
    EXPECT_EQ(label.Width(), Measure(label, "Выбрана картинка :"));
    EXPECT_EQ(label.Height(), label.LineHeight());
    EXPECT_EQ(label.Left(), 20);
    EXPECT_EQ(label.Top(), 30);
    EXPECT_GT(label.Width(), 0);

    const int smallWidth = label.Width();
    label.Font().SetHeight(-27);
    EXPECT_GT(label.Width(), smallWidth);
    EXPECT_EQ(label.Width(), Measure(label, "Выбрана картинка :"));

    // An empty caption keeps the label one blank wide.
    label.SetCaption("");
    EXPECT_EQ(label.Width(), Measure(label, " "));

    // Right-aligned labels grow to the left.
    label.SetCaption("x");
    label.SetAlignment(TAlignment::taRightJustify);
    const int right = label.Left() + label.Width();
    label.SetCaption("x6 = 36 частей и");
    EXPECT_EQ(label.Left() + label.Width(), right);
}

TEST_F(LabelTest, FixedSizeWithWordWrapBreaksTheTextToTheWidth) {
    TLabel label;
    label.SetAutoSize(false);
    label.SetWordWrap(true);
    label.SetBounds(0, 0, 233, 65);
    label.SetCaption("Программа для досуга.                    Разбивает на кусочки и перемешивает "
                     "выбранное изображение, которое нужно упорядоченн собрать.");
    EXPECT_EQ(label.Width(), 233);
    EXPECT_EQ(label.Height(), 65);
    const std::vector<std::string> lines = label.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Программа для досуга.");
    EXPECT_EQ(lines[1].rfind("Разбивает", 0), 0u);
    for (const std::string& line : lines) EXPECT_LE(Measure(label, line), 233) << line;

    // With AutoSize the wrapped label keeps its width and takes the height of its lines.
    label.SetAutoSize(true);
    EXPECT_EQ(label.Width(), 233);
    EXPECT_EQ(label.Height(), label.LineHeight() * static_cast<int>(lines.size()));
}

TEST_F(LabelTest, PaintsItsBackgroundAndItsTextInTheFontColour) {
    TLabel label;
    label.SetCaption("WWW");
    label.Font().SetColor(clRed);
    label.Font().SetHeight(-20);
    label.SetLeft(10);
    label.SetParent(&host);
    Paint();
    int red = 0;
    for (int y = label.Top(); y < label.Top() + label.Height(); ++y) {
        for (int x = label.Left(); x < label.Left() + label.Width(); ++x) {
            const RgbQuad p = Pixel(*surface, x, y);
            if (p == Rgb(clRed)) ++red;
        }
    }
    EXPECT_GT(red, 20);
    EXPECT_EQ(Pixel(*surface, label.Left() + label.Width(), 0), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 9, label.Top()), Rgb(clGray));

    // An own colour replaces the parent's; a transparent label keeps what lies beneath.
    label.SetColor(clBlue);
    Paint();
    EXPECT_EQ(Pixel(*surface, label.Left(), label.Top()), Rgb(clBlue));
    label.SetTransparent(true);
    Paint();
    EXPECT_EQ(Pixel(*surface, label.Left(), label.Top()), Rgb(clGray));
}

TEST_F(LabelTest, CentredLinesSitInTheMiddleOfTheLabel) {
    TLabel label;
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 200, 40);
    label.SetAlignment(TAlignment::taCenter);
    label.Font().SetColor(clRed);
    label.Font().SetHeight(-20);
    label.SetCaption("I");
    label.SetTransparent(true);
    label.SetParent(&host);
    Paint();
    int minX = 1000, maxX = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (!(Pixel(*surface, x, y) == Rgb(clGray))) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, 0);
    const int textWidth = Measure(label, "I");
    EXPECT_GE(minX, (200 - textWidth) / 2);
    EXPECT_LT(maxX, (200 - textWidth) / 2 + textWidth);
}

TEST_F(LabelTest, ChangingTheCaptionInvalidatesOldAndNewArea) {
    TLabel label;
    label.SetCaption("00 : 00");
    label.SetParent(&host);
    host.TakeUpdateRect();
    const TRect before = label.BoundsRect();
    label.SetCaption("00 : 00 and more");
    const TRect update = host.TakeUpdateRect();
    EXPECT_EQ(update.Intersect(before), before);
    EXPECT_EQ(update.Intersect(label.BoundsRect()), label.BoundsRect());
    label.SetCaption("00 : 00 and more");  // same text: nothing
    EXPECT_TRUE(host.UpdateRect().IsEmpty());
}

}  // namespace
}  // namespace kv
