// The decoder against the library's own command-line decoder (same settings, pixel for pixel),
// the header pass, the failure codes and the four-component conversion.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <jerror.h>

#include "codecs/jpeg_decoder.h"
#include "codecs/jpeg_error_manager.h"
#include "codecs/jpeg_errors.h"
#include "jpeg_test_support.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

using test::JpegCorpusPath;
using test::PnmImage;
using test::ReadWholeFile;

struct Decoded {
    std::unique_ptr<Dib> dib;
    int provided = 0;
};

void DecodeInto(Decoded& result, const std::vector<uint8_t>& bytes, const TJPEGSettings& settings = {}) {
    DecodeJpeg(bytes.data(), bytes.size(), settings,
               [&](const DibDescription& description, std::vector<RgbQuad> palette) -> Dib& {
                   ++result.provided;
                   result.dib = std::make_unique<Dib>(description, std::move(palette));
                   return *result.dib;
               });
}

Decoded Decode(const std::vector<uint8_t>& bytes, const TJPEGSettings& settings = {}) {
    Decoded result;
    DecodeInto(result, bytes, settings);
    return result;
}

std::string FailureText(const std::vector<uint8_t>& bytes) {
    try {
        Decode(bytes);
    } catch (const EJPEG& e) {
        return e.Message();
    }
    return "no failure";
}

// Number of pixels whose colour differs from the reference (palette resolved).
int CountDifferences(const Dib& dib, const PnmImage& reference) {
    if (dib.Width() != reference.width || dib.Height() != reference.height) return -1;
    int differences = 0;
    for (int y = 0; y < dib.Height(); ++y) {
        const uint8_t* row = dib.Row(y);
        for (int x = 0; x < dib.Width(); ++x) {
            const uint8_t* ref = &reference.pixels[(static_cast<size_t>(y) * reference.width + x) * reference.channels];
            uint8_t r, g, b;
            if (dib.BitCount() == 24) {
                b = row[x * 3], g = row[x * 3 + 1], r = row[x * 3 + 2];
            } else {
                const RgbQuad& q = dib.Palette().at(row[x]);
                b = q.blue, g = q.green, r = q.red;
            }
            bool same = reference.channels == 3 ? (r == ref[0] && g == ref[1] && b == ref[2])
                                                : (r == ref[0] && g == ref[0] && b == ref[0]);
            if (!same) ++differences;
        }
    }
    return differences;
}

// Decodes a file and compares it with djpeg at the same settings.
void ExpectSameAsDjpeg(const std::string& path, const std::string& djpegOptions, const TJPEGSettings& settings,
                       int expectedBitCount) {
    SCOPED_TRACE(path + " " + djpegOptions);
    if (!test::DjpegAvailable()) GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed";
    PnmImage reference;
    ASSERT_TRUE(test::RunDjpeg(djpegOptions, path, reference));
    Decoded decoded = Decode(ReadWholeFile(path), settings);
    ASSERT_TRUE(decoded.dib);
    EXPECT_EQ(decoded.dib->BitCount(), expectedBitCount);
    EXPECT_FALSE(decoded.dib->TopDown());
    EXPECT_EQ(CountDifferences(*decoded.dib, reference), 0);
}

TEST(JpegDecoder, ColourFilesMatchTheLibrarysDecoderPixelForPixel) {
    for (const char* name : {"jpeg/testorig.jpg", "jpeg/testimgint.jpg", "jpeg/testimgari.jpg",
                             "jpeg/history-ijg-v6b/testprog.jpg", "jpeg/history-ijg-v6b/testimgp.jpg",
                             "jpeg/history-ljt/testimgp.jpg", "jpeg/history-ljt/testimgcrop.jpg",
                             "jpeg/history-ljt/testimgfst100.jpg"}) {
        ExpectSameAsDjpeg(JpegCorpusPath(name), "-dct float", TJPEGSettings{}, 24);
    }
}

TEST(JpegDecoder, ColourRowsAreBottomUpBlueGreenRed) {
    // A picture whose top half is pure red and bottom half pure blue, 4:4:4 so colours stay clean.
    const int w = 16, h = 16;
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = y < h / 2 ? 255 : 0;
            p[2] = y < h / 2 ? 0 : 255;
        }
    test::EncodeOptions options;
    options.quality = 100;
    options.lumaSampling = 1;
    Decoded decoded = Decode(test::EncodeJpeg(w, h, JCS_RGB, 3, rgb, options));
    const Dib& dib = *decoded.dib;
    // The first stored row is the bottom row of the picture: blue, stored as bytes B, G, R.
    const uint8_t* firstStored = dib.Bits();
    EXPECT_GE(firstStored[0], 250);
    EXPECT_LE(firstStored[2], 5);
    const uint8_t* top = dib.Row(0);
    EXPECT_LE(top[0], 5);
    EXPECT_GE(top[2], 250);
}

TEST(JpegDecoder, EncodedVariantsMatchTheLibrarysDecoder) {
    // Restart markers, 4:4:4 sampling and progressive coding, written here since the corpus
    // lacks them.
    const int w = 203, h = 97;
    std::vector<uint8_t> rgb = test::GradientRgb(w, h);
    struct Variant {
        const char* name;
        test::EncodeOptions options;
    };
    test::EncodeOptions restart;
    restart.restartInterval = 3;
    test::EncodeOptions full;
    full.lumaSampling = 1;
    test::EncodeOptions progressiveRestart;
    progressiveRestart.progressive = true;
    progressiveRestart.restartInterval = 1;
    for (const Variant& v : {Variant{"restart", restart}, Variant{"444", full},
                             Variant{"progressive-restart", progressiveRestart}}) {
        test::TempFile file(std::string("-") + v.name + ".jpg");
        test::WriteWholeFile(file.Path(), test::EncodeJpeg(w, h, JCS_RGB, 3, rgb, v.options));
        ExpectSameAsDjpeg(file.Path(), "-dct float", TJPEGSettings{}, 24);
    }
}

TEST(JpegDecoder, LargeProgressivePicturesMatchTheLibrarysDecoderWhileTheirReadCoefficientsAreGivenBack) {
    // Big enough that the coefficient arrays span several huge pages, which go back to the system
    // during the output pass: a page given back too early reads as zeros and shows. The two-pass
    // quantiser reads the arrays twice, and a cut-off file has block smoothing look one row back.
    const int w = 2400, h = 1600;
    test::EncodeOptions options;
    options.progressive = true;
    const std::vector<uint8_t> bytes = test::EncodeJpeg(w, h, JCS_RGB, 3, test::GradientRgb(w, h), options);
    test::TempFile whole("-large-progressive.jpg");
    test::WriteWholeFile(whole.Path(), bytes);
    ExpectSameAsDjpeg(whole.Path(), "-dct float", TJPEGSettings{}, 24);
    TJPEGSettings eightBit;
    eightBit.pixelFormat = TJPEGPixelFormat::jf8Bit;
    ExpectSameAsDjpeg(whole.Path(), "-dct float -colors 236", eightBit, 8);
    test::TempFile cut("-large-progressive-cut.jpg");
    test::WriteWholeFile(cut.Path(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() * 3 / 5));
    ExpectSameAsDjpeg(cut.Path(), "-dct float", TJPEGSettings{}, 24);
}

TEST(JpegDecoder, GrayscaleGivesEightBitsWithADitheredGreyPaletteOfAtMost236) {
    const std::string path = JpegCorpusPath("jpeg/history-ljt/testimggray.jpg");
    Decoded decoded = Decode(ReadWholeFile(path));
    ASSERT_TRUE(decoded.dib);
    EXPECT_EQ(decoded.dib->BitCount(), 8);
    EXPECT_EQ(decoded.dib->Width(), 227);
    EXPECT_EQ(decoded.dib->Height(), 149);
    // The storage keeps 256 slots; the library's map fills at most 236 of them, all grey.
    int used = 0;
    for (int y = 0; y < decoded.dib->Height(); ++y)
        for (int x = 0; x < decoded.dib->Width(); ++x) used = std::max(used, decoded.dib->Row(y)[x] + 1);
    EXPECT_LE(used, 236);
    for (int i = 0; i < used; ++i) {
        const RgbQuad& q = decoded.dib->Palette()[static_cast<size_t>(i)];
        EXPECT_TRUE(q.red == q.green && q.green == q.blue) << i;
    }
    ExpectSameAsDjpeg(path, "-dct float -colors 236", TJPEGSettings{}, 8);
}

TEST(JpegDecoder, OtherSettingsMatchTheLibrarysDecoder) {
    const std::string path = JpegCorpusPath("jpeg/testorig.jpg");
    TJPEGSettings eightBit;
    eightBit.pixelFormat = TJPEGPixelFormat::jf8Bit;
    ExpectSameAsDjpeg(path, "-dct float -colors 236", eightBit, 8);
    TJPEGSettings grey;
    grey.grayscale = true;
    ExpectSameAsDjpeg(path, "-dct float -grayscale -colors 236", grey, 8);
    TJPEGSettings half;
    half.scale = TJPEGScale::jsHalf;
    ExpectSameAsDjpeg(path, "-dct float -scale 1/2", half, 24);
    TJPEGSettings fast;
    fast.performance = TJPEGPerformance::jpBestSpeed;
    ExpectSameAsDjpeg(path, "-dct fast", fast, 24);
    // Block smoothing only touches blocks whose coefficients are still missing; a complete
    // progressive file decodes the same without it.
    TJPEGSettings rough;
    rough.smoothing = false;
    ExpectSameAsDjpeg(JpegCorpusPath("jpeg/history-ijg-v6b/testprog.jpg"), "-dct float", rough, 24);
}

TEST(JpegDecoder, HeaderPassReportsSizeColourSpaceAndScans) {
    std::vector<uint8_t> baseline = ReadWholeFile(JpegCorpusPath("jpeg/testorig.jpg"));
    JpegHeaderInfo info = ReadJpegHeader(baseline.data(), baseline.size());
    EXPECT_EQ(info.width, 227);
    EXPECT_EQ(info.height, 149);
    EXPECT_FALSE(info.grayscale);
    EXPECT_FALSE(info.multiScan);

    std::vector<uint8_t> progressive = ReadWholeFile(JpegCorpusPath("jpeg/history-ijg-v6b/testprog.jpg"));
    EXPECT_TRUE(ReadJpegHeader(progressive.data(), progressive.size()).multiScan);
    std::vector<uint8_t> gray = ReadWholeFile(JpegCorpusPath("jpeg/history-ljt/testimggray.jpg"));
    EXPECT_TRUE(ReadJpegHeader(gray.data(), gray.size()).grayscale);
    EXPECT_EQ(JpegScaledDimension(227, TJPEGScale::jsEighth), 29);
}

// The library's message codes for the three failures a player meets. libjpeg62-turbo 2.1.5
// numbers them 42 (empty input), 53 (not a JPEG start) and 120 (premature end, a warning).
TEST(JpegDecoder, FailuresCarryTheLibrarysMessageCode) {
    EXPECT_EQ(FailureText({}), "JPEG error #" + std::to_string(JERR_INPUT_EMPTY));
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'};
    EXPECT_EQ(FailureText(text), "JPEG error #" + std::to_string(JERR_NO_SOI));
    try {
        ReadJpegHeader(text.data(), text.size());
        ADD_FAILURE() << "a text file passed the header pass";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), "JPEG error #" + std::to_string(JERR_NO_SOI));
    }
    // Only the start marker: the header pass runs into the end of the data and stops.
    std::vector<uint8_t> soiOnly = {0xFF, 0xD8};
    EXPECT_EQ(FailureText(soiOnly).rfind("JPEG error #", 0), 0u);
    // 12-bit samples are not supported by an 8-bit build.
    EXPECT_EQ(FailureText(ReadWholeFile(JpegCorpusPath("jpeg/monkey12.jpg"))),
              "JPEG error #" + std::to_string(JERR_BAD_PRECISION));
}

TEST(JpegDecoder, TruncatedFilesDecodeToTheEnd) {
    for (const char* name : {"jpeg/testorig.jpg", "jpeg/history-ijg-v6b/testprog.jpg"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = ReadWholeFile(JpegCorpusPath(name));
        bytes.resize(bytes.size() / 2);
        Decoded decoded;
        EXPECT_NO_THROW(DecodeInto(decoded, bytes));
        ASSERT_TRUE(decoded.dib);
        EXPECT_EQ(decoded.dib->Width(), 227);
        EXPECT_EQ(decoded.dib->Height(), 149);
        if (!test::DjpegAvailable()) continue;
        // What is filled in for the missing part is the library's choice, as djpeg shows it.
        test::TempFile cut(".jpg");
        test::WriteWholeFile(cut.Path(), bytes);
        PnmImage reference;
        ASSERT_TRUE(test::RunDjpeg("-dct float", cut.Path(), reference));
        EXPECT_EQ(CountDifferences(*decoded.dib, reference), 0);
    }
}

// Patches the frame header of a small JPEG to claim another size.
std::vector<uint8_t> WithFrameSize(std::vector<uint8_t> bytes, int width, int height) {
    for (size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = static_cast<uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<uint8_t>(height);
            bytes[i + 7] = static_cast<uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<uint8_t>(width);
            return bytes;
        }
    }
    return bytes;
}

TEST(JpegDecoder, PicturesOverTheStorageLimitAreRefusedBeforeAllocation) {
    std::vector<uint8_t> small = test::EncodeJpeg(16, 16, JCS_RGB, 3, test::GradientRgb(16, 16), {});
    // 60000 x 60000 x 3 bytes is far over 1 GiB.
    Decoded decoded;
    EXPECT_THROW(DecodeInto(decoded, WithFrameSize(small, 60000, 60000)), EOutOfResources);
    EXPECT_EQ(decoded.provided, 0);
    // A large but allowed size decodes (the missing data is filled by the library).
    Decoded allowed;
    EXPECT_NO_THROW(DecodeInto(allowed, WithFrameSize(small, 4000, 3000)));
    ASSERT_TRUE(allowed.dib);
    EXPECT_EQ(allowed.dib->Width(), 4000);

    // A progressive 4:4:4 picture of 20000 x 16000 fits the storage limit (960 MB), but its
    // coefficient arrays (1.9 GB) exceed the library's memory bound: refused before any pixel
    // storage is asked for, with the library's code for needing temporary files.
    test::EncodeOptions progressive;
    progressive.progressive = true;
    progressive.lumaSampling = 1;
    std::vector<uint8_t> multiScan = test::EncodeJpeg(16, 16, JCS_RGB, 3, test::GradientRgb(16, 16), progressive);
    Decoded bounded;
    try {
        DecodeInto(bounded, WithFrameSize(multiScan, 20000, 16000));
        ADD_FAILURE() << "decoded past the memory bound";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), JpegErrorText(JERR_NO_BACKING_STORE));
    }
    EXPECT_EQ(bounded.provided, 0);
}

// Flat CMYK pictures in the three four-component flavours decode to the colour they mean.
TEST(JpegDecoder, FourComponentFilesAreConvertedToBlueGreenRed) {
    const int w = 24, h = 16;
    // Plain inks (0 = none): cyan 0, magenta 255, yellow 255, black 0 is red; with the Adobe
    // convention the stored bytes are the complements.
    const uint8_t plainRed[4] = {0, 255, 255, 0};
    auto flat = [&](const uint8_t ink[4], bool invert) {
        std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = invert ? 255 - ink[i % 4] : ink[i % 4];
        return pixels;
    };
    struct Case {
        const char* name;
        J_COLOR_SPACE space;
        bool adobe;
    };
    for (const Case& c : {Case{"adobe-cmyk", JCS_CMYK, true}, Case{"plain-cmyk", JCS_CMYK, false},
                          Case{"ycck", JCS_YCCK, true}}) {
        SCOPED_TRACE(c.name);
        test::EncodeOptions options;
        options.quality = 100;
        options.fileSpace = c.space;
        options.adobeMarker = c.adobe;
        Decoded decoded = Decode(test::EncodeJpeg(w, h, JCS_CMYK, 4, flat(plainRed, c.adobe), options));
        ASSERT_TRUE(decoded.dib);
        ASSERT_EQ(decoded.dib->BitCount(), 24);
        for (int y = 0; y < h; y += 5) {
            RgbQuad p = decoded.dib->PixelAt(w / 2, y);
            EXPECT_GE(p.red, 250);
            EXPECT_LE(p.green, 5);
            EXPECT_LE(p.blue, 5);
        }
    }
}

TEST(JpegDecoder, AdobeCmykMatchesTheLibrarysDecoder) {
    if (!test::DjpegAvailable()) GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed";
    const int w = 40, h = 30;
    std::vector<uint8_t> cmyk(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < cmyk.size(); ++i) cmyk[i] = static_cast<uint8_t>((i * 37) ^ (i >> 5));
    test::EncodeOptions options;
    options.fileSpace = JCS_CMYK;
    test::TempFile file(".jpg");
    test::WriteWholeFile(file.Path(), test::EncodeJpeg(w, h, JCS_CMYK, 4, cmyk, options));
    ExpectSameAsDjpeg(file.Path(), "-dct float", TJPEGSettings{}, 24);
}

// Every damaged file either decodes or fails with one of the reader's set; with the
// sanitizer build this also proves no read outside the data.
TEST(JpegDecoder, MalformedFilesLoadWithoutCrashing) {
    const std::filesystem::path folder = JpegCorpusPath("malformed/jpg");
    int files = 0, decoded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        std::vector<uint8_t> bytes = ReadWholeFile(entry.path().string());
        ++files;
        if (JpegReaderFailures::Accepts([&] {
                ReadJpegHeader(bytes.data(), bytes.size());
                Decode(bytes);
            }))
            ++decoded;
    }
    EXPECT_EQ(files, 98);
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace kv
