#pragma once
// Two first uses of the window toolkit that block the window thread, begun on worker threads as
// soon as the application object exists, while the window thread builds the window:
//  - Qt's font database, filled from the font configuration on the first Qt font used (the
//    windowed controls' fonts); its functions are thread-safe and the database is shared;
//  - the desktop session's message bus (not on the headless platforms): the item views report
//    their first selection to the accessibility layer, whose first use connects to the bus and
//    waits until that succeeds or fails (with no bus running, after trying to start one). The
//    connection is shared.
// Whichever first use the window thread reaches before its worker is done waits for the same
// work, so nothing depends on the workers having finished. Both are joined on destruction.
#include <thread>

namespace kv {

class ToolkitWarmUp {
public:
    ToolkitWarmUp();  // after the application object, and destroyed before it
    ~ToolkitWarmUp();
    ToolkitWarmUp(const ToolkitWarmUp&) = delete;
    ToolkitWarmUp& operator=(const ToolkitWarmUp&) = delete;

private:
    std::thread fonts_;
    std::thread bus_;
};

}  // namespace kv
