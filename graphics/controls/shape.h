#pragma once
// TShape: a graphic control that draws a rectangle, square, rounded rectangle or square, ellipse
// or circle with its own pen (outline) and brush (interior). The about box uses a 353 x 1 one as
// a rule.
#include <memory>

#include "graphics/controls/control.h"
#include "graphics/controls/shape_geometry.h"
#include "graphics/tools.h"

namespace kv {

class TShape : public TGraphicControl {
public:
    TShape();  // 65 x 65, black 1-pixel pen, white solid brush, stRectangle
    ~TShape() override;

    // Changing the pen or the brush repaints the shape.
    TPen& Pen() { return *pen_; }
    TBrush& Brush() { return *brush_; }
    void SetPen(const TPen& value) { pen_->Assign(value); }
    void SetBrush(const TBrush& value) { brush_->Assign(value); }
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType value);

protected:
    void Paint() override;

private:
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    TShapeType shape_ = TShapeType::stRectangle;
};

}  // namespace kv
