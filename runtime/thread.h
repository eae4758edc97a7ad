#pragma once
// Worker threads that hand work to the window thread.
//
// Synchronize queues a call for the window thread and blocks until that thread has run it
// (from its event loop, which the wake hook nudges, or from CheckSynchronize while it waits).
#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace kv {

// Marks the calling thread as the window thread (the thread that first loads the runtime
// is taken to be it until then).
void SetMainThread();
bool IsMainThread();

// Installed by the window layer: called (from any thread) whenever a call is queued, so the
// event loop wakes up and calls CheckSynchronize.
void SetWakeMainThreadHook(std::function<void()> hook);

// Installed by the window layer: receives, on the worker's own thread, a failure that ended a
// worker's Execute, once per failure, so that it can reach the window thread's default report.
// Without a hook such a failure ends the worker only.
void SetWorkerFailureHook(std::function<void(std::exception_ptr)> hook);

// Window thread only: runs every queued call, waiting up to timeoutMs for the first one when
// none is queued. Returns true when at least one call ran.
bool CheckSynchronize(int timeoutMs = 0);

// Runs method on the window thread and waits for it; a failure inside it is raised again in
// the calling thread. Called on the window thread, it simply runs the method.
void SynchronizeCall(const std::function<void()>& method);

class TThread {
public:
    TThread() = default;
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    // Asks Execute to finish; it checks Terminated() at its own pace.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits until Execute has returned. On the window thread, queued synchronised calls keep
    // running meanwhile, so a worker blocked in Synchronize cannot deadlock the wait.
    void WaitFor();

protected:
    virtual void Execute() = 0;
    void Synchronize(const std::function<void()>& method) { SynchronizeCall(method); }
    // Derived classes call this from their destructor so Execute never outlives its object.
    void TerminateAndWait();

private:
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

}  // namespace kv
