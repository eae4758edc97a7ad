#include "ui/form_widget.h"

#include <QBackingStore>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "ui/event_dispatch.h"

namespace kv {
namespace {

QRect ToQRect(const TRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
TRect ToTRect(const QRect& r) { return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Top-down 32-bit storage, so its rows are exactly what a QImage of format RGB32 expects.
std::unique_ptr<Dib> MakeBuffer(int width, int height) {
    DibDescription description;
    description.width = width > 0 ? width : 1;
    description.height = -(height > 0 ? height : 1);
    description.bitCount = 32;
    return std::make_unique<Dib>(description);
}

bool MapButton(Qt::MouseButton button, TMouseButton& mapped) {
    switch (button) {
        case Qt::LeftButton: mapped = TMouseButton::mbLeft; return true;
        case Qt::RightButton: mapped = TMouseButton::mbRight; return true;
        case Qt::MiddleButton: mapped = TMouseButton::mbMiddle; return true;
        default: return false;
    }
}

// Modifier keys and the buttons held after the event, as the controls see them.
TShiftState ShiftOf(const QMouseEvent& event) {
    TShiftState shift;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier) shift.Include(TShiftStateItem::ssShift);
    if (keys & Qt::AltModifier) shift.Include(TShiftStateItem::ssAlt);
    if (keys & Qt::ControlModifier) shift.Include(TShiftStateItem::ssCtrl);
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton) shift.Include(TShiftStateItem::ssLeft);
    if (buttons & Qt::RightButton) shift.Include(TShiftStateItem::ssRight);
    if (buttons & Qt::MiddleButton) shift.Include(TShiftStateItem::ssMiddle);
    return shift;
}

TPoint PositionOf(const QMouseEvent& event) {
    const QPointF p = event.position();
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

FormWidget::FormWidget(QWidget* parent) : QWidget(parent), buffer_(MakeBuffer(1, 1)) {
    // Every pixel is painted by the host; Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    host_.OnInvalidate = [this](const TRect& rect) { update(ToQRect(rect)); };
    host_.OnUpdate = [this] {
        const TRect pending = host_.TakeUpdateRect();
        if (!pending.IsEmpty() && isVisible()) repaint(ToQRect(pending));
    };
}

FormWidget::~FormWidget() {
    // Controls that outlive this widget's paint machinery must not call back into it.
    host_.OnInvalidate = nullptr;
    host_.OnUpdate = nullptr;
}

Dib* FormWidget::Surface() const {
    QBackingStore* store = isWindow() ? backingStore() : nullptr;
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return nullptr;
    const auto* image = static_cast<const QImage*>(device);
    // Both formats keep a pixel as blue, green, red and a fourth byte, as our 32-bit storage does.
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return nullptr;
    if (image->devicePixelRatio() != 1.0 || image->width() != width() || image->height() != height() ||
        image->bytesPerLine() != static_cast<qsizetype>(image->width()) * 4)
        return nullptr;
    // The bits are read through constBits() because bits() would detach the image from the
    // buffer Qt's painter already draws into; the memory itself is the store's, and writable.
    auto* bits = const_cast<uint8_t*>(image->constBits());
    if (!surface_ || surface_->Bits() != bits || surface_->Width() != image->width() ||
        surface_->Height() != image->height()) {
        DibDescription rows;  // top-down
        rows.width = image->width();
        rows.height = -image->height();
        rows.bitCount = 32;
        surface_ = Dib::Over(rows, bits, static_cast<size_t>(image->sizeInBytes()));
    }
    return surface_.get();
}

const Dib& FormWidget::Buffer() const {
    if (const Dib* surface = Surface()) return *surface;
    return *buffer_;
}

void FormWidget::EnsureBuffer() {
    const int w = std::max(1, host_.ClientWidth());
    const int h = std::max(1, host_.ClientHeight());
    if (buffer_->Width() != w || buffer_->Height() != h) buffer_ = MakeBuffer(w, h);
}

void FormWidget::PaintRegion(Dib& target, const TRect& region) {
    const TRect clip = region.Intersect(TRect{0, 0, target.Width(), target.Height()});
    if (clip.IsEmpty()) return;
    bufferCanvas_.SetHandle(&target, TPoint{0, 0}, &clip);
    host_.PaintRegion(bufferCanvas_, clip);
    bufferCanvas_.SetHandle(nullptr);
}

void FormWidget::PaintIntoBuffer(const TRect& region) {
    if (Dib* surface = Surface()) {
        PaintRegion(*surface, region);
        return;
    }
    EnsureBuffer();
    PaintRegion(*buffer_, region);
}

void FormWidget::paintEvent(QPaintEvent* event) {
    // Everything pending in the host is covered by this or a later queued paint.
    host_.TakeUpdateRect();
    const QRegion region = event->region();
    QPainter painter(this);
    // In place only when the painter draws on the backing store itself, unshifted: not when the
    // widget is grabbed or rendered into another picture.
    const QPaintEngine* engine = painter.paintEngine();
    QBackingStore* store = backingStore();
    Dib* surface = engine && store && engine->paintDevice() == store->paintDevice() &&
                           painter.deviceTransform().isIdentity()
                       ? Surface()
                       : nullptr;
    if (!surface) EnsureBuffer();
    Dib& target = surface ? *surface : *buffer_;
    DispatchEventDeferringReport([&] {
        for (const QRect& rect : region) PaintRegion(target, ToTRect(rect));
    });
    if (!surface) DrawBuffer(painter, region);
    ++paintCount_;
}

void FormWidget::DrawBuffer(QPainter& painter, const QRegion& region) const {
    const QImage image(buffer_->Bits(), buffer_->Width(), buffer_->Height(),
                       static_cast<qsizetype>(buffer_->Stride()), QImage::Format_RGB32);
    // Nearest pixel: on a high-density screen the client area scales as one picture.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const QRect& rect : region) {
        // Clipped to the one rectangle, the copy is a plain row-by-row blit. Under the region's
        // own clip (the window less the lists, several rectangles) Qt would blend it span by
        // span and farm the spans out to its thread pool, starting the pool's threads and
        // waiting on each batch: milliseconds on the first paint.
        painter.setClipRect(rect);
        painter.drawImage(rect, image, rect);
    }
}

void FormWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    host_.SetClientSize(width(), height());
}

void FormWidget::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!MapButton(event->button(), button)) return;
    const TPoint p = PositionOf(*event);
    const TShiftState shift = ShiftOf(*event);
    DispatchEvent([&] { host_.MouseDown(button, shift, p.x, p.y); });
}

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
    const TPoint p = PositionOf(*event);
    const TShiftState shift = ShiftOf(*event);
    DispatchEvent([&] { host_.MouseMove(shift, p.x, p.y); });
    // The pointer takes the shape of the control under it (a link's hand).
    const TControl* under = host_.ControlAtPos(TPoint{p.x, p.y});
    const bool hand = under != nullptr && under->Cursor() == TCursor::crHandPoint;
    if (hand != (cursor().shape() == Qt::PointingHandCursor)) {
        if (hand) {
            setCursor(Qt::PointingHandCursor);
        } else {
            unsetCursor();
        }
    }
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    if (!MapButton(event->button(), button)) return;
    const TPoint p = PositionOf(*event);
    const TShiftState shift = ShiftOf(*event);
    DispatchEvent([&] { host_.MouseUp(button, shift, p.x, p.y); });
}

}  // namespace kv
