#include "graphics/font_engine.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <thread>

#include "runtime/exceptions.h"

namespace kv {
namespace {

const char* const kPlaceholder = "Картинки нет...";

FontRequest Font(const std::string& name, int height, bool bold = false, bool italic = false) {
    FontRequest font;
    font.name = name;
    font.height = height;
    font.bold = bold;
    font.italic = italic;
    return font;
}

int InkInRows(const TextMask& mask, int fromRow, int toRow) {
    int ink = 0;
    for (int y = std::max(0, fromRow); y < std::min(mask.height, toRow); ++y) {
        for (int x = 0; x < mask.width; ++x) ink += mask.coverage[static_cast<size_t>(y) * mask.width + x];
    }
    return ink;
}

bool RowIsSolid(const TextMask& mask, int row) {
    for (int x = 0; x < mask.width; ++x) {
        if (mask.coverage[static_cast<size_t>(row) * mask.width + x] != 255) return false;
    }
    return mask.width > 0;
}

// Checks the face file itself, independently of the engine's fontconfig query.
bool FileHasRussianAlphabet(const std::string& file) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    bool ok = FT_New_Face(library, file.c_str(), 0, &face) == 0;
    for (FT_ULong c = 0x0410; ok && c <= 0x044F; ++c) ok = FT_Get_Char_Index(face, c) != 0;
    if (face != nullptr) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}

TEST(FontEngineResolve, ProgramFacesMapToInstalledEquivalents) {
    FontEngine& engine = FontEngine::Instance();
    EXPECT_EQ(engine.ResolvedFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(engine.ResolvedFamily("arial "), "Liberation Sans");
    EXPECT_NE(engine.ResolvedFile(Font("Arial", -16, true)).find("Bold"), std::string::npos);
    EXPECT_NE(engine.ResolvedFile(Font("Arial", -16, false, true)).find("Italic"), std::string::npos);
    // The default face under all its spellings.
    const std::string defaultFamily = engine.ResolvedFamily("MS Sans Serif");
    EXPECT_EQ(defaultFamily, "Liberation Sans");
    EXPECT_EQ(engine.ResolvedFamily("Default"), defaultFamily);
    EXPECT_EQ(engine.ResolvedFamily(""), defaultFamily);
    // The black face is always a bold style, asked for bold or not.
    EXPECT_NE(engine.ResolvedFile("Arial Black").find("Bold"), std::string::npos);
    EXPECT_EQ(engine.ResolvedFamily("Courier New"), "Liberation Mono");
}

TEST(FontEngineResolve, EveryResolvedFaceHasTheRussianAlphabet) {
    FontEngine& engine = FontEngine::Instance();
    for (const char* name : {"Arial", "Arial Black", "MS Sans Serif", "Default", "Courier New", "Times New Roman",
                             "Symbol", "Wingdings", "No Such Face 1234"}) {
        for (int style = 0; style < 4; ++style) {
            FontRequest font = Font(name, -11, style & 1, style & 2);
            const std::string file = engine.ResolvedFile(font);
            SCOPED_TRACE(std::string(name) + " style " + std::to_string(style) + " -> " + file);
            ASSERT_FALSE(file.empty());
            EXPECT_TRUE(FileHasRussianAlphabet(file));
        }
        FontRequest fixed = Font(name, -11);
        fixed.pitch = FontPitch::Fixed;
        EXPECT_TRUE(FileHasRussianAlphabet(engine.ResolvedFile(fixed))) << name;
    }
}

TEST(FontEngineMeasure, TwentyPointPlaceholderHasAPlausibleCell) {
    FontEngine& engine = FontEngine::Instance();
    const TextExtent extent = engine.Measure(Font("Arial", -27), kPlaceholder);
    EXPECT_GE(extent.height, 31);
    EXPECT_LE(extent.height, 33);
    EXPECT_GT(extent.width, 150);
    EXPECT_LT(extent.width, 250);

    const FontMetrics metrics = engine.Metrics(Font("Arial", -27));
    EXPECT_EQ(metrics.emPixels, 27);
    EXPECT_EQ(metrics.ascent + metrics.descent, extent.height);
    EXPECT_EQ(metrics.internalLeading, extent.height - 27);
}

TEST(FontEngineMeasure, EmptyTextHasNoWidthButTheCellHeight) {
    FontEngine& engine = FontEngine::Instance();
    const FontRequest font = Font("MS Sans Serif", -11);
    const TextExtent empty = engine.Measure(font, "");
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, engine.Measure(font, "x").height);
    const TextMask mask = engine.Render(font, "");
    EXPECT_EQ(mask.width, 0);
    EXPECT_TRUE(mask.coverage.empty());
}

TEST(FontEngineMeasure, WidthIsTheSumOfAdvancesWithoutKerning) {
    FontEngine& engine = FontEngine::Instance();
    for (int height : {-11, -16, -27}) {
        const FontRequest font = Font("Arial", height);
        const int a = engine.Measure(font, "A").width, v = engine.Measure(font, "V").width;
        // "AV" is a kerning pair in the face; text-out ignores it.
        EXPECT_EQ(engine.Measure(font, "AVAV").width, 2 * a + 2 * v) << height;
        EXPECT_EQ(engine.Measure(font, "Картинки").width + engine.Measure(font, " нет...").width,
                  engine.Measure(font, kPlaceholder).width);
    }
}

// Advances of characters as a face opened afresh at one pixel size gives them, with the loads
// the engine uses (the auto-hinted one at 16 pixels and below).
int FreshAdvances(const std::string& file, int em, const std::u32string& text) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int width = -1;
    if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, file.c_str(), 0, &face) == 0 &&
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) == 0) {
        const FT_Int32 flags = em <= 16 ? FT_LOAD_NO_BITMAP | FT_LOAD_FORCE_AUTOHINT | FT_LOAD_TARGET_MONO
                                        : FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL;
        width = 0;
        for (char32_t c : text) {
            if (FT_Load_Glyph(face, FT_Get_Char_Index(face, c), flags) != 0) return -1;
            width += static_cast<int>((face->glyph->advance.x + 32) >> 6);
        }
    }
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
    return width;
}

// Sizes of one face share it: a glyph first loaded after another size was used still comes out
// at its own size.
TEST(FontEngineMeasure, SizesOfOneFaceUsedInTurnKeepTheirOwnSize) {
    FontEngine& engine = FontEngine::Instance();
    const std::string file = engine.ResolvedFile(Font("Arial", -27));
    for (const auto& [first, second] : {std::pair{-27, -12}, std::pair{-12, -27}}) {
        SCOPED_TRACE(first);
        engine.Render(Font("Arial", first), "Ж");
        engine.Render(Font("Arial", second), "Ж");
        const std::string text = first == -27 ? "ук" : "ша";
        const TextMask mask = engine.Render(Font("Arial", first), text);
        EXPECT_EQ(mask.width, FreshAdvances(file, -first, FontEngine::DecodeUtf8(text)));
        EXPECT_EQ(mask.height, engine.Metrics(Font("Arial", first)).height);
    }
}

TEST(FontEngineMeasure, PositiveHeightIsTheCellNegativeTheCharacter) {
    FontEngine& engine = FontEngine::Instance();
    for (int cell : {13, 20, 31}) {
        EXPECT_EQ(engine.Measure(Font("Arial", cell), "Ж").height, cell);
        const FontMetrics m = engine.Metrics(Font("Arial", cell));
        EXPECT_LT(m.emPixels, cell);  // the cell includes internal leading
    }
    EXPECT_GT(engine.Measure(Font("Arial", -27), kPlaceholder).width,
              engine.Measure(Font("Arial", 27), kPlaceholder).width);
    // 0 asks for a default size, which is still a usable font.
    const TextExtent byDefault = engine.Measure(Font("Arial", 0), kPlaceholder);
    EXPECT_GT(byDefault.width, 0);
    EXPECT_GE(byDefault.height, 10);
}

TEST(FontEngineMeasure, AbsurdHeightsStayBounded) {
    FontEngine& engine = FontEngine::Instance();
    for (int height : {INT_MIN, -100000, 100000, INT_MAX}) {
        const TextExtent extent = engine.Measure(Font("Arial", height), "Ж");
        EXPECT_GT(extent.height, 0);
        EXPECT_LE(extent.height, 2048) << height;
    }
}

TEST(FontEngineMeasure, StylesChangeWidthAsExpected) {
    FontEngine& engine = FontEngine::Instance();
    for (const char* name : {"Arial", "MS Sans Serif", "Arial Black"}) {
        const int regular = engine.Measure(Font(name, -16), kPlaceholder).width;
        const int bold = engine.Measure(Font(name, -16, true), kPlaceholder).width;
        if (std::string(name) == "Arial Black") {
            EXPECT_EQ(bold, regular);  // already the heaviest style there is
        } else {
            EXPECT_GT(bold, regular) << name;
        }
    }
    FontRequest fixed = Font("Courier New", -13);
    EXPECT_EQ(engine.Measure(fixed, "iiii").width, engine.Measure(fixed, "WWWW").width);
}

TEST(FontEngineUtf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(FontEngine::DecodeUtf8("Ж1"), std::u32string(U"Ж1"));
    EXPECT_EQ(FontEngine::DecodeUtf8("\xF0\x9F\x98\x80"), std::u32string(U"\U0001F600"));
    EXPECT_EQ(FontEngine::DecodeUtf8("a\x80z"), std::u32string(U"a\uFFFDz"));           // stray continuation
    EXPECT_EQ(FontEngine::DecodeUtf8("\xC0\x80"), std::u32string(U"\uFFFD\uFFFD"));     // overlong NUL
    EXPECT_EQ(FontEngine::DecodeUtf8("\xE0\x80\xAF"), std::u32string(U"\uFFFD\uFFFD\uFFFD"));
    EXPECT_EQ(FontEngine::DecodeUtf8("\xED\xA0\x80"), std::u32string(U"\uFFFD\uFFFD\uFFFD"));  // surrogate
    EXPECT_EQ(FontEngine::DecodeUtf8("\xF4\x90\x80\x80"), std::u32string(4, U'\uFFFD'));   // past U+10FFFF
    EXPECT_EQ(FontEngine::DecodeUtf8("x\xD0"), std::u32string(U"x\uFFFD"));              // cut short
    EXPECT_EQ(FontEngine::DecodeUtf8("\xD0Ж"), std::u32string(U"\uFFFDЖ"));
    EXPECT_EQ(FontEngine::DecodeUtf8(std::string_view("\0b", 2)), std::u32string(U"\0b", 2));
}

TEST(FontEngineUtf8, MalformedTextIsMeasuredAndDrawn) {
    FontEngine& engine = FontEngine::Instance();
    const std::string bad = "\xFF\xFE\xD0\x9A\xC3\x28\xE2\x82\xF0\x9F\x92 \x01\x7F\xF8\x88\x80\x80\x80";
    const FontRequest font = Font("MS Sans Serif", -11);
    const TextExtent extent = engine.Measure(font, bad);
    EXPECT_GT(extent.width, 0);
    const TextMask mask = engine.Render(font, bad);
    EXPECT_EQ(mask.width, extent.width);
    EXPECT_EQ(mask.coverage.size(), static_cast<size_t>(mask.width) * mask.height);
}

TEST(FontEngineRender, MaskMatchesTheExtentAndHasInk) {
    FontEngine& engine = FontEngine::Instance();
    for (const FontRequest& font : {Font("Arial", -27), Font("MS Sans Serif", -11), Font("MS Sans Serif", -11, true),
                                    Font("Arial", -27, false, true), Font("Arial Black", -27, true)}) {
        SCOPED_TRACE(font.name + " " + std::to_string(font.height));
        const TextExtent extent = engine.Measure(font, kPlaceholder);
        const TextMask mask = engine.Render(font, kPlaceholder);
        ASSERT_EQ(mask.width, extent.width);
        ASSERT_EQ(mask.height, extent.height);
        ASSERT_EQ(mask.coverage.size(), static_cast<size_t>(mask.width) * mask.height);
        EXPECT_EQ(mask.ascent, engine.Metrics(font).ascent);
        // Most ink sits between the baseline and the cap height; some is fully covered.
        EXPECT_GT(InkInRows(mask, 0, mask.ascent), 4 * InkInRows(mask, mask.ascent, mask.height));
        EXPECT_EQ(*std::max_element(mask.coverage.begin(), mask.coverage.end()), 255);
        // Repeating a label gives the same pixels, cached or not.
        EXPECT_EQ(engine.Render(font, kPlaceholder).coverage, mask.coverage);
    }
}

TEST(FontEngineRender, BlanksHaveWidthButNoInk) {
    const TextMask mask = FontEngine::Instance().Render(Font("Arial", -27), "   ");
    EXPECT_GT(mask.width, 0);
    EXPECT_TRUE(std::all_of(mask.coverage.begin(), mask.coverage.end(), [](uint8_t c) { return c == 0; }));
}

TEST(FontEngineRender, UnderlineAndStrikeOutDrawFullWidthStrokes) {
    FontEngine& engine = FontEngine::Instance();
    for (int height : {-11, -13, -27}) {
        SCOPED_TRACE(height);
        FontRequest plain = Font("MS Sans Serif", height);
        FontRequest underlined = plain;
        underlined.underline = true;
        FontRequest struck = plain;
        struck.strikeOut = true;
        const TextMask a = engine.Render(plain, "ab");
        const TextMask u = engine.Render(underlined, "ab");
        const TextMask s = engine.Render(struck, "ab");
        ASSERT_EQ(u.coverage.size(), a.coverage.size());
        EXPECT_GT(InkInRows(u, u.ascent + 1, u.height), InkInRows(a, a.ascent + 1, a.height));
        EXPECT_EQ(InkInRows(u, 0, u.ascent + 1), InkInRows(a, 0, a.ascent + 1));  // nothing above it
        bool solidBelow = false, solidAbove = false;
        for (int y = u.ascent + 1; y < u.height; ++y) solidBelow = solidBelow || RowIsSolid(u, y);
        for (int y = 0; y < s.ascent; ++y) solidAbove = solidAbove || RowIsSolid(s, y);
        EXPECT_TRUE(solidBelow);
        EXPECT_TRUE(solidAbove);
        EXPECT_EQ(InkInRows(s, s.ascent, s.height), InkInRows(a, a.ascent, a.height));
    }
}

TEST(FontEngineRender, OverhangingGlyphsAreClippedToTheCell) {
    FontEngine& engine = FontEngine::Instance();
    // Italic "f" and "j" reach beyond their advance on both sides; the mask keeps its size.
    const FontRequest font = Font("Arial", -40, false, true);
    const TextMask mask = engine.Render(font, "jfff");
    EXPECT_EQ(mask.width, engine.Measure(font, "jfff").width);
    EXPECT_EQ(mask.coverage.size(), static_cast<size_t>(mask.width) * mask.height);
}

TEST(FontEngineRender, HugeMasksAreRefused) {
    FontEngine& engine = FontEngine::Instance();
    const std::string text(200000, 'W');
    const FontRequest font = Font("Arial", -1000);
    EXPECT_GT(static_cast<int64_t>(engine.Measure(font, text).width) * 1000, int64_t{1} << 30);
    EXPECT_THROW(engine.Render(font, text), EOutOfResources);
}

TEST(FontEngineRender, ConcurrentDrawingGivesIdenticalMasks) {
    FontEngine& engine = FontEngine::Instance();
    const TextMask expected = engine.Render(Font("Arial", -19, true), kPlaceholder);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&engine, &expected, &mismatches, t] {
            for (int i = 0; i < 50; ++i) {
                // Other sizes in between keep the caches changing under the other threads.
                engine.Measure(Font("MS Sans Serif", -10 - (i + t) % 30), kPlaceholder);
                if (engine.Render(Font("Arial", -19, true), kPlaceholder).coverage != expected.coverage) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(std::accumulate(mismatches.begin(), mismatches.end(), 0), 0);
}

// Developer aid: KV_FONT_SAMPLES=dir ./test_graphics --gtest_also_run_disabled_tests
//   --gtest_filter='*SaveSamples*' writes PGM renderings of the placeholder to look at.
TEST(FontEngineRender, DISABLED_SaveSamples) {
    const char* dir = std::getenv("KV_FONT_SAMPLES");
    const std::string folder = dir != nullptr ? dir : "/tmp";
    for (int height : {-27, -11}) {
        const TextMask mask = FontEngine::Instance().Render(Font("MS Sans Serif", height), kPlaceholder);
        std::ofstream out(folder + "/font_sample" + std::to_string(-height) + ".pgm", std::ios::binary);
        out << "P5\n" << mask.width << ' ' << mask.height << "\n255\n";
        for (uint8_t c : mask.coverage) out.put(static_cast<char>(255 - c));
    }
}

}  // namespace
}  // namespace kv
