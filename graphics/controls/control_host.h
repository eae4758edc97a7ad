#pragma once
// TControlHost: the part of a window that holds its graphic controls. It keeps them in the order
// they were given the window as parent (later ones are drawn over earlier ones and are hit first),
// paints a region of the client area into any canvas, collects invalidated rectangles and routes
// the window's mouse events to the controls, with capture from a left press to its release.
//
// The host knows no toolkit: the window feeds it plain mouse calls, learns about invalidated
// rectangles through OnInvalidate, and paints by calling PaintRegion with a canvas over its
// buffer. Tests do the same with a bitmap's canvas.
#include <functional>
#include <memory>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/color.h"
#include "graphics/controls/control.h"
#include "graphics/controls/mouse.h"
#include "graphics/geometry.h"

namespace kv {

class TControlHost {
public:
    TControlHost();
    // Controls still on the host are detached (not destroyed: their owners hold them); controls
    // waiting for a deferred release are destroyed.
    virtual ~TControlHost();
    TControlHost(const TControlHost&) = delete;
    TControlHost& operator=(const TControlHost&) = delete;

    // ---- client area ----
    // The background colour painted under the controls (default clBtnFace).
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    TRect ClientRect() const { return {0, 0, clientWidth_, clientHeight_}; }
    void SetClientSize(int width, int height);

    // ---- controls, in stacking order (first = lowest) ----
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    int IndexOf(const TControl* control) const;
    // The last visible, enabled control whose bounds hold the point (client coordinates).
    TControl* ControlAtPos(TPoint point) const;

    // ---- invalidation and painting ----
    // Marks a rectangle of the client area for the next paint (an empty size means no clipping
    // to the client area yet). Tells the window through OnInvalidate.
    void InvalidateRect(const TRect& rect);
    void Invalidate() { InvalidateRect(ClientRect()); }
    // The bounding rectangle of everything invalidated since the last TakeUpdateRect.
    TRect UpdateRect() const { return updateRect_; }
    TRect TakeUpdateRect();
    // Has the window paint what is pending now (OnUpdate); without a window nothing happens.
    void Update();
    // Invalidates the whole client area and has it painted now.
    void Refresh();
    // Paints the region (client coordinates; the canvas's (0, 0) is the client's top-left):
    // the background erased everywhere and OnPaint outside the visible opaque controls first,
    // then every visible control that meets the region, in list order, each clipped to its
    // bounds.
    void PaintRegion(TCanvas& canvas, const TRect& region);

    // A rectangle (client coordinates) was invalidated; the window schedules a paint of it.
    std::function<void(const TRect& rect)> OnInvalidate;
    // The window should process its pending paint now.
    std::function<void()> OnUpdate;
    // The window's own content, drawn after the background and before the controls.
    std::function<void(TCanvas& canvas, const TRect& region)> OnPaint;

    // ---- mouse ----
    // Client coordinates; the pointer may lie outside the client area while the mouse is captured.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The control that receives every mouse event until the left button is released.
    TControl* MouseCapture() const { return capture_; }
    void ReleaseCapture();

    // ---- deferred release ----
    // Takes the control out of the host now (its area is invalidated) and destroys it once the
    // mouse event being delivered has been delivered completely, or at once when no event is
    // being delivered. A handler may use it to release the control whose event it handles.
    void ReleaseLater(std::unique_ptr<TControl> control);
    // Whether a mouse event is being delivered.
    bool Delivering() const { return !deliveries_.empty(); }
    // How many released controls wait for the end of the delivery.
    int PendingReleaseCount() const { return static_cast<int>(pendingRelease_.size()); }

private:
    friend class TControl;

    // Called by TControl::SetParent and its destructor.
    void InsertControl(TControl& control);
    void RemoveControl(TControl& control);
    // The rectangle a control leaves or takes: invalidated when the control is visible.
    void InvalidateControl(const TControl& control);
    // The parts of the area (client coordinates) that no visible opaque control covers.
    std::vector<TRect> UncoveredParts(const TRect& area) const;

    // One mouse event being delivered to one control; the control may leave the host meanwhile.
    struct Delivery {
        TControl* target = nullptr;
        bool gone = false;
    };
    class DeliveryScope;
    void FlushPendingReleases();

    std::vector<TControl*> controls_;
    TColor color_;
    int clientWidth_ = 0, clientHeight_ = 0;
    TRect updateRect_;
    TControl* capture_ = nullptr;
    std::vector<Delivery*> deliveries_;
    std::vector<std::unique_ptr<TControl>> pendingRelease_;
    std::unique_ptr<TCanvas> backgroundCanvas_;
};

}  // namespace kv
