#include "codecs/gif/gif_painter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "codecs/gif/gif_app_extensions.h"
#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/tick.h"

namespace kv {

namespace {

constexpr int kDrawTransparent = static_cast<int>(TGIFPaintFlag::DrawTransparent);
constexpr int kPlayFrames = static_cast<int>(TGIFPaintFlag::PlayFrames);
constexpr int kRepeatPlay = static_cast<int>(TGIFPaintFlag::RepeatPlay);
constexpr int kRepeatForever = static_cast<int>(TGIFPaintFlag::RepeatForever);
constexpr int kWipeAtRestart = static_cast<int>(TGIFPaintFlag::WipeAtRestart);
constexpr int kTileFrames = static_cast<int>(TGIFPaintFlag::TileFrames);

constexpr int64_t kUnlimited = -1;
constexpr int kEndless = -1;

// A bitmap of the rectangle's size holding what the canvas shows there.
std::unique_ptr<TBitmap> ShotOf(TCanvas& canvas, const TRect& rect) {
    auto shot = std::make_unique<TBitmap>();
    shot->SetSize(rect.Width(), rect.Height());
    if (!shot->Empty()) shot->Canvas().CopyRect({0, 0, rect.Width(), rect.Height()}, canvas, rect);
    return shot;
}

}  // namespace

int64_t FrameWaitHundredths(const TGIFSubImage& frame) {
    const TGIFGraphicControlExtension* control = frame.GraphicControl();
    if (!control || control->FrameDelay == 0) return 10;
    return std::max<int64_t>(control->FrameDelay, 3);
}

int64_t PainterWaitMilliseconds(int64_t hundredths, int64_t lateMs, int playSpeed) {
    return std::llround(static_cast<double>(hundredths * 12 - lateMs / 2) * 100.0 / std::max(playSpeed, 1));
}

TGIFPainter::TGIFPainter(TGIFImage& image, TCanvas& target, const TRect& rect, uint16_t flags)
    : image_(image), target_(target), rect_(rect), flags_(flags), playSpeed_(image.PlaySpeed) {
    const TGIFImageList& frames = image_.Images();
    hooks_ = image_.Hooks;

    // The background: the override, else the window colour without a global table, else the
    // global table's background entry.
    const TGIFGlobalColorMap& global = image_.Header().GlobalColorMap();
    if (image_.BackgroundOverride != clNone) {
        background_ = ColorToRgb(image_.BackgroundOverride);
    } else if (global.Count() == 0) {
        background_ = ColorToRgb(clWindow);
    } else {
        const TGIFColor c = global.Color(image_.Header().BackgroundIndex());
        background_ = RgbQuad{c.Blue, c.Green, c.Red, 0};
    }

    bool restoresBackground = Has(kWipeAtRestart);
    bool restoresPrevious = false;
    for (const auto& frame : frames) {
        for (const auto& extension : frame->ExtensionBlocks()) {
            const auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(extension.get());
            if (!control) continue;
            restoresBackground = restoresBackground || control->Disposal() == TGIFDisposal::RestoreBackground;
            restoresPrevious = restoresPrevious || control->Disposal() == TGIFDisposal::RestorePrevious;
        }
    }
    if (restoresBackground && Has(kDrawTransparent)) backgroundShot_ = ShotOf(target_, rect_);
    if (restoresBackground || restoresPrevious) {
        const TColor brush = static_cast<TColor>(background_.red | (background_.green << 8) | (background_.blue << 16));
        savedBuffer_ = ShotOf(target_, rect_);
        savedBuffer_->Canvas().Brush().SetColor(brush);
        composeBuffer_ = std::make_unique<TBitmap>();
        composeBuffer_->Canvas().Brush().SetColor(brush);
        composeBuffer_->SetSize(rect_.Width(), rect_.Height());
    }
}

TGIFPainter::~TGIFPainter() {
    Stop();
    TerminateAndWait();
}

void TGIFPainter::Stop() {
    Terminate();
    std::lock_guard lock(wakeLock_);
    woken_ = true;
    wakeSignal_.notify_all();
}

bool TGIFPainter::WaitWake(int64_t ms) {
    std::unique_lock lock(wakeLock_);
    bool woken;
    if (ms < 0) {
        wakeSignal_.wait(lock, [this] { return woken_; });
        woken = true;
    } else {
        woken = wakeSignal_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return woken_; });
    }
    woken_ = false;  // auto-reset
    return woken;
}

void TGIFPainter::Hook(const TGIFPainterHook& hook) {
    if (hook && !Terminated()) Synchronize([this, &hook] {
        if (!Terminated()) hook(*this);
    });
}

void TGIFPainter::Execute() {
    try {
        PaintLoop();
    } catch (...) {
        error_ = std::current_exception();
    }
    currentFrame_ = -1;
    try {
        Hook(hooks_.OnEndPaint);
    } catch (...) {
        if (!error_) error_ = std::current_exception();
    }
    // The thread hands the failure on to the window thread's default report.
    if (error_) std::rethrow_exception(error_);
}

// The painting loop: passes over the frames, each frame taken through the steps of PlayFrame.
void TGIFPainter::PaintLoop() {
    currentFrame_ = 0;
    Hook(hooks_.OnStartPaint);
    firstPainted_ = false;
    play_ = PlayState{};
    priorDisposal_ = TGIFDisposal::Keep;
    play_.mark = GetTickCount();

    while ((play_.passesLeft != 0 || Has(kRepeatForever)) && !Terminated()) {
        currentFrame_ = play_.loopStart;
        if (firstPainted_) Hook(hooks_.OnLoop);
        while (PlayFrame()) {}
        if (play_.passesLeft > 0) --play_.passesLeft;
        if (!(Has(kPlayFrames) && Has(kRepeatPlay))) break;
    }
}

bool TGIFPainter::PlayFrame() {
    const TGIFImageList& frames = image_.Images();
    const int index = currentFrame_;
    if (index >= frames.Count() || Terminated() || frames[index].Empty()) return false;
    const TGIFSubImage& frame = frames[index];
    PrepareFrame(index);
    WaitOutDelay();
    if (Terminated()) return false;
    Hook(hooks_.OnPaint);
    ReadFrameControls(frame, index);
    ShowFrame();
    if (Terminated()) return false;
    Advance(frame, index);
    return Has(kPlayFrames);
}

void TGIFPainter::PrepareFrame(int index) {
    if (play_.wait < 1) {
        std::this_thread::yield();
        return;
    }
    Synchronize([this, index] {
        if (!Terminated()) RenderFrame(index);
    });
    const uint32_t now = GetTickCount();
    play_.unlimited = playSpeed_ < 1;
    if (!play_.unlimited) {
        const int64_t late = static_cast<int32_t>(now - play_.mark) - play_.previousWait;
        play_.wait = PainterWaitMilliseconds(play_.wait, late, playSpeed_);
        play_.previousWait = play_.wait;
    }
    play_.mark = now;
}

void TGIFPainter::WaitOutDelay() {
    if (!play_.unlimited && play_.wait <= 0) return;
    // The wake event cuts a wait short: a stop ends it at once.
    if (WaitWake(play_.unlimited ? kUnlimited : play_.wait)) {
        play_.previousWait = 0;
        play_.mark = GetTickCount();
    }
}

void TGIFPainter::ReadFrameControls(const TGIFSubImage& frame, int index) {
    frameDisposal_ = TGIFDisposal::Keep;
    for (const auto& extension : frame.ExtensionBlocks()) {
        if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(extension.get())) {
            if (play_.loopSeen) continue;
            play_.loopSeen = true;
            play_.passesLeft = loop->RepeatCount;
            if (loop->RepeatCount == 0 || Has(kRepeatForever)) play_.passesLeft = kEndless;
            play_.loopStart = index;
        } else if (const auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(extension.get())) {
            frameDisposal_ = control->Disposal();
        }
    }
}

void TGIFPainter::ShowFrame() {
    if (!Terminated()) Synchronize([this] {
        if (!Terminated()) Compose();
    });
    priorDisposal_ = frameDisposal_;
}

void TGIFPainter::Advance(const TGIFSubImage& frame, int index) {
    play_.wait = FrameWaitHundredths(frame);
    Hook(hooks_.OnAfterPaint);
    if (currentFrame_ == index) currentFrame_ = index + 1;
}

void TGIFPainter::RenderFrame(int index) {
    TGIFSubImage& frame = image_.Images()[index];
    frame.Bitmap();
    frame.Mask();
}

void TGIFPainter::RestoreArea(TGIFSubImage& frame) {
    if (!savedBuffer_ || savedBuffer_->Empty() || frame.Empty()) return;
    const TRect whole{0, 0, rect_.Width(), rect_.Height()};
    TCanvas& canvas = savedBuffer_->Canvas();
    const bool fromShot = Has(kDrawTransparent) && backgroundShot_ && !backgroundShot_->Empty();
    auto restore = [&](const TRect& place) {
        if (fromShot)
            canvas.CopyRect(place, backgroundShot_->Canvas(), place);
        else
            canvas.FillRect(place);
    };
    if (!Has(kTileFrames)) {
        restore(frame.PlaceIn(whole));
        return;
    }
    // Tile by tile, without collecting them: a tiny frame on a big target makes very many.
    for (int y = 0; y < whole.bottom; y += frame.Height())
        for (int x = 0; x < whole.right; x += frame.Width()) restore(RectOfSize(x, y, frame.Width(), frame.Height()));
}

void TGIFPainter::Compose() {
    const int index = currentFrame_;
    if (index < 0 || index >= image_.Images().Count()) return;
    TGIFSubImage& frame = image_.Images()[index];
    if (!savedBuffer_) {
        DrawOnTarget(frame);  // no frame is ever restored: nothing to keep
    } else {
        if (Has(kWipeAtRestart) && index == 0) RestoreArea(frame);
        ComposeBuffered(frame);
    }
    firstPainted_ = true;
}

void TGIFPainter::ComposeBuffered(TGIFSubImage& frame) {
    switch (frameDisposal_) {
        case TGIFDisposal::Unspecified:
        case TGIFDisposal::Keep:
        case TGIFDisposal::RestoreBackground:
            ShowThrough(*savedBuffer_, frame);
            // The buffer forgets the frame at once; the target shows it until the next frame.
            if (frameDisposal_ == TGIFDisposal::RestoreBackground) RestoreArea(frame);
            break;
        case TGIFDisposal::RestorePrevious:
            // The saved buffer stays as it was: the frame goes over a copy of it.
            if (priorDisposal_ <= TGIFDisposal::Keep) {
                DrawOnTarget(frame);
            } else if (priorDisposal_ <= TGIFDisposal::RestorePrevious) {
                const TRect whole{0, 0, rect_.Width(), rect_.Height()};
                composeBuffer_->Canvas().CopyRect(whole, savedBuffer_->Canvas(), whole);
                ShowThrough(*composeBuffer_, frame);
            }
            break;
        default:
            break;
    }
}

void TGIFPainter::DrawOnTarget(TGIFSubImage& frame) {
    frame.Draw(target_, rect_, Has(kDrawTransparent), Has(kTileFrames));
}

void TGIFPainter::ShowThrough(TBitmap& buffer, TGIFSubImage& frame) {
    const TRect whole{0, 0, rect_.Width(), rect_.Height()};
    frame.Draw(buffer.Canvas(), whole, Has(kDrawTransparent), Has(kTileFrames));
    target_.CopyRect(rect_, buffer.Canvas(), whole);
}

}  // namespace kv
