// Memory and time bombs: small files that declare huge pictures, frame counts, scan counts or
// block chains. Each must end with a picture or one of its reader's own failures, with bounded
// memory; the CTest time-out of this program bounds the time.
// With KV_WRITE_BOMBS=FOLDER the files are also written there, to measure them with
// /usr/bin/time -v build/bin/picture-dump FILE /dev/null.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codecs/bmp_errors.h"
#include "codecs/gif/gif_errors.h"
#include "codecs/gif/gif_image.h"
#include "codecs/jpeg.h"
#include "codecs/jpeg_errors.h"
#include "graphics/bitmap.h"
#include "graphics/dib.h"
#include "runtime/stream.h"
#include "tests/regressions/bomb_builder.h"

namespace kv {
namespace {

namespace bombs = test::bombs;

struct Outcome {
    bool picture = false;
    int width = 0;
    int height = 0;
    std::string failure;  // the message of an accepted failure
};

// Reads the bytes into a fresh picture and converts it to a bitmap, as the load button does.
template <class Picture, class Failures>
Outcome Decode(const std::vector<uint8_t>& bytes) {
    Outcome outcome;
    outcome.picture = Failures::Accepts(
        [&] {
            Picture picture;
            TMemoryStream stream(bytes.data(), bytes.size());
            picture.LoadFromStream(stream);
            TBitmap bitmap;
            bitmap.Assign(&picture);
            const Dib* pixels = bitmap.GetDib();  // run-length files expand here
            outcome.width = pixels ? pixels->Width() : 0;
            outcome.height = pixels ? pixels->Height() : 0;
        },
        &outcome.failure);
    return outcome;
}

Outcome DecodeGif(const std::vector<uint8_t>& bytes) { return Decode<TGIFImage, GifReaderFailures>(bytes); }
Outcome DecodeBmp(const std::vector<uint8_t>& bytes) { return Decode<TBitmap, BmpReaderFailures>(bytes); }
Outcome DecodeJpeg(const std::vector<uint8_t>& bytes) { return Decode<TJPEGImage, JpegReaderFailures>(bytes); }

TEST(GifBombs, HugeScreensFramesAndCommentsEndInAFailureOrAPicture) {
    const Outcome screen = DecodeGif(bombs::GifHugeScreen());
    EXPECT_FALSE(screen.picture);
    EXPECT_EQ(screen.failure, kOutOfResourcesText);

    const Outcome frames = DecodeGif(bombs::GifHugeFrames(5000));
    EXPECT_FALSE(frames.picture);
    EXPECT_EQ(frames.failure, kOutOfResourcesText);

    const Outcome comment = DecodeGif(bombs::GifCommentChain(size_t{100} << 20));
    EXPECT_TRUE(comment.picture) << comment.failure;
    EXPECT_EQ(comment.width, 1);
}

TEST(BmpBombs, HugeRowCountsAndRunLengthGiantsAreRefusedBeforeAllocation) {
    const Outcome maxRows = DecodeBmp(bombs::BmpHugeRowCount(0x7FFFFFFF));
    EXPECT_EQ(maxRows.failure, kOutOfResourcesText);
    const Outcome minRows = DecodeBmp(bombs::BmpHugeRowCount(0x80000000));
    EXPECT_EQ(minRows.failure, kInvalidBitmapText);
    const Outcome rle = DecodeBmp(bombs::BmpRle8(60000, 60000));
    EXPECT_EQ(rle.failure, kOutOfResourcesText);
}

TEST(BmpBombs, LegalRunLengthGiantLoadsWhole) {
    const Outcome rle = DecodeBmp(bombs::BmpRle8(16000, 16000));
    ASSERT_TRUE(rle.picture) << rle.failure;
    EXPECT_EQ(rle.width, 16000);
    EXPECT_EQ(rle.height, 16000);
}

TEST(JpegBombs, GiantFrameWithLittleDataIsRefusedBeforeDecoding) {
    const Outcome giant = DecodeJpeg(bombs::JpegGiantGrey(65500, 65500));
    EXPECT_EQ(giant.failure, kOutOfResourcesText);
}

TEST(JpegBombs, ThousandsOfScansAreCutOffAtTheScanLimit) {
    const Outcome scans = DecodeJpeg(bombs::JpegManyScans(4096, 4096, 20000));
    ASSERT_TRUE(scans.picture) << scans.failure;
    EXPECT_EQ(scans.width, 4096);
}

TEST(JpegBombs, CutOffGreyGiantDecodesWhole) {
    const Outcome grey = DecodeJpeg(bombs::JpegGiantGrey(18000, 18000));
    ASSERT_TRUE(grey.picture) << grey.failure;
    EXPECT_EQ(grey.width, 18000);
}

TEST(BombFiles, WrittenToTheFolderNamedByKvWriteBombs) {
    const char* folder = std::getenv("KV_WRITE_BOMBS");
    if (folder == nullptr) return;
    const std::filesystem::path out = folder;
    std::filesystem::create_directories(out);
    auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream(out / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write("gif-screen-65535.gif", bombs::GifHugeScreen());
    write("gif-5000-huge-frames.gif", bombs::GifHugeFrames(5000));
    write("gif-comment-100mb.gif", bombs::GifCommentChain(size_t{100} << 20));
    write("bmp-rows-2e31-1.bmp", bombs::BmpHugeRowCount(0x7FFFFFFF));
    write("bmp-rows-2e31.bmp", bombs::BmpHugeRowCount(0x80000000));
    write("bmp-rle8-60000.bmp", bombs::BmpRle8(60000, 60000));
    write("bmp-rle8-16000.bmp", bombs::BmpRle8(16000, 16000));
    write("jpeg-65500.jpg", bombs::JpegGiantGrey(65500, 65500));
    write("jpeg-20000-scans.jpg", bombs::JpegManyScans(4096, 4096, 20000));
    write("jpeg-grey-18000.jpg", bombs::JpegGiantGrey(18000, 18000));
}

}  // namespace
}  // namespace kv
