#pragma once
// The base of the registry's classes for kinds of file this program lists but does not read
// (icons, metafiles): always empty, refusing to load with the kind's own message, and taking
// over nothing but another picture of the same kind (anything else: EConvertError).
#include "graphics/graphic.h"
#include "runtime/exceptions.h"

namespace kv {

template <typename Self>
class TUnreadableGraphic : public TGraphic {
public:
    void Draw(TCanvas& /*canvas*/, const TRect& /*rect*/) override {}
    bool Empty() const override { return true; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetWidth(int /*value*/) override {}
    void SetHeight(int /*value*/) override {}
    // Raises EInvalidGraphic with the kind's "not supported" text.
    void LoadFromStream(TStream& /*stream*/) override { throw EInvalidGraphic(Self::kNotSupportedText); }
    void Assign(const TGraphic* source) override {
        if (source && dynamic_cast<const Self*>(source)) {
            Changed();  // two empty pictures of one kind are alike
            return;
        }
        TGraphic::Assign(source);
    }
};

}  // namespace kv
