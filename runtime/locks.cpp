#include "runtime/locks.h"

namespace kv {

void TEvent::SetEvent() {
    {
        std::lock_guard lock(mutex_);
        signaled_ = true;
    }
    if (manualReset_) changed_.notify_all(); else changed_.notify_one();
}

void TEvent::ResetEvent() {
    std::lock_guard lock(mutex_);
    signaled_ = false;
}

TWaitResult TEvent::WaitFor(int64_t timeoutMs) {
    std::unique_lock lock(mutex_);
    auto ready = [this] { return signaled_; };
    if (timeoutMs < 0) {
        changed_.wait(lock, ready);
    } else if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
        return TWaitResult::wrTimeout;
    }
    if (!manualReset_) signaled_ = false;
    return TWaitResult::wrSignaled;
}

}  // namespace kv
