#include "graphics/controls/shape_geometry.h"

#include <algorithm>
#include <cmath>

namespace kv {

ShapeFigure ShapeFigureFor(TShapeType shape, int width, int height, int penWidth) {
    const int p = std::max(penWidth, 0);
    int x = p / 2;
    int y = p / 2;
    int w = width - p + (p != 0 ? 1 : 0);
    int h = height - p + (p != 0 ? 1 : 0);
    const int s = std::min(w, h);
    const bool square = shape == TShapeType::stSquare || shape == TShapeType::stRoundSquare ||
                        shape == TShapeType::stCircle;
    if (square) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = h = s;
    }
    ShapeFigure figure;
    figure.box = RectOfSize(x, y, w, h);
    switch (shape) {
    case TShapeType::stRoundRect:
    case TShapeType::stRoundSquare:
        figure.cornerWidth = figure.cornerHeight = std::max(s / 4, 0);
        break;
    case TShapeType::stEllipse:
    case TShapeType::stCircle:
        figure.cornerWidth = std::max(w, 0);
        figure.cornerHeight = std::max(h, 0);
        break;
    default:
        break;
    }
    return figure;
}

ShapeRows::ShapeRows(const ShapeFigure& figure, int penWidth, bool hasPen) {
    const TRect& box = figure.box;
    const double rx = figure.cornerWidth / 2.0;
    const double ry = figure.cornerHeight / 2.0;
    if (box.IsEmpty()) return;
    if (!hasPen) {
        // Without a pen the platform leaves the right and bottom edge of the figure unpainted.
        outer_ = inner_ = {box.left, box.top, box.right - 1, box.bottom - 1};
        outerRx_ = innerRx_ = rx;
        outerRy_ = innerRy_ = ry;
        return;
    }
    const int p = std::max(penWidth, 1);
    // The pen is centred on the box edge: p / 2 pixels outside it, the rest inside.
    outer_ = {box.left - p / 2, box.top - p / 2, box.right + (p - 1) / 2, box.bottom + (p - 1) / 2};
    inner_ = {outer_.left + p, outer_.top + p, outer_.right - p, outer_.bottom - p};
    const double grow = (outer_.Width() - box.Width()) / 2.0;
    outerRx_ = rx > 0 ? rx + grow : 0;
    outerRy_ = ry > 0 ? ry + grow : 0;
    innerRx_ = std::max(outerRx_ - p, 0.0);
    innerRy_ = std::max(outerRy_ - p, 0.0);
}

RowSpan ShapeRows::SpanOf(const TRect& box, double rx, double ry, int y) {
    if (box.IsEmpty() || y < box.top || y >= box.bottom) return {};
    if (rx <= 0 || ry <= 0) return {box.left, box.right};
    rx = std::min(rx, box.Width() / 2.0);
    ry = std::min(ry, box.Height() / 2.0);
    // Pixel centres inside the figure: the straight middle, or inside a corner ellipse.
    const double yc = y + 0.5;
    const double cyTop = box.top + ry;
    const double cyBottom = box.bottom - ry;
    double dy = 0;
    if (yc < cyTop) dy = cyTop - yc;
    else if (yc > cyBottom) dy = yc - cyBottom;
    if (dy > ry) return {};
    const double t = dy / ry;
    const double dx = rx * std::sqrt(std::max(0.0, 1.0 - t * t));
    int x0 = static_cast<int>(std::ceil(box.left + rx - dx - 0.5));
    int x1 = static_cast<int>(std::floor(box.right - rx + dx - 0.5)) + 1;
    x0 = std::max(x0, box.left);
    x1 = std::min(x1, box.right);
    return {x0, x1};
}

RowSpan ShapeRows::Outer(int y) const { return SpanOf(outer_, outerRx_, outerRy_, y); }

RowSpan ShapeRows::Inner(int y) const { return SpanOf(inner_, innerRx_, innerRy_, y); }

}  // namespace kv
