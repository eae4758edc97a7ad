#include "runtime/thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

namespace kv {

namespace {

struct PendingCall {
    const std::function<void()>* method;
    std::exception_ptr failure;
    bool done = false;
};

struct SyncQueue {
    std::mutex mutex;
    std::condition_variable queued;    // window thread waits for work
    std::condition_variable finished;  // callers wait for their call
    std::deque<PendingCall*> calls;
    std::function<void()> wakeHook;
    std::function<void(std::exception_ptr)> workerFailureHook;
    std::thread::id mainThread = std::this_thread::get_id();
};

SyncQueue& Queue() {
    static SyncQueue queue;
    return queue;
}

// Taken during static initialisation, which runs on the program's first thread.
const bool kMainThreadNoted = (Queue(), true);

}  // namespace

void SetMainThread() {
    std::lock_guard lock(Queue().mutex);
    Queue().mainThread = std::this_thread::get_id();
}

bool IsMainThread() {
    std::lock_guard lock(Queue().mutex);
    return Queue().mainThread == std::this_thread::get_id();
}

void SetWorkerFailureHook(std::function<void(std::exception_ptr)> hook) {
    std::lock_guard lock(Queue().mutex);
    Queue().workerFailureHook = std::move(hook);
}

void SetWakeMainThreadHook(std::function<void()> hook) {
    std::lock_guard lock(Queue().mutex);
    Queue().wakeHook = std::move(hook);
}

bool CheckSynchronize(int timeoutMs) {
    (void)kMainThreadNoted;
    SyncQueue& q = Queue();
    std::unique_lock lock(q.mutex);
    if (q.calls.empty() && timeoutMs > 0) {
        q.queued.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !q.calls.empty(); });
    }
    bool ran = false;
    while (!q.calls.empty()) {
        PendingCall* call = q.calls.front();
        q.calls.pop_front();
        lock.unlock();
        try {
            (*call->method)();
        } catch (...) {
            call->failure = std::current_exception();
        }
        lock.lock();
        call->done = true;
        ran = true;
        q.finished.notify_all();
    }
    return ran;
}

void SynchronizeCall(const std::function<void()>& method) {
    if (IsMainThread()) {
        method();
        return;
    }
    SyncQueue& q = Queue();
    PendingCall call{&method, nullptr, false};
    std::function<void()> wake;
    {
        std::lock_guard lock(q.mutex);
        q.calls.push_back(&call);
        wake = q.wakeHook;
    }
    q.queued.notify_all();
    if (wake) wake();
    std::unique_lock lock(q.mutex);
    q.finished.wait(lock, [&] { return call.done; });
    if (call.failure) std::rethrow_exception(call.failure);
}

TThread::~TThread() { TerminateAndWait(); }

void TThread::Start() {
    finished_ = false;
    thread_ = std::thread([this] {
        std::exception_ptr failure;
        try {
            Execute();
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) {
            std::function<void(std::exception_ptr)> report;
            {
                std::lock_guard lock(Queue().mutex);
                report = Queue().workerFailureHook;
            }
            if (report) report(failure);
        }
        finished_ = true;
        Queue().queued.notify_all();  // lets a window thread waiting in WaitFor look again
    });
}

void TThread::WaitFor() {
    if (!thread_.joinable()) return;
    if (IsMainThread()) {
        while (!finished_) CheckSynchronize(10);
    }
    thread_.join();
}

void TThread::TerminateAndWait() {
    Terminate();
    WaitFor();
}

}  // namespace kv
