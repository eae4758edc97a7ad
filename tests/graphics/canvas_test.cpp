// Drawing surfaces: tool state, change events, operations and targets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

const RgbQuad kWhiteQ{255, 255, 255, 0};
const RgbQuad kBlackQ{0, 0, 0, 0};
const RgbQuad kRedQ{0, 0, 255, 0};

RgbQuad Px(const TBitmap& b, int x, int y) { return b.GetDib()->PixelAt(x, y); }

TEST(CanvasTest, PlainCanvasWithoutTargetRefusesToDraw) {
    TCanvas canvas;
    try {
        canvas.FillRect({0, 0, 1, 1});
        FAIL() << "drawing without a target must fail";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
        EXPECT_STREQ(e.ClassName(), "EInvalidOperation");
    }
    EXPECT_THROW(canvas.MoveTo(1, 1), EInvalidOperation);
    EXPECT_FALSE(canvas.HandleAllocated());
}

TEST(CanvasTest, HandedTargetWithOriginAndClip) {
    Dib dib(DescriptionFor(10, 10, 32));
    TCanvas canvas;
    const TRect clip{2, 2, 6, 6};
    canvas.SetHandle(&dib, TPoint{3, 3}, &clip);
    EXPECT_TRUE(canvas.HandleAllocated());
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({-10, -10, 100, 100});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;  // the clip cuts the shifted rectangle
            EXPECT_EQ(dib.PixelAt(x, y), inside ? kRedQ : kBlackQ) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.ClipRect(), (TRect{-1, -1, 3, 3}));
    canvas.SetHandle(nullptr);
    EXPECT_THROW(canvas.FillRect({0, 0, 1, 1}), EInvalidOperation);
}

TEST(CanvasTest, ChangeEventsSurroundDrawingOperationsOnly) {
    TBitmap bitmap;
    bitmap.SetSize(20, 20);
    TCanvas& canvas = bitmap.Canvas();
    std::vector<std::string> log;
    canvas.OnChanging = [&](TCanvas&) {
        log.push_back(Px(bitmap, 1, 1) == kWhiteQ ? "before:white" : "before:drawn");
    };
    canvas.OnChange = [&](TCanvas&) {
        log.push_back(Px(bitmap, 1, 1) == kWhiteQ ? "after:white" : "after:drawn");
    };
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({0, 0, 5, 5});
    EXPECT_EQ(log, (std::vector<std::string>{"before:white", "after:drawn"}));

    log.clear();
    canvas.MoveTo(0, 0);
    canvas.TextExtent("abc");
    canvas.TextWidth("abc");
    canvas.Refresh();
    canvas.StretchDraw({0, 0, 5, 5}, nullptr);
    canvas.Draw(0, 0, nullptr);
    EXPECT_TRUE(log.empty());

    canvas.LineTo(3, 0);
    canvas.TextOut(0, 10, "x");
    TBitmap other;
    other.SetSize(4, 4);
    canvas.CopyRect({0, 0, 4, 4}, other.Canvas(), {0, 0, 4, 4});
    canvas.StretchDraw({0, 0, 2, 2}, &other);
    canvas.Draw(0, 0, &other);
    EXPECT_EQ(log.size(), 10u);
}

TEST(CanvasTest, StateSetFollowsOperationsAndToolChanges) {
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    TCanvas& canvas = bitmap.Canvas();
    EXPECT_TRUE(canvas.State().Empty());
    canvas.FillRect({0, 0, 1, 1});
    EXPECT_EQ(canvas.State(), (TCanvasState{TCanvasStateItem::csHandleValid, TCanvasStateItem::csBrushValid}));
    canvas.LineTo(2, 2);
    EXPECT_TRUE(canvas.State().Contains(TCanvasStateItem::csPenValid));
    canvas.Pen().SetColor(clRed);
    EXPECT_FALSE(canvas.State().Contains(TCanvasStateItem::csPenValid));
    EXPECT_TRUE(canvas.State().Contains(TCanvasStateItem::csBrushValid));
    canvas.Refresh();
    EXPECT_EQ(canvas.State(), (TCanvasState{TCanvasStateItem::csHandleValid}));
    // The pen position survives releasing the context.
    canvas.MoveTo(5, 6);
    FreeMemoryContexts();
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 6}));
    EXPECT_EQ(canvas.CopyMode(), 0x00CC0020u);
}

TEST(CanvasTest, ToolChangesTakeEffectAtTheNextOperation) {
    TBitmap bitmap;
    bitmap.SetSize(4, 1);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({0, 0, 2, 1});
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect({2, 0, 4, 1});
    EXPECT_EQ(Px(bitmap, 1, 0), kRedQ);
    EXPECT_EQ(Px(bitmap, 2, 0), (RgbQuad{255, 0, 0, 0}));
}

TEST(CanvasTest, FrameAlongTheEdgesDrawsEachCornerOnce) {
    TBitmap bitmap;
    bitmap.SetSize(225, 160);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetMode(TPenMode::pmNot);  // a pixel drawn twice would come back white
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, 159);
    canvas.LineTo(224, 159);
    canvas.LineTo(224, 0);
    canvas.LineTo(0, 0);
    EXPECT_EQ(canvas.PenPos(), (TPoint{0, 0}));
    for (TPoint p : {TPoint{0, 0}, TPoint{0, 159}, TPoint{224, 159}, TPoint{224, 0}, TPoint{100, 0}, TPoint{0, 80}}) {
        EXPECT_EQ(Px(bitmap, p.x, p.y), kBlackQ) << p.x << "," << p.y;
    }
    EXPECT_EQ(Px(bitmap, 1, 1), kWhiteQ);
    EXPECT_EQ(Px(bitmap, 223, 158), kWhiteQ);
}

TEST(CanvasTest, NotXorGridLinesUndoThemselves) {
    TBitmap bitmap;
    bitmap.SetSize(20, 20);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetWidth(2);
    canvas.Pen().SetMode(TPenMode::pmNotXor);
    canvas.MoveTo(10, 0);
    canvas.LineTo(10, 20);
    EXPECT_EQ(Px(bitmap, 9, 5), kRedQ);
    EXPECT_EQ(Px(bitmap, 10, 5), kRedQ);
    canvas.MoveTo(0, 10);
    canvas.LineTo(20, 10);
    EXPECT_EQ(Px(bitmap, 10, 10), kWhiteQ);  // inverted twice where the lines cross
    canvas.MoveTo(10, 0);
    canvas.LineTo(10, 20);
    canvas.MoveTo(0, 10);
    canvas.LineTo(20, 10);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(Px(bitmap, x, y), kWhiteQ) << x << "," << y;
}

TEST(CanvasTest, TwentyPointTextOnARedCell) {
    TBitmap bitmap;
    bitmap.SetSize(225, 160);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.Font().SetSize(20);
    EXPECT_EQ(canvas.Font().Height(), -27);
    const std::string text = "Картинки нет...";
    const kv::TextExtent extent = canvas.TextExtent(text);
    ASSERT_GT(extent.width, 0);
    ASSERT_GT(extent.height, 20);
    canvas.TextOut(10, 70, text);
    EXPECT_EQ(canvas.PenPos(), (TPoint{10 + extent.width, 70}));

    int red = 0, black = 0, other = 0;
    for (int y = 70; y < 70 + extent.height; ++y) {
        for (int x = 10; x < 10 + extent.width && x < 225; ++x) {
            const RgbQuad p = Px(bitmap, x, y);
            if (p == kRedQ) ++red;
            else if (p == kBlackQ) ++black;
            else ++other;
            // Every pixel of the cell mixes black glyphs over the red cell: no green or blue.
            ASSERT_EQ(p.green, 0);
            ASSERT_EQ(p.blue, 0);
        }
    }
    EXPECT_GT(red, black);
    EXPECT_GT(black, 0);
    // Outside the cell nothing changed.
    EXPECT_EQ(Px(bitmap, 9, 75), kWhiteQ);
    EXPECT_EQ(Px(bitmap, 20, 69), kWhiteQ);
    EXPECT_EQ(Px(bitmap, 20, 70 + extent.height), kWhiteQ);
}

TEST(CanvasTest, TextOverAClearBrushLeavesTheBackground) {
    TBitmap bitmap;
    bitmap.SetSize(60, 30);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(clRed);
    canvas.TextOut(2, 2, "HH");
    int red = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            const RgbQuad p = Px(bitmap, x, y);
            if (p == kRedQ) ++red;
            ASSERT_EQ(p.red, 255);  // red glyphs over white: the red byte never drops
        }
    }
    EXPECT_GT(red, 0);
}

TEST(CanvasTest, CopyRectOneToOneAndStretched) {
    TBitmap source;
    source.SetSize(2, 2);
    TCanvas& s = source.Canvas();
    s.Brush().SetColor(clRed);
    s.FillRect({0, 0, 1, 1});
    s.Brush().SetColor(clBlue);
    s.FillRect({1, 1, 2, 2});

    TBitmap target;
    target.SetSize(8, 8);
    TCanvas& t = target.Canvas();
    t.CopyRect({0, 0, 2, 2}, s, {0, 0, 2, 2});
    EXPECT_EQ(Px(target, 0, 0), kRedQ);
    EXPECT_EQ(Px(target, 1, 0), kWhiteQ);
    EXPECT_EQ(Px(target, 1, 1), (RgbQuad{255, 0, 0, 0}));
    EXPECT_EQ(Px(target, 2, 2), kWhiteQ);

    t.CopyRect({4, 4, 8, 8}, s, {0, 0, 2, 2});  // doubled, never blended
    EXPECT_EQ(Px(target, 5, 5), kRedQ);
    EXPECT_EQ(Px(target, 6, 5), kWhiteQ);
    EXPECT_EQ(Px(target, 7, 7), (RgbQuad{255, 0, 0, 0}));

    t.SetCopyMode(kDstInvert);
    t.CopyRect({0, 0, 1, 1}, s, {0, 0, 1, 1});
    EXPECT_EQ(Px(target, 0, 0), (RgbQuad{255, 255, 0, 0}));
}

TEST(CanvasTest, CopyRectWithinOneSurfaceThatOverlaps) {
    TBitmap bitmap;
    bitmap.SetSize(4, 1);
    TCanvas& c = bitmap.Canvas();
    c.Brush().SetColor(clRed);
    c.FillRect({0, 0, 1, 1});
    c.Brush().SetColor(clBlue);
    c.FillRect({1, 0, 2, 1});
    c.CopyRect({1, 0, 3, 1}, c, {0, 0, 2, 1});
    EXPECT_EQ(Px(bitmap, 0, 0), kRedQ);
    EXPECT_EQ(Px(bitmap, 1, 0), kRedQ);
    EXPECT_EQ(Px(bitmap, 2, 0), (RgbQuad{255, 0, 0, 0}));
    EXPECT_EQ(Px(bitmap, 3, 0), kWhiteQ);
}

TEST(CanvasTest, CopyFromACanvasWithoutTargetFails) {
    TBitmap target;
    target.SetSize(2, 2);
    TCanvas plain;
    EXPECT_THROW(target.Canvas().CopyRect({0, 0, 1, 1}, plain, {0, 0, 1, 1}), EInvalidOperation);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(CanvasTextTest, EmptyTextDrawsNothingAndKeepsTheColumn) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.TextOut(3, 4, "");
    EXPECT_EQ(canvas.PenPos(), (TPoint{3, 4}));
    EXPECT_EQ(canvas.TextWidth(""), 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(Px(bitmap, x, y), kWhiteQ);
}

}  // namespace
}  // namespace kv
