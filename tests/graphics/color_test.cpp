#include "graphics/color.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ColorTest, ExplicitColoursKeepTheirBytes) {
    EXPECT_EQ(clRed, 0x0000FF);
    EXPECT_EQ(ColorToRgb(clRed), (RgbQuad{0, 0, 255, 0}));
    EXPECT_EQ(ColorToRgb(clSkyBlue), (RgbQuad{0xF0, 0xCA, 0xA6, 0}));
    EXPECT_EQ(ColorToRgb(MakeColor(10, 20, 30)), (RgbQuad{30, 20, 10, 0}));
    EXPECT_EQ(RgbToColor(RgbQuad{30, 20, 10, 99}), MakeColor(10, 20, 30));
    // The special values are not system colours; they keep their low bytes.
    EXPECT_EQ(ResolveColor(clNone), 0xFFFFFF);
    EXPECT_EQ(ResolveColor(clDefault), 0);
}

TEST(ColorTest, SystemColoursResolveThroughTheTableByLowByte) {
    ResetSystemColors();
    EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(static_cast<uint32_t>(clGradientInactiveCaption), 0x8000001Cu);
    EXPECT_EQ(ResolveColor(clWindowText), clBlack);
    EXPECT_EQ(ResolveColor(clWindow), clWhite);

    SetSystemColor(22, MakeColor(1, 2, 3));
    EXPECT_EQ(ColorToRgb(cl3DLight), (RgbQuad{3, 2, 1, 0}));
    // Any negative value is looked up by its low byte.
    EXPECT_EQ(ResolveColor(static_cast<TColor>(0xFF000016u)), MakeColor(1, 2, 3));
    // Indices without a slot read as black and ignore writes.
    SetSystemColor(200, clWhite);
    EXPECT_EQ(ResolveColor(static_cast<TColor>(0x800000C8u)), clBlack);
    ResetSystemColors();
    EXPECT_NE(ResolveColor(cl3DLight), MakeColor(1, 2, 3));
}

}  // namespace
}  // namespace kv
