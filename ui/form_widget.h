#pragma once
// The window surface that hosts graphic controls. The host (graphics/controls) keeps, paints and
// hits the controls without knowing Qt; this widget binds it to Qt:
//  - painting: the region Qt asks for is painted by the host straight into the window's
//    backing-store image, which Qt puts on screen in one go once the windowed controls are
//    painted over it, so no half-drawn state is seen. Where that image cannot take our pixels
//    as they are (a scaled screen, a grab into a picture), the host paints into an off-screen
//    image of the client size (32-bit BGRX) that is then drawn onto the surface;
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

class QPainter;

namespace kv {

class FormWidget : public QWidget {
    Q_OBJECT
public:
    explicit FormWidget(QWidget* parent = nullptr);
    ~FormWidget() override;

    TControlHost& Host() { return host_; }
    // The image of the client area as the last paint left it: the window's backing store when
    // the host paints into it, else the off-screen image.
    const Dib& Buffer() const;
    // Paints a region of the client area into that image (as a paint event would), without
    // putting it on screen.
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
    // The window's backing-store image as storage the host paints into in place: a top-level
    // window's unscaled image of exactly the client size, its pixels 32-bit with blue first.
    // Null where there is none such.
    Dib* Surface() const;
    void PaintRegion(Dib& target, const TRect& region);
    // Puts the off-screen image's rectangles of the region onto the painter's surface.
    void DrawBuffer(QPainter& painter, const QRegion& region) const;
    void EnsureBuffer();

    TControlHost host_;
    mutable std::unique_ptr<Dib> surface_;  // a view of the backing store's pixels
    std::unique_ptr<Dib> buffer_;
    TCanvas bufferCanvas_;
    int paintCount_ = 0;
};

}  // namespace kv
