#include "graphics/graphic.h"

#include <typeinfo>

#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

bool TGraphic::Equals(const TGraphic* other) const {
    if (other == this) return true;
    if (!other || typeid(*other) != typeid(*this)) return false;
    return Empty() && other->Empty();
}

void TGraphic::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Changed();
}

void TGraphic::SaveToStream(TStream& /*stream*/) const {
    throw EInvalidGraphicOperation(std::string("Cannot save a ") + ClassName());
}

void TGraphic::LoadFromFile(const std::string& path) {
    TFileStream stream(path);  // closed by its destructor, also when loading fails
    LoadFromStream(stream);
}

void TGraphic::Assign(const TGraphic* source) {
    if (!source) throw EConvertError(std::string("Cannot assign a nil to a ") + ClassName());
    source->AssignTo(*this);
}

void TGraphic::SetModified(bool value) {
    if (value) {
        Changed();
    } else {
        modified_ = false;
    }
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(*this);
}

void TGraphic::AssignTo(TGraphic& dest) const {
    throw EConvertError(std::string("Cannot assign a ") + ClassName() + " to a " + dest.ClassName());
}

void TGraphic::Progress(TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& rect,
                        const std::string& message) {
    if (OnProgress) OnProgress(*this, stage, percentDone, redrawNow, rect, message);
}

}  // namespace kv
