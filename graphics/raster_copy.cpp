// Rectangle copies: one-to-one or nearest-pixel stretched, with ternary copy modes and masks.
#include <vector>

#include "graphics/raster.h"
#include "graphics/raster_span.h"

namespace kv {
namespace {

// Which source pixel each visible target column and row takes. The maps are monotonic, so
// the target pixels with a source pixel inside the source storage form one sub-rectangle;
// `area` is trimmed to it when the mode reads the source.
struct CopyPlan {
    TRect area;
    std::vector<int> xmap;  // source column per target column area.left..area.right-1
    std::vector<int> ymap;  // source row per target row area.top..area.bottom-1
    bool identityColumns = false;  // xmap[i] == xmap[0] + i
};

bool ModeReadsSource(uint32_t mode) {
    const unsigned t = (mode >> 16) & 0xFFu;
    return ((t >> 2) & 0x33u) != (t & 0x33u);
}

// Builds the map of one axis: target position i (0-based in the destination rectangle of
// `dstLength` pixels) takes source position srcStart + floor((2i+1) * srcLength / (2 dstLength)),
// mirrored when `flip`. Returns the first and last visible index whose source is inside [0, srcLimit).
std::vector<int> BuildMap(int visibleFrom, int visibleTo, int dstStart, int64_t dstLength, int srcStart,
                          int64_t srcLength, bool flip, int srcLimit, bool trim, int& keepFrom, int& keepTo) {
    std::vector<int> map;
    map.reserve(static_cast<size_t>(visibleTo - visibleFrom));
    keepFrom = visibleTo;
    keepTo = visibleFrom;
    for (int p = visibleFrom; p < visibleTo; ++p) {
        int64_t i = int64_t{p} - dstStart;
        if (flip) i = dstLength - 1 - i;
        // 128-bit: with 32-bit coordinates the product can exceed 63 bits.
        const int64_t s = srcStart + static_cast<int64_t>((static_cast<__int128>(2 * i + 1) * srcLength) / (2 * dstLength));
        const bool inside = s >= 0 && s < srcLimit;
        if (inside || !trim) {
            keepFrom = std::min(keepFrom, p);
            keepTo = std::max(keepTo, p + 1);
        }
        map.push_back(inside ? static_cast<int>(s) : 0);
    }
    return map;
}

bool MakePlan(const Dib& dst, const TRect& clip, const TRect& dstRect, const Dib& src, const TRect& srcRect,
              bool readsSource, CopyPlan& plan) {
    const int64_t dw = int64_t{dstRect.right} - dstRect.left, dh = int64_t{dstRect.bottom} - dstRect.top;
    const int64_t sw = int64_t{srcRect.right} - srcRect.left, sh = int64_t{srcRect.bottom} - srcRect.top;
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return false;
    const bool flipX = (dw < 0) != (sw < 0);
    const bool flipY = (dh < 0) != (sh < 0);
    const TRect d = dstRect.Normalized();
    const TRect s = srcRect.Normalized();
    const TRect visible = raster::VisibleArea(dst, clip, d);
    if (visible.IsEmpty()) return false;
    int x0, x1, y0, y1;
    std::vector<int> xmap = BuildMap(visible.left, visible.right, d.left, std::abs(dw), s.left, std::abs(sw),
                                     flipX, src.Width(), readsSource, x0, x1);
    std::vector<int> ymap = BuildMap(visible.top, visible.bottom, d.top, std::abs(dh), s.top, std::abs(sh),
                                     flipY, src.Height(), readsSource, y0, y1);
    if (x0 >= x1 || y0 >= y1) return false;
    plan.area = TRect{x0, y0, x1, y1};
    plan.xmap.assign(xmap.begin() + (x0 - visible.left), xmap.begin() + (x1 - visible.left));
    plan.ymap.assign(ymap.begin() + (y0 - visible.top), ymap.begin() + (y1 - visible.top));
    plan.identityColumns = true;
    for (size_t i = 1; i < plan.xmap.size(); ++i)
        if (plan.xmap[i] != plan.xmap[0] + static_cast<int>(i)) {
            plan.identityColumns = false;
            break;
        }
    return true;
}

bool SameRawFormat(const Dib& a, const Dib& b) {
    if (a.BitCount() != b.BitCount()) return false;
    if (a.BitCount() <= 8) {
        const raster::PixelCodec ca(a), cb(b);
        const int n = 1 << a.BitCount();
        for (int i = 0; i < n; ++i)
            if (ca.Decode(static_cast<uint32_t>(i)) != cb.Decode(static_cast<uint32_t>(i))) return false;
        return true;
    }
    const ChannelMasks ma = EffectiveMasks(a.Description()), mb = EffectiveMasks(b.Description());
    return ma.red == mb.red && ma.green == mb.green && ma.blue == mb.blue;
}

bool PlainRgb(const Dib& dib) {
    if (dib.BitCount() == 24) return true;
    if (dib.BitCount() != 32) return false;
    const ChannelMasks m = EffectiveMasks(dib.Description());
    return m.red == 0xFF0000 && m.green == 0xFF00 && m.blue == 0xFF;
}

// Turns source raw values into destination raw values.
class Translator {
public:
    Translator(const Dib& src, const Dib& dst, size_t pixelCount) : srcCodec_(src), dstCodec_(dst) {
        if (SameRawFormat(src, dst)) {
            kind_ = Kind::Same;
        } else if (PlainRgb(src) && PlainRgb(dst)) {
            kind_ = Kind::Rgb;
        } else if (src.BitCount() <= 8 || (src.BitCount() == 16 && pixelCount > 65536)) {
            kind_ = Kind::Table;
            table_.resize(size_t{1} << src.BitCount());
            for (size_t i = 0; i < table_.size(); ++i)
                table_[i] = dstCodec_.Encode(srcCodec_.Decode(static_cast<uint32_t>(i)));
        }
    }
    uint32_t operator()(uint32_t raw) const {
        switch (kind_) {
        case Kind::Same: return raw;
        case Kind::Rgb: return raw & 0xFFFFFFu;
        case Kind::Table: return table_[raw];
        default: return dstCodec_.Encode(srcCodec_.Decode(raw));
        }
    }

private:
    enum class Kind { Same, Rgb, Table, Generic };
    raster::PixelCodec srcCodec_;
    raster::PixelCodec dstCodec_;
    Kind kind_ = Kind::Generic;
    std::vector<uint32_t> table_;
};

// Source copy between plain 24/32-bit storages: no per-pixel format decisions.
template <int SrcBytes, int DstBytes>
void CopyPlainRows(Dib& dst, const Dib& src, const CopyPlan& plan) {
    const int width = plan.area.Width();
    const int* xmap = plan.xmap.data();
    // Enlarged, a source row serves several target rows in a row: those are copies of the first.
    // Not within one storage, where the first may have overwritten the source row.
    const bool reuseRows = &dst != &src;
    for (int row = 0; row < plan.area.Height(); ++row) {
        const uint8_t* s = src.Row(plan.ymap[row]);
        uint8_t* d = dst.Row(plan.area.top + row) + static_cast<size_t>(plan.area.left) * DstBytes;
        if (reuseRows && row > 0 && plan.ymap[row] == plan.ymap[row - 1]) {
            std::memcpy(d, dst.Row(plan.area.top + row - 1) + static_cast<size_t>(plan.area.left) * DstBytes,
                        static_cast<size_t>(width) * DstBytes);
            continue;
        }
        if (SrcBytes == DstBytes && plan.identityColumns) {
            std::memcpy(d, s + static_cast<size_t>(xmap[0]) * SrcBytes, static_cast<size_t>(width) * DstBytes);
            continue;
        }
        for (int i = 0; i < width; ++i) {
            const uint8_t* p = s + static_cast<size_t>(xmap[i]) * SrcBytes;
            if constexpr (SrcBytes == 4 && DstBytes == 4) {
                std::memcpy(d + 4 * static_cast<size_t>(i), p, 4);
            } else if constexpr (DstBytes == 4) {
                const uint32_t v = static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
                std::memcpy(d + 4 * static_cast<size_t>(i), &v, 4);
            } else {
                d[3 * i] = p[0];
                d[3 * i + 1] = p[1];
                d[3 * i + 2] = p[2];
            }
        }
    }
}

bool TryPlainCopy(Dib& dst, const Dib& src, const CopyPlan& plan) {
    if (plan.identityColumns && dst.BitCount() >= 8 && SameRawFormat(src, dst)) {
        const size_t bytes = static_cast<size_t>(dst.BitCount() / 8);
        for (int row = 0; row < plan.area.Height(); ++row)
            std::memcpy(dst.Row(plan.area.top + row) + static_cast<size_t>(plan.area.left) * bytes,
                        src.Row(plan.ymap[row]) + static_cast<size_t>(plan.xmap[0]) * bytes,
                        static_cast<size_t>(plan.area.Width()) * bytes);
        return true;
    }
    if (!PlainRgb(src) || !PlainRgb(dst)) return false;
    const int s = src.BitCount(), d = dst.BitCount();
    if (s == 32 && d == 32) CopyPlainRows<4, 4>(dst, src, plan);
    else if (s == 24 && d == 24) CopyPlainRows<3, 3>(dst, src, plan);
    else if (s == 24 && d == 32) CopyPlainRows<3, 4>(dst, src, plan);
    else CopyPlainRows<4, 3>(dst, src, plan);
    return true;
}

// The general copy: any formats, any mode, optional mask.
template <class Combine>
void CopyGeneral(Dib& dst, const Dib& src, const CopyPlan& plan, const Dib* mask, bool readsSource, Combine combine) {
    const Translator translate(src, dst, static_cast<size_t>(plan.area.Width()) * plan.area.Height());
    const int sbpp = src.BitCount(), dbpp = dst.BitCount();
    const raster::PixelCodec maskCodec(mask ? *mask : src);
    for (int row = 0; row < plan.area.Height(); ++row) {
        const int sy = plan.ymap[row];
        const uint8_t* s = src.Row(sy);
        const uint8_t* m = mask && sy < mask->Height() ? mask->Row(sy) : nullptr;
        uint8_t* d = dst.Row(plan.area.top + row);
        for (int i = 0; i < plan.area.Width(); ++i) {
            const int sx = plan.xmap[i];
            if (mask) {
                if (m == nullptr || sx >= mask->Width()) {
                    // outside the mask: drawn as opaque
                } else if (mask->BitCount() == 1) {
                    if (raster::ReadRaw(m, sx, 1)) continue;
                } else if (maskCodec.Decode(raster::ReadRaw(m, sx, mask->BitCount())) != RgbQuad{}) {
                    continue;
                }
            }
            const int x = plan.area.left + i;
            const uint32_t source = readsSource ? translate(raster::ReadRaw(s, sx, sbpp)) : 0;
            const uint32_t old = raster::ReadRaw(d, x, dbpp);
            raster::WriteRaw(d, x, dbpp, combine(source, old));
        }
    }
}

void Copy(Dib& dst, const TRect& clip, const TRect& dstRect, const Dib& src, const TRect& srcRect, uint32_t mode,
          RgbQuad pattern, const Dib* mask) {
    const bool readsSource = ModeReadsSource(mode) || mask != nullptr;
    CopyPlan plan;
    if (!MakePlan(dst, clip, dstRect, src, srcRect, readsSource, plan)) return;
    if (mode == kSrcCopy && mask == nullptr && TryPlainCopy(dst, src, plan)) return;

    const raster::PixelCodec dstCodec(dst);
    const uint32_t bits = dst.BitCount() >= 32 ? 0xFFFFFFFFu : (1u << dst.BitCount()) - 1;
    const uint32_t patternRaw = dstCodec.Encode(pattern);
    switch (mode) {
    case kSrcCopy: CopyGeneral(dst, src, plan, mask, true, [](uint32_t s, uint32_t) { return s; }); return;
    case kSrcPaint: CopyGeneral(dst, src, plan, mask, true, [](uint32_t s, uint32_t d) { return s | d; }); return;
    case kSrcAnd: CopyGeneral(dst, src, plan, mask, true, [](uint32_t s, uint32_t d) { return s & d; }); return;
    case kSrcInvert: CopyGeneral(dst, src, plan, mask, true, [](uint32_t s, uint32_t d) { return s ^ d; }); return;
    case kNotSrcCopy:
        CopyGeneral(dst, src, plan, mask, true, [bits](uint32_t s, uint32_t) { return ~s & bits; });
        return;
    default:
        CopyGeneral(dst, src, plan, mask, readsSource, [mode, patternRaw, bits](uint32_t s, uint32_t d) {
            return ApplyRop3(mode, patternRaw, s, d) & bits;
        });
        return;
    }
}

}  // namespace

void StretchCopy(Dib& dst, const TRect& clip, const TRect& dstRect, const Dib& src, const TRect& srcRect,
                 uint32_t copyMode, RgbQuad pattern) {
    Copy(dst, clip, dstRect, src, srcRect, copyMode, pattern, nullptr);
}

void MaskedCopy(Dib& dst, const TRect& clip, const TRect& dstRect, const Dib& src, const TRect& srcRect,
                const Dib& mask, uint32_t copyMode) {
    Copy(dst, clip, dstRect, src, srcRect, copyMode, RgbQuad{}, &mask);
}

std::unique_ptr<Dib> MakeMask(const Dib& src, RgbQuad transparent) {
    auto mask = std::make_unique<Dib>(DescriptionFor(src.Width(), src.Height(), 1), MonochromePalette());
    const raster::PixelCodec codec(src);
    transparent.reserved = 0;
    for (int y = 0; y < src.Height(); ++y) {
        const uint8_t* s = src.Row(y);
        uint8_t* m = mask->Row(y);
        for (int x = 0; x < src.Width(); ++x)
            if (codec.Decode(raster::ReadRaw(s, x, src.BitCount())) == transparent) raster::WriteRaw(m, x, 1, 1);
    }
    return mask;
}

}  // namespace kv
