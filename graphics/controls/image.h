#pragma once
// TImage: the picture control. It owns a picture holder and paints the held picture at its own
// size, stretched to the control, or scaled keeping its aspect ratio, optionally centred. Its
// drawing surface is the canvas of a bitmap held in the picture, made on first request.
#include <memory>

#include "codecs/picture.h"
#include "graphics/canvas.h"
#include "graphics/controls/control.h"
#include "graphics/controls/image_layout.h"

namespace kv {

class TImage : public TGraphicControl {
public:
    TImage();  // 105 x 105, every option off
    ~TImage() override;

    TPicture& Picture() { return *picture_; }
    const TPicture& Picture() const { return *picture_; }
    // The holder takes its own copy of the other holder's picture.
    void SetPicture(const TPicture& value) { picture_->Assign(&value); }

    // The drawing surface. An empty picture first gets a new bitmap of the control's current
    // size; a picture other than a bitmap raises EInvalidOperation "Can only modify an image if
    // it contains a bitmap". The bitmap keeps its size when the control is resized later.
    TCanvas& Canvas();

    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool IncrementalDisplay() const { return incrementalDisplay_; }
    // With AutoSize the control takes the picture's size whenever the picture changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    // Painting covers the whole control: a non-transparent, non-empty picture stretched without
    // keeping its aspect ratio.
    bool Opaque() const override { return opaque_; }
    // Where the picture is drawn, in control coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool incrementalDisplay_ = false;
    bool autoSize_ = false;
    bool opaque_ = false;
};

}  // namespace kv
