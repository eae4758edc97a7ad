#include "graphics/controls/control_host.h"

#include <algorithm>

#include "graphics/dib.h"

namespace kv {

namespace {

TRect Union(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// What is left of r once cut is taken out: up to four rectangles (above, below, left, right).
void Subtract(const TRect& r, const TRect& cut, std::vector<TRect>& out) {
    const TRect overlap = r.Intersect(cut);
    if (overlap.IsEmpty()) {
        out.push_back(r);
        return;
    }
    if (r.top < overlap.top) out.push_back({r.left, r.top, r.right, overlap.top});
    if (overlap.bottom < r.bottom) out.push_back({r.left, overlap.bottom, r.right, r.bottom});
    if (r.left < overlap.left) out.push_back({r.left, overlap.top, overlap.left, overlap.bottom});
    if (overlap.right < r.right) out.push_back({overlap.right, overlap.top, r.right, overlap.bottom});
}

}  // namespace

// Marks one mouse event's delivery: while any delivery runs, released controls wait; when the
// outermost one ends they are destroyed.
class TControlHost::DeliveryScope {
public:
    DeliveryScope(TControlHost& host, TControl* target) : host_(host) {
        delivery_.target = target;
        host_.deliveries_.push_back(&delivery_);
    }
    ~DeliveryScope() {
        host_.deliveries_.pop_back();
        if (host_.deliveries_.empty()) host_.FlushPendingReleases();
    }
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;

    // The target is still on the host and may be given the next part of the event.
    bool Alive() const { return !delivery_.gone; }

private:
    TControlHost& host_;
    Delivery delivery_;
};

TControlHost::TControlHost() : color_(clBtnFace), backgroundCanvas_(std::make_unique<TCanvas>()) {}

TControlHost::~TControlHost() {
    for (TControl* control : controls_) control->parent_ = nullptr;
    controls_.clear();
    capture_ = nullptr;
    pendingRelease_.clear();
}

void TControlHost::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    Invalidate();
}

void TControlHost::SetClientSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == clientWidth_ && height == clientHeight_) return;
    clientWidth_ = width;
    clientHeight_ = height;
    Invalidate();
}

int TControlHost::IndexOf(const TControl* control) const {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

TControl* TControlHost::ControlAtPos(TPoint point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* control = *it;
        if (control->Visible() && control->Enabled() && control->BoundsRect().Contains(point)) return control;
    }
    return nullptr;
}

// ---- list ----

void TControlHost::InsertControl(TControl& control) {
    controls_.push_back(&control);
    control.parent_ = this;
    InvalidateControl(control);
}

void TControlHost::RemoveControl(TControl& control) {
    InvalidateControl(control);
    auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it != controls_.end()) controls_.erase(it);
    control.parent_ = nullptr;
    control.clicked_ = false;
    if (capture_ == &control) capture_ = nullptr;
    for (Delivery* delivery : deliveries_)
        if (delivery->target == &control) delivery->gone = true;
}

// ---- invalidation ----

void TControlHost::InvalidateControl(const TControl& control) {
    if (control.Visible()) InvalidateRect(control.BoundsRect());
}

void TControlHost::InvalidateRect(const TRect& rect) {
    TRect r = rect;
    if (clientWidth_ > 0 && clientHeight_ > 0) r = r.Intersect(ClientRect());
    if (r.IsEmpty()) return;
    updateRect_ = Union(updateRect_, r);
    if (OnInvalidate) OnInvalidate(r);
}

TRect TControlHost::TakeUpdateRect() {
    TRect r = updateRect_;
    updateRect_ = {};
    return r;
}

void TControlHost::Update() {
    if (OnUpdate) OnUpdate();
}

void TControlHost::Refresh() {
    Invalidate();
    Update();
}

// ---- painting ----

std::vector<TRect> TControlHost::UncoveredParts(const TRect& area) const {
    std::vector<TRect> parts{area};
    for (const TControl* control : controls_) {
        if (!control->Visible() || !control->Opaque()) continue;
        std::vector<TRect> rest;
        for (const TRect& part : parts) Subtract(part, control->BoundsRect(), rest);
        parts = std::move(rest);
    }
    return parts;
}

void TControlHost::PaintRegion(TCanvas& canvas, const TRect& region) {
    // The target may be a bitmap shared with another one: let it copy before we write into it.
    canvas.Changing();
    const TCanvas::Target target = canvas.RequiredState({TCanvasStateItem::csHandleValid});
    if (!target.dib) {
        canvas.Changed();
        return;
    }
    Dib& dib = *target.dib;
    const TPoint origin = target.origin;
    const TRect clip = target.clip.Intersect(region.Offset(origin.x, origin.y));
    if (clip.IsEmpty()) {
        canvas.Changed();
        return;
    }
    const TRect area = clip.Offset(-origin.x, -origin.y);  // what is painted, client coordinates

    // The window paints into its off-screen buffer, so the background is erased everywhere, under
    // opaque controls too: a picture that leaves some of its pixels alone (a GIF's transparent
    // colour) must show the window's colour there, never what the buffer held before.
    {
        backgroundCanvas_->SetHandle(&dib, origin, &clip);
        struct Detach {
            TCanvas& canvas;
            ~Detach() { canvas.SetHandle(nullptr); }
        } detach{*backgroundCanvas_};
        backgroundCanvas_->Brush().SetColor(color_);
        backgroundCanvas_->Brush().SetStyle(TBrushStyle::bsSolid);
        backgroundCanvas_->FillRect(area);
        // Opaque controls are left out only of the window's own content.
        if (OnPaint) {
            for (const TRect& part : UncoveredParts(area)) {
                const TRect partClip = part.Offset(origin.x, origin.y);
                backgroundCanvas_->SetHandle(&dib, origin, &partClip);
                OnPaint(*backgroundCanvas_, part);
            }
        }
    }

    for (size_t i = 0; i < controls_.size(); ++i) {
        TControl& control = *controls_[i];
        if (!control.Visible()) continue;
        const TRect bounds = control.BoundsRect().Offset(origin.x, origin.y);
        const TRect controlClip = clip.Intersect(bounds);
        if (controlClip.IsEmpty()) continue;
        control.PaintTo(dib, {bounds.left, bounds.top}, controlClip);
    }
    canvas.Changed();
}

// ---- mouse ----

void TControlHost::ReleaseCapture() { capture_ = nullptr; }

void TControlHost::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TControl* target = capture_ ? capture_ : ControlAtPos({x, y});
    if (!target) return;
    DeliveryScope scope(*this, target);
    if (button == TMouseButton::mbLeft && !capture_) {
        // Graphic controls keep the mouse from a left press to its release.
        capture_ = target;
        target->clicked_ = true;
    }
    target->MouseDown(button, shift, x - target->Left(), y - target->Top());
}

void TControlHost::MouseMove(TShiftState shift, int x, int y) {
    TControl* target = capture_ ? capture_ : ControlAtPos({x, y});
    if (!target) return;
    DeliveryScope scope(*this, target);
    target->MouseMove(shift, x - target->Left(), y - target->Top());
}

void TControlHost::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TControl* target = capture_ ? capture_ : ControlAtPos({x, y});
    if (!target) return;
    DeliveryScope scope(*this, target);
    if (button == TMouseButton::mbLeft) {
        if (capture_ == target) capture_ = nullptr;
        if (target->clicked_) {
            target->clicked_ = false;
            if (target->BoundsRect().Contains({x, y})) target->Click();
            if (!scope.Alive()) return;
        }
    }
    target->MouseUp(button, shift, x - target->Left(), y - target->Top());
}

// ---- deferred release ----

void TControlHost::ReleaseLater(std::unique_ptr<TControl> control) {
    if (!control) return;
    control->SetParent(nullptr);
    if (deliveries_.empty()) {
        control.reset();
        return;
    }
    pendingRelease_.push_back(std::move(control));
}

void TControlHost::FlushPendingReleases() {
    // Destroying a control runs no handler of ours, but take the list first all the same.
    std::vector<std::unique_ptr<TControl>> released = std::move(pendingRelease_);
    pendingRelease_.clear();
    released.clear();
}

}  // namespace kv
