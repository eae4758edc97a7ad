#pragma once
// The text engine's set-up (the font configuration, FreeType, the layouts' faces and the glyphs
// of the labels they size by their text) run on a worker thread while the window toolkit
// initialises, which waits mostly on the display and on loading its plugins. Join() waits for
// the worker; whatever it did not finish the engine does itself on first use, so nothing
// depends on it having finished.
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
