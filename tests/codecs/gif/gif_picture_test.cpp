// The GIF picture as the rest of the program uses it: conversion to a bitmap, drawing a still
// frame through its mask, the palette, and loading through the format registry.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "codecs/file_formats.h"
#include "codecs/gif/gif_app_extensions.h"
#include "codecs/gif/gif_image.h"
#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "tests/codecs/gif/gif_builder.h"
#include "tests/codecs/support/temp_dir.h"

namespace kv {
namespace {

using test::GifWriter;

// Red, green, blue, white.
const std::vector<uint32_t> kFourColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

std::unique_ptr<TGIFImage> LoadGif(const std::vector<uint8_t>& bytes) {
    auto image = std::make_unique<TGIFImage>();
    TMemoryStream stream(bytes);
    image->LoadFromStream(stream);
    return image;
}

RgbQuad Rgb(uint8_t r, uint8_t g, uint8_t b) { return RgbQuad{b, g, r, 0}; }

RgbQuad PixelOf(const TBitmap& bitmap, int x, int y) {
    RgbQuad c = bitmap.GetDib()->PixelAt(x, y);
    c.reserved = 0;
    return c;
}

// A 2 x 2 picture whose index 1 (green) is transparent.
std::vector<uint8_t> TransparentTwoByTwo() {
    GifWriter gif(2, 2, kFourColours);
    gif.GraphicControl(0x01, 0, 1).Frame(0, 0, 2, 2, {0, 1, 2, 1}, 2).Trailer();
    return gif.Bytes();
}

TEST(GifPicture, FullScreenFirstFrameConvertsToItsIndicesAndPalette) {
    auto gif = LoadGif(TransparentTwoByTwo());
    TBitmap bitmap;
    bitmap.Assign(gif.get());
    ASSERT_EQ(bitmap.Width(), 2);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.GetDib()->BitCount(), 8);
    EXPECT_EQ(bitmap.GetDib()->Row(1)[0], 2);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), Rgb(255, 0, 0));
    // The transparent index shows its palette colour.
    EXPECT_EQ(PixelOf(bitmap, 1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(PixelOf(bitmap, 0, 1), Rgb(0, 0, 255));
    // The picture can go; the bitmap keeps the pixels.
    gif.reset();
    EXPECT_EQ(PixelOf(bitmap, 1, 1), Rgb(0, 255, 0));
}

TEST(GifPicture, SmallerFirstFrameLandsAtItsOffsetOnTheLogicalScreen) {
    GifWriter gif(4, 3, kFourColours);
    gif.Frame(1, 1, 2, 1, {2, 0}, 2).Frame(0, 0, 4, 3, std::vector<uint8_t>(12, 2), 2).Trailer();
    auto image = LoadGif(gif.Bytes());
    TBitmap bitmap;
    bitmap.Assign(image.get());
    ASSERT_EQ(bitmap.Width(), 4);
    ASSERT_EQ(bitmap.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            RgbQuad expected = Rgb(255, 255, 255);  // what a new bitmap holds
            if (y == 1 && x == 1) expected = Rgb(0, 0, 255);
            if (y == 1 && x == 2) expected = Rgb(255, 0, 0);
            EXPECT_EQ(PixelOf(bitmap, x, y), expected) << x << "," << y;  // later frames play no part
        }
    ASSERT_NE(image->Bitmap(), nullptr);  // the result is kept
}

TEST(GifPicture, PictureWithoutFramesConvertsToAnEmptyBitmap) {
    GifWriter gif(5, 5, kFourColours);
    auto image = LoadGif(gif.Trailer().Bytes());
    EXPECT_TRUE(image->Empty());
    TBitmap bitmap;
    bitmap.SetSize(3, 3);
    bitmap.Assign(image.get());
    EXPECT_TRUE(bitmap.Empty());
}

TEST(GifPicture, DrawingLeavesTheSurfaceVisibleAtTransparentPixels) {
    auto gif = LoadGif(TransparentTwoByTwo());
    TBitmap target;
    target.SetSize(4, 4);
    target.Canvas().Brush().SetColor(0x00FFFF);  // yellow
    target.Canvas().FillRect({0, 0, 4, 4});
    target.Canvas().StretchDraw({0, 0, 4, 4}, gif.get());
    EXPECT_EQ(PixelOf(target, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(PixelOf(target, 1, 1), Rgb(255, 0, 0));
    EXPECT_EQ(PixelOf(target, 2, 0), Rgb(255, 255, 0));
    EXPECT_EQ(PixelOf(target, 3, 3), Rgb(255, 255, 0));
    EXPECT_EQ(PixelOf(target, 0, 2), Rgb(0, 0, 255));
}

TEST(GifPicture, FrameIsPlacedInProportionToTheLogicalScreen) {
    GifWriter gif(4, 4, kFourColours);
    gif.Frame(2, 0, 2, 2, {0, 0, 0, 0}, 2).Trailer();
    auto image = LoadGif(gif.Bytes());
    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas().StretchDraw({0, 0, 8, 8}, image.get());
    EXPECT_EQ(PixelOf(target, 3, 0), Rgb(255, 255, 255));
    EXPECT_EQ(PixelOf(target, 4, 0), Rgb(255, 0, 0));
    EXPECT_EQ(PixelOf(target, 7, 3), Rgb(255, 0, 0));
    EXPECT_EQ(PixelOf(target, 7, 4), Rgb(255, 255, 255));
}

TEST(GifPicture, TilingRepeatsTheFrameAtItsOwnSize) {
    auto gif = LoadGif(TransparentTwoByTwo());
    gif->PaintFlags |= 1u << static_cast<int>(TGIFPaintFlag::TileFrames);
    gif->PaintFlags &= static_cast<uint16_t>(~(1u << static_cast<int>(TGIFPaintFlag::DrawTransparent)));
    TBitmap target;
    target.SetSize(5, 4);
    target.Canvas().StretchDraw({0, 0, 5, 4}, gif.get());
    EXPECT_EQ(PixelOf(target, 2, 2), Rgb(255, 0, 0));
    EXPECT_EQ(PixelOf(target, 4, 3), Rgb(0, 0, 255));
    EXPECT_EQ(PixelOf(target, 3, 0), Rgb(0, 255, 0));
}

TEST(GifPicture, SeveralFramesShowTheFirstUnlessAFrameIsChosen) {
    GifWriter gif(1, 1, kFourColours);
    gif.GraphicControl(0x01, 10, 1).Frame(0, 0, 1, 1, {1}, 2).Frame(0, 0, 1, 1, {2}, 2).Trailer();
    auto image = LoadGif(gif.Bytes());
    auto drawn = [&]() {
        TBitmap target;
        target.SetSize(1, 1);
        target.Canvas().Brush().SetColor(0x00FFFF);
        target.Canvas().FillRect({0, 0, 1, 1});
        target.Canvas().StretchDraw({0, 0, 1, 1}, image.get());
        return PixelOf(target, 0, 0);
    };
    // Frame 0 is all transparent: the surface stays visible.
    EXPECT_EQ(drawn(), Rgb(255, 255, 0));
    image->ActiveFrame = 1;
    EXPECT_EQ(drawn(), Rgb(255, 255, 0));  // playing pictures ignore the chosen frame
    image->PaintFlags &= static_cast<uint16_t>(~(1u << static_cast<int>(TGIFPaintFlag::PlayFrames)));
    EXPECT_EQ(drawn(), Rgb(0, 0, 255));
    image->PaintFlags = kDefaultGifPaintFlags;
    // Converted while it plays: still the first frame, transparency ignored.
    TBitmap converted;
    converted.Assign(image.get());
    EXPECT_EQ(PixelOf(converted, 0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(drawn(), Rgb(255, 255, 0));  // the animation's own picture is left alone
    // Once converted before any drawing, the kept conversion is what is drawn.
    image = LoadGif(gif.Bytes());
    converted.Assign(image.get());
    EXPECT_EQ(drawn(), Rgb(0, 255, 0));
}

TEST(GifPicture, WithoutAnyColourTableDrawingFails) {
    GifWriter gif(2, 1);
    gif.Frame(0, 0, 2, 1, {0, 1}, 2).Trailer();
    auto image = LoadGif(gif.Bytes());
    TBitmap target;
    target.SetSize(2, 1);
    try {
        target.Canvas().StretchDraw({0, 0, 2, 1}, image.get());
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message(), "No global or local color table defined");
    }
    TBitmap converted;
    EXPECT_THROW(converted.Assign(image.get()), GIFException);
}

TEST(GifPicture, PalettesComeFromTheGlobalTableElseTheFirstFramesTable) {
    auto global = LoadGif(TransparentTwoByTwo());
    ASSERT_EQ(global->Palette().size(), 4u);
    EXPECT_EQ(global->Palette()[2], Rgb(0, 0, 255));

    GifWriter gif(1, 1);
    gif.Frame(0, 0, 1, 1, {1}, 2, {0x102030, 0x405060}).Frame(0, 0, 1, 1, {0}, 2, {0xAABBCC, 0}).Trailer();
    auto local = LoadGif(gif.Bytes());
    ASSERT_EQ(local->Palette().size(), 2u);
    EXPECT_EQ(local->Palette()[1], Rgb(0x40, 0x50, 0x60));
    EXPECT_EQ(local->Images()[1].FramePalette()[0], Rgb(0xAA, 0xBB, 0xCC));
    TBitmap bitmap;
    bitmap.Assign(local.get());
    EXPECT_EQ(PixelOf(bitmap, 0, 0), Rgb(0x40, 0x50, 0x60));
}

TEST(GifPicture, MaskOnlyWhereTheTransparentIndexOccurs) {
    GifWriter gif(2, 1, kFourColours);
    gif.GraphicControl(0x01, 0, 3).Frame(0, 0, 2, 1, {0, 1}, 2).Trailer();
    auto image = LoadGif(gif.Bytes());
    EXPECT_EQ(image->Images()[0].Mask(), nullptr);
    auto transparent = LoadGif(TransparentTwoByTwo());
    const Dib* mask = transparent->Images()[0].Mask();
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->Row(0)[0] & 0xC0, 0x40);
    EXPECT_EQ(mask->Row(1)[0] & 0xC0, 0x40);
}

TEST(GifPicture, RegisteredForGifFilesAndLoadedThroughThePictureHolder) {
    RegisterStandardFormats();
    const TGraphicClass* gifClass = GetFileFormats().FindExt("GIF");
    ASSERT_NE(gifClass, nullptr);
    EXPECT_EQ(gifClass->Name(), "TGIFImage");
    bool described = false;
    for (const TFileFormat& format : GetFileFormats().Entries())
        if (format.extension == "gif") described = format.description == "GIF Image";
    EXPECT_TRUE(described);

    test::TempDir dir;
    const std::string path = (dir.Path() / "picture.Gif").string();
    {
        const std::vector<uint8_t> bytes = TransparentTwoByTwo();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TPicture picture;
    picture.LoadFromFile(path);
    ASSERT_NE(dynamic_cast<TGIFImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 2);

    // A damaged file fails with the reader's error and the holder keeps its picture.
    const std::string bad = (dir.Path() / "bad.gif").string();
    std::ofstream(bad, std::ios::binary) << "GIF89a\x01";
    EXPECT_THROW(picture.LoadFromFile(bad), GIFException);
    EXPECT_EQ(picture.Width(), 2);
}

TEST(GifPicture, CopyingAPictureCopiesItsFramesAndOutlivesTheOriginal) {
    GifWriter gif(3, 2, kFourColours);
    gif.Loop(2).Comment("hello").GraphicControl(0x01 | (2 << 2), 7, 1).Frame(0, 0, 3, 2, {0, 1, 2, 3, 2, 1}, 2);
    gif.Frame(1, 1, 2, 1, {3, 3}, 2, {0x101010, 0x202020, 0x303030, 0x404040}).Trailer();
    auto original = LoadGif(gif.Bytes());
    // A holder copies its picture as a new picture of the same class assigned from it.
    RegisterStandardFormats();
    TPicture holder;
    holder.Assign(original.get());
    auto* copy = dynamic_cast<TGIFImage*>(holder.Graphic());
    ASSERT_NE(copy, nullptr);
    original.reset();

    ASSERT_EQ(copy->Images().Count(), 2);
    EXPECT_EQ(copy->Width(), 3);
    EXPECT_EQ(copy->Header().GlobalColorMap().Count(), 4);
    const TGIFSubImage& first = copy->Images()[0];
    EXPECT_EQ(first.Pixels(), (std::vector<uint8_t>{0, 1, 2, 3, 2, 1}));
    ASSERT_EQ(first.ExtensionBlocks().Count(), 3);
    EXPECT_EQ(dynamic_cast<const TGIFAppExtNSLoop&>(first.ExtensionBlocks()[0]).RepeatCount, 2);
    EXPECT_EQ(dynamic_cast<const TGIFCommentExtension&>(first.ExtensionBlocks()[1]).Lines,
              std::vector<std::string>{"hello"});
    // The copy's graphic control is its own, one of its own extensions.
    ASSERT_NE(first.GraphicControl(), nullptr);
    EXPECT_EQ(first.GraphicControl(), &first.ExtensionBlocks()[2]);
    EXPECT_EQ(&first.GraphicControl()->Frame(), &first);
    EXPECT_EQ(first.GraphicControl()->FrameDelay, 7);
    EXPECT_EQ(first.TransparentIndex(), 1);
    EXPECT_EQ(copy->Images()[1].ColorMap().Count(), 4);
    EXPECT_EQ(copy->Images()[1].Left(), 1);

    TBitmap bitmap;
    bitmap.Assign(copy);
    EXPECT_EQ(PixelOf(bitmap, 2, 1), Rgb(0, 255, 0));

    // Assigning itself changes nothing; a copy of an empty picture is empty.
    copy->Assign(copy);
    EXPECT_EQ(copy->Images().Count(), 2);
    TGIFImage empty;
    copy->Assign(&empty);
    EXPECT_TRUE(copy->Empty());
    EXPECT_EQ(copy->Width(), 0);
    // Other pictures are not converted into a GIF.
    try {
        copy->Assign(&bitmap);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TBitmap to a TGIFImage");
    }
}

TEST(GifPicture, CopyRespectsThePixelStorageLimitOfTheCopy) {
    auto original = LoadGif(TransparentTwoByTwo());
    TGIFImage copy;
    copy.PixelStorageLimit = 3;
    EXPECT_THROW(copy.Assign(original.get()), EOutOfResources);
    EXPECT_TRUE(copy.Empty());
}

}  // namespace
}  // namespace kv
