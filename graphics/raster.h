#pragma once
// The software raster primitives every drawing surface is built on: rectangle fill with a
// brush, pen lines with the sixteen binary mix modes, rectangle copies (one-to-one or
// stretched nearest-pixel) with ternary copy modes, masked copies, and text coverage masks.
//
// Common rules:
// - Coordinates are destination pixels, origin top-left, y downwards; rectangles exclude their
//   right and bottom edges.
// - Every primitive draws only inside the storage and inside `clip`; clipping never changes
//   which pixels a primitive would draw, it only drops those outside.
// - Every storage format of Dib works as a target. Indexed targets (1, 4, 8 bits) take the
//   nearest palette entry for a colour, and the mix and copy modes then work on the index bits,
//   as they do on an indexed device. On 16-bit targets they work on the packed bits, on 24- and
//   32-bit targets on the blue, green and red bytes: lines and text leave the fourth byte of a
//   32-bit pixel alone, fills write it as 0, copies carry it over from the source.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/dib.h"
#include "graphics/geometry.h"

namespace kv {

// Binary mix modes with their platform codes 1..16: how the pen colour P meets the pixel D.
enum class Rop2 : int {
    Black = 1,       // 0
    NotMergePen,     // NOT (P OR D)
    MaskNotPen,      // NOT P AND D
    NotCopyPen,      // NOT P
    MaskPenNot,      // P AND NOT D
    Not,             // NOT D
    XorPen,          // P XOR D
    NotMaskPen,      // NOT (P AND D)
    MaskPen,         // P AND D
    NotXorPen,       // NOT (P XOR D)
    Nop,             // D
    MergeNotPen,     // NOT P OR D
    CopyPen,         // P
    MergePenNot,     // P OR NOT D
    MergePen,        // P OR D
    White,           // all ones
};

// The mode applied bit by bit to two values (every bit of the result is computed).
uint32_t ApplyRop2(Rop2 rop, uint32_t pen, uint32_t dest);
// The mode applied to the red, green and blue bytes (reserved byte of the result is 0).
RgbQuad ApplyRop2(Rop2 rop, RgbQuad pen, RgbQuad dest);

// Pen styles, in the order of their platform numbers.
enum : int { kPsSolid = 0, kPsDash, kPsDot, kPsDashDot, kPsDashDotDot, kPsClear, kPsInsideFrame };

struct RasterPen {
    RgbQuad colour{};
    int width = 1;        // 0 and 1 both give the thin (one-pixel) line
    int style = kPsSolid;
    Rop2 rop = Rop2::CopyPen;
};

// Hatch patterns, in the order of their platform numbers.
enum : int { kHsHorizontal = 0, kHsVertical, kHsFDiagonal, kHsBDiagonal, kHsCross, kHsDiagCross };

struct RasterBrush {
    enum class Kind { Solid, Hollow, Hatched, Pattern };
    Kind kind = Kind::Solid;
    RgbQuad colour{255, 255, 255, 0};
    int hatch = kHsHorizontal;       // for Hatched
    const Dib* pattern = nullptr;    // for Pattern: tiled from the surface origin
};

// The background state of a surface: opaque draws the background colour into the gaps of
// hatches, dashed lines and text cells; transparent leaves those pixels untouched.
struct TextBackground {
    bool opaque = false;
    RgbQuad colour{255, 255, 255, 0};
};

// Fills every pixel of r (inside clip) with the brush; an empty or inverted r changes nothing.
// Solid: the brush colour. Hollow: nothing. Hatched: an 8x8 pattern aligned to the surface
// origin, lines in the brush colour, gaps in the background colour when opaque. Pattern: the
// pattern picture's colours tiled from the surface origin (an absent or empty pattern draws
// nothing). No mix mode applies: pixels are replaced.
void FillRect(Dib& dib, const TRect& clip, const TRect& r, const RasterBrush& brush, const TextBackground& bk);

// Draws a line from `from` towards `to` with the pen's width, style and mix mode; every pixel
// is mixed at most once per call.
// - Width 0 or 1: the thin line of the platform's rasteriser (Bresenham, ties resolved so that a
//   line and its reverse cover the same pixels); `to` itself is not drawn. Dash styles use the
//   patterns dash 18 on / 6 off, dot 3/3, dash-dot 9/6/3/6, dash-dot-dot 9/3/3/3/3/3, counted in
//   pixels along the line from its start; with an opaque background the gaps are mixed in the
//   background colour, else left alone.
// - Width 2 and more: a solid geometric line of that width centred on the path, with round
//   ends (dash styles draw solid, as the platform does for wide pens). Pixel centres strictly
//   inside the shape are drawn. The path runs along pixel corners for even widths and through
//   pixel centres for odd widths, so a 2-pixel vertical line at x covers columns x-1 and x and
//   a 3-pixel one covers x-1..x+1; the round ends reach width/2 beyond both end points.
// - psClear draws nothing; psInsideFrame draws as psSolid. A line whose ends coincide draws
//   nothing.
void LineTo(Dib& dib, const TRect& clip, TPoint from, TPoint to, const RasterPen& pen,
            const TextBackground& bk = {});

// Ternary copy modes (source S, destination D; P is the pattern colour, see StretchCopy).
enum : uint32_t {
    kSrcCopy = 0x00CC0020,
    kSrcPaint = 0x00EE0086,
    kSrcAnd = 0x008800C6,
    kSrcInvert = 0x00660046,
    kSrcErase = 0x00440328,
    kNotSrcCopy = 0x00330008,
    kNotSrcErase = 0x001100A6,
    kMergeCopy = 0x00C000CA,
    kMergePaint = 0x00BB0226,
    kPatCopy = 0x00F00021,
    kPatPaint = 0x00FB0A09,
    kPatInvert = 0x005A0049,
    kDstInvert = 0x00550009,
    kBlackness = 0x00000042,
    kWhiteness = 0x00FF0062,
};

// The copy mode applied bit by bit (only bits 16..23 of the mode, its truth table, matter).
uint32_t ApplyRop3(uint32_t copyMode, uint32_t pattern, uint32_t source, uint32_t dest);

// Copies srcRect of src onto dstRect of dst with the copy mode. Equal sizes copy pixel for pixel;
// otherwise each target pixel takes exactly one source pixel (its centre mapped into the source
// rectangle), never a blend. A negative width or height on exactly one side mirrors that axis.
// Target pixels whose source pixel lies outside src are left unchanged. `pattern` is the colour
// P used by the few modes that involve a pattern. dst and src may be the same storage only when
// the rectangles do not overlap.
void StretchCopy(Dib& dst, const TRect& clip, const TRect& dstRect, const Dib& src, const TRect& srcRect,
                 uint32_t copyMode = kSrcCopy, RgbQuad pattern = {});

// As StretchCopy, but where the mask (same size as src, any format; a set bit of a 1-bit mask,
// or a non-black pixel of any other) marks a source pixel transparent, the target is unchanged.
void MaskedCopy(Dib& dst, const TRect& clip, const TRect& dstRect, const Dib& src, const TRect& srcRect,
                const Dib& mask, uint32_t copyMode = kSrcCopy);

// A 1-bit mask of src (palette black, white): bit 1 where the pixel is exactly `transparent`.
std::unique_ptr<Dib> MakeMask(const Dib& src, RgbQuad transparent);

// A glyph coverage picture: width * height bytes, top-down, 0 (none) to 255 (full).
struct CoverageView {
    int width = 0;
    int height = 0;
    const uint8_t* coverage = nullptr;
};

// Draws coverage with its top-left at (x, y): each pixel becomes D + (colour - D) * c / 255
// (rounded). With an opaque background the cell (x, y, x + width, y + height) is filled with the
// background colour first.
void DrawCoverage(Dib& dib, const TRect& clip, int x, int y, const CoverageView& mask, RgbQuad colour,
                  const TextBackground& bk);

// Same for any mask type with width, height and a coverage container (the font engine's TextMask).
template <class Mask>
void DrawTextMask(Dib& dib, const TRect& clip, int x, int y, const Mask& mask, RgbQuad colour,
                  const TextBackground& bk) {
    if (mask.width <= 0 || mask.height <= 0 ||
        mask.coverage.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height))
        return;  // a mask whose bytes do not match its size is drawn as nothing
    DrawCoverage(dib, clip, x, y, CoverageView{mask.width, mask.height, mask.coverage.data()}, colour, bk);
}

}  // namespace kv
