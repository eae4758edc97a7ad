#pragma once
// Helpers for the control tests: a control that fills itself with one colour and counts its
// paints, and a bitmap the host is painted into.
#include <memory>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/color.h"
#include "graphics/controls/control.h"
#include "graphics/controls/control_host.h"

namespace kv::testing {

class SolidControl : public TGraphicControl {
public:
    SolidControl(TColor color, TRect bounds, bool opaque = false) : color_(color), opaque_(opaque) {
        SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    }
    bool Opaque() const override { return opaque_; }
    int paints = 0;
    // When set, the control tries to paint far beyond its own bounds.
    bool spill = false;
    // When set, only the left half is painted (as a picture with transparent pixels would).
    bool leftHalfOnly = false;

protected:
    void Paint() override {
        ++paints;
        ControlCanvas().Brush().SetColor(color_);
        TRect r = spill ? TRect{-1000, -1000, 1000, 1000} : ClientRect();
        if (leftHalfOnly) r.right = Width() / 2;
        ControlCanvas().FillRect(r);
    }

private:
    TColor color_;
    bool opaque_;
};

// A bitmap of the host's client size, pre-filled with `fill`.
inline std::unique_ptr<TBitmap> MakeSurface(int width, int height, TColor fill = clBlack) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas().Brush().SetColor(fill);
    bitmap->Canvas().FillRect({0, 0, width, height});
    return bitmap;
}

inline RgbQuad Pixel(const TBitmap& bitmap, int x, int y) { return bitmap.GetDib()->PixelAt(x, y); }
inline RgbQuad Rgb(TColor color) { return ColorToRgb(color); }

// Records every rectangle the host reports as invalidated.
struct InvalidationLog {
    std::vector<TRect> rects;
    void Attach(TControlHost& host) {
        host.OnInvalidate = [this](const TRect& r) { rects.push_back(r); };
    }
};

}  // namespace kv::testing
