#pragma once
// Runs the calls that worker threads (GIF painters) hand to the window thread from Qt's event
// loop: each queued call wakes the loop, which then runs CheckSynchronize. A failure that ends
// a worker is raised again on the window thread and reaches the default failure report once.
// Create it on the window thread, before any worker starts, and keep it until the workers have
// stopped.
#include <QObject>

namespace kv {

class SynchronizePump {
public:
    SynchronizePump();
    ~SynchronizePump();
    SynchronizePump(const SynchronizePump&) = delete;
    SynchronizePump& operator=(const SynchronizePump&) = delete;

private:
    QObject receiver_;  // lives on the window thread; queued wake-ups are delivered to it
};

}  // namespace kv
