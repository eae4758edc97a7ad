// The canvas of a bitmap and the list of bitmap canvases holding a context.
#include <mutex>
#include <unordered_set>

#include "graphics/bitmap.h"

namespace kv {

namespace {

// The bitmap canvases that hold a context now (released by FreeMemoryContexts).
std::mutex& CanvasListLock() {
    static std::mutex lock;
    return lock;
}
std::unordered_set<TBitmapCanvas*>& CanvasList() {
    static std::unordered_set<TBitmapCanvas*> list;
    return list;
}

TRect Bounds(const Dib& dib) { return {0, 0, dib.Width(), dib.Height()}; }

}  // namespace

// ---- TBitmapCanvas ------------------------------------------------------------------------

TBitmapCanvas::TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

TBitmapCanvas::~TBitmapCanvas() {
    std::lock_guard guard(CanvasListLock());
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
    std::lock_guard guard(CanvasListLock());
    CanvasList().insert(this);
}

void TBitmapCanvas::FreeHandle() {
    TCanvas::FreeHandle();
    std::lock_guard guard(CanvasListLock());
    CanvasList().erase(this);
}

bool TBitmapCanvas::FreeContext() {
    if (!TryLock()) return false;
    if (HandleAllocated()) TCanvas::FreeHandle();
    Unlock();
    return true;
}

Dib* TBitmapCanvas::TargetDib() { return bitmap_.image_->dib.get(); }

TRect TBitmapCanvas::TargetClip() {
    Dib* dib = TargetDib();
    return dib ? Bounds(*dib) : TRect{};
}

void FreeMemoryContexts() {
    std::lock_guard guard(CanvasListLock());
    auto& list = CanvasList();
    for (auto it = list.begin(); it != list.end();) {
        if ((*it)->FreeContext()) {
            it = list.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace kv
