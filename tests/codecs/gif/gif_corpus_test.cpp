// Real GIF files: the first frames of the GIF test suite against its reference pictures, and every
// malformed or sample file either loading or failing with the reader's own errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codecs/gif/gif_errors.h"
#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "tests/codecs/support/png_reader.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KV_CORPUS_DIR;

std::vector<fs::path> GifsIn(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".gif") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(GifCorpus, FirstFramesOfTheSuiteMatchTheReferencePictures) {
    const fs::path suite = kCorpus / "gif-suite" / "gifs";
    const std::vector<fs::path> gifs = GifsIn(suite);
    if (gifs.empty()) GTEST_SKIP() << "no GIF suite at " << suite;
    for (const fs::path& path : gifs) {
        SCOPED_TRACE(path.filename().string());
        const std::string stem = path.stem().string();
        fs::path reference = suite / "frames" / (stem + "-0.png");
        if (!fs::exists(reference)) reference = suite / "frames" / (stem + ".png");
        ASSERT_TRUE(fs::exists(reference));
        const test::RgbaImage expected = test::ReadPng(reference.string());

        TFileStream stream(path.string());
        TGIFImage gif;
        gif.LoadFromStream(stream);
        TBitmap bitmap;
        bitmap.Assign(&gif);
        const Dib* dib = bitmap.GetDib();
        ASSERT_NE(dib, nullptr);
        // The reader widens the logical screen to hold frames lying outside it; the reference
        // keeps the declared screen, so only the common part is compared there.
        if (stem.find("out_of_bounds") == std::string::npos) {
            EXPECT_EQ(dib->Width(), expected.width);
            EXPECT_EQ(dib->Height(), expected.height);
        }
        const int width = std::min(dib->Width(), expected.width);
        const int height = std::min(dib->Height(), expected.height);
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* want = expected.At(x, y);
                if (want[3] == 0) continue;  // transparent there: the bitmap shows the index's colour
                const RgbQuad got = dib->PixelAt(x, y);
                if (got.red != want[0] || got.green != want[1] || got.blue != want[2]) ++differing;
            }
        EXPECT_EQ(differing, 0);
    }
}

// Loads and converts; only failures of the reader's own set may come out.
void LoadAndConvert(const fs::path& path) {
    SCOPED_TRACE(path.string());
    GifReaderFailures::Accepts([&] {
        TFileStream stream(path.string());
        TGIFImage gif;
        gif.LoadFromStream(stream);
        TBitmap bitmap;
        bitmap.Assign(&gif);
        if (!gif.Empty()) {
            EXPECT_EQ(bitmap.Width(), gif.Width());
            EXPECT_EQ(bitmap.Height(), gif.Height());
        }
        // Every frame renders.
        for (auto& frame : gif.Images()) frame->Bitmap();
    });
}

TEST(GifCorpus, MalformedFilesLoadOrAreRefusedCleanly) {
    std::vector<fs::path> files = GifsIn(kCorpus / "malformed" / "gif");
    const std::vector<fs::path> extra = GifsIn(kCorpus / "malformed" / "gif" / "extra");
    files.insert(files.end(), extra.begin(), extra.end());
    if (files.empty()) GTEST_SKIP();
    for (const fs::path& path : files) LoadAndConvert(path);
}

TEST(GifCorpus, MalformedFilesGiveTheDocumentedOutcome) {
    const fs::path folder = kCorpus / "malformed" / "gif";
    if (!fs::is_directory(folder)) GTEST_SKIP();
    auto outcome = [&](const char* name) -> std::string {
        try {
            TFileStream stream((folder / name).string());
            TGIFImage gif;
            gif.LoadFromStream(stream);
            return "frames " + std::to_string(gif.Images().Count());
        } catch (const GIFException& e) {
            return e.Message();
        }
    };
    // Signature damaged beyond the 4-byte allowance.
    EXPECT_EQ(outcome("d5a0175c07418852152ef33a886a5029.gif"), "Invalid GIF signature");
    // Cut inside the screen descriptor, and inside a local colour table.
    EXPECT_EQ(outcome("e34116d68f49c7852b362ec72a636df5.gif"), "Premature end of data");
    EXPECT_EQ(outcome("6d939393058de0579fca1bbf10ecff25.gif"), "Premature end of data");
    // A code size byte of 0x48 is taken as 8; the picture loads.
    EXPECT_EQ(outcome("2b5bc31d84703bfb9f371925f0e3e57d.gif").rfind("frames", 0), 0u);
    // Ends after the last frame without trailer: loads.
    EXPECT_EQ(outcome("adaf0da1764aafb7039440dbe098569b.gif").rfind("frames", 0), 0u);
}

TEST(GifCorpus, SampleFilesLoad) {
    std::vector<fs::path> files = GifsIn(kCorpus / "debian-samples" / "tk8.6");
    const std::vector<fs::path> more = GifsIn(kCorpus / "debian-samples" / "libxslt");
    files.insert(files.end(), more.begin(), more.end());
    if (files.empty()) GTEST_SKIP();
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        TFileStream stream(path.string());
        TGIFImage gif;
        std::vector<std::string> warnings;
        gif.WarningHandler = [&](TGIFImage&, int, const std::string& m) { warnings.push_back(m); };
        gif.LoadFromStream(stream);
        EXPECT_FALSE(gif.Empty());
        EXPECT_TRUE(warnings.empty());
        TBitmap bitmap;
        bitmap.Assign(&gif);
        EXPECT_EQ(bitmap.Width(), gif.Width());
    }
}

}  // namespace
}  // namespace kv
