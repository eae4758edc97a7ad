#include "codecs/icon.h"

#include "runtime/exceptions.h"

namespace kv {

void TIcon::LoadFromStream(TStream& /*stream*/) { throw EInvalidGraphic(kIconNotSupportedText); }

void TIcon::Assign(const TGraphic* source) {
    if (source && dynamic_cast<const TIcon*>(source)) {
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

}  // namespace kv
