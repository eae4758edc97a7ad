#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "graphics/raster.h"
#include "raster_test_support.h"

namespace kv {
namespace {

using namespace raster_test;

TEST(RasterRopTest, AllSixteenMixModes) {
    // With P = 0xCC and D = 0xAA every mode's result is its code minus one, times 0x11.
    for (int code = 1; code <= 16; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(ApplyRop2(static_cast<Rop2>(code), 0xCCu, 0xAAu) & 0xFFu, static_cast<uint32_t>((code - 1) * 0x11));
    }
    EXPECT_EQ(ApplyRop2(Rop2::NotXorPen, kRed, kWhite), kRed);
    EXPECT_EQ(ApplyRop2(Rop2::NotXorPen, kRed, (RgbQuad{30, 20, 10, 0})), (RgbQuad{225, 235, 10, 0}));
    EXPECT_EQ(ApplyRop2(Rop2::NotXorPen, kRed, kBlack), (RgbQuad{255, 255, 0, 0}));
    // Copy modes: the truth table of the third byte.
    EXPECT_EQ(ApplyRop3(kSrcCopy, 0, 0xCC, 0xAA) & 0xFF, 0xCCu);
    EXPECT_EQ(ApplyRop3(kSrcPaint, 0, 0xCC, 0xAA) & 0xFF, 0xEEu);
    EXPECT_EQ(ApplyRop3(kSrcAnd, 0, 0xCC, 0xAA) & 0xFF, 0x88u);
    EXPECT_EQ(ApplyRop3(kSrcInvert, 0, 0xCC, 0xAA) & 0xFF, 0x66u);
    EXPECT_EQ(ApplyRop3(kDstInvert, 0, 0xCC, 0xAA) & 0xFF, 0x55u);
    EXPECT_EQ(ApplyRop3(kPatCopy, 0xF0, 0xCC, 0xAA) & 0xFF, 0xF0u);
}

TEST(RasterLineTest, NotXorRedKeepsRedAndInvertsTheRest) {
    Dib dib = Surface(10, 4, kWhite);
    dib.SetPixel(5, 1, RgbQuad{30, 20, 10, 0});
    const RasterPen pen{kRed, 1, kPsSolid, Rop2::NotXorPen};
    LineTo(dib, All(dib), {0, 1}, {10, 1}, pen);
    EXPECT_EQ(dib.PixelAt(0, 1), kRed);
    EXPECT_EQ(dib.PixelAt(5, 1), (RgbQuad{225, 235, 10, 0}));
    LineTo(dib, All(dib), {0, 1}, {10, 1}, pen);
    EXPECT_EQ(dib.PixelAt(0, 1), kWhite);
    EXPECT_EQ(dib.PixelAt(5, 1), (RgbQuad{30, 20, 10, 0}));
}

TEST(RasterLineTest, FrameDrawsEachCornerOnce) {
    for (Rop2 rop : {Rop2::CopyPen, Rop2::NotXorPen}) {
        Dib dib = Surface(225, 160, kWhite);
        const RasterPen pen{kBlack, 1, kPsSolid, rop};
        const TPoint path[] = {{0, 0}, {0, 159}, {224, 159}, {224, 0}, {0, 0}};
        for (int i = 0; i + 1 < 5; ++i) LineTo(dib, All(dib), path[i], path[i + 1], pen);
        // With not-xor a pixel drawn twice would be white again.
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 225; ++x) {
                const bool border = x == 0 || y == 0 || x == 224 || y == 159;
                ASSERT_EQ(dib.PixelAt(x, y), border ? kBlack : kWhite) << x << "," << y;
            }
    }
}

TEST(RasterLineTest, ThinLinePixelsAndReverseSymmetry) {
    Dib dib = Surface(8, 4, kWhite);
    const RasterPen pen{kBlack};
    LineTo(dib, All(dib), {0, 0}, {4, 1}, pen);
    EXPECT_EQ(PixelsNot(dib, kWhite), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));

    // A line plus its end point covers the same pixels as its reverse plus its start.
    std::mt19937 random(7);
    for (int n = 0; n < 300; ++n) {
        const TPoint a{static_cast<int>(random() % 40), static_cast<int>(random() % 40)};
        const TPoint b{static_cast<int>(random() % 40), static_cast<int>(random() % 40)};
        if (a == b) continue;
        Dib forward = Surface(40, 40, kWhite), backward = Surface(40, 40, kWhite);
        LineTo(forward, All(forward), a, b, pen);
        forward.SetPixel(b.x, b.y, kBlack);
        LineTo(backward, All(backward), b, a, pen);
        backward.SetPixel(a.x, a.y, kBlack);
        ASSERT_EQ(PixelsNot(forward, kWhite), PixelsNot(backward, kWhite)) << a.x << "," << a.y << " " << b.x << "," << b.y;
        // One pixel per step of the longer axis.
        const size_t steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        ASSERT_EQ(PixelsNot(forward, kWhite).size(), steps + 1);
    }
}

TEST(RasterLineTest, ClippingKeepsThePixelsOfTheWholeLine) {
    std::mt19937 random(11);
    const RasterPen pen{kBlack};
    for (int n = 0; n < 200; ++n) {
        const TPoint a{static_cast<int>(random() % 200) - 80, static_cast<int>(random() % 200) - 80};
        const TPoint b{static_cast<int>(random() % 200) - 80, static_cast<int>(random() % 200) - 80};
        // Reference: the whole line drawn on a large surface, then cut to the window.
        Dib big = Surface(200, 200, kWhite);
        LineTo(big, All(big), {a.x + 80, a.y + 80}, {b.x + 80, b.y + 80}, pen);
        Dib small = Surface(40, 40, kWhite);
        const TRect clip{5, 3, 33, 37};
        LineTo(small, clip, a, b, pen);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool expected = clip.Contains({x, y}) && big.PixelAt(x + 80, y + 80) == kBlack;
                ASSERT_EQ(small.PixelAt(x, y) == kBlack, expected) << n << ": " << x << "," << y;
            }
    }
    // Far-away ends do not matter either.
    Dib dib = Surface(10, 10, kWhite);
    LineTo(dib, All(dib), {-1000000000, 5}, {1000000000, 5}, pen);
    EXPECT_EQ(PixelsNot(dib, kWhite).size(), 10u);
    LineTo(dib, All(dib), {2, -2147483647}, {2, 2147483647}, RasterPen{kBlack, 1000000000});
    EXPECT_EQ(PixelsNot(dib, kWhite).size(), 100u);
}

TEST(RasterLineTest, DashStylesAndClearPen) {
    Dib dib = Surface(30, 3, kWhite);
    LineTo(dib, All(dib), {0, 0}, {30, 0}, RasterPen{kBlack, 1, kPsDot});
    for (int x = 0; x < 30; ++x) EXPECT_EQ(dib.PixelAt(x, 0) == kBlack, (x % 6) < 3) << x;
    LineTo(dib, All(dib), {0, 1}, {30, 1}, RasterPen{kBlack, 1, kPsDash}, TextBackground{true, kRed});
    for (int x = 0; x < 30; ++x) EXPECT_EQ(dib.PixelAt(x, 1), (x % 24) < 18 ? kBlack : kRed) << x;
    LineTo(dib, All(dib), {0, 2}, {30, 2}, RasterPen{kBlack, 3, kPsClear});
    EXPECT_EQ(PixelsNot(dib, kWhite).size(), 15u + 30u);
}

TEST(RasterLineTest, WideLinesAreCentredAndTouchEachPixelOnce) {
    Dib dib = Surface(20, 20, kWhite);
    LineTo(dib, All(dib), {6, 0}, {6, 20}, RasterPen{kBlack, 2});
    for (int x = 0; x < 20; ++x) EXPECT_EQ(dib.PixelAt(x, 10) == kBlack, x == 5 || x == 6) << x;
    LineTo(dib, All(dib), {0, 14}, {20, 14}, RasterPen{kBlack, 3});
    for (int y = 0; y < 20; ++y) EXPECT_EQ(dib.PixelAt(15, y) == kBlack, y >= 13 && y <= 15) << y;

    // Xor with 1 on black counts touches modulo 2: every pixel of the shape must read 1.
    const TPoint a{3, 4}, b{27, 17};
    for (int width : {2, 5, 8}) {
        Dib count = Surface(32, 24, kBlack);
        LineTo(count, All(count), a, b, RasterPen{RgbQuad{1, 0, 0, 0}, width, kPsSolid, Rop2::XorPen});
        const double offset = width % 2 ? 0.5 : 0.0, r = width / 2.0;
        const double ax = a.x + offset, ay = a.y + offset, bx = b.x + offset, by = b.y + offset;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                double t = ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / ((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
                t = std::clamp(t, 0.0, 1.0);
                const double distance = std::hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay)));
                if (std::abs(distance - r) < 1e-9) continue;  // on the edge: either way
                ASSERT_EQ(count.PixelAt(x, y).blue, distance < r ? 1 : 0) << width << ": " << x << "," << y;
            }
    }
}

TEST(RasterLineTest, CrossingGridLinesRestoreTheCrossing) {
    Dib dib = Surface(688, 448, kWhite);
    const RasterPen pen{kRed, 2, kPsSolid, Rop2::NotXorPen};
    for (int i = 1; i < 4; ++i) LineTo(dib, All(dib), {172 * i, 0}, {172 * i, 448}, pen);
    for (int i = 1; i < 4; ++i) LineTo(dib, All(dib), {0, 112 * i}, {688, 112 * i}, pen);
    EXPECT_EQ(dib.PixelAt(171, 50), kRed);
    EXPECT_EQ(dib.PixelAt(172, 50), kRed);
    EXPECT_EQ(dib.PixelAt(173, 50), kWhite);
    EXPECT_EQ(dib.PixelAt(50, 111), kRed);
    EXPECT_EQ(dib.PixelAt(50, 112), kRed);
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(dib.PixelAt(171 + dx, 111 + dy), kWhite);
    // Drawing the grid again restores the whole picture.
    for (int i = 1; i < 4; ++i) LineTo(dib, All(dib), {172 * i, 0}, {172 * i, 448}, pen);
    for (int i = 1; i < 4; ++i) LineTo(dib, All(dib), {0, 112 * i}, {688, 112 * i}, pen);
    EXPECT_TRUE(PixelsNot(dib, kWhite).empty());
}

TEST(RasterLineTest, IndexedAndPackedTargetsMixTheirBits) {
    Dib indexed = Surface(8, 2, kWhite, 8);
    LineTo(indexed, All(indexed), {0, 0}, {8, 0}, RasterPen{kRed});
    EXPECT_EQ(indexed.PixelAt(3, 0), kRed);
    Dib packed = Surface(8, 2, kWhite, 16);
    LineTo(packed, All(packed), {0, 0}, {8, 0}, RasterPen{kRed, 1, kPsSolid, Rop2::NotXorPen});
    EXPECT_EQ(packed.PixelAt(3, 0), kRed);
    // 32-bit: the fourth byte is left alone by lines.
    Dib dib = Surface(4, 1, kWhite);
    dib.Row(0)[3] = 0x5A;
    LineTo(dib, All(dib), {0, 0}, {4, 0}, RasterPen{kRed, 1, kPsSolid, Rop2::Not});
    EXPECT_EQ(dib.Row(0)[3], 0x5A);
    EXPECT_EQ(dib.PixelAt(0, 0), kBlack);
}

}  // namespace
}  // namespace kv
