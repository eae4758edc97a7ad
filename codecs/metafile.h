#pragma once
// TMetafile: the registry's class for Windows metafiles (wmf, emf). This program draws no vector
// pictures: reading one is refused, and a metafile cannot become a bitmap.
#include "graphics/graphic.h"

namespace kv {

inline constexpr const char* kMetafileNotSupportedText = "Metafiles are not supported";

class TMetafile : public TGraphic {
public:
    const char* ClassName() const override { return "TMetafile"; }

    void Draw(TCanvas& /*canvas*/, const TRect& /*rect*/) override {}
    bool Empty() const override { return true; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetWidth(int /*value*/) override {}
    void SetHeight(int /*value*/) override {}
    // Raises EInvalidGraphic "Metafiles are not supported".
    void LoadFromStream(TStream& stream) override;
    // Two empty metafiles are alike; only an empty metafile can exist, so it takes over nothing
    // but another metafile. Anything else: EConvertError "Cannot assign a <source> to a TMetafile".
    void Assign(const TGraphic* source) override;
};

}  // namespace kv
