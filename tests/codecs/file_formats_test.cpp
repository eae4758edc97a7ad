// The picture format registry: built-in entries, lookups by extension and class name, removal.
#include <gtest/gtest.h>

#include "codecs/file_formats.h"
#include "codecs/icon.h"
#include "codecs/metafile.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"

namespace kv {
namespace {

class TTestBitmap : public TBitmap {
public:
    const char* ClassName() const override { return "TTestBitmap"; }
};

std::vector<std::string> Extensions(const TFileFormatsList& list) {
    std::vector<std::string> out;
    for (const TFileFormat& f : list.Entries()) out.push_back(f.extension);
    return out;
}

TEST(FileFormats, BuiltInEntriesInOrder) {
    const TFileFormatsList list;
    ASSERT_EQ(list.Entries().size(), 4u);
    const struct {
        const char* extension;
        const char* description;
        const char* className;
    } expected[] = {{"wmf", "Metafiles", "TMetafile"},
                    {"emf", "Enhanced Metafiles", "TMetafile"},
                    {"ico", "Icons", "TIcon"},
                    {"bmp", "Bitmaps", "TBitmap"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(list.Entries()[i].extension, expected[i].extension);
        EXPECT_EQ(list.Entries()[i].description, expected[i].description);
        EXPECT_EQ(list.Entries()[i].graphicClass->Name(), expected[i].className);
        EXPECT_EQ(list.Entries()[i].descriptionResource, 0);
    }
    EXPECT_EQ(&GraphicClassOf<TMetafile>(), list.Entries()[0].graphicClass);
    EXPECT_EQ(list.Entries()[0].graphicClass, list.Entries()[1].graphicClass);
}

TEST(FileFormats, ProcessWideListStartsWithBuiltInsAndThenThePictureUnits) {
    RegisterStandardFormats();
    RegisterStandardFormats();  // a second start-up call adds nothing
    const auto& entries = GetFileFormats().Entries();
    ASSERT_GE(entries.size(), 4u);
    const std::vector<std::string> extensions = Extensions(GetFileFormats());
    EXPECT_EQ(std::vector<std::string>(extensions.begin(), extensions.begin() + 4),
              (std::vector<std::string>{"wmf", "emf", "ico", "bmp"}));
    // Whatever the JPEG and GIF units registered follows, in their start-up order.
    const std::vector<std::pair<std::string, std::string>> later = {
        {"jpeg", "JPEG Image File"}, {"jpg", "JPEG Image File"}, {"gif", "GIF Image"}};
    size_t next = 0;
    for (size_t i = 4; i < entries.size(); ++i) {
        while (next < later.size() && later[next].first != entries[i].extension) ++next;
        ASSERT_LT(next, later.size()) << entries[i].extension;
        EXPECT_EQ(entries[i].description, later[next].second);
    }
}

TEST(FileFormats, ExtensionLookupIgnoresCaseAndLaterEntriesWin) {
    TFileFormatsList list;
    EXPECT_EQ(list.FindExt("BMP"), &GraphicClassOf<TBitmap>());
    EXPECT_EQ(list.FindExt("Ico"), &GraphicClassOf<TIcon>());
    EXPECT_EQ(list.FindExt("png"), nullptr);
    EXPECT_EQ(list.FindExt(""), nullptr);
    EXPECT_EQ(list.FindExt(".bmp"), nullptr);

    list.Add("GIF", "GIF Image", GraphicClassOf<TTestBitmap>());
    EXPECT_EQ(list.Entries().back().extension, "gif");  // stored lower-cased
    EXPECT_EQ(list.FindExt("gif"), &GraphicClassOf<TTestBitmap>());
    list.Add("bmp", "Test bitmaps", GraphicClassOf<TTestBitmap>());
    EXPECT_EQ(list.FindExt("bmp"), &GraphicClassOf<TTestBitmap>());
}

TEST(FileFormats, ClassNameLookupIsExact) {
    const TFileFormatsList list;
    EXPECT_EQ(list.FindClassName("TBitmap"), &GraphicClassOf<TBitmap>());
    EXPECT_EQ(list.FindClassName("TMetafile"), &GraphicClassOf<TMetafile>());
    EXPECT_EQ(list.FindClassName("tbitmap"), nullptr);
    EXPECT_EQ(list.FindClassName("TBitmap "), nullptr);
}

TEST(FileFormats, RemovingAClassRemovesItsDescendants) {
    TFileFormatsList list;
    list.Add("tbm", "Test bitmaps", GraphicClassOf<TTestBitmap>());
    list.Remove(GraphicClassOf<TTestBitmap>());
    EXPECT_EQ(Extensions(list), (std::vector<std::string>{"wmf", "emf", "ico", "bmp"}));
    list.Add("tbm", "Test bitmaps", GraphicClassOf<TTestBitmap>());
    list.Remove(GraphicClassOf<TBitmap>());
    EXPECT_EQ(Extensions(list), (std::vector<std::string>{"wmf", "emf", "ico"}));

    TClipboardFormats clipboard;
    EXPECT_EQ(clipboard.FindFormat(2), &GraphicClassOf<TBitmap>());
    EXPECT_EQ(clipboard.FindFormat(14), &GraphicClassOf<TMetafile>());
    const uint32_t gif = clipboard.RegisterFormatName("GIF Image");
    EXPECT_EQ(clipboard.RegisterFormatName("GIF Image"), gif);
    clipboard.Add(gif, GraphicClassOf<TTestBitmap>());
    clipboard.Remove(GraphicClassOf<TBitmap>());
    EXPECT_EQ(clipboard.FindFormat(2), nullptr);
    EXPECT_EQ(clipboard.FindFormat(gif), nullptr);
    EXPECT_EQ(clipboard.FindFormat(3), &GraphicClassOf<TMetafile>());
}

TEST(FileFormats, ClassDescriptorsMakePicturesOfTheirClass) {
    const TGraphicClass& bitmap = GraphicClassOf<TBitmap>();
    EXPECT_EQ(bitmap.Name(), "TBitmap");
    const auto made = GraphicClassOf<TTestBitmap>().Create();
    EXPECT_STREQ(made->ClassName(), "TTestBitmap");
    EXPECT_TRUE(bitmap.IsInstance(*made));
    EXPECT_FALSE(GraphicClassOf<TTestBitmap>().IsInstance(*bitmap.Create()));
    EXPECT_TRUE(GraphicClassOf<TTestBitmap>().InheritsFrom(bitmap));
    EXPECT_FALSE(bitmap.InheritsFrom(GraphicClassOf<TTestBitmap>()));
    EXPECT_FALSE(GraphicClassOf<TIcon>().InheritsFrom(bitmap));
}

}  // namespace
}  // namespace kv
