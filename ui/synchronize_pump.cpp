#include "ui/synchronize_pump.h"

#include <QMetaObject>

#include "runtime/thread.h"
#include "ui/event_dispatch.h"

namespace kv {

SynchronizePump::SynchronizePump() {
    SetMainThread();
    SetWakeMainThreadHook([this] {
        // Posting is safe from any thread; the call itself runs on the window thread.
        QMetaObject::invokeMethod(&receiver_, [] { CheckSynchronize(0); }, Qt::QueuedConnection);
    });
    SetWorkerFailureHook([this](std::exception_ptr failure) {
        // Raised again on the window thread as an event of its own, so it is reported there once.
        QMetaObject::invokeMethod(
            &receiver_, [failure] { DispatchEvent([&] { std::rethrow_exception(failure); }); },
            Qt::QueuedConnection);
    });
}

SynchronizePump::~SynchronizePump() {
    SetWakeMainThreadHook(nullptr);
    SetWorkerFailureHook(nullptr);
    CheckSynchronize(0);  // nobody may be left waiting for a call the loop will never run
}

}  // namespace kv
