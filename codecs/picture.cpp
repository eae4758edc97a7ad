#include "codecs/picture.h"

#include "codecs/file_formats.h"
#include "runtime/exceptions.h"

namespace kv {

TPicture::TPicture() { GetFileFormats(); }  // the registry exists from the first holder on

TPicture::~TPicture() = default;

std::string TPicture::ExtensionOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return {};
    if (path.find_first_of("/\\:", dot + 1) != std::string::npos) return {};
    return path.substr(dot + 1);
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    const TGraphicClass* graphicClass = GetFileFormats().FindExt(extension);
    if (!graphicClass) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    std::unique_ptr<TGraphic> picture = graphicClass->Create();
    HookProgress(*picture);
    picture->LoadFromFile(path);  // a failure releases the new picture; ours stays as it was
    Replace(std::move(picture));
}

void TPicture::Assign(const TGraphic* source) {
    if (!source) {
        Replace(nullptr);
        return;
    }
    const TGraphicClass* graphicClass = GetFileFormats().FindClassName(source->ClassName());
    if (!graphicClass) throw EConvertError(std::string("Cannot assign a ") + source->ClassName() + " to a TPicture");
    std::unique_ptr<TGraphic> picture = graphicClass->Create();
    picture->Assign(source);
    Replace(std::move(picture));
}

void TPicture::Replace(std::unique_ptr<TGraphic> picture) {
    if (picture) {
        HookProgress(*picture);
        picture->OnChange = [this](TGraphic&) { Changed(); };
    }
    graphic_ = std::move(picture);
    Changed();
}

void TPicture::HookProgress(TGraphic& picture) {
    picture.OnProgress = [this](TGraphic& sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                                const TRect& rect, const std::string& message) {
        if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, rect, message);
    };
}

void TPicture::Changed() {
    if (OnChange) OnChange(*this);
}

}  // namespace kv
