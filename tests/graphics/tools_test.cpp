// Pens, brushes, fonts and their shared attribute records.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/tools.h"

namespace kv {
namespace {

TEST(ResourceHashTest, RotatesLeftByFiveAndXorsEachByte) {
    EXPECT_EQ(ResourceHash(nullptr, 0), 0);
    const uint8_t two[] = {1, 2};
    EXPECT_EQ(ResourceHash(two, 2), 0x22);
    // Bits that leave the top come back at the bottom.
    const uint8_t ones[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ResourceHash(ones, 4), 0x6363);
    const char text[] = "KVADRIKO";
    EXPECT_EQ(ResourceHash(text, 8), 0x290A);
}

TEST(ResourceManagerTest, SharesIdenticalRecordsAndFreesTheLast) {
    TResourceManager manager(sizeof(int32_t));
    const int32_t a = 7, b = 8;
    TResource* r1 = manager.AllocResource(&a);
    TResource* r2 = manager.AllocResource(&a);
    EXPECT_EQ(r1, r2);
    EXPECT_EQ(r1->refCount, 2);
    TResource* r3 = manager.AllocResource(&b);
    EXPECT_NE(r3, r1);
    EXPECT_EQ(manager.Count(), 2u);
    manager.FreeResource(r2);
    EXPECT_EQ(manager.Count(), 2u);
    // Changing to the same bytes keeps the record even when this was its only user.
    TResource* r4 = manager.ChangeResource(r3, &b);
    EXPECT_EQ(r4, r3);
    manager.FreeResource(r1);
    manager.FreeResource(r4);
    EXPECT_EQ(manager.Count(), 0u);
}

TEST(ResourceManagerTest, EqualHashesAreToldApartByTheBytes) {
    // Both byte pairs hash to 0x21.
    TResourceManager manager(2);
    const uint8_t x[] = {0x00, 0x21};
    const uint8_t y[] = {0x01, 0x01};
    ASSERT_EQ(ResourceHash(x, 2), ResourceHash(y, 2));
    TResource* rx = manager.AllocResource(x);
    TResource* ry = manager.AllocResource(y);
    EXPECT_NE(rx, ry);
    manager.FreeResource(rx);
    manager.FreeResource(ry);
}

TEST(PenTest, DefaultsAndIgnoredNegativeWidth) {
    TPen pen;
    EXPECT_EQ(pen.Color(), clBlack);
    EXPECT_EQ(pen.Width(), 1);
    EXPECT_EQ(pen.Style(), TPenStyle::psSolid);
    EXPECT_EQ(pen.Mode(), TPenMode::pmCopy);
    pen.SetWidth(2);
    pen.SetWidth(-1);
    EXPECT_EQ(pen.Width(), 2);
    pen.SetWidth(0);
    EXPECT_EQ(pen.Width(), 0);
}

TEST(PenTest, ModesSelectThePlatformMixCodes) {
    const std::vector<std::pair<TPenMode, int>> table = {
        {TPenMode::pmBlack, 1},        {TPenMode::pmWhite, 16},      {TPenMode::pmNop, 11},
        {TPenMode::pmNot, 6},          {TPenMode::pmCopy, 13},       {TPenMode::pmNotCopy, 4},
        {TPenMode::pmMergePenNot, 14}, {TPenMode::pmMaskPenNot, 5},  {TPenMode::pmMergeNotPen, 12},
        {TPenMode::pmMaskNotPen, 3},   {TPenMode::pmMerge, 15},      {TPenMode::pmNotMerge, 2},
        {TPenMode::pmMask, 9},         {TPenMode::pmNotMask, 8},     {TPenMode::pmXor, 7},
        {TPenMode::pmNotXor, 10}};
    for (auto [mode, code] : table) EXPECT_EQ(static_cast<int>(PenModeToRop2(mode)), code);

    TPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(2);
    pen.SetMode(TPenMode::pmNotXor);
    RasterPen raster = pen.ToRaster();
    EXPECT_EQ(raster.colour, (RgbQuad{0, 0, 255, 0}));
    EXPECT_EQ(raster.width, 2);
    EXPECT_EQ(raster.rop, Rop2::NotXorPen);
}

TEST(PenTest, IdenticalPensShareOneRecord) {
    TPen a, b;
    EXPECT_EQ(a.Resource(), b.Resource());
    a.SetColor(clRed);
    EXPECT_NE(a.Resource(), b.Resource());
    b.SetColor(clRed);
    EXPECT_EQ(a.Resource(), b.Resource());
    EXPECT_GE(a.Resource()->refCount, 2);
    // The mode is the pen's own and does not split the record.
    a.SetMode(TPenMode::pmXor);
    EXPECT_EQ(a.Resource(), b.Resource());
}

TEST(PenTest, NotifiesOnlyRealChanges) {
    TPen pen;
    int changes = 0;
    pen.OnChange = [&](TGraphicsObject&) { ++changes; };
    pen.SetColor(clBlack);
    pen.SetWidth(1);
    pen.SetWidth(-5);
    EXPECT_EQ(changes, 0);
    pen.SetColor(clBlue);
    pen.SetWidth(3);
    pen.SetStyle(TPenStyle::psDot);
    pen.SetMode(TPenMode::pmNot);
    EXPECT_EQ(changes, 4);
}

TEST(BrushTest, ColourAndClearStyleInterplay) {
    TBrush brush;
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid);
    brush.SetColor(clRed);
    brush.SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(brush.Style(), TBrushStyle::bsClear);
    brush.SetColor(clBlue);
    EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid);
    EXPECT_EQ(brush.Color(), clBlue);
    // Even setting white while clear makes the brush solid.
    brush.SetStyle(TBrushStyle::bsClear);
    brush.SetColor(clWhite);
    EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid);
    // Other styles keep their colour.
    brush.SetColor(clGreen);
    brush.SetStyle(TBrushStyle::bsCross);
    EXPECT_EQ(brush.Color(), clGreen);
}

TEST(BrushTest, RasterKinds) {
    TBrush brush;
    EXPECT_EQ(brush.ToRaster().kind, RasterBrush::Kind::Solid);
    brush.SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(brush.ToRaster().kind, RasterBrush::Kind::Hollow);
    brush.SetStyle(TBrushStyle::bsDiagCross);
    EXPECT_EQ(brush.ToRaster().kind, RasterBrush::Kind::Hatched);
    EXPECT_EQ(brush.ToRaster().hatch, kHsDiagCross);
    brush.SetStyle(TBrushStyle::bsHorizontal);
    EXPECT_EQ(brush.ToRaster().hatch, kHsHorizontal);
    auto pattern = std::make_shared<const Dib>(DescriptionFor(8, 8, 24));
    brush.SetPattern(pattern);
    EXPECT_EQ(brush.ToRaster().kind, RasterBrush::Kind::Pattern);
    EXPECT_EQ(brush.ToRaster().pattern, pattern.get());
    // The record keeps the pattern alive for every brush that shares it.
    TBrush other;
    other.Assign(brush);
    EXPECT_EQ(other.Resource(), brush.Resource());
    brush.SetPattern(nullptr);
    pattern.reset();
    EXPECT_EQ(other.ToRaster().pattern->Width(), 8);
}

TEST(FontTest, Defaults) {
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.PixelsPerInch(), 96);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Style(), TFontStyles{});
    EXPECT_EQ(font.Pitch(), TFontPitch::fpDefault);
    EXPECT_EQ(font.Charset(), 1);
}

TEST(FontTest, SizeAndHeightConvertWithRoundedMulDiv) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 1, 4), 1);
    EXPECT_EQ(MulDiv(7, 1, -4), -2);
    EXPECT_EQ(MulDiv(3, 4, 0), -1);

    TFont font;
    font.SetSize(20);
    EXPECT_EQ(font.Height(), -27);
    EXPECT_EQ(font.Size(), 20);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);  // 9.75 rounds to 10
    font.SetHeight(20);          // a cell height gives a negative size
    EXPECT_EQ(font.Size(), -15);
    font.SetSize(12);
    font.SetPixelsPerInch(120);
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Height(), -20);
}

TEST(FontTest, ScreenResolutionIsCopiedWhenFontsAreMade) {
    SetScreenPixelsPerInch(120);
    TFont large;
    SetScreenPixelsPerInch(96);
    TFont normal;
    EXPECT_EQ(large.PixelsPerInch(), 120);
    EXPECT_EQ(large.Height(), -13);
    EXPECT_EQ(normal.Height(), -11);
    SetScreenPixelsPerInch(0);  // ignored
    EXPECT_EQ(ScreenPixelsPerInch(), 96);
}

TEST(FontTest, RequestCarriesStyleAndResolvesDefault) {
    TFont font;
    font.SetName("Default");
    font.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    font.SetPitch(TFontPitch::fpFixed);
    FontRequest request = font.ToRequest();
    EXPECT_EQ(request.name, "MS Sans Serif");
    EXPECT_TRUE(request.bold);
    EXPECT_FALSE(request.italic);
    EXPECT_TRUE(request.underline);
    EXPECT_FALSE(request.strikeOut);
    EXPECT_EQ(request.pitch, FontPitch::Fixed);
    EXPECT_EQ(request.height, -11);
    EXPECT_EQ(font.Name(), "Default");
}

TEST(FontTest, LongNamesAreCutAtACharacterBoundary) {
    TFont font;
    std::string name;
    for (int i = 0; i < 40; ++i) name += "Ж";  // two bytes each
    font.SetName(name);
    const std::string kept = font.Name();
    EXPECT_LT(kept.size(), name.size());
    EXPECT_EQ(kept.size() % 2, 0u);
    EXPECT_EQ(name.compare(0, kept.size(), kept), 0);
}

TEST(FontTest, SharedRecordsAndChangeNotifications) {
    TFont a, b;
    EXPECT_EQ(a.Resource(), b.Resource());
    int changes = 0;
    a.OnChange = [&](TGraphicsObject&) { ++changes; };
    a.SetSize(20);
    a.SetColor(clRed);  // the colour is the font's own
    a.SetSize(20);
    EXPECT_EQ(changes, 2);
    b.SetSize(20);
    EXPECT_EQ(a.Resource(), b.Resource());
    b.Assign(a);
    EXPECT_EQ(b.Color(), clRed);
}

}  // namespace
}  // namespace kv
