#include "graphics/dib.h"

#include <gtest/gtest.h>

#include <climits>

#include "raster_test_support.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

using raster_test::kBlack, raster_test::kBlue, raster_test::kRed, raster_test::kWhite;
constexpr RgbQuad kGreen{0, 255, 0, 0}, kGray{128, 128, 128, 0};

// A 3x2 picture: top row red, green, blue; bottom row white, black, grey.
void PaintKnownPicture(Dib& dib) {
    const RgbQuad colours[2][3] = {{kRed, kGreen, kBlue}, {kWhite, kBlack, kGray}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) dib.SetPixel(x, y, colours[y][x]);
}

struct LayoutCase {
    int bits;
    std::vector<uint8_t> topRow, bottomRow;  // padded rows as stored
};

TEST(DibTest, ScanLineLayoutOfEveryFormat) {
    const std::vector<LayoutCase> cases = {
        {1, {0x00, 0, 0, 0}, {0xA0, 0, 0, 0}},  // red, green, blue -> black; grey -> white
        {4, {0x9A, 0xC0, 0, 0}, {0xF0, 0x80, 0, 0}},
        {8, {9, 10, 12, 0}, {15, 0, 8, 0}},
        {15, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}, {0xFF, 0x7F, 0x00, 0x00, 0x10, 0x42, 0, 0}},
        {16, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}, {0xFF, 0xFF, 0x00, 0x00, 0x10, 0x84, 0, 0}},
        {24, {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}, {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0}},
        {32, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}, {255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.bits);
        DibDescription description = DescriptionFor(3, 2, c.bits);
        Dib bottomUp(description, DefaultPalette(description.bitCount));
        PaintKnownPicture(bottomUp);
        std::vector<uint8_t> expected = c.bottomRow;
        expected.insert(expected.end(), c.topRow.begin(), c.topRow.end());
        EXPECT_EQ(std::vector<uint8_t>(bottomUp.Bits(), bottomUp.Bits() + bottomUp.ByteSize()), expected);
        EXPECT_EQ(PixelFormatBits(description), c.bits);

        description.height = -2;
        Dib topDown(description, DefaultPalette(description.bitCount));
        PaintKnownPicture(topDown);
        expected = c.topRow;
        expected.insert(expected.end(), c.bottomRow.begin(), c.bottomRow.end());
        EXPECT_EQ(std::vector<uint8_t>(topDown.Bits(), topDown.Bits() + topDown.ByteSize()), expected);
        EXPECT_EQ(topDown.Row(0), topDown.Bits());
    }
}

TEST(DibTest, StrideAndSizeNeverOverflow) {
    EXPECT_EQ(DibStride(3, 24), 12u);
    EXPECT_EQ(DibStride(33, 1), 8u);
    EXPECT_EQ(DibStride(0, 8), 0u);
    EXPECT_EQ(DibStride(-5, 8), 0u);
    EXPECT_EQ(DibStride(5, 0), 0u);
    EXPECT_EQ(DibImageSize(3, -2, 24), 24u);
    EXPECT_EQ(DibImageSize(int64_t{1} << 40, int64_t{1} << 40, 32), UINT64_MAX);
    EXPECT_EQ(DibImageSize(10, INT64_MIN, 8), UINT64_MAX);
}

TEST(DibTest, RefusesStorageBeyondOneGibibyteAndImpossibleDescriptions) {
    auto refuses = [](const DibDescription& d) {
        try {
            Dib dib(d);
            return false;
        } catch (const EOutOfResources& e) {
            return e.Message() == "Out of system resources";
        }
    };
    EXPECT_TRUE(refuses(DescriptionFor(20000, 20000, 32)));  // 1.6 GB
    EXPECT_TRUE(refuses(DescriptionFor(INT_MAX, INT_MAX, 1)));
    EXPECT_TRUE(refuses(DescriptionFor(0, 10, 32)));
    EXPECT_TRUE(refuses(DescriptionFor(10, 0, 32)));
    EXPECT_TRUE(refuses(DescriptionFor(10, INT_MIN, 32)));
    DibDescription odd = DescriptionFor(4, 4, 32);
    odd.bitCount = 7;
    EXPECT_TRUE(refuses(odd));
    odd = DescriptionFor(4, 4, 8);
    odd.compression = kBiRle8;
    EXPECT_TRUE(refuses(odd));
    EXPECT_FALSE(refuses(DescriptionFor(1000, 1000, 32)));
}

// A window's surface painted in place: the storage writes into memory it does not own, never
// frees it, and a copy of it is a copy of its own.
TEST(DibTest, StorageOverForeignMemoryWritesThereAndCopiesAway) {
    std::vector<uint8_t> surface(3 * 2 * 4 + 7, 0xAB);
    DibDescription rows = DescriptionFor(3, 2, 32);
    rows.height = -2;  // top-down, as a window surface is
    {
        const std::unique_ptr<Dib> view = Dib::Over(rows, surface.data(), surface.size());
        PaintKnownPicture(*view);
        EXPECT_EQ(surface[4 * 2 + 0], kBlue.blue);   // the top row's third pixel, first in memory
        EXPECT_EQ(surface[3 * 4 + 0], kWhite.blue);  // the bottom row follows it
        EXPECT_EQ(surface[24], 0xAB);                // nothing written past the picture
        const std::unique_ptr<Dib> copy = view->Clone();
        copy->SetPixel(0, 0, kGreen);
        EXPECT_EQ(view->PixelAt(0, 0), kRed);
    }
    EXPECT_EQ(surface[2], kRed.red);  // still there after the view is gone
    auto refuses = [&](const DibDescription& d, size_t size) {
        try {
            Dib::Over(d, surface.data(), size);
            return false;
        } catch (const EOutOfResources&) {
            return true;
        }
    };
    EXPECT_TRUE(refuses(rows, 3 * 2 * 4 - 1));
    EXPECT_TRUE(refuses(DescriptionFor(3, 2, 8), surface.size()));
    EXPECT_FALSE(refuses(rows, 3 * 2 * 4));
}

TEST(DibTest, IndexedStorageAlwaysHasAFullColourTable) {
    Dib dib(DescriptionFor(2, 2, 4), {kRed});
    ASSERT_EQ(dib.Palette().size(), 16u);
    EXPECT_EQ(dib.Palette()[0], kRed);
    EXPECT_EQ(dib.Palette()[1], kBlack);
    EXPECT_EQ(SystemPalette16().size(), 16u);
    EXPECT_EQ(HalftonePalette().size(), 256u);
    // Outside the picture: reads black, writes nothing.
    EXPECT_EQ(dib.PixelAt(2, 0), kBlack);
    dib.SetPixel(-1, 0, kRed);
}

std::unique_ptr<Dib> RandomPicture(int width, int height, unsigned seed) {
    return std::make_unique<Dib>(raster_test::RandomDib(width, height, seed));
}

TEST(DibTest, ConversionRoundTrips) {
    const auto original = RandomPicture(37, 11, 1);
    const auto as24 = original->ConvertTo(DescriptionFor(37, 11, 24));
    const auto back = as24->ConvertTo(DescriptionFor(37, 11, 32));
    EXPECT_EQ(std::vector<uint8_t>(back->Bits(), back->Bits() + back->ByteSize()),
              std::vector<uint8_t>(original->Bits(), original->Bits() + original->ByteSize()));

    for (int bits : {15, 16}) {
        const auto packed = original->ConvertTo(DescriptionFor(37, 11, bits));
        const auto again = packed->ConvertTo(DescriptionFor(37, 11, 32))->ConvertTo(DescriptionFor(37, 11, bits));
        EXPECT_EQ(std::vector<uint8_t>(again->Bits(), again->Bits() + again->ByteSize()),
                  std::vector<uint8_t>(packed->Bits(), packed->Bits() + packed->ByteSize()));
        const RgbQuad a = original->PixelAt(5, 5), b = packed->PixelAt(5, 5);
        EXPECT_LE(std::abs(a.red - b.red), 8);
        EXPECT_LE(std::abs(a.green - b.green), 8);
    }

    // Indexed pictures survive a trip through true colour exactly.
    std::vector<RgbQuad> distinct;
    for (int i = 0; i < 256; ++i)
        distinct.push_back(RgbQuad{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0});
    Dib indexed(DescriptionFor(16, 3, 8), distinct);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 3; ++y) indexed.Row(y)[x] = static_cast<uint8_t>(x * 13 + y * 7);
    const auto indexedBack = indexed.ConvertTo(DescriptionFor(16, -3, 32))->ConvertTo(DescriptionFor(16, 3, 8), distinct);
    EXPECT_EQ(std::vector<uint8_t>(indexedBack->Bits(), indexedBack->Bits() + indexedBack->ByteSize()),
              std::vector<uint8_t>(indexed.Bits(), indexed.Bits() + indexed.ByteSize()));
}

TEST(DibTest, ConversionToAnotherSizeKeepsTheTopLeft) {
    const auto original = RandomPicture(4, 4, 2);
    const auto larger = original->ConvertTo(DescriptionFor(6, 5, 24));
    EXPECT_EQ(larger->PixelAt(3, 3), original->PixelAt(3, 3));
    EXPECT_EQ(larger->PixelAt(0, 0), original->PixelAt(0, 0));
    EXPECT_EQ(larger->PixelAt(5, 4), kBlack);
    const auto clone = original->Clone();
    EXPECT_EQ(clone->Description(), original->Description());
    EXPECT_EQ(clone->PixelAt(1, 2), original->PixelAt(1, 2));
}

}  // namespace
}  // namespace kv
