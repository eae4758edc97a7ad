#pragma once
// Colour tables of a GIF: up to 256 red-green-blue entries in file order. The global table
// belongs to the header, a local one to a frame; both report their warnings to the picture.
#include <array>
#include <cstdint>
#include <vector>

#include "graphics/dib.h"
#include "codecs/gif/gif_errors.h"

namespace kv {

class TGIFItem;
class TStream;

struct TGIFColor {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TGIFColor&) const = default;
};

class TGIFColorMap {
public:
    static constexpr int kMaxColors = 256;

    // owner receives the warnings (may be null: warnings are dropped).
    explicit TGIFColorMap(TGIFItem* owner) : owner_(owner) {}
    virtual ~TGIFColorMap() = default;

    int Count() const { return count_; }
    // The entry at index without checks beyond the table's capacity (index 0..255).
    const TGIFColor& Entry(int index) const { return colors_[static_cast<size_t>(index) & 0xFF]; }
    // Looking a colour up: an index outside the table warns "Invalid color index" and takes entry
    // 0; an empty table raises GIFException "Color table is empty".
    TGIFColor Color(int index) const;

    void Clear() { count_ = 0; }
    void Add(TGIFColor color);
    // Takes the entries of source; the owner stays.
    void CopyFrom(const TGIFColorMap& source) {
        colors_ = source.colors_;
        count_ = source.count_;
    }
    // Reads count entries of 3 bytes (count at most 256); "Premature end of data" when short.
    void LoadFromStream(TStream& stream, int count);
    // One palette entry per table entry, in table order.
    std::vector<RgbQuad> ToPalette() const;

protected:
    virtual void Warning(const char* message) const;

private:
    TGIFItem* owner_;
    std::array<TGIFColor, kMaxColors> colors_{};
    int count_ = 0;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    using TGIFColorMap::TGIFColorMap;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    using TGIFColorMap::TGIFColorMap;
};

// Entries of a table with size code k (bits 2-0 of the flags): 2^(k+1).
inline int ColorTableSize(uint8_t flags) { return 2 << (flags & 0x07); }

}  // namespace kv
