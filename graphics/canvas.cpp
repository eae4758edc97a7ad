#include "graphics/canvas.h"

#include "graphics/dib.h"
#include "graphics/font_engine.h"
#include "graphics/graphic.h"
#include "runtime/exceptions.h"

namespace kv {

namespace {

constexpr TCanvasState kAllValid{TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid,
                                 TCanvasStateItem::csPenValid, TCanvasStateItem::csBrushValid};

TRect StorageBounds(const Dib& dib) { return {0, 0, dib.Width(), dib.Height()}; }

}  // namespace

TCanvas::TCanvas()
    : pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()), font_(std::make_unique<TFont>()) {
    pen_->OnChange = [this](TGraphicsObject&) { ToolChanged(TCanvasStateItem::csPenValid); };
    brush_->OnChange = [this](TGraphicsObject&) { ToolChanged(TCanvasStateItem::csBrushValid); };
    font_->OnChange = [this](TGraphicsObject&) { ToolChanged(TCanvasStateItem::csFontValid); };
}

TCanvas::~TCanvas() = default;

void TCanvas::ToolChanged(TCanvasStateItem item) {
    // The stock object replaces the tool in the context; the next operation selects it again.
    state_.Exclude(item);
}

void TCanvas::ThrowNoDrawing() const { throw EInvalidOperation("Canvas does not allow drawing"); }

// ---- context hooks ----

void TCanvas::CreateHandle() {
    if (!handleDib_) ThrowNoDrawing();
}

void TCanvas::FreeHandle() { state_ = TCanvasState{}; }

Dib* TCanvas::TargetDib() { return handleDib_; }
TPoint TCanvas::TargetOrigin() { return handleOrigin_; }
TRect TCanvas::TargetClip() {
    Dib* dib = TargetDib();
    if (!dib) return {};
    TRect bounds = StorageBounds(*dib);
    return handleHasClip_ ? bounds.Intersect(handleClip_) : bounds;
}

void TCanvas::SetHandle(Dib* dib, TPoint origin, const TRect* clip) {
    if (handleDib_ && handleDib_ != dib) FreeHandle();
    handleDib_ = dib;
    handleOrigin_ = origin;
    handleHasClip_ = clip != nullptr;
    if (clip) handleClip_ = *clip;
    if (dib) state_.Include(TCanvasStateItem::csHandleValid);
}

TCanvas::Target TCanvas::RequiredState(TCanvasState required) {
    if (!state_.ContainsAll(required)) {
        if (required.Contains(TCanvasStateItem::csHandleValid) &&
            !state_.Contains(TCanvasStateItem::csHandleValid)) {
            CreateHandle();
            state_.Include(TCanvasStateItem::csHandleValid);
        }
        // Tools are read at drawing time; selecting one only records that it is in use.
        if (required.Contains(TCanvasStateItem::csFontValid)) state_.Include(TCanvasStateItem::csFontValid);
        if (required.Contains(TCanvasStateItem::csPenValid)) state_.Include(TCanvasStateItem::csPenValid);
        if (required.Contains(TCanvasStateItem::csBrushValid)) state_.Include(TCanvasStateItem::csBrushValid);
    }
    Target target;
    target.dib = TargetDib();
    if (target.dib) {
        target.origin = TargetOrigin();
        target.clip = TargetClip().Intersect(StorageBounds(*target.dib));
    }
    return target;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(*this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(*this);
}

// ---- operations ----

void TCanvas::FillRect(const TRect& rect) {
    Changing();
    Target t = RequiredState({TCanvasStateItem::csHandleValid, TCanvasStateItem::csBrushValid});
    if (t.dib) {
        kv::FillRect(*t.dib, t.clip, rect.Offset(t.origin.x, t.origin.y), brush_->ToRaster(), brush_->ToBackground());
    }
    Changed();
}

void TCanvas::MoveTo(int x, int y) {
    RequiredState({TCanvasStateItem::csHandleValid});
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    Target t = RequiredState(
        {TCanvasStateItem::csHandleValid, TCanvasStateItem::csPenValid, TCanvasStateItem::csBrushValid});
    if (t.dib) {
        const TPoint from{penPos_.x + t.origin.x, penPos_.y + t.origin.y};
        const TPoint to{x + t.origin.x, y + t.origin.y};
        kv::LineTo(*t.dib, t.clip, from, to, pen_->ToRaster(), brush_->ToBackground());
    }
    penPos_ = {x, y};
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    Changing();
    Target t = RequiredState(
        {TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid, TCanvasStateItem::csBrushValid});
    const FontRequest request = font_->ToRequest();
    int width = 0;
    if (t.dib) {
        const TextMask mask = FontEngine::Instance().Render(request, text);
        DrawTextMask(*t.dib, t.clip, x + t.origin.x, y + t.origin.y, mask, ColorToRgb(font_->Color()),
                     brush_->ToBackground());
        width = mask.width;
    } else {
        width = FontEngine::Instance().Measure(request, text).width;
    }
    penPos_ = {x + width, y};
    Changed();
}

kv::TextExtent TCanvas::TextExtent(std::string_view text) {
    RequiredState({TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid});
    return FontEngine::Instance().Measure(font_->ToRequest(), text);
}

void TCanvas::CopyRect(const TRect& destRect, TCanvas& source, const TRect& sourceRect) {
    Changing();
    Target t = RequiredState(
        {TCanvasStateItem::csHandleValid, TCanvasStateItem::csFontValid, TCanvasStateItem::csBrushValid});
    Target s = source.RequiredState({TCanvasStateItem::csHandleValid, TCanvasStateItem::csBrushValid});
    if (t.dib && s.dib) {
        const TRect dst = destRect.Offset(t.origin.x, t.origin.y);
        TRect src = sourceRect.Offset(s.origin.x, s.origin.y);
        const RgbQuad pattern = ColorToRgb(brush_->Color());
        if (t.dib == s.dib && !dst.Normalized().Intersect(src.Normalized()).IsEmpty()) {
            // Copying within one storage onto itself: take the source pixels first.
            const TRect n = src.Normalized().Intersect(StorageBounds(*s.dib));
            if (!n.IsEmpty()) {
                DibDescription d = s.dib->Description();
                d.width = n.Width();
                d.height = d.height < 0 ? -n.Height() : n.Height();
                Dib copy(d, s.dib->Palette());
                StretchCopy(copy, StorageBounds(copy), StorageBounds(copy), *s.dib, n);
                src = src.Offset(-n.left, -n.top);
                StretchCopy(*t.dib, t.clip, dst, copy, src, copyMode_, pattern);
            }
        } else {
            StretchCopy(*t.dib, t.clip, dst, *s.dib, src, copyMode_, pattern);
        }
    }
    Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (!graphic) return;
    Changing();
    RequiredState(kAllValid);
    graphic->Draw(*this, rect);
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    RequiredState({TCanvasStateItem::csHandleValid});
    graphic->Draw(*this, TRect{x, y, x + graphic->Width(), y + graphic->Height()});
    Changed();
}

void TCanvas::StretchDib(const TRect& rect, const Dib& src, const TRect& srcRect, const RgbQuad* transparentColor) {
    Target t = RequiredState(kAllValid);
    if (!t.dib) return;
    const TRect dst = rect.Offset(t.origin.x, t.origin.y);
    // A picture drawn onto its own storage is read from a copy, never while it is overwritten.
    std::unique_ptr<Dib> copy = &src == t.dib ? src.Clone() : nullptr;
    const Dib& source = copy ? *copy : src;
    if (transparentColor) {
        std::unique_ptr<Dib> mask = MakeMask(source, *transparentColor);
        MaskedCopy(*t.dib, t.clip, dst, source, srcRect, *mask, copyMode_);
    } else {
        StretchCopy(*t.dib, t.clip, dst, source, srcRect, copyMode_, ColorToRgb(brush_->Color()));
    }
}

void TCanvas::Refresh() {
    if (!state_.Contains(TCanvasStateItem::csHandleValid)) return;
    state_.Exclude(TCanvasStateItem::csFontValid);
    state_.Exclude(TCanvasStateItem::csPenValid);
    state_.Exclude(TCanvasStateItem::csBrushValid);
}

TRect TCanvas::ClipRect() {
    Target t = RequiredState({TCanvasStateItem::csHandleValid});
    if (!t.dib) return {};
    return t.clip.Offset(-t.origin.x, -t.origin.y);
}

}  // namespace kv
