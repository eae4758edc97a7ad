#pragma once
// The window surface that hosts graphic controls. The host (graphics/controls) keeps, paints and
// hits the controls without knowing Qt; this widget binds it to Qt:
//  - painting: the region Qt asks for is painted by the host into one off-screen image of the
//    client size (32-bit BGRX) and put on screen in one go, so no half-drawn state is seen;
//  - invalidation: the host's rectangles become widget updates of exactly those rectangles,
//    and its "update now" becomes an immediate repaint of what it has pending;
//  - mouse: presses, moves and releases (left, right, middle) go to the host's routing. Qt
//    grabs the mouse for the widget from a press until the last button is up, so moves and
//    releases outside the window still arrive and the host's capture works on them.
// Windowed controls are child widgets and therefore always lie above every graphic control.
// On a high-density screen the image is drawn scaled as a whole with nearest-pixel sampling.
#include <QWidget>
#include <memory>

#include "graphics/canvas.h"
#include "graphics/controls/control_host.h"
#include "graphics/dib.h"

namespace kv {

class FormWidget : public QWidget {
    Q_OBJECT
public:
    explicit FormWidget(QWidget* parent = nullptr);
    ~FormWidget() override;

    TControlHost& Host() { return host_; }
    // The off-screen image of the client area as the last paint left it.
    const Dib& Buffer() const { return *buffer_; }
    // Paints a region of the client area into the off-screen image (as a paint event would),
    // without putting it on screen.
    void PaintIntoBuffer(const TRect& region);
    // How many paint events have put the image on screen.
    int PaintCount() const { return paintCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void EnsureBuffer();

    TControlHost host_;
    std::unique_ptr<Dib> buffer_;
    TCanvas bufferCanvas_;
    int paintCount_ = 0;
};

}  // namespace kv
