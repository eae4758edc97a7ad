#pragma once
// Mouse buttons, the shift state that comes with every mouse event, and pointer shapes.
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

// Pointer shapes a control asks for while the pointer is over it; the window layer maps them.
enum class TCursor { crDefault, crHandPoint };

}  // namespace kv
