#pragma once
// Ends the process as soon as its first widget has been painted, for timing a program from exec
// to its first visible frame. Registered as a start-up routine of the application object, so it
// needs no hook in the program it times. The end comes from the event loop's next turn, after
// the paint in progress has been put on screen, and skips all tear-down (std::_Exit): what is
// timed is start-up alone, the same way for every program that uses it.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <cstdlib>

namespace kv_bench {

class FirstPaintExit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!armed_ && event->type() == QEvent::Paint && target->isWidgetType()) {
            armed_ = true;
            QMetaObject::invokeMethod(this, [] { std::_Exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool armed_ = false;
};

// For Q_COREAPP_STARTUP_FUNCTION: runs inside the application object's constructor.
inline void ExitAfterFirstPaint() {
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaintExit(app));
}

}  // namespace kv_bench
