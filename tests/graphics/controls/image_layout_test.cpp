// Where a picture control puts its picture with Stretch, Center and Proportional.
#include <gtest/gtest.h>

#include "graphics/controls/image_layout.h"

namespace kv {
namespace {

TRect Dest(int w, int h, int cw, int ch, bool stretch, bool center, bool proportional) {
    return ImageDestRect(w, h, cw, ch, ImageLayoutOptions{stretch, center, proportional});
}

TEST(ImageDestRectTest, WithoutStretchThePictureKeepsItsSizeAtTheTopLeftOrCentred) {
    EXPECT_EQ(Dest(114, 74, 114, 74, false, false, false), (TRect{0, 0, 114, 74}));
    EXPECT_EQ(Dest(105, 105, 688, 448, false, false, false), (TRect{0, 0, 105, 105}));  // resized control
    EXPECT_EQ(Dest(300, 500, 100, 100, false, false, false), (TRect{0, 0, 300, 500}));  // larger: cut off
    EXPECT_EQ(Dest(20, 11, 100, 50, false, true, false), (TRect{40, 19, 60, 30}));
    // Negative free space is halved toward zero.
    EXPECT_EQ(Dest(105, 105, 100, 100, false, true, false), (TRect{-2, -2, 103, 103}));
}

TEST(ImageDestRectTest, StretchFillsTheControlIgnoringTheAspectRatio) {
    EXPECT_EQ(Dest(225, 160, 688, 448, true, false, false), (TRect{0, 0, 688, 448}));
    EXPECT_EQ(Dest(219, 54, 215, 54, true, true, false), (TRect{0, 0, 215, 54}));
    EXPECT_EQ(Dest(0, 0, 225, 160, true, false, false), (TRect{0, 0, 225, 160}));
}

TEST(ImageDestRectTest, ProportionalKeepsTheAspectRatioWithTruncatedSizes) {
    // Wide picture: fit the width, then the height if needed.
    EXPECT_EQ(Dest(300, 200, 100, 100, true, false, true), (TRect{0, 0, 100, 66}));
    EXPECT_EQ(Dest(300, 200, 100, 50, true, false, true), (TRect{0, 0, 75, 50}));
    // Tall or square picture: fit the height, then the width if needed.
    EXPECT_EQ(Dest(200, 300, 100, 100, true, false, true), (TRect{0, 0, 66, 100}));
    EXPECT_EQ(Dest(200, 300, 50, 100, true, false, true), (TRect{0, 0, 50, 75}));
    EXPECT_EQ(Dest(30, 30, 100, 70, true, true, true), (TRect{15, 0, 85, 70}));
    // A small picture is enlarged only with Stretch.
    EXPECT_EQ(Dest(30, 20, 100, 100, false, false, true), (TRect{0, 0, 30, 20}));
    EXPECT_EQ(Dest(30, 20, 100, 100, true, false, true), (TRect{0, 0, 100, 66}));
    // Larger in one direction is enough to shrink it, without Stretch.
    EXPECT_EQ(Dest(120, 20, 100, 100, false, true, true), (TRect{0, 42, 100, 58}));
    // 7 / 3 = 2.333...: 100 / r = 42.86 -> 42.
    EXPECT_EQ(Dest(7, 3, 100, 100, true, false, true), (TRect{0, 0, 100, 42}));
    // An empty picture under Proportional falls back to the whole control.
    EXPECT_EQ(Dest(0, 5, 100, 4, false, false, true), (TRect{0, 0, 100, 4}));
}

}  // namespace
}  // namespace kv
