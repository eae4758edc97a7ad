#include "tools/script/simulated_mouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "graphics/controls/control_host.h"

namespace kv {

bool FindPressPoint(const TControlHost& host, const TControl& control, QPoint& point) {
    const int w = control.Width(), h = control.Height();
    if (w <= 0 || h <= 0) return false;
    constexpr int kSteps = 8;
    // Middle first, then ever farther rings of the grid.
    for (int ring = 0; ring <= kSteps; ++ring) {
        for (int i = -ring; i <= ring; ++i) {
            for (int j = -ring; j <= ring; ++j) {
                if (std::max(std::abs(i), std::abs(j)) != ring) continue;
                const int x = control.Left() + w / 2 + i * (w / 2 - 1) / kSteps;
                const int y = control.Top() + h / 2 + j * (h / 2 - 1) / kSteps;
                const bool inWindow = x >= 0 && y >= 0 && x < host.ClientWidth() && y < host.ClientHeight();
                if (inWindow && host.ControlAtPos(TPoint{x, y}) == &control) {
                    point = QPoint(x, y);
                    return true;
                }
            }
        }
    }
    return false;
}

void SimulatedMouse::Send(int type, QPoint at, Qt::MouseButton button) {
    const QPointF local(at);
    QMouseEvent event(static_cast<QEvent::Type>(type), local, target_.mapToGlobal(local), button, held_,
                      Qt::NoModifier);
    QApplication::sendEvent(&target_, &event);
}

void SimulatedMouse::Press(QPoint at, Qt::MouseButton button) {
    held_ |= button;
    Send(QEvent::MouseButtonPress, at, button);
}

void SimulatedMouse::Move(QPoint to) { Send(QEvent::MouseMove, to, Qt::NoButton); }

void SimulatedMouse::Release(QPoint at, Qt::MouseButton button) {
    held_ &= ~Qt::MouseButtons(button);
    Send(QEvent::MouseButtonRelease, at, button);
}

void SimulatedMouse::Click(QPoint at, Qt::MouseButton button) {
    Press(at, button);
    Release(at, button);
}

void SimulatedMouse::Drag(QPoint from, QPoint to, int steps) {
    Press(from);
    const int count = steps > 0 ? steps : 1;
    for (int i = 1; i <= count; ++i) {
        Move(from + (to - from) * i / count);
    }
    Release(to);
}

}  // namespace kv
