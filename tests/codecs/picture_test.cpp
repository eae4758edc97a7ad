// The picture holder: loading by extension, keeping the old picture on failure, taking over
// pictures, and converting pictures to bitmaps.
#include <gtest/gtest.h>

#include <fstream>

#include "codecs/file_formats.h"
#include "codecs/icon.h"
#include "codecs/metafile.h"
#include "codecs/picture.h"
#include "graphics/bitmap.h"
#include "runtime/exceptions.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

const std::filesystem::path kCorpus = KV_CORPUS_DIR;

template <class E, class F>
std::string FailureOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return "no failure";
}

class PictureTest : public ::testing::Test {
protected:
    PictureTest() {
        picture.OnChange = [this](TPicture& sender) {
            EXPECT_EQ(&sender, &picture);
            ++changes;
        };
    }
    test::TempDir dir;
    TPicture picture;
    int changes = 0;
};

TEST(PictureExtension, TakenFromTheLastDotUnlessASeparatorFollows) {
    EXPECT_EQ(TPicture::ExtensionOf("C:\\Pics\\cat.JPG"), "JPG");
    EXPECT_EQ(TPicture::ExtensionOf("C:\\Pics.old\\cat"), "");
    EXPECT_EQ(TPicture::ExtensionOf("cat.tar.gif"), "gif");
    EXPECT_EQ(TPicture::ExtensionOf("/home/me/pics.d/cat"), "");
    EXPECT_EQ(TPicture::ExtensionOf("a.b:c"), "");
    EXPECT_EQ(TPicture::ExtensionOf("cat."), "");
    EXPECT_EQ(TPicture::ExtensionOf(""), "");
}

TEST_F(PictureTest, LoadsABitmapByExtensionInAnyLetterCase) {
    for (const char* name : {"a.bmp", "b.BMP", "c.Bmp"}) {
        const std::string path = dir.Copy(kCorpus / "bmp/g/pal8.bmp", name);
        const int before = changes;
        picture.LoadFromFile(path);
        ASSERT_NE(picture.Graphic(), nullptr) << name;
        EXPECT_STREQ(picture.Graphic()->ClassName(), "TBitmap");
        EXPECT_EQ(picture.Width(), 127);
        EXPECT_EQ(picture.Height(), 64);
        EXPECT_EQ(changes, before + 1);
    }
}

TEST_F(PictureTest, UnknownExtensionsNameTheExtensionAsWritten) {
    EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile("/x/a.png"); }),
              "Unknown picture file extension (.png)");
    EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile("/x/a.PNG"); }),
              "Unknown picture file extension (.PNG)");
    EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile("/x.d/noextension"); }),
              "Unknown picture file extension (.)");
    EXPECT_EQ(changes, 0);
}

TEST_F(PictureTest, FailedLoadKeepsThePreviousPictureAndFiresNothing) {
    picture.LoadFromFile(dir.Copy(kCorpus / "bmp/g/rgb24.bmp", "good.bmp"));
    TGraphic* held = picture.Graphic();
    const int before = changes;

    EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile(dir.Copy(kCorpus / "bmp/b/badplanes.bmp", "bad.bmp")); }),
              "Bitmap image is not valid");
    // A JPEG named .bmp goes to the BMP reader and fails there.
    const auto jpeg = kCorpus / "jpeg/testimgint.jpg";
    if (std::filesystem::exists(jpeg)) {
        EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile(dir.Copy(jpeg, "photo.bmp")); }),
                  "Bitmap image is not valid");
    }
    const std::string missing = (dir.Path() / "missing.bmp").string();
    EXPECT_EQ(FailureOf<EFOpenError>([&] { picture.LoadFromFile(missing); }), "Cannot open file " + missing);
    std::ofstream(dir.Path() / "short.bmp") << "BM01234567";
    EXPECT_EQ(FailureOf<EReadError>([&] { picture.LoadFromFile((dir.Path() / "short.bmp").string()); }),
              "Stream read error");
    EXPECT_EQ(picture.Graphic(), held);
    EXPECT_EQ(changes, before);
}

TEST_F(PictureTest, IconsAndMetafilesAreRegisteredButNotRead) {
    std::ofstream(dir.Path() / "a.ico") << "icon bytes";
    std::ofstream(dir.Path() / "a.WMF") << "metafile bytes";
    EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile((dir.Path() / "a.ico").string()); }),
              "Icon files are not supported");
    EXPECT_EQ(FailureOf<EInvalidGraphic>([&] { picture.LoadFromFile((dir.Path() / "a.WMF").string()); }),
              "Metafiles are not supported");
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST_F(PictureTest, AssigningABitmapSharesItsPixels) {
    TBitmap source;
    source.SetSize(30, 20);
    picture.Assign(&source);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &source);  // the holder keeps its own picture
    EXPECT_EQ(static_cast<TBitmap*>(picture.Graphic())->Image(), source.Image());
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(changes, 1);

    TPicture other;
    other.Assign(&picture);
    EXPECT_EQ(static_cast<TBitmap*>(other.Graphic())->Image(), source.Image());

    picture.Assign(static_cast<const TGraphic*>(nullptr));
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(changes, 2);
}

TEST_F(PictureTest, ChangesOfTheHeldPictureReachTheHolder) {
    TBitmap source;
    source.SetSize(4, 4);
    picture.Assign(&source);
    const int before = changes;
    picture.Graphic()->SetWidth(8);
    EXPECT_EQ(changes, before + 1);
    EXPECT_EQ(picture.Width(), 8);
    EXPECT_EQ(source.Width(), 4);
}

TEST_F(PictureTest, UnknownPictureClassCannotBeHeld) {
    class TStrange : public TIcon {
    public:
        const char* ClassName() const override { return "TStrange"; }
    } strange;
    EXPECT_EQ(FailureOf<EConvertError>([&] { picture.Assign(&strange); }), "Cannot assign a TStrange to a TPicture");
    TIcon icon;
    picture.Assign(&icon);
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TIcon");
}

TEST(PictureToBitmap, ConversionOfEachKind) {
    TBitmap loaded;
    loaded.LoadFromFile((kCorpus / "bmp/g/pal4.bmp").string());
    TBitmap target;
    int changes = 0;
    target.OnChange = [&](TGraphic&) { ++changes; };
    target.Assign(&loaded);
    EXPECT_EQ(target.Image(), loaded.Image());
    EXPECT_TRUE(target.PaletteModified());  // the picture has a colour table
    EXPECT_EQ(changes, 1);

    TIcon icon;
    EXPECT_EQ(FailureOf<EConvertError>([&] { target.Assign(&icon); }), "Cannot assign a TIcon to a TBitmap");
    TMetafile metafile;
    EXPECT_EQ(FailureOf<EConvertError>([&] { target.Assign(&metafile); }), "Cannot assign a TMetafile to a TBitmap");
    EXPECT_EQ(target.Image(), loaded.Image());  // unchanged by the refusals

    target.Assign(nullptr);
    EXPECT_TRUE(target.Empty());
}

}  // namespace
}  // namespace kv
