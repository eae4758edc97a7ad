#include "graphics/controls/image.h"

#include <cstring>

#include "graphics/bitmap.h"
#include "runtime/exceptions.h"

namespace kv {

TImage::TImage() : picture_(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TPicture&) { PictureChanged(); };
}

TImage::~TImage() {
    // The holder's event must not reach a half-destroyed control.
    picture_->OnChange = nullptr;
}

TCanvas& TImage::Canvas() {
    if (!picture_->Graphic()) {
        TBitmap bitmap;
        bitmap.SetWidth(Width());
        bitmap.SetHeight(Height());
        picture_->SetGraphic(&bitmap);  // the holder keeps its own bitmap sharing the storage
    }
    auto* bitmap = dynamic_cast<TBitmap*>(picture_->Graphic());
    if (!bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bitmap->Canvas();
}

void TImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    PictureChanged();
}

void TImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    PictureChanged();
}

void TImage::SetProportional(bool value) {
    if (value == proportional_) return;
    proportional_ = value;
    PictureChanged();
}

void TImage::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    PictureChanged();
}

void TImage::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    PictureChanged();
}

void TImage::PictureChanged() {
    TGraphic* graphic = picture_->Graphic();
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    if (graphic) {
        // Metafiles and icons keep their own transparency.
        const char* name = graphic->ClassName();
        const bool ownTransparency = std::strcmp(name, "TMetafile") == 0 || std::strcmp(name, "TIcon") == 0;
        // Only a real change: setting the flag fires the picture's change event, which lands here.
        if (!ownTransparency && graphic->Transparent() != transparent_) graphic->SetTransparent(transparent_);
    }
    // A picture that draws nothing (none, or an empty one) leaves stale pixels: not opaque.
    opaque_ = graphic && !graphic->Empty() && !graphic->Transparent() && stretch_ && !proportional_;
    // Palettes matter only on indexed displays, which the window layer does not drive: the
    // request to realise it is dropped, and the flag cleared as the window would.
    if (graphic && graphic->PaletteModified()) graphic->SetPaletteModified(false);
    if (!Painting()) Invalidate();
}

TRect TImage::DestRect() const {
    return ImageDestRect(picture_->Width(), picture_->Height(), ClientWidth(), ClientHeight(),
                         ImageLayoutOptions{stretch_, center_, proportional_});
}

void TImage::Paint() {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic) return;
    ControlCanvas().StretchDraw(DestRect(), graphic);
}

}  // namespace kv
