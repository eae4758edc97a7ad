#include "ui/system_colors.h"

namespace kv {

QColor FormBackgroundColor() { return QColor(227, 227, 227); }

}  // namespace kv
