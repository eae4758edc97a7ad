#pragma once
#include <QColor>

namespace kv {

// The window's background, the light 3-D shade of the platform's colour scheme.
QColor FormBackgroundColor();

}  // namespace kv
