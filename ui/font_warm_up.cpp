#include "ui/font_warm_up.h"

#include <exception>

#include "game/placeholder_picture.h"
#include "graphics/font_engine.h"
#include "ui/layout_labels.h"

namespace kv {
namespace {

// Measuring a text resolves its face, opens the face at its size and loads, hinted and rendered,
// the glyphs of its characters: all that sizing and painting the labels need. A text missing
// here is only slower, on the window thread.
void WarmUp() {
    try {
        FontEngine& engine = FontEngine::Instance();
        for (const LabelText& label : kMeasuredLabels) engine.Measure(LayoutFontRequest(label.font), label.caption);
        // The board's placeholder, drawn before the first paint; drawing it here keeps it.
        PlaceholderPicture();
    } catch (const std::exception&) {
        // Only a head start: the window thread meets the same failure and reports it.
    }
}

}  // namespace

FontWarmUp::FontWarmUp() : worker_(WarmUp) {}

FontWarmUp::~FontWarmUp() { Join(); }

void FontWarmUp::Join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace kv
