#pragma once
// TGIFPainter: plays a picture of several frames onto a target (the picture's own bitmap, or the
// caller's canvas). The thread only times the frames; every render and paint is a synchronised
// call that the window thread runs, so frames and surfaces are only ever touched there.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

#include "codecs/gif/gif_extensions.h"
#include "graphics/color.h"
#include "graphics/geometry.h"
#include "runtime/thread.h"

namespace kv {

class TBitmap;
class TCanvas;
class TGIFImage;
class TGIFSubImage;

class TGIFPainter;

// Hundredths of a second to wait after a frame: its delay, at least 3, or 10 without one.
int64_t FrameWaitHundredths(const TGIFSubImage& frame);
// Milliseconds to wait for a wait counted in hundredths: each hundredth is 12 ms, half the
// lateness of the last wait is taken off, and playSpeed (percent, at least 1) scales the result.
int64_t PainterWaitMilliseconds(int64_t hundredths, int64_t lateMs, int playSpeed);

// Notifications of a painter, called on the window thread: start of painting, before each frame,
// after each frame, at each repeat, end of painting.
using TGIFPainterHook = std::function<void(TGIFPainter& painter)>;
struct TGIFPainterHooks {
    TGIFPainterHook OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint;
};

class TGIFPainter : public TThread {
public:
    // Made on the window thread: works out the background colour and takes the background
    // buffers from what the target shows in rect. Not started.
    TGIFPainter(TGIFImage& image, TCanvas& target, const TRect& rect, uint16_t flags);
    ~TGIFPainter() override;

    // Marks the painter terminated and ends any wait at once.
    void Stop();

    TCanvas& Target() const { return target_; }
    const TRect& TargetRect() const { return rect_; }
    uint16_t Flags() const { return flags_; }
    // The frame being painted; -1 when not painting.
    int CurrentFrame() const { return currentFrame_; }
    bool FirstPainted() const { return firstPainted_; }
    RgbQuad BackgroundColor() const { return background_; }

protected:
    void Execute() override;

private:
    bool Has(int flag) const { return (flags_ >> flag) & 1; }
    void PaintLoop();
    // One frame of a pass, step by step; false when the pass ends.
    bool PlayFrame();
    // Renders the frame on the window thread while the previous one still shows, and turns the
    // previous frame's delay into the milliseconds left to wait.
    void PrepareFrame(int index);
    // Waits out the previous frame's delay (or until woken when the play speed is below 1).
    void WaitOutDelay();
    // Takes the frame's disposal method, and from the first loop extension met the number of
    // passes and the frame a repeat starts at.
    void ReadFrameControls(const TGIFSubImage& frame, int index);
    // Disposes of the previous frame, draws this one and shows it, on the window thread.
    void ShowFrame();
    // Takes the frame's delay and moves on to the next frame.
    void Advance(const TGIFSubImage& frame, int index);
    // Blocks on the wake event for ms milliseconds (ms < 0: until woken); true when woken.
    bool WaitWake(int64_t ms);
    void Hook(const TGIFPainterHook& hook);
    // Window thread: makes sure the frame's bitmap and mask exist.
    void RenderFrame(int index);
    // Window thread: puts the current frame on the target as the disposal methods say.
    void Compose();
    // Compose with the background buffers: the frame's and the previous frame's disposal choose
    // which buffer the frame is drawn through.
    void ComposeBuffered(TGIFSubImage& frame);
    void DrawOnTarget(TGIFSubImage& frame);
    // Draws the frame into the buffer, then shows the whole buffer on the target.
    void ShowThrough(TBitmap& buffer, TGIFSubImage& frame);
    void RestoreArea(TGIFSubImage& frame);

    TGIFImage& image_;
    TCanvas& target_;
    TRect rect_;
    uint16_t flags_;
    int playSpeed_;
    std::atomic<int> currentFrame_{-1};
    std::atomic<bool> firstPainted_{false};
    // The painting loop's timing and repeat state (painter thread only).
    struct PlayState {
        int passesLeft = 1;        // passes still to play; -1: endless
        int loopStart = 0;         // the frame a repeat starts at
        bool loopSeen = false;     // only the first loop extension counts
        int64_t wait = 0;          // the previous frame's delay: hundredths, then milliseconds
        bool unlimited = false;    // PlaySpeed below 1: each frame waits until the painter is woken
        uint32_t mark = 0;         // tick count when the last wait began
        int64_t previousWait = 0;  // milliseconds the last wait was to take, to measure lateness
    };
    PlayState play_;
    TGIFDisposal frameDisposal_ = TGIFDisposal::Keep;
    TGIFDisposal priorDisposal_ = TGIFDisposal::Keep;
    RgbQuad background_{};
    std::unique_ptr<TBitmap> backgroundShot_;
    std::unique_ptr<TBitmap> savedBuffer_;
    std::unique_ptr<TBitmap> composeBuffer_;

    TGIFPainterHooks hooks_;
    std::mutex wakeLock_;
    std::condition_variable wakeSignal_;
    bool woken_ = false;

    std::exception_ptr error_;  // what ended the painting loop, for the window thread to report
};

}  // namespace kv
