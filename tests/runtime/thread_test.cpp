#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "runtime/exceptions.h"
#include "runtime/thread.h"
#include "runtime/tick.h"

namespace kv {
namespace {

class LambdaThread : public TThread {
public:
    explicit LambdaThread(std::function<void(LambdaThread&)> body) : body_(std::move(body)) {}
    ~LambdaThread() override { TerminateAndWait(); }
    using TThread::Synchronize;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(LambdaThread&)> body_;
};

TEST(Synchronize, RunsTheCallOnTheWindowThreadAndWaitsForIt) {
    SetMainThread();
    std::atomic<int> wakes{0};
    SetWakeMainThreadHook([&] { ++wakes; });
    std::thread::id ranOn;
    bool returned = false;
    LambdaThread worker([&](LambdaThread& self) {
        self.Synchronize([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    worker.Start();
    while (!CheckSynchronize(50)) {
    }
    worker.WaitFor();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(returned);
    EXPECT_GE(wakes.load(), 1);
    SetWakeMainThreadHook(nullptr);
}

TEST(Synchronize, FailureReachesTheCallingThread) {
    SetMainThread();
    std::string seen;
    LambdaThread worker([&](LambdaThread& self) {
        try {
            self.Synchronize([] { throw EInvalidGraphic("broken"); });
        } catch (const EInvalidGraphic& e) {
            seen = e.Message();
        }
    });
    worker.Start();
    worker.WaitFor();  // runs the queued call itself while waiting
    EXPECT_EQ(seen, "broken");
}

TEST(Synchronize, OnTheWindowThreadRunsDirectly) {
    SetMainThread();
    int calls = 0;
    SynchronizeCall([&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST(Thread, DestroyingATerminatedWorkerWaitsForIt) {
    SetMainThread();
    std::atomic<bool> stopped{false};
    {
        LambdaThread worker([&](LambdaThread& self) {
            while (!self.Terminated()) Sleep(1);
            stopped = true;
        });
        worker.Start();
    }
    EXPECT_TRUE(stopped);
}

}  // namespace
}  // namespace kv
