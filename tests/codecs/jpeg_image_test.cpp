// TJPEGImage: reading with a header-only pass, deferred and cached decoding, sharing on
// assignment, conversion to a bitmap and the failures a player can meet.
#include <gtest/gtest.h>

#include <memory>

#include <jerror.h>

#include "codecs/file_formats.h"
#include "codecs/jpeg.h"
#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "jpeg_test_support.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "support/empty_graphic.h"

namespace kv {
namespace {

using test::JpegCorpusPath;
using test::ReadWholeFile;

std::unique_ptr<TJPEGImage> LoadJpeg(const std::vector<uint8_t>& bytes) {
    auto jpeg = std::make_unique<TJPEGImage>();
    TMemoryStream stream(bytes);
    jpeg->LoadFromStream(stream);
    return jpeg;
}

std::unique_ptr<TJPEGImage> LoadCorpus(const char* name) {
    return LoadJpeg(ReadWholeFile(JpegCorpusPath(name)));
}

std::string CodeText(int code) {
    return "JPEG error #" + std::to_string(code);
}

TEST(JpegImage, ReadingLearnsTheSizeWithoutDecoding) {
    auto jpeg = std::make_unique<TJPEGImage>();
    int changes = 0;
    jpeg->OnChange = [&](TGraphic&) { ++changes; };
    TMemoryStream stream(ReadWholeFile(JpegCorpusPath("jpeg/testorig.jpg")));
    jpeg->LoadFromStream(stream);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(jpeg->Width(), 227);
    EXPECT_EQ(jpeg->Height(), 149);
    EXPECT_FALSE(jpeg->Decoded());
    EXPECT_FALSE(jpeg->Empty());
    EXPECT_FALSE(jpeg->Settings().progressiveEncoding);
    EXPECT_TRUE(jpeg->PaletteModified());

    auto progressive = LoadCorpus("jpeg/history-ijg-v6b/testprog.jpg");
    EXPECT_TRUE(progressive->Settings().progressiveEncoding);
    EXPECT_TRUE(LoadCorpus("jpeg/history-ljt/testimggray.jpg")->Grayscale());
}

TEST(JpegImage, ReadsFromTheStreamPositionToTheEnd) {
    std::vector<uint8_t> bytes = {'x', 'y', 'z'};
    std::vector<uint8_t> file = ReadWholeFile(JpegCorpusPath("jpeg/testorig.jpg"));
    bytes.insert(bytes.end(), file.begin(), file.end());
    TMemoryStream stream(bytes);
    stream.SetPosition(3);
    TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    EXPECT_EQ(jpeg.Data()->bytes.size(), file.size());
    EXPECT_EQ(jpeg.Width(), 227);
}

TEST(JpegImage, DefaultSettings) {
    TJPEGImage jpeg;
    const TJPEGSettings& s = jpeg.Settings();
    EXPECT_EQ(s.compressionQuality, 90);
    EXPECT_FALSE(s.grayscale);
    EXPECT_EQ(s.performance, TJPEGPerformance::jpBestQuality);
    EXPECT_EQ(s.pixelFormat, TJPEGPixelFormat::jf24Bit);
    EXPECT_FALSE(s.progressiveDisplay);
    EXPECT_EQ(s.scale, TJPEGScale::jsFullSize);
    EXPECT_TRUE(s.smoothing);
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 0);
}

TEST(JpegImage, AssigningToABitmapSharesTheDecodedPixels) {
    auto jpeg = LoadCorpus("jpeg/testorig.jpg");
    TBitmap bitmap;
    bitmap.Assign(jpeg.get());
    ASSERT_TRUE(jpeg->Decoded());
    EXPECT_EQ(bitmap.Width(), 227);
    EXPECT_EQ(bitmap.Height(), 149);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.GetDib(), jpeg->Bitmap().GetDib());
    const Dib* pixels = bitmap.GetDib();
    ASSERT_NE(pixels, nullptr);
    EXPECT_FALSE(pixels->TopDown());
    const RgbQuad corner = pixels->PixelAt(0, 148);
    // Releasing the picture leaves the bitmap with the pixels.
    jpeg.reset();
    ASSERT_NE(bitmap.GetDib(), nullptr);
    EXPECT_EQ(bitmap.GetDib()->PixelAt(0, 148), corner);
    EXPECT_EQ(bitmap.Width(), 227);
}

TEST(JpegImage, DrawingDecodesAndPaintsThePicture) {
    auto jpeg = LoadCorpus("jpeg/testorig.jpg");
    TBitmap target;
    target.SetPixelFormat(TPixelFormat::pf24bit);
    target.SetSize(227, 149);
    target.Canvas().StretchDraw(TRect{0, 0, 227, 149}, jpeg.get());
    ASSERT_TRUE(jpeg->Decoded());
    const Dib* decoded = jpeg->Bitmap().GetDib();
    const Dib* drawn = target.GetDib();
    ASSERT_NE(decoded, nullptr);
    ASSERT_NE(drawn, nullptr);
    for (int y = 0; y < 149; y += 37)
        for (int x = 0; x < 227; x += 45) EXPECT_EQ(drawn->PixelAt(x, y), decoded->PixelAt(x, y)) << x << "," << y;
}

TEST(JpegImage, DecodingHappensOnceAndIsCached) {
    auto jpeg = LoadCorpus("jpeg/testorig.jpg");
    const Dib* first = jpeg->Bitmap().GetDib();
    TBitmap a, b;
    a.Assign(jpeg.get());
    b.Assign(jpeg.get());
    EXPECT_EQ(a.GetDib(), first);
    EXPECT_EQ(b.GetDib(), first);
    // Reading again drops the decoded pixels.
    TMemoryStream stream(ReadWholeFile(JpegCorpusPath("jpeg/testimgint.jpg")));
    jpeg->LoadFromStream(stream);
    EXPECT_FALSE(jpeg->Decoded());
    EXPECT_EQ(a.GetDib(), first);
}

TEST(JpegImage, GrayscaleBecomesAnEightBitBitmapWithAGreyPalette) {
    auto jpeg = LoadCorpus("jpeg/history-ljt/testimggray.jpg");
    TBitmap bitmap;
    bitmap.Assign(jpeg.get());
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_TRUE(bitmap.PaletteModified());
    std::vector<RgbQuad> palette = jpeg->Palette();
    ASSERT_FALSE(palette.empty());
    const Dib* dib = bitmap.GetDib();
    ASSERT_NE(dib, nullptr);
    EXPECT_LE(dib->Description().clrUsed, 236u);
    EXPECT_GT(dib->Description().clrUsed, 0u);
    for (uint32_t i = 0; i < dib->Description().clrUsed; ++i) {
        const RgbQuad& q = dib->Palette()[i];
        EXPECT_TRUE(q.red == q.green && q.green == q.blue);
    }
}

TEST(JpegImage, NotAJpegFailsWhileBeingRead) {
    TMemoryStream stream(std::vector<uint8_t>{'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'});
    TJPEGImage jpeg;
    try {
        jpeg.LoadFromStream(stream);
        ADD_FAILURE() << "text was accepted as a JPEG";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), CodeText(JERR_NO_SOI));
    }
}

TEST(JpegImage, EmptyFileLoadsAndFailsAtTheFirstDecoding) {
    auto jpeg = LoadJpeg({});
    EXPECT_FALSE(jpeg->Empty());
    EXPECT_EQ(jpeg->Width(), 0);
    TBitmap bitmap;
    try {
        bitmap.Assign(jpeg.get());
        ADD_FAILURE() << "an empty file decoded";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), CodeText(JERR_INPUT_EMPTY));
    }
    // The failed decoding leaves its (empty) bitmap, used from now on without decoding again.
    EXPECT_TRUE(jpeg->Decoded());
    EXPECT_NO_THROW(bitmap.Assign(jpeg.get()));
    EXPECT_TRUE(bitmap.Empty());
}

TEST(JpegImage, TruncatedFileDecodesWithoutFailure) {
    std::vector<uint8_t> bytes = ReadWholeFile(JpegCorpusPath("jpeg/testorig.jpg"));
    bytes.resize(bytes.size() * 2 / 3);
    auto jpeg = LoadJpeg(bytes);
    TBitmap bitmap;
    EXPECT_NO_THROW(bitmap.Assign(jpeg.get()));
    EXPECT_EQ(bitmap.Width(), 227);
    EXPECT_EQ(bitmap.Height(), 149);
}

TEST(JpegImage, SizeCannotBeSet) {
    auto jpeg = LoadCorpus("jpeg/testorig.jpg");
    for (int which = 0; which < 2; ++which) {
        try {
            which == 0 ? jpeg->SetWidth(10) : jpeg->SetHeight(10);
            ADD_FAILURE() << "the size was changed";
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_EQ(e.Message(), "Cannot change the size of a JPEG image");
        }
    }
    EXPECT_EQ(jpeg->Width(), 227);
}

TEST(JpegImage, AssignmentBetweenPictures) {
    auto source = LoadCorpus("jpeg/testorig.jpg");
    TJPEGImage undecoded;
    undecoded.Assign(source.get());
    EXPECT_EQ(undecoded.Data(), source->Data());
    EXPECT_FALSE(undecoded.Decoded());

    source->Bitmap();
    TJPEGImage decoded;
    decoded.Assign(source.get());
    ASSERT_TRUE(decoded.Decoded());
    EXPECT_EQ(decoded.Bitmap().GetDib(), source->Bitmap().GetDib());
    EXPECT_TRUE(decoded.Equals(source.get()));

    // From a bitmap: no compressed data, a copy of the bitmap.
    TBitmap plain;
    plain.SetPixelFormat(TPixelFormat::pf24bit);
    plain.SetSize(5, 4);
    TJPEGImage fromBitmap;
    fromBitmap.Assign(&plain);
    EXPECT_FALSE(fromBitmap.Data()->hasData);
    EXPECT_FALSE(fromBitmap.Empty());
    EXPECT_EQ(fromBitmap.Width(), 5);
    EXPECT_EQ(fromBitmap.Height(), 4);
}

TEST(JpegImage, AssigningToAnotherClassIsAConversionError) {
    auto jpeg = LoadCorpus("jpeg/testorig.jpg");
    test::EmptyGraphic other("TOtherPicture");
    try {
        other.Assign(jpeg.get());
        ADD_FAILURE() << "assigned to a foreign class";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TJPEGImage to a TOtherPicture");
    }
}

TEST(JpegImage, LayoutDataIsACountAndTheFile) {
    std::vector<uint8_t> file = ReadWholeFile(JpegCorpusPath("jpeg/testorig.jpg"));
    std::vector<uint8_t> data = {static_cast<uint8_t>(file.size()), static_cast<uint8_t>(file.size() >> 8),
                                 static_cast<uint8_t>(file.size() >> 16), 0};
    data.insert(data.end(), file.begin(), file.end());
    data.push_back(0x55);  // whatever follows in the layout stays unread
    TMemoryStream stream(data);
    TJPEGImage jpeg;
    jpeg.ReadData(stream);
    EXPECT_EQ(jpeg.Width(), 227);
    EXPECT_EQ(stream.Remaining(), 1);

    // A count beyond the data is a read error, before anything is allocated.
    std::vector<uint8_t> lying = {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xD8};
    TMemoryStream short_(lying);
    EXPECT_THROW(jpeg.ReadData(short_), EReadError);
}

TEST(JpegImage, ProgressIsReportedAroundDecoding) {
    auto jpeg = LoadCorpus("jpeg/testorig.jpg");
    std::vector<std::pair<TProgressStage, int>> reports;
    jpeg->OnProgress = [&](TGraphic&, TProgressStage stage, uint8_t percent, bool, const TRect&, const std::string&) {
        reports.emplace_back(stage, percent);
    };
    jpeg->Bitmap();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front(), std::make_pair(TProgressStage::psStarting, 0));
    EXPECT_EQ(reports.back(), std::make_pair(TProgressStage::psEnding, 100));

    auto empty = LoadJpeg({});
    reports.clear();
    empty->OnProgress = jpeg->OnProgress;
    EXPECT_THROW(empty->Bitmap(), EJPEG);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), std::make_pair(TProgressStage::psEnding, 0));
}

TEST(JpegImage, SavingWritesTheBytesAsRead) {
    std::vector<uint8_t> file = ReadWholeFile(JpegCorpusPath("jpeg/testorig.jpg"));
    auto jpeg = LoadJpeg(file);
    TMemoryStream out;
    jpeg->SaveToStream(out);
    EXPECT_EQ(out.Data(), file);
}

TEST(JpegImage, RegisteredForJpegAndJpgAndLoadedByAHolderWithoutDecoding) {
    RegisterStandardFormats();
    const TGraphicClass* jpegClass = &GraphicClassOf<TJPEGImage>();
    EXPECT_EQ(GetFileFormats().FindExt("jpeg"), jpegClass);
    EXPECT_EQ(GetFileFormats().FindExt("JPG"), jpegClass);
    EXPECT_EQ(GetFileFormats().FindExt("Jpg"), jpegClass);
    EXPECT_EQ(GetFileFormats().FindClassName("TJPEGImage"), jpegClass);

    TPicture picture;
    picture.LoadFromFile(JpegCorpusPath("jpeg/testorig.jpg"));
    auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_FALSE(jpeg->Decoded());
    EXPECT_EQ(picture.Width(), 227);
    EXPECT_EQ(picture.Height(), 149);

    // A text file named .jpg fails while being read; the holder keeps its picture.
    test::TempFile text(".jpg");
    test::WriteWholeFile(text.Path(), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    try {
        picture.LoadFromFile(text.Path());
        ADD_FAILURE() << "text loaded as a JPEG";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), CodeText(JERR_NO_SOI));
    }
    EXPECT_EQ(picture.Graphic(), jpeg);
}

}  // namespace
}  // namespace kv
