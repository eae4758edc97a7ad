#include <gtest/gtest.h>

#include <random>
#include <set>

#include "graphics/raster.h"
#include "raster_test_support.h"

namespace kv {
namespace {

using namespace raster_test;

TEST(RasterCopyTest, OneToOneCopiesEveryFormatPixelForPixel) {
    for (int srcBits : {8, 16, 24, 32})
        for (int dstBits : {24, 32}) {
            SCOPED_TRACE(testing::Message() << srcBits << " -> " << dstBits);
            // Top-down source, bottom-up target.
            const auto converted = RandomDib(50, 30, 3).ConvertTo(DescriptionFor(50, -30, srcBits), DefaultPalette(srcBits));
            const Dib& src = *converted;
            Dib dst = Surface(80, 60, kBlack, dstBits);
            StretchCopy(dst, TRect{0, 0, 80, 60}, TRect{10, 20, 54, 46}, src, TRect{3, 2, 47, 28});
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 80; ++x) {
                    const bool inside = x >= 10 && x < 54 && y >= 20 && y < 46;
                    ASSERT_EQ(dst.PixelAt(x, y), inside ? src.PixelAt(x - 7, y - 18) : kBlack) << x << "," << y;
                }
        }
}

TEST(RasterCopyTest, NearestStretchNeverBlends) {
    for (int bits : {24, 32}) {
        const Dib src = RandomDib(225, 160, 5, bits);
        std::set<uint32_t> colours;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 225; ++x) colours.insert(ColourKey(src.PixelAt(x, y)));
        Dib dst = Surface(688, 448, kBlack, 32);
        StretchCopy(dst, TRect{0, 0, 688, 448}, TRect{0, 0, 688, 448}, src, TRect{0, 0, 225, 160});
        for (int y = 0; y < 448; ++y)
            for (int x = 0; x < 688; ++x) ASSERT_TRUE(colours.count(ColourKey(dst.PixelAt(x, y)))) << x << "," << y;
        // Corners map to corners; the mapping is monotonic.
        EXPECT_EQ(dst.PixelAt(0, 0), src.PixelAt(0, 0));
        EXPECT_EQ(dst.PixelAt(687, 447), src.PixelAt(224, 159));
        EXPECT_EQ(dst.PixelAt(3, 3), src.PixelAt(1, 1));  // 688 / 225 > 3: pixels repeat
    }
    // Shrinking drops rows and columns.
    const Dib big = RandomDib(60, 40, 9);
    Dib small = Surface(6, 4, kBlack);
    StretchCopy(small, TRect{0, 0, 6, 4}, TRect{0, 0, 6, 4}, big, TRect{0, 0, 60, 40});
    EXPECT_EQ(small.PixelAt(2, 1), big.PixelAt(25, 15));
}

TEST(RasterCopyTest, ClipMirrorAndSourceBounds) {
    const Dib src = RandomDib(4, 4, 13);
    Dib dst = Surface(8, 8, kBlack);
    // Mirrored horizontally: a negative destination width.
    StretchCopy(dst, TRect{0, 0, 8, 8}, TRect{4, 0, 0, 4}, src, TRect{0, 0, 4, 4});
    EXPECT_EQ(dst.PixelAt(0, 0), src.PixelAt(3, 0));
    EXPECT_EQ(dst.PixelAt(3, 2), src.PixelAt(0, 2));
    // Clipped: only the clip changes.
    Dib clipped = Surface(8, 8, kBlack);
    StretchCopy(clipped, TRect{1, 1, 3, 3}, TRect{0, 0, 8, 8}, src, TRect{0, 0, 4, 4});
    EXPECT_EQ(clipped.PixelAt(0, 0), kBlack);
    EXPECT_EQ(clipped.PixelAt(2, 2), src.PixelAt(1, 1));
    EXPECT_EQ(clipped.PixelAt(3, 3), kBlack);
    // Source rectangle beyond the source: those target pixels are left alone.
    Dib partial = Surface(8, 8, kBlack);
    StretchCopy(partial, TRect{0, 0, 8, 8}, TRect{0, 0, 6, 6}, src, TRect{-2, -2, 4, 4});
    EXPECT_EQ(partial.PixelAt(1, 1), kBlack);
    EXPECT_EQ(partial.PixelAt(2, 2), src.PixelAt(0, 0));
    EXPECT_EQ(partial.PixelAt(5, 5), src.PixelAt(3, 3));
    // Extreme rectangles neither overflow nor run long: the visible part is all that is mapped.
    Dib huge = Surface(8, 8, kBlack);
    StretchCopy(huge, TRect{0, 0, 8, 8}, TRect{-2000000000, -2000000000, 2000000000, 2000000000}, src,
                TRect{0, 0, 4, 4});
    EXPECT_EQ(huge.PixelAt(0, 0), src.PixelAt(2, 2));
}

TEST(RasterCopyTest, CopyModes) {
    const RgbQuad s{0xCC, 0xCC, 0xCC, 0}, d{0xAA, 0xAA, 0xAA, 0};
    const Dib src = Surface(1, 1, s);
    const struct {
        uint32_t mode;
        uint8_t result;
    } cases[] = {{kSrcCopy, 0xCC},   {kSrcPaint, 0xEE},  {kSrcAnd, 0x88},    {kSrcInvert, 0x66},
                 {kNotSrcCopy, 0x33}, {kBlackness, 0x00}, {kWhiteness, 0xFF}, {kDstInvert, 0x55},
                 {kSrcErase, 0x44},  {kMergePaint, 0xBB}};
    for (int bits : {8, 24, 32})
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << bits << " " << std::hex << c.mode);
            std::vector<RgbQuad> greys;
            for (int i = 0; i < 256; ++i) greys.push_back(RgbQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0});
            Dib dst(DescriptionFor(1, 1, bits), greys);
            dst.SetPixel(0, 0, d);
            StretchCopy(dst, TRect{0, 0, 1, 1}, TRect{0, 0, 1, 1}, src, TRect{0, 0, 1, 1}, c.mode);
            EXPECT_EQ(dst.PixelAt(0, 0), (RgbQuad{c.result, c.result, c.result, 0}));
        }
}

TEST(RasterCopyTest, IndexedTargetsTakeTheNearestEntry) {
    Dib src = Surface(2, 1, RgbQuad{10, 240, 10, 0});
    src.SetPixel(1, 0, RgbQuad{250, 250, 245, 0});
    Dib dst(DescriptionFor(2, 1, 4), SystemPalette16());
    StretchCopy(dst, TRect{0, 0, 2, 1}, TRect{0, 0, 2, 1}, src, TRect{0, 0, 2, 1});
    EXPECT_EQ(dst.PixelAt(0, 0), (RgbQuad{0, 255, 0, 0}));
    EXPECT_EQ(dst.PixelAt(1, 0), kWhite);
}

TEST(RasterCopyTest, MaskedCopyLeavesTransparentPixels) {
    Dib src = Surface(3, 3, kRed);
    src.SetPixel(1, 1, kWhite);
    const auto mask = MakeMask(src, kWhite);
    EXPECT_EQ(mask->BitCount(), 1);
    Dib dst = Surface(6, 6, kBlack);
    MaskedCopy(dst, TRect{0, 0, 6, 6}, TRect{0, 0, 6, 6}, src, TRect{0, 0, 3, 3}, *mask);
    EXPECT_EQ(dst.PixelAt(0, 0), kRed);
    EXPECT_EQ(dst.PixelAt(2, 2), kBlack);
    EXPECT_EQ(dst.PixelAt(3, 3), kBlack);
    EXPECT_EQ(dst.PixelAt(4, 4), kRed);
}

}  // namespace
}  // namespace kv
