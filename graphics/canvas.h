#pragma once
// TCanvas: a drawing surface with a pen, a brush and a font, drawing into pixel storage (Dib).
//
// The surface does not own its pixels. Subclasses say where they are through the target hooks:
// a bitmap's canvas draws into the bitmap's storage, a control's canvas into the window buffer
// moved to the control's position and clipped to its bounds. A plain TCanvas draws into whatever
// storage was handed to it with SetHandle (nothing: "Canvas does not allow drawing").
//
// Tools are "selected" lazily as in the state set below: an operation makes sure what it needs is
// valid, and changing a tool drops its state bit, so a change shows at the next operation.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "graphics/color.h"
#include "graphics/geometry.h"
#include "graphics/raster.h"
#include "graphics/tools.h"
#include "runtime/enum_set.h"

namespace kv {

class Dib;
class TGraphic;
class TCanvas;

enum class TCanvasStateItem : uint8_t { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
using TCanvasState = EnumSet<TCanvasStateItem>;

using TCanvasNotifyEvent = std::function<void(TCanvas& sender)>;

class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return *pen_; }
    TBrush& Brush() { return *brush_; }
    TFont& Font() { return *font_; }
    const TPen& Pen() const { return *pen_; }
    const TBrush& Brush() const { return *brush_; }
    const TFont& Font() const { return *font_; }
    // Replacing a tool copies the attributes of the given one.
    void SetPen(const TPen& value) { pen_->Assign(value); }
    void SetBrush(const TBrush& value) { brush_->Assign(value); }
    void SetFont(const TFont& value) { font_->Assign(value); }

    TPoint PenPos() const { return penPos_; }
    uint32_t CopyMode() const { return copyMode_; }
    void SetCopyMode(uint32_t value) { copyMode_ = value; }
    TCanvasState State() const { return state_; }

    // ---- operations ----
    // Fills left <= x < right, top <= y < bottom with the brush; empty rectangles change nothing.
    void FillRect(const TRect& rect);
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y), the end point not drawn; the position moves there.
    void LineTo(int x, int y);
    // UTF-8 text with its cell's top-left at (x, y), glyphs in the font colour, the cell filled
    // with the brush colour first when the brush is bsSolid. The pen position becomes
    // (x + text width, y).
    void TextOut(int x, int y, std::string_view text);
    kv::TextExtent TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).width; }
    int TextHeight(std::string_view text) { return TextExtent(text).height; }
    // Copies source's sourceRect onto destRect with this canvas's copy mode (nearest pixel when the
    // sizes differ). The source must be drawable too.
    void CopyRect(const TRect& destRect, TCanvas& source, const TRect& sourceRect);
    // Asks the graphic to draw itself into rect; nothing without a graphic.
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Draws the graphic at its own size with its top-left at (x, y).
    void Draw(int x, int y, TGraphic* graphic);
    // Puts the stock tools back: font, pen and brush count as not selected.
    void Refresh();

    // The clip rectangle in canvas coordinates (empty without a target).
    TRect ClipRect();
    // Whether the canvas has a drawing context now.
    bool HandleAllocated() const { return state_.Contains(TCanvasStateItem::csHandleValid); }
    // Gives a plain canvas a target: the storage, where the canvas's (0, 0) lies in it, and the
    // clip in storage pixels. nullptr takes the target away.
    void SetHandle(Dib* dib, TPoint origin = {}, const TRect* clip = nullptr);

    // Before-change and after-change events of every drawing operation.
    TCanvasNotifyEvent OnChanging;
    TCanvasNotifyEvent OnChange;

    // ---- for the drawing of pictures (Draw of a graphic calls these) ----
    // The target as the raster layer needs it; valid after RequiredState(csHandleValid).
    struct Target {
        Dib* dib = nullptr;   // nullptr: nothing to draw on (an empty bitmap)
        TPoint origin;        // storage position of canvas (0, 0)
        TRect clip;           // in storage pixels, inside the storage
    };
    // Makes sure the named state items are valid (creating the context first) and returns the
    // target. Raises EInvalidOperation "Canvas does not allow drawing" without a context.
    Target RequiredState(TCanvasState required);
    // Copies a whole picture stored in src onto rect of this canvas, nearest pixel, copy mode
    // of this canvas; transparent pixels skipped when transparentColor is given.
    void StretchDib(const TRect& rect, const Dib& src, const TRect& srcRect, const RgbQuad* transparentColor = nullptr);
    // Fires the before-change / after-change steps (for pictures that draw several primitives).
    virtual void Changing();
    virtual void Changed();

protected:
    // Context hooks. CreateHandle makes the context (the default uses the handle given with
    // SetHandle and raises when there is none); FreeHandle drops it (tools become unselected).
    virtual void CreateHandle();
    virtual void FreeHandle();
    // Where the pixels are; asked after CreateHandle at every operation.
    virtual Dib* TargetDib();
    virtual TPoint TargetOrigin();
    virtual TRect TargetClip();

private:
    void ToolChanged(TCanvasStateItem item);
    void ThrowNoDrawing() const;

    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TFont> font_;
    TPoint penPos_;
    uint32_t copyMode_ = kSrcCopy;
    TCanvasState state_;

    Dib* handleDib_ = nullptr;
    TPoint handleOrigin_;
    TRect handleClip_;
    bool handleHasClip_ = false;
};

}  // namespace kv
