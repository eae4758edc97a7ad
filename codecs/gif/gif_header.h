#pragma once
// TGIFHeader: the signature check, the logical screen descriptor (kept as its 7 file bytes) and
// the global colour table. Signature and version are not kept.
#include <cstdint>

#include "codecs/gif/gif_color_map.h"
#include "codecs/gif/gif_item.h"
#include "codecs/gif/gif_errors.h"

namespace kv {

class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(TGIFImage* image) : TGIFItem(image), globalColorMap_(this) {}

    // Reads "GIF" (any letter case; also accepted 4 bytes further on), any version, the screen
    // descriptor and the global table when its flag is set.
    void LoadFromStream(TStream& stream) override;
    // Logical screen 0 x 0, flags 0, no global table.
    void Clear();
    // Takes the screen descriptor and the global table of source.
    void CopyFrom(const TGIFHeader& source);

    uint16_t ScreenWidth() const { return screenWidth_; }
    uint16_t ScreenHeight() const { return screenHeight_; }
    void SetScreenWidth(uint16_t value) { screenWidth_ = value; }
    void SetScreenHeight(uint16_t value) { screenHeight_ = value; }
    uint8_t ScreenFlags() const { return screenFlags_; }
    uint8_t BackgroundIndex() const { return backgroundIndex_; }
    uint8_t AspectRatio() const { return aspectRatio_; }
    bool HasGlobalColorMap() const { return (screenFlags_ & 0x80) != 0; }

    TGIFGlobalColorMap& GlobalColorMap() { return globalColorMap_; }
    const TGIFGlobalColorMap& GlobalColorMap() const { return globalColorMap_; }

private:
    uint16_t screenWidth_ = 0;
    uint16_t screenHeight_ = 0;
    uint8_t screenFlags_ = 0;
    uint8_t backgroundIndex_ = 0;
    uint8_t aspectRatio_ = 0;
    TGIFGlobalColorMap globalColorMap_;
};

}  // namespace kv
