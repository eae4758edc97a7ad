#pragma once
// The text engine's set-up (the font configuration, FreeType, the layouts' faces and the glyphs
// of the labels they size by their text) and the board's placeholder picture, made on a worker
// thread while the window toolkit initialises, which waits mostly on the display and on loading
// its plugins. Join() waits for the worker; whatever it did not finish is done on first use on
// the window thread, so nothing depends on it having finished. The worker draws only before
// Join(), while the window thread draws nothing.
#include <thread>

namespace kv {

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();  // joins
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    void Join();

private:
    std::thread worker_;
};

}  // namespace kv
