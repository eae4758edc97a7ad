#pragma once
// TControl: a rectangle of a window that can be shown, hidden, moved and hit by the mouse.
// TGraphicControl: a control without a window of its own; its parent window (a TControlHost)
// paints it into the window's buffer through a canvas moved to the control and clipped to it.
#include <functional>
#include <memory>
#include <string>

#include "graphics/canvas.h"
#include "graphics/controls/mouse.h"
#include "graphics/geometry.h"

namespace kv {

class Dib;
class TControl;
class TControlHost;

using TNotifyEvent = std::function<void(TControl& sender)>;
using TMouseEvent = std::function<void(TControl& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TControl& sender, TShiftState shift, int x, int y)>;

class TControl {
public:
    TControl();
    // Leaves the parent (its area is invalidated, a held mouse capture is released).
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string value) { name_ = std::move(value); }

    // ---- bounds, in the parent's client coordinates ----
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    // Equal bounds change nothing. Otherwise the old area is invalidated, the bounds change and
    // the new area is invalidated (only while visible on a parent). Negative sizes count as 0.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return RectOfSize(left_, top_, width_, height_); }
    TRect ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return width_; }
    int ClientHeight() const { return height_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Disabled controls are passed over by the mouse.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) { cursor_ = value; }

    // ---- parent ----
    TControlHost* Parent() const { return parent_; }
    // Leaves the old parent (invalidating the area there) and joins the end of the new parent's
    // list (invalidating the area there). A control cannot be its own parent:
    // EInvalidOperation "A control cannot have itself as its parent".
    void SetParent(TControlHost* parent);

    // ---- painting ----
    // Asks the parent to repaint the control's area at its next paint.
    void Invalidate();
    // Repaints the control's area now: nothing unless visible on a parent.
    virtual void Refresh();
    void Repaint() { Refresh(); }
    // Whether painting covers every pixel of the bounds (what lies beneath need not be painted).
    virtual bool Opaque() const { return false; }
    // Paints the control with its top-left at `origin` of the storage, inside `clip` (storage
    // pixels). The host calls it; plain controls paint nothing.
    virtual void PaintTo(Dib& /*dib*/, TPoint /*origin*/, const TRect& /*clip*/) {}

    // ---- mouse ----
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnClick;

    // The host delivers mouse events through these (x, y relative to the control). Each calls the
    // event handler from a copy, so a handler may release the control while it runs.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();

    // Whether a left press on this control is waiting for its release (for the click).
    bool Clicked() const { return clicked_; }

protected:
    // Called after the bounds changed (before the new area is invalidated).
    virtual void BoundsChanged() {}

private:
    friend class TControlHost;

    std::string name_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool clicked_ = false;
    TCursor cursor_ = TCursor::crDefault;
    TControlHost* parent_ = nullptr;
};

class TGraphicControl : public TControl {
public:
    TGraphicControl();
    ~TGraphicControl() override;

    void PaintTo(Dib& dib, TPoint origin, const TRect& clip) override;
    // Whether the control is painting itself right now.
    bool Painting() const { return painting_; }

protected:
    // Draws the control on ControlCanvas(), whose (0, 0) is the control's top-left.
    virtual void Paint() {}
    TCanvas& ControlCanvas() { return *canvas_; }

private:
    std::unique_ptr<TCanvas> canvas_;
    bool painting_ = false;
};

}  // namespace kv
