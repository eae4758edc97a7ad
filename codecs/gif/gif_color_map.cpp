#include "codecs/gif/gif_color_map.h"

#include "codecs/gif/gif_io.h"
#include "codecs/gif/gif_item.h"
#include "runtime/exceptions.h"

namespace kv {

TGIFColor TGIFColorMap::Color(int index) const {
    if (index < 0 || index >= count_) {
        Warning(kInvalidColorIndexText);
        if (count_ == 0) throw GIFException(kColorTableEmptyText);
        index = 0;
    }
    return colors_[static_cast<size_t>(index)];
}

void TGIFColorMap::Add(TGIFColor color) {
    if (count_ < kMaxColors) colors_[static_cast<size_t>(count_++)] = color;
}

void TGIFColorMap::LoadFromStream(TStream& stream, int count) {
    Clear();
    if (count > kMaxColors) count = kMaxColors;
    uint8_t bytes[3 * kMaxColors];
    ReadExact(stream, bytes, 3 * count);
    for (int i = 0; i < count; ++i) Add({bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]});
}

std::vector<RgbQuad> TGIFColorMap::ToPalette() const {
    std::vector<RgbQuad> palette(static_cast<size_t>(count_));
    for (int i = 0; i < count_; ++i) {
        const TGIFColor& c = colors_[static_cast<size_t>(i)];
        palette[static_cast<size_t>(i)] = RgbQuad{c.Blue, c.Green, c.Red, 0};
    }
    return palette;
}

void TGIFColorMap::Warning(const char* message) const {
    if (owner_) owner_->Warning(message);
}

}  // namespace kv
