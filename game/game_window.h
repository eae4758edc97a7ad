#pragma once
// The window services the game flow relies on: the texts it writes, its message boxes, the
// piece-count box and the clock. The main window implements them over its real controls; tests
// implement them with a recording double. The board and the pieces are reached through the board
// services (game/board_services.h) instead.
#include <string>

namespace kv {

// The window texts the game writes.
enum class WindowText { Label1, Label6, Label7, Label8, Label9, Edit2 };

class GameWindow {
public:
    virtual ~GameWindow() = default;

    // Text of the path box Edit2.
    virtual std::string PathText() const = 0;
    virtual void SetText(WindowText control, const std::string& text) = 0;
    // Modal box with one text and OK, captioned with the application title; returns once closed.
    virtual void ShowMessage(const std::string& text) = 0;
    // Selects item `index` (0 for "2" .. 4 for "6") of ComboBox1 without raising its change event.
    virtual void SetPieceCountIndex(int index) = 0;
    // Makes the text field of ComboBox1 read-only, so N is only chosen from its items.
    virtual void MakePieceCountReadOnly() = 0;
    // Switches Timer1 on (one tick a second) or off. Switching on may throw when no timer is left.
    virtual void SetClockEnabled(bool enabled) = 0;
};

}  // namespace kv
