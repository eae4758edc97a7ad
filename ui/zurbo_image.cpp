#include "ui/zurbo_image.h"

#include <QPalette>

#include "ui/system_colors.h"

namespace kv {

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QString::fromUtf8(kFormCaption));
    setFixedSize(kFormClientWidth, kFormClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FormBackgroundColor());
    setPalette(palette);
    setAutoFillBackground(true);
}

}  // namespace kv
