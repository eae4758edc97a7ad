#include "graphics/controls/control.h"

#include <algorithm>

#include "graphics/controls/control_host.h"
#include "runtime/exceptions.h"

namespace kv {

TControl::TControl() = default;

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(*this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (parent_) parent_->InvalidateControl(*this);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    if (parent_) parent_->InvalidateControl(*this);
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    if (!value && parent_) parent_->InvalidateControl(*this);
    visible_ = value;
    if (value && parent_) parent_->InvalidateControl(*this);
    if (!value && parent_ && parent_->MouseCapture() == this) parent_->ReleaseCapture();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Invalidate();
}

void TControl::SetParent(TControlHost* parent) {
    if (parent == parent_) return;
    if (parent && dynamic_cast<TControl*>(parent) == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(*this);
    if (parent) parent->InsertControl(*this);
}

void TControl::Invalidate() {
    if (parent_) parent_->InvalidateControl(*this);
}

void TControl::Refresh() {
    if (!visible_ || !parent_) return;
    parent_->InvalidateRect(BoundsRect());
    parent_->Update();
}

// Handlers run from a copy: a handler that releases its own control destroys the control's
// std::function, and the running one must outlive that.
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (TMouseEvent handler = OnMouseDown) handler(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (TMouseMoveEvent handler = OnMouseMove) handler(*this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (TMouseEvent handler = OnMouseUp) handler(*this, button, shift, x, y);
}

void TControl::Click() {
    if (TNotifyEvent handler = OnClick) handler(*this);
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl() : canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(Dib& dib, TPoint origin, const TRect& clip) {
    // The canvas points into the window's buffer only while the control paints.
    struct Scope {
        TGraphicControl& control;
        ~Scope() {
            control.painting_ = false;
            control.canvas_->SetHandle(nullptr);
        }
    } scope{*this};
    canvas_->SetHandle(&dib, origin, &clip);
    painting_ = true;
    Paint();
}

}  // namespace kv
