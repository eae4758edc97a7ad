#pragma once
// TGIFSubImage: one frame of a GIF: its image descriptor (kept as the file's 10 bytes), the
// extensions that preceded it, an optional local colour table and its decoded colour indices;
// and, on first need, its rendered bitmap and transparency mask.
#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gif/gif_color_map.h"
#include "codecs/gif/gif_extensions.h"
#include "codecs/gif/gif_item.h"
#include "graphics/geometry.h"
#include "codecs/gif/gif_errors.h"

namespace kv {

class Dib;
class TBitmap;
class TCanvas;

class TGIFExtensionList : public TGIFList<TGIFExtension> {
public:
    using TGIFList::TGIFList;
};

class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFImage* image);
    ~TGIFSubImage() override;

    // Reads the extensions in front of the image, the descriptor, the local table and the pixel
    // data. A frame may end up with extensions and no image.
    void LoadFromStream(TStream& stream) override;
    // Drops extensions, colour table, pixels, size, transparency and the rendered bitmap.
    void Clear();
    // Becomes a copy of source's descriptor, table, extensions and pixels (not its rendering).
    void CopyFrom(const TGIFSubImage& source);

    uint8_t Separator() const { return separator_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    uint8_t ImageFlags() const { return imageFlags_; }
    bool Interlaced() const { return (imageFlags_ & 0x40) != 0; }
    bool HasLocalColorMap() const { return (imageFlags_ & 0x80) != 0; }
    // For building frames in code: the descriptor's place and size.
    void SetBounds(uint16_t left, uint16_t top, uint16_t width, uint16_t height);

    TGIFLocalColorMap& ColorMap() { return colorMap_; }
    const TGIFLocalColorMap& ColorMap() const { return colorMap_; }
    TGIFExtensionList& ExtensionBlocks() { return extensions_; }
    const TGIFExtensionList& ExtensionBlocks() const { return extensions_; }

    // Width x Height colour indices, row by row from the top; empty when the frame has no image.
    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    void SetPixels(std::vector<uint8_t> pixels);
    size_t PixelBytes() const { return pixels_.size(); }
    // No pixels (or fewer than the size needs), or a width or height of 0.
    bool Empty() const {
        return width_ == 0 || height_ == 0 || pixels_.size() < static_cast<size_t>(width_) * height_;
    }

    bool HasTransparency() const { return hasTransparency_; }
    void SetHasTransparency(bool value) { hasTransparency_ = value; }
    // The first graphic control extension read for this frame (owned by ExtensionBlocks).
    TGIFGraphicControlExtension* GraphicControl() const { return graphicControl_; }
    // The transparent index when the frame has transparency, else -1.
    int TransparentIndex() const;

    // ---- rendering ----
    // The frame palette: the local table, else the picture palette.
    std::vector<RgbQuad> FramePalette() const;
    // The frame as an 8-bit bitmap of its size holding its colour indices (made on first use).
    TBitmap& Bitmap();
    // The transparency mask (1 bit, set = transparent), or nullptr when no pixel is transparent
    // or the frame has no transparency.
    const Dib* Mask();
    // Draws the frame into rect in proportion to the logical screen; through the mask when
    // transparent is asked and the frame has one; repeated at its own size when tiling.
    void Draw(TCanvas& canvas, const TRect& rect, bool transparent, bool tile);
    // The frame's place inside rect in proportion to the logical screen.
    TRect PlaceIn(const TRect& rect) const;
    // Throws the rendered bitmap and mask away (they are made again on next use).
    void ReleaseRendering();

private:
    void ReadExtensions(TStream& stream);
    void Render();
    void DrawAt(TCanvas& canvas, const TRect& place, bool transparent);

    uint8_t separator_ = kGifImageSeparator;
    uint16_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    uint8_t imageFlags_ = 0;
    TGIFLocalColorMap colorMap_;
    TGIFExtensionList extensions_;
    std::vector<uint8_t> pixels_;
    bool hasTransparency_ = false;
    TGIFGraphicControlExtension* graphicControl_ = nullptr;

    std::unique_ptr<TBitmap> frameBitmap_;
    std::unique_ptr<Dib> transparencyMask_;
    bool maskWanted_ = true;
};

class TGIFImageList : public TGIFList<TGIFSubImage> {
public:
    using TGIFList::TGIFList;
    // Reads frames until the trailer, the end of the data or a byte that begins no block
    // ("Unknown GIF block type"). A frame that fails is dropped and the failure travels on.
    void LoadFromStream(TStream& stream);
};

// Bytes an extension is counted with against the picture's storage limit.
inline constexpr uint64_t kGifExtensionCharge = 128;

}  // namespace kv
