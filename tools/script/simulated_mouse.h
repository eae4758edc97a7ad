#pragma once
// Mouse events made up by the program itself, delivered to a widget as if the window system had
// sent them. The scripted run of the screenshot tool and the window tests use them.
#include <QPoint>
#include <Qt>

class QWidget;

namespace kv {

class TControl;
class TControlHost;

// A point of the client area where a press would reach `control`, i.e. not covered by a
// control above it; searched on a grid from the control's middle outwards. False when the
// control is hidden everywhere.
bool FindPressPoint(const TControlHost& host, const TControl& control, QPoint& point);

class SimulatedMouse {
public:
    explicit SimulatedMouse(QWidget& target) : target_(target) {}

    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    void Move(QPoint to);
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // Press and release at one point.
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // Press at `from`, move there in `steps` even steps, release at `to`.
    void Drag(QPoint from, QPoint to, int steps = 4);

    Qt::MouseButtons Held() const { return held_; }

private:
    void Send(int type, QPoint at, Qt::MouseButton button);

    QWidget& target_;
    Qt::MouseButtons held_;
};

}  // namespace kv
