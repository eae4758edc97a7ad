#pragma once

namespace kv {

// Start-up and shut-down: the application titled "KVADRIKO", the main window, the message loop.
// Returns the program's exit status.
int RunApplication(int argc, char** argv);

}  // namespace kv
