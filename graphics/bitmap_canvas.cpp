// The canvas of a bitmap and the list of bitmap canvases holding a context.
#include <unordered_set>

#include "graphics/bitmap.h"
#include "graphics/bitmap_internal.h"

namespace kv {

namespace {

// The bitmap canvases that hold a context now (released by FreeMemoryContexts).
std::unordered_set<TBitmapCanvas*>& CanvasList() {
    static std::unordered_set<TBitmapCanvas*> list;
    return list;
}

}  // namespace

// ---- TBitmapCanvas ------------------------------------------------------------------------

TBitmapCanvas::TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

TBitmapCanvas::~TBitmapCanvas() {
    CanvasList().erase(this);
}

void TBitmapCanvas::Changing() {
    bitmap_.Changing();
    TCanvas::Changing();
}

void TBitmapCanvas::Changed() {
    TCanvas::Changed();
    bitmap_.NotifyChanged();
}

void TBitmapCanvas::CreateHandle() {
    bitmap_.EnsureStorage();
    CanvasList().insert(this);
}

void TBitmapCanvas::FreeHandle() {
    TCanvas::FreeHandle();
    CanvasList().erase(this);
}

void TBitmapCanvas::FreeContext() {
    if (HandleAllocated()) TCanvas::FreeHandle();
}

Dib* TBitmapCanvas::TargetDib() { return bitmap_.image_->dib.get(); }

TRect TBitmapCanvas::TargetClip() {
    Dib* dib = TargetDib();
    return dib ? Bounds(*dib) : TRect{};
}

void FreeMemoryContexts() {
    auto& list = CanvasList();
    for (auto it = list.begin(); it != list.end(); it = list.erase(it)) (*it)->FreeContext();
}

}  // namespace kv
