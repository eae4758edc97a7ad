#include "codecs/gif/gif_image.h"

#include <algorithm>
#include <thread>

#include "graphics/canvas.h"
#include "graphics/dib.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "runtime/thread.h"

namespace kv {

void ForwardGifWarning(TGIFImage* image, int severity, const std::string& message) {
    if (image) image->ReportWarning(severity, message);
}

TGIFImage::TGIFImage() : header_(this), frames_(this) {}

TGIFImage::~TGIFImage() {
    StopAll();
}

void TGIFImage::ReportWarning(int severity, const std::string& message) {
    if (WarningHandler) WarningHandler(*this, severity, message);
}

void TGIFImage::Clear() {
    StopAll();
    bitmap_.reset();
    frames_.Clear();
    header_.Clear();
    claimedPixelBytes_ = 0;
}

void TGIFImage::Assign(const TGraphic* source) {
    const auto* gif = dynamic_cast<const TGIFImage*>(source);
    if (!gif) {
        TGraphic::Assign(source);
        return;
    }
    if (gif == this) return;
    Clear();
    try {
        header_.CopyFrom(gif->header_);
        for (const auto& frame : gif->frames_) {
            ClaimPixelStorage(sizeof(TGIFSubImage) + frame->PixelBytes() +
                              kGifExtensionCharge * static_cast<uint64_t>(frame->ExtensionBlocks().Count()));
            auto copy = std::make_unique<TGIFSubImage>(this);
            copy->CopyFrom(*frame);
            frames_.Add(std::move(copy));
        }
    } catch (...) {
        Clear();
        throw;
    }
    PaintFlags = gif->PaintFlags;
    PlaySpeed = gif->PlaySpeed;
    ActiveFrame = gif->ActiveFrame;
    BackgroundOverride = gif->BackgroundOverride;
    SetPaletteModified(true);
    Changed();
}

void TGIFImage::ClaimPixelStorage(uint64_t bytes) {
    const uint64_t limit = std::min(PixelStorageLimit, kMaxStorageBytes);
    if (bytes > limit || claimedPixelBytes_ + bytes > limit)
        throw EOutOfResources(kOutOfResourcesText);
    claimedPixelBytes_ += bytes;
}

void TGIFImage::FrameLoaded(TStream& stream) {
    const int64_t size = stream.Size();
    const int64_t percent = size > 0 ? std::clamp<int64_t>(stream.Position() * 100 / size, 0, 100) : 0;
    Progress(TProgressStage::psRunning, static_cast<uint8_t>(percent), false, TRect{}, kGifLoadingText);
}

void TGIFImage::RenderProgress(TProgressStage stage, int percent) {
    Progress(stage, static_cast<uint8_t>(std::clamp(percent, 0, 100)), false, TRect{}, kGifRenderingText);
}

void TGIFImage::LoadFromStream(TStream& stream) {
    Progress(TProgressStage::psStarting, 0, false, TRect{}, kGifLoadingText);
    Clear();
    const int64_t start = stream.Position();
    try {
        header_.LoadFromStream(stream);
        frames_.LoadFromStream(stream);
        // The logical screen grows to hold every frame. It is kept in 16 bits, as in the file; a
        // frame reaching beyond 65535 makes it 65535 rather than wrap to a small size.
        for (const auto& frame : frames_) {
            const int right = std::min(frame->Left() + frame->Width(), 0xFFFF);
            const int bottom = std::min(frame->Top() + frame->Height(), 0xFFFF);
            if (right > header_.ScreenWidth()) header_.SetScreenWidth(static_cast<uint16_t>(right));
            if (bottom > header_.ScreenHeight()) header_.SetScreenHeight(static_cast<uint16_t>(bottom));
        }
        uint8_t trailer = 0;
        if (stream.ReadUpTo(&trailer, 1) == 1 && trailer != 0x3B) ReportWarning(kGifWarningSeverity, kInvalidTrailerText);
    } catch (...) {
        stream.SetPosition(start);
        Progress(TProgressStage::psEnding, 0, false, TRect{}, kGifLoadingText);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, false, TRect{}, kGifLoadingText);
    SetPaletteModified(true);
    Changed();
}

std::vector<RgbQuad> TGIFImage::PicturePalette() const {
    if (bitmap_) {
        std::vector<RgbQuad> palette = bitmap_->Palette();
        if (!palette.empty()) return palette;
    }
    if (header_.GlobalColorMap().Count() > 0) return header_.GlobalColorMap().ToPalette();
    if (frames_.Count() == 0) return {};
    const TGIFSubImage& first = frames_[0];
    if (first.ColorMap().Count() > 0) return first.ColorMap().ToPalette();
    throw GIFException(kNoColorTableText);
}

std::vector<RgbQuad> TGIFImage::Palette() const {
    return PicturePalette();
}

void TGIFImage::MakeBitmap() const {
    TGIFSubImage& first = const_cast<TGIFSubImage&>(frames_[0]);
    auto bitmap = std::make_unique<TBitmap>();
    if (first.Width() == header_.ScreenWidth() && first.Height() == header_.ScreenHeight()) {
        // The frame's own indices and palette; transparent pixels show their palette colour.
        bitmap->Assign(&first.Bitmap());
    } else {
        bitmap->SetPalette(PicturePalette());
        bitmap->SetHeight(header_.ScreenHeight());
        bitmap->SetWidth(header_.ScreenWidth());
        if (!bitmap->Empty())
            first.Draw(bitmap->Canvas(), TRect{0, 0, header_.ScreenWidth(), header_.ScreenHeight()}, false, false);
    }
    bitmap_ = std::move(bitmap);
    bitmapIsConversion_ = true;
}

void TGIFImage::AssignTo(TGraphic& dest) const {
    auto* bitmap = dynamic_cast<TBitmap*>(&dest);
    if (!bitmap) {
        TGraphic::AssignTo(dest);
        return;
    }
    if (frames_.Count() == 0) {
        bitmap->Assign(nullptr);
        return;
    }
    if (!bitmap_) MakeBitmap();
    if (bitmapIsConversion_) {
        bitmap->Assign(bitmap_.get());
        return;
    }
    // The picture's bitmap is an animation's canvas: convert into a bitmap of our own.
    std::unique_ptr<TBitmap> animation = std::move(bitmap_);
    try {
        MakeBitmap();
    } catch (...) {
        bitmap_ = std::move(animation);
        bitmapIsConversion_ = false;
        throw;
    }
    bitmap->Assign(bitmap_.get());
    bitmap_ = std::move(animation);
    bitmapIsConversion_ = false;
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& rect) {
    if (drawing_ || frames_.Count() == 0) return;
    drawing_ = true;
    try {
        const bool tile = HasPaintFlag(TGIFPaintFlag::TileFrames);
        const bool animated = frames_.Count() > 1 && HasPaintFlag(TGIFPaintFlag::PlayFrames);
        if (!animated) {
            const int index = ActiveFrame >= 0 && ActiveFrame < frames_.Count() ? ActiveFrame : 0;
            frames_[index].Draw(canvas, rect, HasPaintFlag(TGIFPaintFlag::DrawTransparent), tile);
        } else if (bitmap_ && !HasPaintFlag(TGIFPaintFlag::PaintOnTarget)) {
            DrawCachedBitmap(canvas, rect, tile);
        } else {
            StartPainter(canvas, rect);
        }
    } catch (...) {
        drawing_ = false;
        throw;
    }
    drawing_ = false;
}

void TGIFImage::StartPainter(TCanvas& canvas, const TRect& rect) {
    std::lock_guard lock(painterLock_);
    ReapPainters();
    if (viewPainter_ && &viewPainter_->Target() == &canvas && viewPainter_->TargetRect() == rect) return;
    StopDraw();
    const bool onTarget = HasPaintFlag(TGIFPaintFlag::PaintOnTarget);
    TCanvas* target = &canvas;
    TRect targetRect = rect;
    if (!onTarget) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetPalette(PicturePalette());
        bitmap->SetHeight(Height());
        bitmap->SetWidth(Width());
        if (bitmap->Empty()) return;
        targetRect = TRect{0, 0, Width(), Height()};
        bitmap->Canvas().CopyRect(targetRect, canvas, rect);
        // Drawing into the bitmap is a change of the picture: the control repaints.
        bitmap->OnChange = [this](TGraphic&) { Changed(); };
        bitmap_ = std::move(bitmap);
        bitmapIsConversion_ = false;
        target = &bitmap_->Canvas();
    }
    if (targetRect.IsEmpty()) return;
    painters_.push_back(std::make_unique<TGIFPainter>(*this, *target, targetRect, PaintFlags));
    TGIFPainter* painter = painters_.back().get();
    viewPainter_ = painter;
    painter->Start();
    if (onTarget) return;
    // The window thread runs the painter's paints itself while it waits for the first frame.
    while (!painter->FirstPainted() && !painter->Finished()) {
        if (!CheckSynchronize(10)) std::this_thread::yield();
    }
    DrawCachedBitmap(canvas, rect, HasPaintFlag(TGIFPaintFlag::TileFrames));
}

void TGIFImage::ReapPainters() {
    std::lock_guard lock(painterLock_);
    for (auto it = painters_.begin(); it != painters_.end();) {
        if (!(*it)->Finished()) {
            ++it;
            continue;
        }
        if (viewPainter_ == it->get()) viewPainter_ = nullptr;  // its last frame stays in bitmap_
        (*it)->WaitFor();
        it = painters_.erase(it);
    }
}

void TGIFImage::StopDraw() {
    std::lock_guard lock(painterLock_);
    if (viewPainter_) {
        viewPainter_->Stop();
        viewPainter_->WaitFor();
        auto it = std::find_if(painters_.begin(), painters_.end(),
                               [this](const auto& p) { return p.get() == viewPainter_; });
        if (it != painters_.end()) painters_.erase(it);
        viewPainter_ = nullptr;
    }
    bitmap_.reset();
}

void TGIFImage::StopAll() {
    std::lock_guard lock(painterLock_);
    for (auto& painter : painters_) painter->Stop();
    // A paint still queued is skipped by its stopped painter; none reaches the listeners now.
    if (bitmap_) bitmap_->OnChange = nullptr;
    for (auto& painter : painters_) painter->WaitFor();
    painters_.clear();
    viewPainter_ = nullptr;
    bitmap_.reset();
}

int TGIFImage::PainterCount() {
    std::lock_guard lock(painterLock_);
    ReapPainters();
    return static_cast<int>(painters_.size());
}

void TGIFImage::DrawCachedBitmap(TCanvas& canvas, const TRect& rect, bool tile) {
    if (!tile) {
        canvas.StretchDraw(rect, bitmap_.get());
        return;
    }
    const int width = Width();
    const int height = Height();
    if (width <= 0 || height <= 0) return;
    for (int y = rect.top; y < rect.bottom; y += height)
        for (int x = rect.left; x < rect.right; x += width) canvas.StretchDraw(RectOfSize(x, y, width, height), bitmap_.get());
}

}  // namespace kv
