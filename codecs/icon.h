#pragma once
// TIcon: the registry's class for icon files (ico). Reading icons is refused, and an icon cannot
// become a bitmap.
#include "codecs/unreadable_graphic.h"

namespace kv {

class TIcon : public TUnreadableGraphic<TIcon> {
public:
    static constexpr const char* kNotSupportedText = "Icon files are not supported";
    const char* ClassName() const override { return "TIcon"; }
};

}  // namespace kv
