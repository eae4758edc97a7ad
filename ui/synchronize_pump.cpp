#include "ui/synchronize_pump.h"

#include <QCoreApplication>
#include <QEvent>

#include "runtime/thread.h"
#include "ui/event_dispatch.h"

namespace kv {

SynchronizePump::SynchronizePump() {
    SetMainThread();
    // Posting is safe from any thread; the calls themselves run on the window thread.
    SetWakeMainThreadHook([this] { Post(); });
    SetWorkerFailureHook([this](std::exception_ptr failure) {
        {
            const std::lock_guard<std::mutex> lock(failuresLock_);
            failures_.push_back(std::move(failure));
        }
        Post();
    });
}

void SynchronizePump::Post() { QCoreApplication::postEvent(&receiver_, new QEvent(QEvent::User)); }

void SynchronizePump::Receiver::customEvent(QEvent*) {
    CheckSynchronize(0);
    pump_.RaiseQueuedFailures();
}

// Each failure is raised again on the window thread as an event of its own, so it is reported
// there once.
void SynchronizePump::RaiseQueuedFailures() {
    for (;;) {
        std::exception_ptr failure;
        {
            const std::lock_guard<std::mutex> lock(failuresLock_);
            if (failures_.empty()) return;
            failure = std::move(failures_.front());
            failures_.pop_front();
        }
        DispatchEvent([&] { std::rethrow_exception(failure); });
    }
}

SynchronizePump::~SynchronizePump() {
    SetWakeMainThreadHook(nullptr);
    SetWorkerFailureHook(nullptr);
    CheckSynchronize(0);  // nobody may be left waiting for a call the loop will never run
}

}  // namespace kv
