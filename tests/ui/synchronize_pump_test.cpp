#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <thread>

#include "runtime/thread.h"
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

}  // namespace
}  // namespace kv
