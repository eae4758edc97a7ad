#pragma once
// Locks and events in the shape the drawing and picture layers use them.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kv {

// A re-entrant lock, as a critical section is: the owning thread may enter it again.
class TCriticalSection {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    bool TryEnter() { return mutex_.try_lock(); }
    // For std::lock_guard / std::unique_lock.
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex mutex_;
};

enum class TWaitResult { wrSignaled, wrTimeout };

// A waitable flag: manual-reset stays set until reset; auto-reset lets one waiter through.
class TEvent {
public:
    explicit TEvent(bool manualReset = true, bool initialState = false)
        : manualReset_(manualReset), signaled_(initialState) {}

    void SetEvent();
    void ResetEvent();
    // Waits up to timeoutMs milliseconds (negative: forever).
    TWaitResult WaitFor(int64_t timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool manualReset_;
    bool signaled_;
};

}  // namespace kv
