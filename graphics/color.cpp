#include "graphics/color.h"

#include <array>
#include <atomic>

namespace kv {
namespace {

// A light desktop theme: the usual grey-and-white values of current desktops.
constexpr std::array<TColor, kSystemColorCount> kDefaultSystemColors = {
    MakeColor(200, 200, 200),  // 0 scroll bar
    MakeColor(58, 110, 165),   // 1 desktop background
    MakeColor(153, 180, 209),  // 2 active caption
    MakeColor(191, 205, 219),  // 3 inactive caption
    MakeColor(240, 240, 240),  // 4 menu
    MakeColor(255, 255, 255),  // 5 window
    MakeColor(100, 100, 100),  // 6 window frame
    MakeColor(0, 0, 0),        // 7 menu text
    MakeColor(0, 0, 0),        // 8 window text
    MakeColor(0, 0, 0),        // 9 caption text
    MakeColor(180, 180, 180),  // 10 active border
    MakeColor(244, 247, 252),  // 11 inactive border
    MakeColor(171, 171, 171),  // 12 application work space
    MakeColor(0, 120, 215),    // 13 highlight
    MakeColor(255, 255, 255),  // 14 highlight text
    MakeColor(240, 240, 240),  // 15 button face
    MakeColor(160, 160, 160),  // 16 button shadow
    MakeColor(109, 109, 109),  // 17 grey text
    MakeColor(0, 0, 0),        // 18 button text
    MakeColor(0, 0, 0),        // 19 inactive caption text
    MakeColor(255, 255, 255),  // 20 button highlight
    MakeColor(105, 105, 105),  // 21 3-D dark shadow
    MakeColor(227, 227, 227),  // 22 3-D light
    MakeColor(0, 0, 0),        // 23 tooltip text
    MakeColor(255, 255, 225),  // 24 tooltip background
    MakeColor(0, 0, 0),        // 25 (no system colour)
    MakeColor(0, 102, 204),    // 26 hot-tracked item
    MakeColor(185, 209, 234),  // 27 active caption gradient
    MakeColor(215, 228, 242),  // 28 inactive caption gradient
    MakeColor(51, 153, 255),   // 29 menu highlight
    MakeColor(240, 240, 240),  // 30 menu bar
};

std::array<std::atomic<TColor>, kSystemColorCount>& Table() {
    static std::array<std::atomic<TColor>, kSystemColorCount> table;
    static const bool filled = [] {
        for (int i = 0; i < kSystemColorCount; ++i) table[i].store(kDefaultSystemColors[i]);
        return true;
    }();
    (void)filled;
    return table;
}

}  // namespace

TColor GetSystemColor(int index) {
    if (index < 0 || index >= kSystemColorCount) return clBlack;
    return Table()[index].load(std::memory_order_relaxed);
}

void SetSystemColor(int index, TColor rgb) {
    if (index < 0 || index >= kSystemColorCount) return;
    Table()[index].store(rgb & 0xFFFFFF, std::memory_order_relaxed);
}

void ResetSystemColors() {
    for (int i = 0; i < kSystemColorCount; ++i) Table()[i].store(kDefaultSystemColors[i]);
}

TColor ResolveColor(TColor color) {
    if (color < 0) return GetSystemColor(color & 0xFF);
    return color & 0xFFFFFF;
}

RgbQuad ColorToRgb(TColor color) {
    const TColor rgb = ResolveColor(color);
    return RgbQuad{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), 0};
}

TColor RgbToColor(RgbQuad rgb) { return MakeColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace kv
