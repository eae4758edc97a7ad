#pragma once
// TIcon: the registry's class for icon files (ico). Reading icons is refused, and an icon cannot
// become a bitmap.
#include "graphics/graphic.h"

namespace kv {

inline constexpr const char* kIconNotSupportedText = "Icon files are not supported";

class TIcon : public TGraphic {
public:
    const char* ClassName() const override { return "TIcon"; }

    void Draw(TCanvas& /*canvas*/, const TRect& /*rect*/) override {}
    bool Empty() const override { return true; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetWidth(int /*value*/) override {}
    void SetHeight(int /*value*/) override {}
    // Raises EInvalidGraphic "Icon files are not supported".
    void LoadFromStream(TStream& stream) override;
    // From another (necessarily empty) icon: nothing to take. Anything else: EConvertError.
    void Assign(const TGraphic* source) override;
};

}  // namespace kv
