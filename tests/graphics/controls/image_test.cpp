// The picture control: its drawing surface, the picture-changed step and painting.
#include <gtest/gtest.h>

#include "codecs/jpeg.h"
#include "control_test_support.h"
#include "graphics/controls/image.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

using testing::MakeSurface;
using testing::Pixel;
using testing::Rgb;

// A bitmap whose pixel (x, y) is (red x, green y, blue 7).
std::unique_ptr<TBitmap> Gradient(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    Dib* dib = bitmap->MutableDib();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dib->SetPixel(x, y, RgbQuad{7, static_cast<uint8_t>(y), static_cast<uint8_t>(x), 0});
    return bitmap;
}

class ImageTest : public ::testing::Test {
protected:
    ImageTest() {
        host.SetColor(clGray);
        host.SetClientSize(760, 560);
        surface = MakeSurface(760, 560);
    }
    void Paint() { host.PaintRegion(surface->Canvas(), host.ClientRect()); }
    static TBitmap& BitmapOf(TImage& image) { return dynamic_cast<TBitmap&>(*image.Picture().Graphic()); }

    TControlHost host;
    std::unique_ptr<TBitmap> surface;
};

TEST_F(ImageTest, ANewImageIs105SquareWithEveryOptionOff) {
    TImage image;
    EXPECT_EQ(image.Width(), 105);
    EXPECT_EQ(image.Height(), 105);
    EXPECT_FALSE(image.Stretch() || image.Center() || image.Proportional() || image.Transparent() ||
                 image.IncrementalDisplay() || image.AutoSize());
    EXPECT_EQ(image.Picture().Graphic(), nullptr);
    EXPECT_FALSE(image.Opaque());
}

TEST_F(ImageTest, TheSurfaceIsABitmapOfTheControlsSizeAtTheFirstRequest) {
    TImage piece;
    piece.SetHeight(74);
    piece.SetWidth(114);
    TCanvas& canvas = piece.Canvas();
    EXPECT_EQ(BitmapOf(piece).Width(), 114);
    EXPECT_EQ(BitmapOf(piece).Height(), 74);
    EXPECT_EQ(&piece.Canvas(), &canvas);  // the same surface afterwards
    EXPECT_EQ(Pixel(BitmapOf(piece), 113, 73), Rgb(clWhite));

    // Asked before resizing, the bitmap keeps the size the control had then.
    TImage board;
    board.Canvas();
    board.SetBounds(25, 80, 688, 448);
    EXPECT_EQ(BitmapOf(board).Width(), 105);
    EXPECT_EQ(BitmapOf(board).Height(), 105);
    // Not stretched, it shows unscaled at the top-left; the rest of the control shows what lies
    // beneath.
    board.Canvas().Brush().SetColor(clRed);
    board.Canvas().FillRect({0, 0, 105, 105});
    board.SetParent(&host);
    Paint();
    EXPECT_EQ(Pixel(*surface, 25, 80), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 129, 184), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 130, 184), Rgb(clGray));
}

TEST_F(ImageTest, ASurfaceIsRefusedWhenThePictureIsNotABitmap) {
    TImage preview;
    preview.Picture().Replace(std::make_unique<TJPEGImage>());
    TGraphic* before = preview.Picture().Graphic();
    try {
        preview.Canvas();
        FAIL() << "no failure raised";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Can only modify an image if it contains a bitmap");
    }
    EXPECT_EQ(preview.Picture().Graphic(), before);
}

TEST_F(ImageTest, DrawingOnTheSurfaceInvalidatesTheControl) {
    TImage piece;
    piece.SetBounds(30, 70, 114, 74);
    piece.SetParent(&host);
    piece.Canvas();
    host.TakeUpdateRect();
    piece.Canvas().Brush().SetColor(clRed);
    piece.Canvas().FillRect({0, 0, 10, 10});
    EXPECT_EQ(host.TakeUpdateRect(), (TRect{30, 70, 144, 144}));
    Paint();
    EXPECT_EQ(Pixel(*surface, 30, 70), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 40, 80), Rgb(clWhite));
}

TEST_F(ImageTest, AStretchedBoardEnlargesThePictureWithoutBlending) {
    TImage board;
    board.SetBounds(25, 80, 688, 448);
    board.SetStretch(true);
    auto picture = Gradient(225, 160);
    board.Picture().SetGraphic(picture.get());
    board.SetParent(&host);
    Paint();
    int lastRed = -1, lastGreen = -1;
    for (int x = 0; x < 688; ++x) {
        const RgbQuad p = Pixel(*surface, 25 + x, 80 + 200);
        ASSERT_EQ(p.blue, 7);
        ASSERT_GE(p.red, lastRed);
        ASSERT_LE(p.red, lastRed + 1);  // every source column shows, none blended
        lastRed = p.red;
    }
    EXPECT_EQ(lastRed, 224);
    for (int y = 0; y < 448; ++y) {
        const RgbQuad p = Pixel(*surface, 25 + 300, 80 + y);
        ASSERT_GE(p.green, lastGreen);
        ASSERT_LE(p.green, lastGreen + 1);
        lastGreen = p.green;
    }
    EXPECT_EQ(lastGreen, 159);
    EXPECT_EQ(Pixel(*surface, 24, 80), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 713, 527), Rgb(clGray));
}

TEST_F(ImageTest, UnstretchedPiecesAreDrawnOneToOneAndCentredPicturesInTheMiddle) {
    TImage piece;
    piece.SetBounds(100, 100, 40, 30);
    auto picture = Gradient(40, 30);
    piece.Picture().SetGraphic(picture.get());
    piece.SetParent(&host);
    TImage centred;
    centred.SetBounds(300, 100, 60, 40);
    centred.SetCenter(true);
    auto small = Gradient(20, 10);
    centred.Picture().SetGraphic(small.get());
    centred.SetParent(&host);
    Paint();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Pixel(*surface, 100 + x, 100 + y), (RgbQuad{7, static_cast<uint8_t>(y), static_cast<uint8_t>(x), 0}));
    EXPECT_EQ(centred.DestRect(), (TRect{20, 15, 40, 25}));
    EXPECT_EQ(Pixel(*surface, 320, 115), (RgbQuad{7, 0, 0, 0}));
    EXPECT_EQ(Pixel(*surface, 339, 124), (RgbQuad{7, 9, 19, 0}));
    EXPECT_EQ(Pixel(*surface, 319, 115), Rgb(clGray));
}

TEST_F(ImageTest, OnlyAStretchedNonTransparentPictureMakesTheControlOpaque) {
    TImage image;
    image.SetStretch(true);
    EXPECT_FALSE(image.Opaque());  // no picture
    auto picture = Gradient(8, 8);
    image.Picture().SetGraphic(picture.get());
    EXPECT_TRUE(image.Opaque());
    image.SetProportional(true);
    EXPECT_FALSE(image.Opaque());
    image.SetProportional(false);
    image.SetTransparent(true);
    EXPECT_FALSE(image.Opaque());
    EXPECT_TRUE(image.Picture().Graphic()->Transparent());  // the control's flag goes to the picture
    image.SetTransparent(false);
    EXPECT_FALSE(image.Picture().Graphic()->Transparent());
    image.SetStretch(false);
    EXPECT_FALSE(image.Opaque());
    image.SetStretch(true);
    TBitmap empty;
    image.Picture().SetGraphic(&empty);  // draws nothing: what lies beneath must be painted
    EXPECT_FALSE(image.Opaque());
}

TEST_F(ImageTest, AutoSizeTakesThePicturesSize) {
    TImage button;
    button.SetBounds(24, 8, 225, 57);
    button.SetAutoSize(true);
    auto picture = Gradient(219, 54);
    button.Picture().SetGraphic(picture.get());
    EXPECT_EQ(button.BoundsRect(), (TRect{24, 8, 24 + 219, 8 + 54}));
}

TEST_F(ImageTest, ResizingAButtonRepaintsTheStretchedPictureAtTheNewSize) {
    TImage button;
    button.SetBounds(24, 8, 225, 57);
    button.SetStretch(true);
    auto picture = Gradient(219, 54);
    button.Picture().SetGraphic(picture.get());
    button.SetParent(&host);
    Paint();
    host.TakeUpdateRect();
    button.SetWidth(215);
    button.SetHeight(54);
    EXPECT_EQ(host.TakeUpdateRect(), (TRect{24, 8, 249, 65}));
    host.PaintRegion(surface->Canvas(), {24, 8, 249, 65});
    EXPECT_EQ(Pixel(*surface, 24 + 214, 8 + 53), (RgbQuad{7, 53, 218, 0}));
    EXPECT_EQ(Pixel(*surface, 24 + 215, 8), Rgb(clGray));  // the freed strip shows the window
    EXPECT_EQ(Pixel(*surface, 24, 8 + 54), Rgb(clGray));
}

}  // namespace
}  // namespace kv
