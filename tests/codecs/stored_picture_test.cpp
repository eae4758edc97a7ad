// Pictures stored in a window layout ("Data" bytes): class lookup and the per-class readers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "codecs/stored_picture.h"
#include "graphics/bitmap.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Stored(const std::string& className, const std::vector<uint8_t>& data, bool counted) {
    std::vector<uint8_t> out{static_cast<uint8_t>(className.size())};
    out.insert(out.end(), className.begin(), className.end());
    if (counted) {
        const uint32_t n = static_cast<uint32_t>(data.size());
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

class StoredPictureTest : public ::testing::Test {
protected:
    StoredPictureTest() {
        picture.OnChange = [this](TPicture&) { ++changes; };
    }
    const std::vector<uint8_t> bmp = FileBytes(std::filesystem::path(KV_CORPUS_DIR) / "bmp/g/pal1.bmp");
    TPicture picture;
    int changes = 0;
};

TEST_F(StoredPictureTest, BitmapReadsACountedFile) {
    std::vector<uint8_t> data = Stored("TBitmap", bmp, true);
    data.insert(data.end(), {1, 2, 3});  // bytes after the counted file are not the bitmap's
    ReadStoredPicture(picture, data);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(picture.Width(), 127);
    EXPECT_EQ(picture.Height(), 64);
    EXPECT_EQ(changes, 1);
    const Dib* dib = static_cast<TBitmap*>(picture.Graphic())->GetDib();
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->BitCount(), 1);
}

TEST_F(StoredPictureTest, JpegReadsACountedFile) {
    RegisterStandardFormats();
    const std::vector<uint8_t> jpeg = FileBytes(std::filesystem::path(KV_CORPUS_DIR) / "jpeg/testimgint.jpg");
    ASSERT_FALSE(jpeg.empty());
    std::vector<uint8_t> data = Stored("TJPEGImage", jpeg, true);
    data.insert(data.end(), {0xFF, 0xD9, 0});  // bytes after the counted file are not the picture's
    ReadStoredPicture(picture, data);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(picture.Width(), 227);
    EXPECT_EQ(picture.Height(), 149);
}

TEST_F(StoredPictureTest, UnknownOrWronglyCasedClassLeavesTheHolderEmpty) {
    ReadStoredPicture(picture, Stored("TBitmap", bmp, true));
    for (const char* name : {"tbitmap", "TPngImage", ""}) {
        ReadStoredPicture(picture, Stored(name, bmp, true));
        EXPECT_EQ(picture.Graphic(), nullptr) << name;
    }
    EXPECT_EQ(changes, 4);
}

TEST_F(StoredPictureTest, DamagedDataFailsAndKeepsTheHolder) {
    ReadStoredPicture(picture, Stored("TBitmap", bmp, true));
    TGraphic* held = picture.Graphic();
    const int before = changes;

    std::vector<uint8_t> countTooLarge = Stored("TBitmap", bmp, true);
    countTooLarge[8 + 3] = 0x7F;  // byte count far beyond the data
    EXPECT_THROW(ReadStoredPicture(picture, countTooLarge), EReadError);
    EXPECT_THROW(ReadStoredPicture(picture, std::vector<uint8_t>{}), EReadError);
    EXPECT_THROW(ReadStoredPicture(picture, std::vector<uint8_t>{7, 'T', 'B', 'i'}), EReadError);
    EXPECT_THROW(ReadStoredPicture(picture, Stored("TBitmap", {}, false)), EReadError);
    std::vector<uint8_t> notBmp = bmp;
    notBmp[0] = 'X';
    EXPECT_THROW(ReadStoredPicture(picture, Stored("TBitmap", notBmp, true)), EInvalidGraphic);
    // Classes without a byte count read the rest as their file: an icon refuses it.
    EXPECT_THROW(ReadStoredPicture(picture, Stored("TIcon", bmp, false)), EInvalidGraphic);

    EXPECT_EQ(picture.Graphic(), held);
    EXPECT_EQ(changes, before);
}

TEST_F(StoredPictureTest, ZeroByteBitmapIsAnEmptyBitmap) {
    ReadStoredPicture(picture, Stored("TBitmap", {}, true));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_TRUE(picture.Graphic()->Empty());
}

}  // namespace
}  // namespace kv
