#pragma once
// TPicture: the picture holder of a picture control. It owns at most one picture, loads files by
// extension through the format registry, takes over other pictures and forwards the held
// picture's change and progress events.
#include <functional>
#include <memory>
#include <string>

#include "graphics/graphic.h"

namespace kv {

class TStream;

class TPicture {
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The held picture; nullptr when the holder is empty.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Same as Assign(picture): the holder keeps its own picture of the same class.
    void SetGraphic(const TGraphic* picture) { Assign(picture); }

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Chooses the class by the path's extension, makes a new picture of it and has it read the
    // file. Unknown extension: EInvalidGraphic "Unknown picture file extension (.<ext>)". On any
    // failure the holder keeps the picture it had and fires no change event.
    void LoadFromFile(const std::string& path);

    // A new picture of the source's class takes the source over (a bitmap shares its pixels);
    // nullptr empties the holder. A class the registry does not know raises EConvertError
    // "Cannot assign a <class> to a TPicture". Fires the change event on success.
    void Assign(const TGraphic* source);
    void Assign(const TPicture* source) { Assign(source ? source->Graphic() : nullptr); }

    // Replaces the held picture with `picture` (may be nullptr), hooks its events and fires the
    // change event. Used by the loaders above and by the layout reader.
    void Replace(std::unique_ptr<TGraphic> picture);

    std::function<void(TPicture& sender)> OnChange;
    TProgressEvent OnProgress;

    // The extension of a path as the holder takes it: the text after the last "." provided no
    // path separator ("/", "\" or ":") follows it; empty otherwise.
    static std::string ExtensionOf(const std::string& path);

private:
    void HookProgress(TGraphic& picture);
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};

}  // namespace kv
