#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <thread>

#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "runtime/thread.h"
#include "tests/codecs/gif/gif_builder.h"
#include "ui/synchronize_pump.h"
#include "ui/ui_test_support.h"

namespace kv {
namespace {

// A worker's synchronised call must run from the plain event loop, with nobody calling
// CheckSynchronize by hand: that is what lets a GIF in the preview animate.
TEST(SynchronizePump, TheEventLoopRunsWorkersCalls) {
    test::TestApplication();
    SynchronizePump pump;
    std::atomic<bool> ranOnWindowThread{false};
    std::atomic<bool> workerDone{false};
    const auto windowThread = std::this_thread::get_id();
    std::thread worker([&] {
        SynchronizeCall([&] { ranOnWindowThread = std::this_thread::get_id() == windowThread; });
        workerDone = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!workerDone && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const bool doneByTheLoop = workerDone;
    while (!workerDone) CheckSynchronize(10);  // never leave the worker blocked
    worker.join();
    EXPECT_TRUE(doneByTheLoop);
    EXPECT_TRUE(ranOnWindowThread);
}

// A painter whose paint fails (here its after-paint handler) ends, and the failure reaches the
// default report on the window thread, once.
TEST(SynchronizePump, APaintersFailureReachesTheDefaultReportOnce) {
    test::TestApplication();
    SynchronizePump pump;
    test::RecordingMessageBoxes boxes;
    test::GifWriter writer(2, 1, {0xFF0000, 0x00FF00});
    writer.Loop(0);
    for (uint8_t colour : {0, 1}) writer.GraphicControl(0, 1, 0).Frame(0, 0, 2, 1, {colour, colour}, 2);
    TMemoryStream stream(writer.Trailer().Bytes());
    TGIFImage gif;
    gif.LoadFromStream(stream);
    gif.PlaySpeed = 1000;
    int paints = 0;
    gif.Hooks.OnAfterPaint = [&](TGIFPainter&) {
        if (++paints == 2) throw EInvalidGraphic("Frame cannot be shown");
    };
    TBitmap target;
    target.SetSize(2, 1);
    target.Canvas().StretchDraw({0, 0, 2, 1}, &gif);  // a painter starts for the looping picture

    QElapsedTimer clock;
    clock.start();
    while ((gif.PainterCount() > 0 || boxes.Shown.empty()) && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].icon, MessageBoxIcon::Stop);
    EXPECT_EQ(boxes.Shown[0].text, "Frame cannot be shown.");
    EXPECT_EQ(gif.PainterCount(), 0);  // the failure ended the painter
}

// Failures cross from the workers to the window thread whole, one report each, in order, while the window thread does nothing but run its event loop (under the thread
// sanitizer this also checks that the hand-off is one the tool can see).
TEST(SynchronizePump, WorkersFailuresReachTheWindowThreadWholeAndInOrder) {
    test::TestApplication();
    SynchronizePump pump;
    test::RecordingMessageBoxes boxes;
    class Failing final : public TThread {
    public:
        explicit Failing(std::string text) : text_(std::move(text)) {}
        ~Failing() override { TerminateAndWait(); }

    protected:
        void Execute() override { throw EInvalidGraphic(text_); }

    private:
        std::string text_;
    };
    // The loop spins rather than sleeps, so nothing but the hand-off itself orders the threads.
    QElapsedTimer clock;
    clock.start();
    std::vector<std::string> expected;
    for (int k = 1; k <= 8; ++k) {
        Failing worker("Worker " + std::to_string(k) + " failed");
        worker.Start();
        while (boxes.Shown.size() < static_cast<size_t>(k) && clock.elapsed() < 10000) QCoreApplication::processEvents();
        expected.push_back("Worker " + std::to_string(k) + " failed.");
    }
    EXPECT_EQ(boxes.Texts(), expected);
}

}  // namespace
}  // namespace kv
