#include "ui/synchronize_pump.h"

#include <QMetaObject>

#include "runtime/thread.h"

namespace kv {

SynchronizePump::SynchronizePump() {
    SetMainThread();
    SetWakeMainThreadHook([this] {
        // Posting is safe from any thread; the call itself runs on the window thread.
        QMetaObject::invokeMethod(&receiver_, [] { CheckSynchronize(0); }, Qt::QueuedConnection);
    });
}

SynchronizePump::~SynchronizePump() {
    SetWakeMainThreadHook(nullptr);
    CheckSynchronize(0);  // nobody may be left waiting for a call the loop will never run
}

}  // namespace kv
