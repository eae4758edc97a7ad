// In-memory bitmaps: sizing, shared records with copy on write, scan lines, pixel formats,
// transparency, drawing and the failure texts of the drawing layer.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <tuple>

#include "graphics/bitmap.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "support/empty_graphic.h"

namespace kv {
namespace {

const RgbQuad kWhiteQ{255, 255, 255, 0};
const RgbQuad kBlackQ{0, 0, 0, 0};
const RgbQuad kRedQ{0, 0, 255, 0};
const RgbQuad kBlueQ{255, 0, 0, 0};

RgbQuad Px(const TBitmap& b, int x, int y) { return b.GetDib()->PixelAt(x, y); }

bool AllPixels(const TBitmap& b, RgbQuad colour) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (!(Px(b, x, y) == colour)) return false;
    return true;
}

TEST(BitmapTest, NewBitmapIsEmptyAndDeviceDependent) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pfDevice);
    EXPECT_EQ(bitmap.HandleType(), TBitmapHandleType::bmDDB);
    EXPECT_EQ(bitmap.GetDib(), nullptr);
    EXPECT_STREQ(bitmap.ClassName(), "TBitmap");
    EXPECT_FALSE(bitmap.HasCanvas());
}

TEST(BitmapTest, WidthThenHeightMakesAWhiteDisplayBitmap) {
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TGraphic&) { ++changes; };
    bitmap.SetWidth(225);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 225);
    bitmap.SetHeight(160);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 225);
    EXPECT_EQ(bitmap.Height(), 160);
    EXPECT_EQ(bitmap.GetDib()->BitCount(), 32);
    EXPECT_TRUE(AllPixels(bitmap, kWhiteQ));
    EXPECT_EQ(changes, 2);
    bitmap.SetWidth(225);  // same value: nothing happens
    bitmap.SetHeight(160);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(bitmap.Modified());
}

TEST(BitmapTest, ResizingKeepsTheTopLeftAndFillsTheRest) {
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect({0, 0, 2, 2});
    // With a canvas the new area takes the canvas's brush.
    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.SetSize(3, 4);
    EXPECT_EQ(Px(bitmap, 1, 1), kRedQ);
    EXPECT_EQ(Px(bitmap, 2, 0), kBlueQ);
    EXPECT_EQ(Px(bitmap, 0, 3), kBlueQ);
    bitmap.SetWidth(1);
    EXPECT_EQ(Px(bitmap, 0, 0), kRedQ);
    EXPECT_EQ(Px(bitmap, 0, 3), kBlueQ);
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 1);
}

TEST(BitmapTest, CanvasOfAnEmptyBitmapDrawsNothing) {
    TBitmap bitmap;
    TCanvas& canvas = bitmap.Canvas();
    EXPECT_NO_THROW(canvas.FillRect({0, 0, 10, 10}));
    EXPECT_NO_THROW(canvas.LineTo(5, 5));
    EXPECT_TRUE(bitmap.Empty());
    // Storage made later is drawn on by the same canvas.
    bitmap.SetSize(3, 3);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({0, 0, 1, 1});
    EXPECT_EQ(Px(bitmap, 0, 0), kRedQ);
}

TEST(BitmapTest, AssignmentSharesAndCopiesOnWriteBothWays) {
    TBitmap a;
    a.SetSize(4, 4);
    TBitmap b;
    b.Assign(&a);
    EXPECT_EQ(a.Image(), b.Image());
    EXPECT_EQ(a.ImageUseCount(), 2);
    EXPECT_TRUE(b.Equals(&a));

    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect({0, 0, 4, 4});
    EXPECT_NE(a.Image(), b.Image());
    EXPECT_TRUE(AllPixels(a, kWhiteQ));
    EXPECT_TRUE(AllPixels(b, kRedQ));
    EXPECT_FALSE(b.Equals(&a));

    a.Assign(&b);
    a.Canvas().Brush().SetColor(clBlue);
    a.Canvas().FillRect({0, 0, 1, 1});
    EXPECT_TRUE(AllPixels(b, kRedQ));
    EXPECT_EQ(Px(a, 0, 0), kBlueQ);
    EXPECT_EQ(Px(a, 1, 0), kRedQ);

    // The last user releases the record.
    std::weak_ptr<TBitmapImage> record = a.Image();
    {
        TBitmap c;
        c.Assign(&a);
        a.Assign(nullptr);
        EXPECT_FALSE(record.expired());
    }
    EXPECT_TRUE(record.expired());
    EXPECT_TRUE(a.Empty());
}

TEST(BitmapTest, AssignmentTakesTransparencyAndFiresChange) {
    TBitmap a;
    a.SetSize(2, 2);
    a.SetTransparent(true);
    a.SetTransparentColor(clRed);
    TBitmap b;
    int changes = 0;
    b.OnChange = [&](TGraphic&) { ++changes; };
    b.Assign(&a);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clRed);
    EXPECT_EQ(b.TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(changes, 1);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 2);
}

TEST(BitmapTest, OtherPicturesMustAssignThemselves) {
    TBitmap bitmap;
    test::EmptyGraphic icon("TIcon");
    try {
        bitmap.Assign(&icon);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TIcon to a TBitmap");
    }
    // The generic path refuses nothing as a source too.
    test::EmptyGraphic other("TIcon");
    EXPECT_THROW(other.Assign(nullptr), EConvertError);
}

TEST(BitmapTest, ScanLinesFollowTheStoredRowOrder) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(3, 2);
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    const Dib* dib = bitmap.GetDib();
    ASSERT_FALSE(dib->TopDown());
    EXPECT_EQ(dib->Stride(), 12u);  // 9 bytes padded to 12
    uint8_t* top = bitmap.ScanLine(0);
    uint8_t* bottom = bitmap.ScanLine(1);
    EXPECT_EQ(bottom, bitmap.GetDib()->Bits());  // bottom-up: row 1 is stored first
    EXPECT_EQ(top - bottom, 12);
    top[0] = 0x11;  // blue of the top-left pixel
    top[1] = 0x22;
    top[2] = 0x33;
    EXPECT_EQ(Px(bitmap, 0, 0), (RgbQuad{0x11, 0x22, 0x33, 0}));
}

TEST(BitmapTest, ScanLineOutOfRangeAndCopyOnWrite) {
    TBitmap a;
    a.SetSize(2, 2);
    for (int row : {-1, 2, 1000}) {
        try {
            a.ScanLine(row);
            FAIL() << row;
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_EQ(e.Message(), "Scan line index out of range");
        }
    }
    TBitmap empty;
    EXPECT_THROW(empty.ScanLine(0), EInvalidGraphicOperation);

    TBitmap b;
    b.Assign(&a);
    uint8_t* row = b.ScanLine(0);
    EXPECT_NE(a.Image(), b.Image());
    std::memset(row, 0, 8);
    EXPECT_TRUE(AllPixels(a, kWhiteQ));
    EXPECT_EQ(Px(b, 1, 0), kBlackQ);
}

TEST(BitmapTest, PixelFormatsConvertTheContent) {
    TBitmap bitmap;
    bitmap.SetSize(4, 2);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect({0, 0, 2, 2});
    const std::tuple<TPixelFormat, int> formats[] = {
        {TPixelFormat::pf24bit, 24}, {TPixelFormat::pf16bit, 16}, {TPixelFormat::pf15bit, 16},
        {TPixelFormat::pf8bit, 8},   {TPixelFormat::pf4bit, 4},   {TPixelFormat::pf32bit, 32}};
    for (auto [format, bits] : formats) {
        bitmap.SetPixelFormat(format);
        EXPECT_EQ(bitmap.PixelFormat(), format);
        EXPECT_EQ(bitmap.HandleType(), TBitmapHandleType::bmDIB);
        EXPECT_EQ(bitmap.GetDib()->BitCount(), bits);
        EXPECT_EQ(Px(bitmap, 0, 1), kRedQ);  // red and white survive every format
        EXPECT_EQ(Px(bitmap, 3, 0), kWhiteQ);
    }
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Palette().size(), 256u);
    bitmap.SetPixelFormat(TPixelFormat::pf4bit);
    EXPECT_EQ(bitmap.Palette().size(), 16u);
    bitmap.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(Px(bitmap, 3, 0), kWhiteQ);
    bitmap.SetPixelFormat(TPixelFormat::pfDevice);
    EXPECT_EQ(bitmap.HandleType(), TBitmapHandleType::bmDDB);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pfDevice);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 2);
}

TEST(BitmapTest, IndexedFormatsAreSizedWhite) {
    // The last index of the halftone table is a grey: white must come from the nearest entry.
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(format);
        bitmap.SetSize(5, 3);
        EXPECT_TRUE(AllPixels(bitmap, kWhiteQ)) << static_cast<int>(format);
        bitmap.SetWidth(9);
        EXPECT_TRUE(AllPixels(bitmap, kWhiteQ)) << static_cast<int>(format);
    }
}

TEST(BitmapTest, CustomPixelFormatIsRefusedAndChangesNothing) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    bitmap.SetSize(2, 2);
    auto before = bitmap.Image();
    try {
        bitmap.SetPixelFormat(TPixelFormat::pfCustom);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Invalid pixel format");
        EXPECT_STREQ(e.ClassName(), "EInvalidGraphic");
    }
    EXPECT_EQ(bitmap.Image(), before);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
}

TEST(BitmapTest, StorageBeyondTheLimitIsRefusedAndTheOldKept) {
    TBitmap bitmap;
    bitmap.SetSize(5, 5);
    auto before = bitmap.Image();
    try {
        bitmap.SetSize(20000, 20000);  // 1.6 GB at 32 bits per pixel
        FAIL();
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Out of system resources");
        EXPECT_STREQ(e.ClassName(), "EOutOfResources");
    }
    EXPECT_EQ(bitmap.Image(), before);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_THROW(bitmap.SetWidth(-1), EOutOfResources);
    EXPECT_EQ(bitmap.Width(), 5);
}

TEST(BitmapTest, DecodersHandOverStorage) {
    TBitmap bitmap;
    auto dib = std::make_unique<Dib>(DescriptionFor(3, -2, 8), HalftonePalette());
    dib->SetPixel(2, 1, kRedQ);
    bitmap.SetDib(std::move(dib));
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(Px(bitmap, 2, 1), kRedQ);
    EXPECT_TRUE(bitmap.PaletteModified());
    // Top-down storage: row 0 is stored first.
    EXPECT_EQ(bitmap.ScanLine(0), bitmap.GetDib()->Bits());
    TBitmap shared;
    shared.Assign(&bitmap);
    Dib* writable = shared.MutableDib();
    EXPECT_NE(writable, bitmap.GetDib());
}

TEST(BitmapTest, TransparentColourDefaultsToTheBottomLeftPixel) {
    TBitmap bitmap;
    bitmap.SetSize(3, 3);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect({0, 2, 1, 3});
    EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmAuto);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);
    bitmap.SetTransparentMode(TTransparentMode::tmFixed);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);
    bitmap.SetTransparentColor(clDefault);
    EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmAuto);
}

TEST(BitmapTest, TransparentBitmapLeavesKeyPixelsOfTheTarget) {
    TBitmap sprite;
    sprite.SetSize(2, 1);
    sprite.Canvas().Brush().SetColor(clRed);
    sprite.Canvas().FillRect({0, 0, 1, 1});  // left red, right white
    sprite.SetTransparent(true);
    sprite.SetTransparentColor(clWhite);
    TBitmap target;
    target.SetSize(4, 2);
    target.Canvas().Brush().SetColor(clBlue);
    target.Canvas().FillRect({0, 0, 4, 2});
    target.Canvas().StretchDraw({0, 0, 4, 2}, &sprite);
    EXPECT_EQ(Px(target, 0, 0), kRedQ);
    EXPECT_EQ(Px(target, 1, 1), kRedQ);
    EXPECT_EQ(Px(target, 2, 0), kBlueQ);
    EXPECT_EQ(Px(target, 3, 1), kBlueQ);
}

TEST(BitmapTest, PlaceholderStretchedOverTheBoardHoldsOnlySourceColours) {
    // The no-picture placeholder: a white 225 x 160 bitmap with a black frame and red-cell text.
    TBitmap placeholder;
    placeholder.SetWidth(225);
    placeholder.SetHeight(160);
    TCanvas& c = placeholder.Canvas();
    c.Brush().SetColor(clRed);
    c.MoveTo(0, 0);
    c.LineTo(0, 159);
    c.LineTo(224, 159);
    c.LineTo(224, 0);
    c.LineTo(0, 0);
    c.Font().SetSize(20);
    c.TextOut(10, 70, "Картинки нет...");

    std::set<uint32_t> sourceColours;
    auto key = [](RgbQuad q) { return uint32_t(q.red) << 16 | uint32_t(q.green) << 8 | q.blue; };
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 225; ++x) sourceColours.insert(key(Px(placeholder, x, y)));

    TBitmap board;
    board.SetSize(688, 448);
    board.Canvas().StretchDraw({0, 0, 688, 448}, &placeholder);
    const Dib& pixels = *board.GetDib();
    ASSERT_EQ(pixels.BitCount(), 32);
    for (int y = 0; y < 448; ++y) {
        const uint8_t* row = pixels.Row(y);
        for (int x = 0; x < 688; ++x) {
            const RgbQuad q{row[4 * x], row[4 * x + 1], row[4 * x + 2], 0};
            ASSERT_TRUE(sourceColours.count(key(q))) << x << "," << y;
        }
    }
    // The frame reaches every edge of the board.
    EXPECT_EQ(Px(board, 0, 0), kBlackQ);
    EXPECT_EQ(Px(board, 687, 447), kBlackQ);
    EXPECT_EQ(Px(board, 300, 3), kWhiteQ);
}

TEST(BitmapTest, DrawAtOwnSizeAndEmptyBitmapsDrawNothing) {
    TBitmap small;
    small.SetSize(2, 2);
    small.Canvas().Brush().SetColor(clRed);
    small.Canvas().FillRect({0, 0, 2, 2});
    TBitmap target;
    target.SetSize(5, 5);
    target.Canvas().Draw(1, 2, &small);
    EXPECT_EQ(Px(target, 1, 2), kRedQ);
    EXPECT_EQ(Px(target, 2, 3), kRedQ);
    EXPECT_EQ(Px(target, 3, 3), kWhiteQ);
    TBitmap empty;
    target.Canvas().StretchDraw({0, 0, 5, 5}, &empty);
    EXPECT_EQ(Px(target, 0, 0), kWhiteQ);
}

TEST(BitmapTest, DrawingABitmapOntoItselfReadsTheOldPixels) {
    TBitmap bitmap;
    bitmap.SetSize(40, 3);
    Dib& dib = *bitmap.MutableDib();
    for (int x = 0; x < 40; ++x) dib.SetPixel(x, 0, RgbQuad{static_cast<uint8_t>(5 * x), 0, 0, 0});
    // Shifted right by 3 at its own size, then stretched to twice the width over itself.
    bitmap.Canvas().Draw(3, 0, &bitmap);
    for (int x = 3; x < 40; ++x) ASSERT_EQ(Px(bitmap, x, 0).blue, 5 * (x - 3)) << x;
    bitmap.Canvas().StretchDraw({0, 0, 80, 3}, &bitmap);
    for (int x = 6; x < 40; ++x) ASSERT_EQ(Px(bitmap, x, 0).blue, 5 * (x / 2 - 3)) << x;
}

TEST(BitmapTest, StreamRoundTripKeepsPixelsAndLayout) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    bitmap.SetSize(5, 3);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect({1, 1, 3, 2});
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap copy;
    copy.LoadFromStream(stream);
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_TRUE(copy.Equals(&bitmap));
    EXPECT_EQ(Px(copy, 2, 1), kRedQ);

    // An empty stream makes the bitmap empty without failing.
    TMemoryStream none;
    copy.LoadFromStream(none);
    EXPECT_TRUE(copy.Empty());
}

TEST(BitmapTest, FailedLoadKeepsThePicture) {
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    auto before = bitmap.Image();
    const uint8_t wrong[] = {'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0};
    TMemoryStream stream(wrong, sizeof(wrong));
    EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic);
    EXPECT_EQ(bitmap.Image(), before);
    // Layout data whose byte count runs past the end.
    const uint8_t data[] = {100, 0, 0, 0, 'B', 'M'};
    TMemoryStream layout(data, sizeof(data));
    EXPECT_THROW(bitmap.ReadData(layout), EReadError);
    EXPECT_EQ(bitmap.Image(), before);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

const std::string kSuite = std::string(KV_CORPUS_DIR) + "/bmp/g/";

TEST(BitmapFileTest, LoadsFromAFileAndRefusesAMissingOne) {
    TBitmap bitmap;
    bitmap.LoadFromFile(kSuite + "pal8.bmp");
    EXPECT_EQ(bitmap.Width(), 127);
    EXPECT_EQ(bitmap.Height(), 64);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_FALSE(bitmap.Palette().empty());
    auto before = bitmap.Image();
    const std::string missing = kSuite + "no-such-file.bmp";
    try {
        bitmap.LoadFromFile(missing);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing);
    }
    EXPECT_EQ(bitmap.Image(), before);
}

TEST(BitmapFileTest, RunLengthFileIsKeptUntilTheFirstDrawing) {
    TBitmap bitmap;
    bitmap.LoadFromFile(kSuite + "pal8rle.bmp");
    EXPECT_EQ(bitmap.HandleType(), TBitmapHandleType::bmDDB);
    EXPECT_FALSE(bitmap.Palette().empty());  // the file's colour table stays the palette
    TMemoryStream file;
    file.LoadFromFile(kSuite + "pal8rle.bmp");
    TMemoryStream saved;
    bitmap.SaveToStream(saved);
    EXPECT_EQ(saved.Data(), file.Data());  // written back unchanged

    TBitmap shared;
    shared.Assign(&bitmap);
    shared.Canvas().FillRect({0, 0, 1, 1});
    TMemoryStream redrawn;
    shared.SaveToStream(redrawn);
    EXPECT_NE(redrawn.Data(), file.Data());  // the drawing dropped the stale file bytes
    TMemoryStream original;
    bitmap.SaveToStream(original);
    EXPECT_EQ(original.Data(), file.Data());
    // The rewritten file reads back as the drawn picture.
    redrawn.SetPosition(0);
    TBitmap reread;
    reread.LoadFromStream(redrawn);
    EXPECT_EQ(Px(reread, 0, 0), kWhiteQ);
    EXPECT_EQ(Px(reread, 5, 5), Px(shared, 5, 5));
}

}  // namespace
}  // namespace kv
