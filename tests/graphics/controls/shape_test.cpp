// The shape control: its figure and its pixels.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "graphics/controls/shape.h"

namespace kv {
namespace {

using testing::MakeSurface;
using testing::Pixel;
using testing::Rgb;

class ShapeTest : public ::testing::Test {
protected:
    ShapeTest() {
        host.SetColor(clGray);
        host.SetClientSize(120, 100);
        surface = MakeSurface(120, 100);
    }
    void Paint() { host.PaintRegion(surface->Canvas(), host.ClientRect()); }
    int Count(RgbQuad colour, const TRect& area) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += Pixel(*surface, x, y) == colour;
        return n;
    }

    TControlHost host;
    std::unique_ptr<TBitmap> surface;
};

TEST_F(ShapeTest, ANewShapeIsA65SquareRectangleWithBlackPenAndWhiteBrush) {
    TShape shape;
    EXPECT_EQ(shape.Width(), 65);
    EXPECT_EQ(shape.Height(), 65);
    EXPECT_EQ(shape.Shape(), TShapeType::stRectangle);
    EXPECT_EQ(shape.Pen().Color(), clBlack);
    EXPECT_EQ(shape.Pen().Width(), 1);
    EXPECT_EQ(shape.Brush().Color(), clWhite);
    EXPECT_EQ(shape.Brush().Style(), TBrushStyle::bsSolid);

    shape.SetBounds(10, 10, 65, 65);
    shape.SetParent(&host);
    Paint();
    EXPECT_EQ(Count(Rgb(clBlack), {10, 10, 75, 75}), 4 * 64);
    EXPECT_EQ(Count(Rgb(clWhite), {11, 11, 74, 74}), 63 * 63);
    EXPECT_EQ(Pixel(*surface, 75, 40), Rgb(clGray));
}

TEST_F(ShapeTest, TheOnePixelHighRuleIsABlackLine) {
    TShape rule;
    rule.SetBounds(5, 50, 353 - 250, 1);  // the about box's rule, shortened to fit the surface
    rule.SetParent(&host);
    Paint();
    EXPECT_EQ(Count(Rgb(clBlack), {0, 50, 120, 51}), 103);
    EXPECT_EQ(Pixel(*surface, 4, 50), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 5, 50), Rgb(clBlack));
    EXPECT_EQ(Pixel(*surface, 107, 50), Rgb(clBlack));
    EXPECT_EQ(Pixel(*surface, 108, 50), Rgb(clGray));
    EXPECT_EQ(Count(Rgb(clBlack), {0, 0, 120, 50}), 0);
}

TEST(ShapeFigureTest, SquareVariantsAreCentredAndPenWidthInsetsTheBox) {
    EXPECT_EQ(ShapeFigureFor(TShapeType::stRectangle, 353, 1, 1).box, (TRect{0, 0, 353, 1}));
    EXPECT_EQ(ShapeFigureFor(TShapeType::stRectangle, 40, 20, 0).box, (TRect{0, 0, 40, 20}));
    EXPECT_EQ(ShapeFigureFor(TShapeType::stRectangle, 40, 20, 4).box, (TRect{2, 2, 39, 19}));
    EXPECT_EQ(ShapeFigureFor(TShapeType::stSquare, 40, 20, 1).box, (TRect{10, 0, 30, 20}));
    const ShapeFigure round = ShapeFigureFor(TShapeType::stRoundSquare, 20, 41, 1);
    EXPECT_EQ(round.box, (TRect{0, 10, 20, 30}));
    EXPECT_EQ(round.cornerWidth, 5);
    const ShapeFigure circle = ShapeFigureFor(TShapeType::stCircle, 40, 30, 2);
    EXPECT_EQ(circle.box, (TRect{1 + 5, 1, 1 + 5 + 29, 30}));
    EXPECT_EQ(circle.cornerWidth, 29);
}

TEST_F(ShapeTest, AWidePenCoversTheWholeControlEdge) {
    TShape shape;
    shape.SetBounds(0, 0, 40, 30);
    shape.Pen().SetWidth(3);
    shape.Pen().SetColor(clRed);
    shape.Brush().SetColor(clBlue);
    shape.SetParent(&host);
    Paint();
    EXPECT_EQ(Count(Rgb(clRed), {0, 0, 40, 30}), 40 * 30 - 34 * 24);
    EXPECT_EQ(Count(Rgb(clBlue), {3, 3, 37, 27}), 34 * 24);
    EXPECT_EQ(Pixel(*surface, 40, 0), Rgb(clGray));
}

TEST_F(ShapeTest, EllipsesAreSymmetricInsideTheirBoxWithAClosedOutline) {
    TShape circle;
    circle.SetShape(TShapeType::stCircle);
    circle.SetBounds(0, 0, 41, 31);
    circle.Brush().SetColor(clRed);
    circle.SetParent(&host);
    Paint();
    // Box 31 x 31 centred: columns 5..35.
    for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < 41; ++x) {
            const RgbQuad p = Pixel(*surface, x, y);
            EXPECT_EQ(p, Pixel(*surface, 40 - x, y)) << x << "," << y;
            EXPECT_EQ(p, Pixel(*surface, x, 30 - y)) << x << "," << y;
            if (x < 5 || x > 35) {
                EXPECT_EQ(p, Rgb(clGray)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(Pixel(*surface, 20, 0), Rgb(clBlack));
    EXPECT_EQ(Pixel(*surface, 5, 15), Rgb(clBlack));
    EXPECT_EQ(Pixel(*surface, 20, 15), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 5, 0), Rgb(clGray));  // the corners stay out
    // Every interior pixel's 4 neighbours are interior or outline: the outline has no gaps.
    for (int y = 1; y < 30; ++y)
        for (int x = 1; x < 40; ++x)
            if (Pixel(*surface, x, y) == Rgb(clRed)) {
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    EXPECT_NE(Pixel(*surface, x + dx, y + dy), Rgb(clGray)) << x << "," << y;
                }
            }
}

TEST_F(ShapeTest, ClearPenAndClearBrushLeaveTheirPartsUndrawn) {
    TShape shape;
    shape.SetBounds(10, 10, 20, 20);
    shape.Pen().SetStyle(TPenStyle::psClear);
    shape.Brush().SetColor(clBlue);
    shape.SetParent(&host);
    Paint();
    // Without a pen the right and bottom edge stay unpainted.
    EXPECT_EQ(Count(Rgb(clBlue), {0, 0, 120, 100}), 19 * 19);
    EXPECT_EQ(Pixel(*surface, 29, 15), Rgb(clGray));

    shape.Pen().SetStyle(TPenStyle::psSolid);
    shape.Brush().SetStyle(TBrushStyle::bsClear);
    Paint();
    EXPECT_EQ(Count(Rgb(clBlack), {10, 10, 30, 30}), 4 * 19);
    EXPECT_EQ(Pixel(*surface, 15, 15), Rgb(clGray));
}

TEST_F(ShapeTest, ChangingPenBrushOrShapeInvalidatesTheControl) {
    TShape shape;
    shape.SetBounds(10, 10, 20, 20);
    shape.SetParent(&host);
    for (auto change : {+[](TShape& s) { s.Pen().SetColor(clRed); },
                        +[](TShape& s) { s.Brush().SetColor(clRed); },
                        +[](TShape& s) { s.SetShape(TShapeType::stEllipse); }}) {
        host.TakeUpdateRect();
        change(shape);
        EXPECT_EQ(host.TakeUpdateRect(), (TRect{10, 10, 30, 30}));
    }
}

}  // namespace
}  // namespace kv
