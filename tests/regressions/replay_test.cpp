// Every file in tests/regressions/files (inputs a fuzzer or a user once broke a reader with) is
// loaded through the format registry and converted to a bitmap, as the preview and the load
// button do. Each must end with a picture or a failure of its reader's own set; anything else
// escapes and fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs/bmp_errors.h"
#include "codecs/file_formats.h"
#include "codecs/gif/gif_errors.h"
#include "codecs/jpeg_errors.h"
#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const fs::path kFiles = fs::path(KV_SOURCE_DIR) / "tests" / "regressions" / "files";

void LoadAndConvert(const fs::path& path) {
    TPicture picture;
    picture.LoadFromFile(path.string());
    TBitmap bitmap;
    bitmap.Assign(picture.Graphic());
}

// True for a picture, false for an accepted failure of the reader the extension selects.
bool Replay(const fs::path& path, std::string* failure) {
    const std::string extension = LowerCaseExtension(path.extension().string());
    auto body = [&] { LoadAndConvert(path); };
    if (extension == ".gif") return GifReaderFailures::Accepts(body, failure);
    if (extension == ".bmp") return BmpReaderFailures::Accepts(body, failure);
    if (extension == ".jpg" || extension == ".jpeg") return JpegReaderFailures::Accepts(body, failure);
    ADD_FAILURE() << "no reader for " << path;
    return false;
}

TEST(Regressions, EveryKeptFileEndsWithAPictureOrItsReadersFailure) {
    RegisterStandardFormats();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kFiles))
        if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::string failure;
        const bool picture = Replay(path, &failure);
        EXPECT_TRUE(picture || !failure.empty());
    }
}

}  // namespace
}  // namespace kv
