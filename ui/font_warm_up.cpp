#include "ui/font_warm_up.h"

#include <exception>

#include "game/game_board.h"
#include "graphics/font_engine.h"
#include "graphics/tools.h"
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
        // The board's placeholder, drawn in the canvas's default face before the first paint.
        FontRequest placeholder;
        placeholder.height = -MulDiv(kPlaceholderFontSize, ScreenPixelsPerInch(), 72);
        engine.Measure(placeholder, kPlaceholderText);
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
