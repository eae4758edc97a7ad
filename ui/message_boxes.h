#pragma once
// Modal message boxes of the program: the game's own messages (one text, OK, no icon) and the
// default failure report (stop icon). Both are captioned with the application title.
//
// Every box goes through one replaceable service, so tests (and the scripted run of the
// screenshot tool) answer boxes at once instead of waiting for a player.
#include <string>

class QWidget;

namespace kv {

inline constexpr const char* kApplicationTitle = "KVADRIKO";

enum class MessageBoxIcon { None, Stop };

struct MessageBoxRequest {
    MessageBoxIcon icon = MessageBoxIcon::None;
    std::string caption;
    std::string text;
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows the box and returns once it has been closed.
    virtual void Show(const MessageBoxRequest& request) = 0;
};

// The service in use: the one installed last, else the real modal boxes.
MessageBoxService& MessageBoxes();
// Installs a service (not owned; it must outlive its use). nullptr brings back the real boxes.
void SetMessageBoxService(MessageBoxService* service);

// The window every box opens over: the modal window that is open (the about box, when it is
// shown), else the main window; never "whatever window is active", which may be none right after
// a drop-down closed. The main window is the one given here (not owned; forgotten when it goes).
QWidget* MessageBoxParent();
void SetMessageBoxMainWindow(QWidget* window);

// A game message: one text and OK, captioned "KVADRIKO"; returns once the player closed it.
void ShowGameMessage(const std::string& text);

}  // namespace kv
