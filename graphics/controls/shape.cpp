#include "graphics/controls/shape.h"

#include <algorithm>

namespace kv {

TShape::TShape() : pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    SetBounds(0, 0, 65, 65);
    pen_->OnChange = [this](TGraphicsObject&) { Invalidate(); };
    brush_->OnChange = [this](TGraphicsObject&) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType value) {
    if (value == shape_) return;
    shape_ = value;
    Invalidate();
}

void TShape::Paint() {
    TCanvas& canvas = ControlCanvas();
    const bool hasPen = pen_->Style() != TPenStyle::psClear;
    const bool hasBrush = brush_->Style() != TBrushStyle::bsClear;
    const ShapeFigure figure = ShapeFigureFor(shape_, Width(), Height(), pen_->Width());
    const ShapeRows rows(figure, pen_->Width(), hasPen);

    canvas.SetBrush(*brush_);
    // The outline is drawn row by row with a thin pen of the shape's colour and mode, so that
    // every pixel of a wide outline is mixed exactly once.
    canvas.SetPen(*pen_);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(TPenStyle::psSolid);

    const TRect clip = canvas.ClipRect();
    const int top = std::max(rows.Top(), clip.top);
    const int bottom = std::min(rows.Bottom(), clip.bottom);

    // Interior: rows with equal runs are filled together.
    if (hasBrush) {
        int runTop = top;
        RowSpan run = top < bottom ? rows.Inner(top) : RowSpan{};
        for (int y = top + 1; y <= bottom; ++y) {
            const RowSpan span = y < bottom ? rows.Inner(y) : RowSpan{};
            if (y < bottom && span.x0 == run.x0 && span.x1 == run.x1) continue;
            if (!run.Empty()) canvas.FillRect({run.x0, runTop, run.x1, y});
            run = span;
            runTop = y;
        }
    }
    if (!hasPen) return;
    auto drawRun = [&canvas](int x0, int x1, int y) {
        if (x1 <= x0) return;
        canvas.MoveTo(x0, y);
        canvas.LineTo(x1, y);
    };
    for (int y = top; y < bottom; ++y) {
        const RowSpan outer = rows.Outer(y);
        if (outer.Empty()) continue;
        const RowSpan inner = rows.Inner(y);
        if (inner.Empty()) {
            drawRun(outer.x0, outer.x1, y);
        } else {
            drawRun(outer.x0, std::min(inner.x0, outer.x1), y);
            drawRun(std::max(inner.x1, outer.x0), outer.x1, y);
        }
    }
}

}  // namespace kv
