#pragma once
#include <functional>

namespace kv {

class TForm1;

// Start-up and shut-down: the application titled "KVADRIKO", the main window, the message loop.
// onShown, when given, runs once the main window is shown (developer tools drive the window
// through it). Returns the program's exit status.
int RunApplication(int argc, char** argv, const std::function<void(TForm1&)>& onShown = nullptr);

}  // namespace kv
