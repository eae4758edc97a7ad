// The small pieces under the decoder: ink conversion, the progress percentage and the
// memory source at the end of the data.
#include <gtest/gtest.h>

#include <jerror.h>

#include "codecs/jpeg_cmyk.h"
#include "codecs/jpeg_decoder.h"
#include "codecs/jpeg_progress.h"
#include "jpeg_test_support.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

TEST(JpegCmyk, PlainAndInvertedInksGiveTheSameColours) {
    // Half cyan, no magenta, full yellow, quarter black -> red 95, green 191, blue 0 (rounded).
    const uint8_t plain[4] = {128, 0, 255, 64};
    const uint8_t inverted[4] = {127, 255, 0, 191};
    uint8_t a[3], b[3];
    ConvertCmykRowToBgr(plain, a, 1, false);
    ConvertCmykRowToBgr(inverted, b, 1, true);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 191);
    EXPECT_EQ(a[2], 95);
    EXPECT_EQ(a[0], b[0]);
    EXPECT_EQ(a[1], b[1]);
    EXPECT_EQ(a[2], b[2]);
    // No ink is white, full black is black whatever the other inks are.
    const uint8_t pixels[8] = {0, 0, 0, 0, 10, 200, 30, 255};
    uint8_t out[6];
    ConvertCmykRowToBgr(pixels, out, 2, false);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[1], 255);
    EXPECT_EQ(out[2], 255);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[5], 0);
}

TEST(JpegProgress, PercentCountsCompletedPassesAndTruncates) {
    EXPECT_EQ(JpegProgressPercent(50, 100, 0, 1), 50);
    EXPECT_EQ(JpegProgressPercent(1, 3, 1, 2), 66);
    EXPECT_EQ(JpegProgressPercent(99, 100, 2, 3), 99);
    EXPECT_EQ(JpegProgressPercent(5, 0, 0, 1), 0);  // no totals known yet
}

TEST(JpegSource, SkippingPastTheEndStopsWithoutReadingOutside) {
    // A start marker and an application segment that claims far more bytes than follow.
    std::vector<uint8_t> bytes = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0, 'E', 'x', 'i', 'f'};
    try {
        ReadJpegHeader(bytes.data(), bytes.size());
        ADD_FAILURE() << "a header without a frame was accepted";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message().rfind("JPEG error #", 0), 0u);
    }
}

TEST(JpegSource, PrematureEndIsOnlyAWarning) {
    // Cutting the data at every 4096-byte buffer boundary still decodes.
    std::vector<uint8_t> file = test::ReadWholeFile(test::JpegCorpusPath("jpeg/testorig.jpg"));
    for (size_t cut : {size_t{700}, size_t{4096}, size_t{4097}, file.size() - 2}) {
        SCOPED_TRACE(cut);
        std::vector<uint8_t> part(file.begin(), file.begin() + static_cast<long>(cut));
        std::unique_ptr<Dib> dib;
        EXPECT_NO_THROW(DecodeJpeg(part.data(), part.size(), TJPEGSettings{},
                                   [&](const DibDescription& d, std::vector<RgbQuad> p) -> Dib& {
                                       dib = std::make_unique<Dib>(d, std::move(p));
                                       return *dib;
                                   }));
        EXPECT_TRUE(dib);
    }
}

}  // namespace
}  // namespace kv
