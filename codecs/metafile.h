#pragma once
// TMetafile: the registry's class for Windows metafiles (wmf, emf). This program draws no vector
// pictures: reading one is refused, and a metafile cannot become a bitmap.
#include "codecs/unreadable_graphic.h"

namespace kv {

class TMetafile : public TUnreadableGraphic<TMetafile> {
public:
    static constexpr const char* kNotSupportedText = "Metafiles are not supported";
    const char* ClassName() const override { return "TMetafile"; }
};

}  // namespace kv
