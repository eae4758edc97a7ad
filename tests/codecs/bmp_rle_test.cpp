// Run-length-encoded BMP files: both encodings, every escape code, clipping and damaged data.
#include <gtest/gtest.h>

#include "codecs/bmp.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "support/bmp_builder.h"

namespace kv {
namespace {

using test::ByteWriter;
using test::InfoFields;

constexpr RgbQuad kUnset{0, 0, 0, 0};
constexpr RgbQuad kRed{0, 0, 255, 0};
constexpr RgbQuad kGreen{0, 255, 0, 0};
constexpr RgbQuad kBlue{255, 0, 0, 0};
constexpr RgbQuad kWhite{255, 255, 255, 0};

// A file with the 4-entry table red, green, blue, white and the given run-length data.
std::vector<uint8_t> RleFile(int width, int height, int bitCount, const std::vector<uint8_t>& data,
                             uint32_t sizeImage = 0) {
    InfoFields f{.width = width, .height = height, .bitCount = static_cast<uint16_t>(bitCount),
                 .compression = bitCount == 8 ? 1u : 2u,
                 .sizeImage = sizeImage ? sizeImage : static_cast<uint32_t>(data.size()), .clrUsed = 4};
    ByteWriter w = test::WindowsHeaders(f);
    w.U8(0).U8(0).U8(255).U8(0).U8(0).U8(255).U8(0).U8(0).U8(255).U8(0).U8(0).U8(0).U8(255).U8(255).U8(255).U8(0);
    return w.Bytes(data).bytes;
}

BmpReadResult Read(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    return ReadBmpStream(stream);
}

// The picture as rows of colours, top row first.
std::vector<std::vector<RgbQuad>> Pixels(const Dib& dib) {
    std::vector<std::vector<RgbQuad>> rows(dib.Height());
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x) rows[y].push_back(dib.PixelAt(x, y));
    return rows;
}

TEST(BmpRle, Rle8RunsAbsoluteDeltaEndOfLineAndEndOfBitmap) {
    const std::vector<uint8_t> data = {
        0x03, 0x01, 0x00, 0x00,                    // bottom row: 3 x green, end of line
        0x00, 0x03, 0x02, 0x03, 0x00, 0x00,        // absolute blue, white, red + pad byte
        0x00, 0x00,                                // end of line
        0x00, 0x02, 0x01, 0x00, 0x01, 0x02,        // delta right 1, one blue
        0x00, 0x01,                                // end of bitmap
        0x05, 0x03,                                // never read
    };
    const std::vector<uint8_t> file = RleFile(4, 3, 8, data);
    const BmpReadResult r = Read(file);
    ASSERT_NE(r.dib, nullptr);
    EXPECT_FALSE(r.deviceIndependent);
    EXPECT_EQ(r.dib->BitCount(), 32);
    EXPECT_EQ(r.colorTable.size(), 4u);
    EXPECT_EQ(r.fileBytes, file);  // kept as read, so it can be written back unchanged
    const auto rows = Pixels(*r.dib);
    EXPECT_EQ(rows[0], (std::vector<RgbQuad>{kUnset, kBlue, kUnset, kUnset}));
    EXPECT_EQ(rows[1], (std::vector<RgbQuad>{kBlue, kWhite, kRed, kUnset}));
    EXPECT_EQ(rows[2], (std::vector<RgbQuad>{kGreen, kGreen, kGreen, kUnset}));
}

TEST(BmpRle, Rle4AlternatesNibblesAndPadsAbsoluteRuns) {
    const std::vector<uint8_t> data = {
        0x05, 0x12,                    // green, blue, green, blue, green
        0x00, 0x00,
        0x00, 0x05, 0x01, 0x23, 0x00, 0x00,  // absolute red green blue white red: 3 bytes + pad
        0x00, 0x00,
        0x00, 0x03, 0x32, 0x10,        // absolute white blue green: 2 bytes, already even
        0x00, 0x01,
    };
    const BmpReadResult r = Read(RleFile(5, 3, 4, data));
    const auto rows = Pixels(*r.dib);
    EXPECT_EQ(rows[2], (std::vector<RgbQuad>{kGreen, kBlue, kGreen, kBlue, kGreen}));
    EXPECT_EQ(rows[1], (std::vector<RgbQuad>{kRed, kGreen, kBlue, kWhite, kRed}));
    EXPECT_EQ(rows[0], (std::vector<RgbQuad>{kWhite, kBlue, kGreen, kUnset, kUnset}));
}

TEST(BmpRle, RunsPastTheRightEdgeAreClippedNotWrapped) {
    const std::vector<uint8_t> data = {
        0x0A, 0x01,                    // 10 green into a 3-wide row
        0x00, 0x06, 0, 1, 2, 3, 0, 1,  // absolute run starting beyond the edge
        0x00, 0x00,
        0x02, 0x02,                    // next row: 2 blue
        0x00, 0x01,
    };
    const auto rows = Pixels(*Read(RleFile(3, 2, 8, data)).dib);
    EXPECT_EQ(rows[1], (std::vector<RgbQuad>{kGreen, kGreen, kGreen}));
    EXPECT_EQ(rows[0], (std::vector<RgbQuad>{kBlue, kBlue, kUnset}));
}

TEST(BmpRle, DamagedDataStopsInsideThePicture) {
    // Deltas far beyond the picture, then more data: nothing written outside, nothing after.
    const auto far = Pixels(*Read(RleFile(2, 2, 8, {0x00, 0x02, 0xFF, 0x00, 0x01, 0x01, 0x00, 0x02, 0x00, 0xFF,
                                                    0x02, 0x02})).dib);
    EXPECT_EQ(far, (std::vector<std::vector<RgbQuad>>(2, std::vector<RgbQuad>(2, kUnset))));

    // Many end-of-line codes climb past the top and stop.
    std::vector<uint8_t> lines;
    for (int i = 0; i < 50; ++i) lines.insert(lines.end(), {0x01, 0x03, 0x00, 0x00});
    EXPECT_EQ(Pixels(*Read(RleFile(1, 3, 8, lines)).dib)[0][0], kWhite);

    // Data cut inside an absolute run and inside a delta.
    const auto cut = Pixels(*Read(RleFile(4, 1, 8, {0x00, 0x04, 0x01, 0x02})).dib);
    EXPECT_EQ(cut[0], (std::vector<RgbQuad>{kGreen, kBlue, kUnset, kUnset}));
    EXPECT_NO_THROW(Read(RleFile(4, 1, 8, {0x00, 0x02, 0x01})));
    EXPECT_NO_THROW(Read(RleFile(4, 1, 4, {0x00, 0x07, 0x12})));

    // The image-size field limits the data read: the run after it is not used.
    const auto limited = Pixels(*Read(RleFile(2, 1, 8, {0x01, 0x01, 0x01, 0x02}, /*sizeImage=*/2)).dib);
    EXPECT_EQ(limited[0], (std::vector<RgbQuad>{kGreen, kUnset}));

    // Indices past the colour table come out black.
    EXPECT_EQ(Pixels(*Read(RleFile(1, 1, 8, {0x01, 0xC8})).dib)[0][0], kUnset);
}

TEST(BmpRle, MissingDataLeavesABlackPicture) {
    const BmpReadResult r = Read(RleFile(3, 2, 8, {}));
    EXPECT_EQ(Pixels(*r.dib), (std::vector<std::vector<RgbQuad>>(2, std::vector<RgbQuad>(3, kUnset))));
}

}  // namespace
}  // namespace kv
