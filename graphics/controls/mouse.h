#pragma once
// Mouse buttons and the shift state that comes with every mouse event.
#include <cstdint>

#include "runtime/enum_set.h"

namespace kv {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum class TShiftStateItem : uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

// Modifier keys and the mouse buttons held during the event.
using TShiftState = EnumSet<TShiftStateItem>;

}  // namespace kv
