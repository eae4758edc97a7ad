#pragma once
// Mouse buttons, the shift state that comes with every mouse event, and pointer shapes.
#include <cstdint>
#include <initializer_list>

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

// A set of TShiftStateItem bits: modifier keys and the mouse buttons held during the event.
class TShiftState {
public:
    TShiftState() = default;
    TShiftState(std::initializer_list<TShiftStateItem> items) {
        for (auto i : items) bits_ |= static_cast<uint8_t>(i);
    }
    bool Contains(TShiftStateItem i) const { return (bits_ & static_cast<uint8_t>(i)) != 0; }
    TShiftState& Include(TShiftStateItem i) { bits_ |= static_cast<uint8_t>(i); return *this; }
    TShiftState& Exclude(TShiftStateItem i) { bits_ &= static_cast<uint8_t>(~static_cast<uint8_t>(i)); return *this; }
    uint8_t Bits() const { return bits_; }
    bool operator==(const TShiftState&) const = default;

private:
    uint8_t bits_ = 0;
};

// Pointer shapes a control asks for while the pointer is over it; the window layer maps them.
enum class TCursor { crDefault, crArrow, crCross, crIBeam, crHourGlass, crHandPoint };

}  // namespace kv
