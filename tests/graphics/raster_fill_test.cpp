#include <gtest/gtest.h>

#include <vector>

#include "graphics/raster.h"
#include "raster_test_support.h"

namespace kv {
namespace {

using namespace raster_test;

TEST(RasterFillTest, EmptyInvertedAndFullRectangles) {
    Dib dib = Surface(688, 448, kBlack);
    const TRect all{0, 0, 688, 448};
    for (const TRect& r : {TRect{0, 0, 0, 448}, TRect{10, 10, 5, 20}, TRect{10, 20, 30, 10}}) {
        FillRect(dib, all, r, Solid(kWhite), {});
        EXPECT_EQ(CountColour(dib, kBlack), 688 * 448);
    }
    FillRect(dib, all, all, Solid(kWhite), {});
    EXPECT_EQ(CountColour(dib, kWhite), 688 * 448);
    RasterBrush hollow = Solid(kRed);
    hollow.kind = RasterBrush::Kind::Hollow;
    FillRect(dib, all, all, hollow, {});
    EXPECT_EQ(CountColour(dib, kWhite), 688 * 448);
}

TEST(RasterFillTest, ClipAndStorageBoundsAreRespected) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        Dib dib = Surface(20, 10, kBlack, bits);
        FillRect(dib, TRect{3, 2, 9, 100}, TRect{-5, -5, 50, 50}, Solid(kWhite), {});
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(dib.PixelAt(x, y), (x >= 3 && x < 9 && y >= 2) ? kWhite : kBlack) << x << "," << y;
    }
}

TEST(RasterFillTest, FillWritesWholeFourthByteAndIndexedTakesNearestEntry) {
    Dib dib = Surface(3, 1, kBlack);
    dib.Row(0)[3] = 0x77;
    FillRect(dib, TRect{0, 0, 3, 1}, TRect{0, 0, 3, 1}, Solid(kRed), {});
    EXPECT_EQ(dib.Row(0)[3], 0);
    Dib indexed = Surface(4, 1, kBlack, 4);
    FillRect(indexed, TRect{0, 0, 4, 1}, TRect{0, 0, 4, 1}, Solid(RgbQuad{10, 10, 250, 0}), {});
    EXPECT_EQ(indexed.PixelAt(0, 0), kRed);
}

TEST(RasterFillTest, HatchesAreAlignedToTheOriginAndHonourTheBackground) {
    RasterBrush brush = Solid(kBlue);
    brush.kind = RasterBrush::Kind::Hatched;

    // Horizontal hatch, transparent: only the line pixels change.
    brush.hatch = kHsHorizontal;
    Dib dib = Surface(19, 21, kWhite);
    FillRect(dib, TRect{0, 0, 19, 21}, TRect{3, 5, 19, 21}, brush, TextBackground{false, kRed});
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 19; ++x)
            ASSERT_EQ(dib.PixelAt(x, y), (x >= 3 && y >= 5 && y % 8 == 4) ? kBlue : kWhite) << x << "," << y;

    // Every hatch against its expected 8x8 cell, opaque background in the gaps.
    auto isLine = [](int hatch, int x, int y) {
        switch (hatch) {
        case kHsHorizontal: return y == 4;
        case kHsVertical: return x == 4;
        case kHsFDiagonal: return x == y;
        case kHsBDiagonal: return x + y == 7;
        case kHsCross: return x == 4 || y == 4;
        default: return x == y || x + y == 7;
        }
    };
    for (int hatch = 0; hatch < 6; ++hatch) {
        brush.hatch = hatch;
        Dib cell = Surface(16, 16, kWhite);
        FillRect(cell, TRect{0, 0, 16, 16}, TRect{0, 0, 16, 16}, brush, TextBackground{true, kRed});
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(cell.PixelAt(x, y), isLine(hatch, x % 8, y % 8) ? kBlue : kRed) << hatch << ": " << x << "," << y;
    }
}

TEST(RasterFillTest, PatternBrushTilesFromTheOrigin) {
    Dib pattern = Surface(2, 2, kWhite);
    pattern.SetPixel(1, 0, kRed);
    RasterBrush brush;
    brush.kind = RasterBrush::Kind::Pattern;
    brush.pattern = &pattern;
    Dib dib = Surface(6, 5, kBlack);
    FillRect(dib, TRect{0, 0, 6, 5}, TRect{1, 1, 6, 5}, brush, {});
    EXPECT_EQ(dib.PixelAt(0, 0), kBlack);
    EXPECT_EQ(dib.PixelAt(1, 1), kWhite);
    EXPECT_EQ(dib.PixelAt(3, 2), kRed);
    EXPECT_EQ(dib.PixelAt(2, 2), kWhite);
}

TEST(RasterTextTest, CoverageBlendsInTheFontColourOverAnOptionalCell) {
    Dib dib = Surface(6, 3, kWhite);
    const std::vector<uint8_t> coverage = {0, 128, 255, 0, 0, 255};
    struct Mask {
        int width, height;
        std::vector<uint8_t> coverage;
    } mask{3, 2, coverage};
    DrawTextMask(dib, TRect{0, 0, 6, 3}, 1, 1, mask, kBlack, TextBackground{false, kRed});
    EXPECT_EQ(dib.PixelAt(1, 1), kWhite);
    EXPECT_EQ(dib.PixelAt(2, 1), (RgbQuad{127, 127, 127, 0}));
    EXPECT_EQ(dib.PixelAt(3, 1), kBlack);
    EXPECT_EQ(dib.PixelAt(3, 2), kBlack);
    DrawTextMask(dib, TRect{0, 0, 3, 3}, 1, 1, mask, kBlack, TextBackground{true, kRed});
    EXPECT_EQ(dib.PixelAt(1, 1), kRed);
    EXPECT_EQ(dib.PixelAt(2, 1), (RgbQuad{0, 0, 127, 0}));
    EXPECT_EQ(dib.PixelAt(3, 1), kBlack);  // outside the clip: left from before
    EXPECT_EQ(dib.PixelAt(0, 0), kWhite);
    // A mask whose bytes do not match its size draws nothing.
    Mask broken{3, 3, coverage};
    Dib untouched = Surface(4, 4, kWhite);
    DrawTextMask(untouched, TRect{0, 0, 4, 4}, 0, 0, broken, kBlack, TextBackground{true, kRed});
    EXPECT_EQ(CountColour(untouched, kWhite), 16);
}

}  // namespace
}  // namespace kv
