#pragma once
// Runs the calls that worker threads (GIF painters) hand to the window thread from Qt's event
// loop: each queued call wakes the loop, which then runs CheckSynchronize. A failure that ends
// a worker is raised again on the window thread and reaches the default failure report once.
// Create it on the window thread, before any worker starts, and keep it until the workers have
// stopped.
#include <QObject>
#include <deque>
#include <exception>
#include <mutex>

namespace kv {

class SynchronizePump {
public:
    SynchronizePump();
    ~SynchronizePump();
    SynchronizePump(const SynchronizePump&) = delete;
    SynchronizePump& operator=(const SynchronizePump&) = delete;

private:
    // Lives on the window thread; every wake-up a worker posts is delivered to it. The posted
    // event carries nothing: what crosses threads does so under locks of our own (the runtime's
    // call queue, failuresLock_), a hand-off every tool can see, the thread sanitizer included.
    class Receiver final : public QObject {
    public:
        explicit Receiver(SynchronizePump& pump) : pump_(pump) {}

    protected:
        void customEvent(QEvent*) override;

    private:
        SynchronizePump& pump_;
    };

    void Post();
    void RaiseQueuedFailures();

    std::mutex failuresLock_;
    std::deque<std::exception_ptr> failures_;
    Receiver receiver_{*this};
};

}  // namespace kv
