// The BMP reader on hand-made files: header variants, colour tables, bit depths, row order,
// short files and the refusals.
#include <gtest/gtest.h>

#include "codecs/bmp.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "support/bmp_builder.h"

namespace kv {
namespace {

using test::ByteWriter;
using test::InfoFields;
using test::WindowsHeaders;
using test::CoreHeaders;

BmpReadResult Read(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    return ReadBmpStream(stream);
}

template <class E>
std::string FailureOf(const std::vector<uint8_t>& bytes) {
    try {
        Read(bytes);
    } catch (const E& e) {
        return e.Message();
    }
    return "no failure";
}

RgbQuad Rgb(uint8_t r, uint8_t g, uint8_t b) { return RgbQuad{b, g, r, 0}; }

TEST(BmpReader, EmptyStreamGivesEmptyResultAndShortHeaderIsAReadError) {
    const BmpReadResult empty = Read({});
    EXPECT_TRUE(empty.empty);
    EXPECT_EQ(empty.dib, nullptr);

    EXPECT_EQ(FailureOf<EReadError>(std::vector<uint8_t>(10, 0x42)), "Stream read error");
}

TEST(BmpReader, ReadsFromTheStreamPositionOn) {
    ByteWriter w;
    w.Fill(5, 0xEE);  // bytes before the picture
    w.Bytes(WindowsHeaders({.width = 1, .height = 1, .bitCount = 24}).bytes).U8(1).U8(2).U8(3).U8(0);
    TMemoryStream stream(w.bytes);
    stream.SetPosition(5);
    const BmpReadResult r = ReadBmpStream(stream);
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(3, 2, 1));
}

TEST(BmpReader, RefusesWhatItDoesNotHold) {
    auto withInfo = [](InfoFields f, size_t tail = 64) {
        return WindowsHeaders(f).Fill(tail, 0).bytes;
    };
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    {
        auto bytes = withInfo({});
        bytes[1] = 0x41;  // "BA"
        cases.emplace_back("wrong signature", bytes);
    }
    cases.emplace_back("planes 2", withInfo({.planes = 2}));
    cases.emplace_back("planes 0", withInfo({.planes = 0}));
    cases.emplace_back("header size 16", withInfo({.headerSize = 16}));
    cases.emplace_back("header size 39", withInfo({.headerSize = 39}));
    {
        auto bytes = withInfo({}, 10);
        bytes[14] = 124;  // claims 124 bytes, the file has 50 after the file header
        cases.emplace_back("header larger than the file", bytes);
    }
    {
        auto bytes = withInfo({});
        bytes.resize(30);  // ends inside the header
        cases.emplace_back("file ends inside the header", bytes);
    }
    {
        auto bytes = withInfo({});
        bytes.resize(16);  // ends inside the header-size field
        cases.emplace_back("file ends inside the header size", bytes);
    }
    cases.emplace_back("colour table of 257", withInfo({.bitCount = 8, .clrUsed = 257}, 2000));
    cases.emplace_back("2 bits per pixel", withInfo({.bitCount = 2}, 0));  // no default colour table
    cases.emplace_back("64 bits per pixel", withInfo({.bitCount = 64}));
    cases.emplace_back("0 bits per pixel", withInfo({.bitCount = 0}));
    cases.emplace_back("bit fields at 24 bits", withInfo({.bitCount = 24, .compression = 3}));
    cases.emplace_back("bit fields in a 44-byte header", withInfo({.bitCount = 32, .compression = 3, .headerSize = 44}));
    cases.emplace_back("RLE8 at 4 bits", withInfo({.bitCount = 4, .compression = 1}));
    cases.emplace_back("RLE4 at 8 bits", withInfo({.bitCount = 8, .compression = 2}, 1100));
    cases.emplace_back("compression 4", withInfo({.bitCount = 24, .compression = 4}));
    cases.emplace_back("compression 6", withInfo({.bitCount = 32, .compression = 6}));
    cases.emplace_back("width 0", withInfo({.width = 0}));
    cases.emplace_back("negative width", withInfo({.width = -5}));
    cases.emplace_back("height 0", withInfo({.height = 0}));
    cases.emplace_back("height INT32_MIN", withInfo({.height = INT32_MIN}));
    cases.emplace_back("top-down RLE", withInfo({.height = -2, .bitCount = 8, .compression = 1}, 1200));
    for (const auto& [name, bytes] : cases)
        EXPECT_EQ(FailureOf<EInvalidGraphic>(bytes), "Bitmap image is not valid") << name;
}

TEST(BmpReader, RefusesHugeStorageBeforeAllocating) {
    // 40000 x 40000 at 24 bits is 4.8 GB of pixels; the file itself is tiny.
    EXPECT_EQ(FailureOf<EOutOfResources>(WindowsHeaders({.width = 40000, .height = 40000}).Fill(16, 0).bytes),
              "Out of system resources");
    EXPECT_EQ(FailureOf<EOutOfResources>(WindowsHeaders({.width = 0x7FFFFFFF, .height = -0x7FFFFFFF}).bytes),
              "Out of system resources");
    // Run-length data expands to 32 bits per pixel: 20000 x 20000 is 1.6 GB.
    EXPECT_EQ(FailureOf<EOutOfResources>(
                  WindowsHeaders({.width = 20000, .height = 20000, .bitCount = 8, .compression = 1}).Fill(1024, 0).bytes),
              "Out of system resources");
}

TEST(BmpReader, ShortColourTableOrMasksAreReadErrors) {
    EXPECT_EQ(FailureOf<EReadError>(WindowsHeaders({.bitCount = 8}).Fill(1023, 0).bytes), "Stream read error");
    EXPECT_EQ(FailureOf<EReadError>(CoreHeaders(1, 1, 8).Fill(767, 0).bytes), "Stream read error");
    EXPECT_EQ(FailureOf<EReadError>(WindowsHeaders({.bitCount = 16, .compression = 3}).Fill(11, 0).bytes),
              "Stream read error");
    // The table is read before the layout is judged: a short table wins over a refusal.
    EXPECT_EQ(FailureOf<EReadError>(WindowsHeaders({.width = 40000, .height = 40000, .bitCount = 8}).Fill(16, 0).bytes),
              "Stream read error");
    EXPECT_EQ(FailureOf<EReadError>(WindowsHeaders({.width = 0, .bitCount = 4}).Fill(16, 0).bytes),
              "Stream read error");
    EXPECT_EQ(FailureOf<EReadError>(WindowsHeaders({.bitCount = 2, .clrUsed = 4}).Fill(8, 0).bytes),
              "Stream read error");
    // Masks follow a 40-byte header only at 16 and 32 bits: at 24 bits nothing is read for them.
    EXPECT_EQ(FailureOf<EInvalidGraphic>(WindowsHeaders({.bitCount = 24, .compression = 3}).Fill(4, 0).bytes),
              "Bitmap image is not valid");
}

TEST(BmpReader, TwentyFourBitRowsBottomUpAndTopDown) {
    // 2 x 2: rows padded to 8 bytes. Bottom-up: the first stored row is the bottom one.
    const std::vector<uint8_t> rows = {
        /*row A*/ 0, 0, 255, 0, 255, 0, 0, 0,
        /*row B*/ 255, 0, 0, 255, 255, 255, 0, 0,
    };
    const BmpReadResult up = Read(WindowsHeaders({.width = 2, .height = 2}).Bytes(rows).bytes);
    EXPECT_EQ(up.dib->PixelAt(0, 1), Rgb(255, 0, 0));
    EXPECT_EQ(up.dib->PixelAt(1, 1), Rgb(0, 255, 0));
    EXPECT_EQ(up.dib->PixelAt(0, 0), Rgb(0, 0, 255));
    EXPECT_EQ(up.dib->PixelAt(1, 0), Rgb(255, 255, 255));
    EXPECT_FALSE(up.dib->TopDown());

    const BmpReadResult down = Read(WindowsHeaders({.width = 2, .height = -2}).Bytes(rows).bytes);
    EXPECT_TRUE(down.dib->TopDown());
    EXPECT_EQ(down.dib->Height(), 2);
    EXPECT_EQ(down.dib->PixelAt(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(down.dib->PixelAt(1, 1), Rgb(255, 255, 255));
    EXPECT_TRUE(down.deviceIndependent);
    EXPECT_TRUE(down.colorTable.empty());
    EXPECT_TRUE(down.fileBytes.empty());
}

TEST(BmpReader, KeepsHeaderFieldsAndTheLayoutOfTheFile) {
    InfoFields f{.width = 3, .height = 1, .bitCount = 8, .sizeImage = 4, .clrUsed = 2};
    ByteWriter w = WindowsHeaders(f);
    w.bytes[38] = 0x10;  // x pixels per metre = 0x10
    w.bytes[39] = 0;
    w.bytes[50] = 0x01;  // important colours = 1
    w.U8(10).U8(20).U8(30).U8(0).U8(40).U8(50).U8(60).U8(0);  // two entries
    w.U8(1).U8(0).U8(1).U8(0);
    const BmpReadResult r = Read(w.bytes);
    EXPECT_EQ(r.header.xPelsPerMeter, 0x10);
    EXPECT_EQ(r.header.yPelsPerMeter, 2835);
    EXPECT_EQ(r.header.clrImportant, 1u);
    EXPECT_EQ(r.header.sizeImage, 4u);
    EXPECT_FALSE(r.os2Format);
    EXPECT_EQ(r.dib->BitCount(), 8);
    ASSERT_EQ(r.colorTable.size(), 2u);
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(60, 50, 40));
    EXPECT_EQ(r.dib->PixelAt(1, 0), Rgb(30, 20, 10));
    EXPECT_EQ(r.dib->Row(0)[2], 1);
}

TEST(BmpReader, ColourTableSizeFollowsColoursUsedAndPixelsFollowTheTable) {
    // Colours used 0 at 8 bits: 256 entries, then the pixels.
    ByteWriter w = WindowsHeaders({.width = 1, .height = 1, .bitCount = 8});
    for (int i = 0; i < 256; ++i) w.U8(static_cast<uint8_t>(i)).U8(0).U8(0).U8(0);
    w.U8(200).Fill(3, 0);
    BmpReadResult r = Read(w.bytes);
    EXPECT_EQ(r.colorTable.size(), 256u);
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(0, 0, 200));

    // Colours used 16: 16 entries and the pixels right after them, whatever the offset field says.
    ByteWriter v = WindowsHeaders({.width = 1, .height = 1, .bitCount = 8, .clrUsed = 16}, /*pixelOffset=*/2000);
    for (int i = 0; i < 16; ++i) v.U8(0).U8(static_cast<uint8_t>(i * 10)).U8(0).U8(0);
    v.U8(7).Fill(3, 0);
    v.Fill(100, 9);  // bytes beyond the image are ignored
    r = Read(v.bytes);
    EXPECT_EQ(r.colorTable.size(), 16u);
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(0, 70, 0));
    // Indices past a short table show black (the storage's unused slots).
    v.bytes[54 + 64] = 100;
    EXPECT_EQ(Read(v.bytes).dib->PixelAt(0, 0), Rgb(0, 0, 0));
}

TEST(BmpReader, OneAndFourBitPixels) {
    ByteWriter w = WindowsHeaders({.width = 10, .height = 1, .bitCount = 1});
    w.U8(0).U8(0).U8(0).U8(0).U8(255).U8(255).U8(255).U8(0);
    w.U8(0b10100000).U8(0b01000000).U8(0).U8(0);
    BmpReadResult r = Read(w.bytes);
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(r.dib->PixelAt(1, 0), Rgb(0, 0, 0));
    EXPECT_EQ(r.dib->PixelAt(2, 0), Rgb(255, 255, 255));
    EXPECT_EQ(r.dib->PixelAt(9, 0), Rgb(255, 255, 255));
    EXPECT_EQ(r.dib->PixelAt(8, 0), Rgb(0, 0, 0));

    ByteWriter v = WindowsHeaders({.width = 3, .height = 1, .bitCount = 4, .clrUsed = 3});
    for (uint8_t red = 1; red <= 3; ++red) v.U8(0).U8(0).U8(red).U8(0);
    v.U8(0x21).U8(0x00).U8(0).U8(0);
    r = Read(v.bytes);
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(3, 0, 0));
    EXPECT_EQ(r.dib->PixelAt(1, 0), Rgb(2, 0, 0));
    EXPECT_EQ(r.dib->PixelAt(2, 0), Rgb(1, 0, 0));
}

TEST(BmpReader, Os2CoreHeaderWithThreeByteColourTable) {
    ByteWriter w = CoreHeaders(2, 1, 8);
    for (int i = 0; i < 256; ++i) w.U8(static_cast<uint8_t>(i)).U8(static_cast<uint8_t>(255 - i)).U8(7);
    w.U8(1).U8(255).Fill(2, 0);
    const BmpReadResult r = Read(w.bytes);
    EXPECT_TRUE(r.os2Format);
    EXPECT_EQ(r.header.size, 12u);
    EXPECT_EQ(r.header.compression, 0u);
    EXPECT_EQ(r.header.clrUsed, 0u);
    ASSERT_EQ(r.colorTable.size(), 256u);
    EXPECT_EQ(r.colorTable[1], (RgbQuad{1, 254, 7, 0}));
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(7, 254, 1));
    EXPECT_EQ(r.dib->PixelAt(1, 0), Rgb(7, 0, 255));

    EXPECT_EQ(FailureOf<EInvalidGraphic>(CoreHeaders(1, 1, 24, 2).Fill(8, 0).bytes), "Bitmap image is not valid");
}

TEST(BmpReader, SixteenAndThirtyTwoBitMasks) {
    // 5-6-5 masks after a 40-byte header.
    ByteWriter w = WindowsHeaders({.width = 2, .height = 1, .bitCount = 16, .compression = 3});
    w.U32(0xF800).U32(0x07E0).U32(0x001F);
    w.U16(0xF800).U16(0x07E0);
    BmpReadResult r = Read(w.bytes);
    EXPECT_EQ(r.header.redMask, 0xF800u);
    EXPECT_EQ(r.dib->Description().greenMask, 0x07E0u);
    EXPECT_GE(r.dib->PixelAt(0, 0).red, 0xF8);
    EXPECT_EQ(r.dib->PixelAt(0, 0).green, 0);
    EXPECT_GE(r.dib->PixelAt(1, 0).green, 0xFC);
    EXPECT_EQ(r.dib->PixelAt(1, 0).red, 0);

    // Masks inside a 56-byte header: red in the low byte, blue in the third.
    InfoFields f{.width = 1, .height = 1, .bitCount = 32, .compression = 3, .headerSize = 56};
    ByteWriter v = WindowsHeaders(f);
    const size_t maskAt = 14 + 40;
    const uint32_t masks[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    for (int m = 0; m < 4; ++m)
        for (int b = 0; b < 4; ++b) v.bytes[maskAt + m * 4 + b] = static_cast<uint8_t>(masks[m] >> (8 * b));
    v.U8(10).U8(20).U8(30).U8(40);
    r = Read(v.bytes);
    EXPECT_EQ(r.header.alphaMask, 0xFF000000u);
    EXPECT_EQ(r.dib->PixelAt(0, 0).red, 10);
    EXPECT_EQ(r.dib->PixelAt(0, 0).green, 20);
    EXPECT_EQ(r.dib->PixelAt(0, 0).blue, 30);

    // Without compression 3 a long header's masks are not used: 16 bits are 5-5-5.
    ByteWriter u = WindowsHeaders({.width = 1, .height = 1, .bitCount = 16, .headerSize = 108});
    u.U16(0x7C00).U16(0);
    r = Read(u.bytes);
    EXPECT_EQ(r.dib->Description().redMask, 0u);
    EXPECT_GE(r.dib->PixelAt(0, 0).red, 0xF8);
    EXPECT_EQ(r.dib->PixelAt(0, 0).green, 0);
}

TEST(BmpReader, TableBesideTrueColourBecomesThePalette) {
    ByteWriter w = WindowsHeaders({.width = 1, .height = 1, .bitCount = 24, .clrUsed = 2});
    w.U8(1).U8(2).U8(3).U8(0).U8(4).U8(5).U8(6).U8(0);
    w.U8(9).U8(8).U8(7).U8(0);
    const BmpReadResult r = Read(w.bytes);
    ASSERT_EQ(r.colorTable.size(), 2u);
    EXPECT_EQ(r.colorTable[1], (RgbQuad{4, 5, 6, 0}));
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(7, 8, 9));
}

TEST(BmpReader, ShortFileKeepsUnreachedRowsZero) {
    // 1000 x 1000 at 24 bits, only the first 10 stored (bottom) rows present.
    ByteWriter w = WindowsHeaders({.width = 1000, .height = 1000});
    w.Fill(3000 * 10, 0xFF);
    const BmpReadResult r = Read(w.bytes);
    EXPECT_EQ(r.dib->PixelAt(0, 999), Rgb(255, 255, 255));
    EXPECT_EQ(r.dib->PixelAt(999, 990), Rgb(255, 255, 255));
    EXPECT_EQ(r.dib->PixelAt(999, 989), Rgb(0, 0, 0));
    EXPECT_EQ(r.dib->PixelAt(0, 0), Rgb(0, 0, 0));

    // An image-size field smaller than the picture limits what is read.
    ByteWriter v = WindowsHeaders({.width = 1, .height = 2, .sizeImage = 4});
    v.Fill(8, 0xFF);
    const BmpReadResult s = Read(v.bytes);
    EXPECT_EQ(s.dib->PixelAt(0, 1), Rgb(255, 255, 255));
    EXPECT_EQ(s.dib->PixelAt(0, 0), Rgb(0, 0, 0));

    // A huge image-size field does not let the read run past the storage.
    ByteWriter u = WindowsHeaders({.width = 1, .height = 1, .sizeImage = 0xFFFFFFFF});
    u.Fill(64, 0x80);
    EXPECT_EQ(Read(u.bytes).dib->PixelAt(0, 0), Rgb(128, 128, 128));
}

}  // namespace
}  // namespace kv
