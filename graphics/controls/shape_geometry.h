#pragma once
// The figure of a shape control and its rows: where the pen outline and the brush interior of a
// rectangle, rounded rectangle or ellipse lie, row by row. Every figure is convex, so each row
// of it is one run of pixels.
#include "graphics/geometry.h"

namespace kv {

enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// The box a shape of the given type draws in a control of width x height with a pen of penWidth:
// the pen's centre line runs along it (right and bottom exclusive).
struct ShapeFigure {
    TRect box;
    int cornerWidth = 0;   // corner ellipse of the round variants; the box itself for ellipses
    int cornerHeight = 0;
};
ShapeFigure ShapeFigureFor(TShapeType shape, int width, int height, int penWidth);

// A run of pixels in one row, [x0, x1); empty when x1 <= x0.
struct RowSpan {
    int x0 = 0, x1 = 0;
    bool Empty() const { return x1 <= x0; }
};

// The rows of a figure drawn with a pen of width penWidth (0 counts as 1): the pen covers the
// outer figure minus the inner one; the brush fills the inner one. Without a pen (hasPen false)
// the brush fills the figure up to, not including, its right and bottom edge.
class ShapeRows {
public:
    ShapeRows(const ShapeFigure& figure, int penWidth, bool hasPen);

    // The rows [Top(), Bottom()) hold pixels.
    int Top() const { return outer_.top; }
    int Bottom() const { return outer_.bottom; }
    // Everything the figure covers in row y (pen and interior).
    RowSpan Outer(int y) const;
    // The interior of row y (filled with the brush).
    RowSpan Inner(int y) const;

private:
    static RowSpan SpanOf(const TRect& box, double rx, double ry, int y);

    TRect outer_, inner_;
    double outerRx_ = 0, outerRy_ = 0, innerRx_ = 0, innerRy_ = 0;
};

}  // namespace kv
