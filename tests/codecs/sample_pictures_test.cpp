// The sample pictures that ship beside the game: each one decodes through the format registry,
// as the preview loads it, into a whole picture; together they reach every reader path a player
// can reach.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "codecs/gif/gif_image.h"
#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What kind of picture a file is, from its own header (not from its name).
std::string KindOf(const fs::path& path) {
    const std::string bytes = Bytes(path);
    const auto u8 = [&](size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
    if (bytes.rfind("BM", 0) == 0) {
        const unsigned bits = u8(28) | u8(29) << 8;
        const unsigned compression = u8(30);
        return "bmp" + std::to_string(bits) + (compression == 1 ? "rle" : "");
    }
    if (bytes.rfind("GIF", 0) == 0) {
        return bytes.find("NETSCAPE2.0") != std::string::npos ? "gif-looping" : "gif";
    }
    if (u8(0) == 0xFF && u8(1) == 0xD8) {
        std::string kind = bytes.find("\xFF\xC2") != std::string::npos ? "jpeg-progressive" : "jpeg-baseline";
        const size_t frame = bytes.find(kind == "jpeg-progressive" ? "\xFF\xC2" : "\xFF\xC0");
        if (frame != std::string::npos && u8(frame + 9) == 1) kind += "-grey";
        if (bytes.find("\xFF\xDD") != std::string::npos) kind += "-restart";
        return kind;
    }
    return "unknown";
}

TEST(SamplePictures, EveryOneDecodesWholeAndTogetherTheyCoverEveryReaderPath) {
    RegisterStandardFormats();
    std::set<std::string> kinds;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(KV_SOURCE_DIR) / "samples")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".jpg" && extension != ".bmp" && extension != ".gif") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++count;
        kinds.insert(KindOf(entry.path()));

        TPicture picture;
        ASSERT_NO_THROW(picture.LoadFromFile(entry.path().string()));
        if (const auto* gif = dynamic_cast<const TGIFImage*>(picture.Graphic());
            gif != nullptr && KindOf(entry.path()) == "gif-looping") {
            EXPECT_GT(gif->Images().Count(), 1);
        }
        // Converted to a bitmap the picture is decoded in full: its size, and more than one colour
        // between the top-left corner and the middle (a reader that stopped early leaves black).
        TBitmap bitmap;
        ASSERT_NO_THROW(bitmap.Assign(picture.Graphic()));
        ASSERT_GE(bitmap.Width(), 200);
        ASSERT_GE(bitmap.Height(), 150);
        EXPECT_EQ(bitmap.Width(), picture.Width());
        std::set<uint32_t> colours;
        const Dib& pixels = *bitmap.GetDib();
        for (int y = 0; y < bitmap.Height(); y += 7)
            for (int x = 0; x < bitmap.Width(); x += 7) {
                const auto p = pixels.PixelAt(x, y);
                colours.insert(uint32_t{p.red} << 16 | uint32_t{p.green} << 8 | p.blue);
            }
        EXPECT_GT(colours.size(), 3u);
    }
    EXPECT_GE(count, 8);
    for (const char* kind : {"jpeg-baseline-restart", "jpeg-progressive", "jpeg-baseline-grey", "bmp24", "bmp8rle",
                             "bmp4", "gif", "gif-looping"}) {
        EXPECT_TRUE(kinds.count(kind)) << "no sample of kind " << kind;
    }
}

}  // namespace
}  // namespace kv
