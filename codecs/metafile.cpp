#include "codecs/metafile.h"

#include "runtime/exceptions.h"

namespace kv {

void TMetafile::LoadFromStream(TStream& /*stream*/) { throw EInvalidGraphic(kMetafileNotSupportedText); }

void TMetafile::Assign(const TGraphic* source) {
    if (source && dynamic_cast<const TMetafile*>(source)) {
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

}  // namespace kv
