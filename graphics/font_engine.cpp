#include "graphics/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H
#include FT_SIZES_H

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <mutex>
#include <unordered_map>

#include "runtime/exceptions.h"

namespace kv {

namespace {

// The sans face that stands in for the program's default face ("MS Sans Serif", "Default").
// Its set width is close to the original's, so the fixed-size labels laid out for it keep their
// lines (the wider DejaVu Sans wraps the 489-pixel hint line), and with snapped stems its 8-point
// Cyrillic reads cleanly.
constexpr const char* kDefaultSansFamily = "Liberation Sans";
constexpr const char* kFallbackSansFamilies[] = {"Liberation Sans", "DejaVu Sans"};
constexpr const char* kFallbackMonoFamilies[] = {"DejaVu Sans Mono", "Liberation Mono"};

constexpr int kCrispMaxPixels = 16;   // sizes up to this are drawn with stems snapped to pixels
constexpr int kDefaultEmPixels = 13;  // height 0: the platform's default size
constexpr int kMaxPixels = 1024;      // bounds glyph bitmaps and cells whatever height is asked for
constexpr int64_t kMaxMaskBytes = int64_t{1} << 30;
constexpr size_t kMaxGlyphCacheBytes = size_t{32} << 20;
constexpr size_t kMaxSizedFaces = 48;
constexpr size_t kMaxResolutions = 256;
constexpr FT_Fixed kObliqueShear = 0x0366A;  // about 12 degrees, as synthetic italics usually lean
constexpr char32_t kReplacementChar = 0xFFFD;

// Names the program uses that no Linux system has, mapped to faces we ship against.
struct FaceAlias {
    const char* name;    // lower case, as compared after normalising
    const char* family;  // fontconfig family to ask for
    bool heavy;          // the face is a black weight: always take the bold style
};
constexpr FaceAlias kFaceAliases[] = {
    {"", kDefaultSansFamily, false},
    {"default", kDefaultSansFamily, false},
    {"ms sans serif", kDefaultSansFamily, false},
    {"ms shell dlg", kDefaultSansFamily, false},
    {"ms shell dlg 2", kDefaultSansFamily, false},
    {"system", kDefaultSansFamily, false},
    // No metric-compatible black face is installed; the wide bold DejaVu comes closest in
    // colour and set width.
    {"arial black", "DejaVu Sans", true},
};

std::string NormalisedName(const std::string& name) {
    size_t begin = name.find_first_not_of(" \t");
    size_t end = name.find_last_not_of(" \t");
    std::string result = begin == std::string::npos ? std::string() : name.substr(begin, end - begin + 1);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }
int64_t RoundDiv(int64_t a, int64_t b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

// Which installed face serves a request, and what has to be synthesised on top of it.
struct FaceChoice {
    std::string file;  // empty when fontconfig found nothing at all
    int index = 0;
    std::string family;
    bool embolden = false;
    bool oblique = false;
};

struct Glyph {
    int advance = 0;  // whole pixels
    int left = 0;     // bitmap origin relative to the pen position
    int top = 0;      // rows above the baseline
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> coverage;
};

// One face at one size, with its synthesised styles and glyph cache. The face is shared by all
// its sizes (each an FT_Size of its own), so a font file is read, and the auto-hinter's map of
// its characters built, once rather than once per size.
struct SizedFace {
    FT_Face face = nullptr;  // owned by FontEngine::Impl::openFaces
    FT_Size size = nullptr;
    FontMetrics metrics;
    bool embolden = false;
    bool oblique = false;
    int boldExtra = 0;  // pixels added to each advance by emboldening
    int underlineTop = 0, underlineThickness = 1;
    int strikeTop = 0, strikeThickness = 1;
    std::unordered_map<char32_t, Glyph> glyphs;

    SizedFace() = default;
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;
    ~SizedFace() {
        if (size != nullptr) FT_Done_Size(size);
    }
};

// Design-unit vertical metrics; the text cell is built from the OS/2 table's win ascent and descent.
struct DesignMetrics {
    int64_t unitsPerEm = 0;
    int64_t ascent = 0, descent = 0;
    int64_t strikePosition = 0, strikeSize = 0;
};

DesignMetrics ReadDesignMetrics(FT_Face face) {
    DesignMetrics m;
    m.unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        m.ascent = os2->usWinAscent;
        m.descent = os2->usWinDescent;
        m.strikePosition = os2->yStrikeoutPosition;
        m.strikeSize = os2->yStrikeoutSize;
    } else {
        m.ascent = face->ascender;
        m.descent = -face->descender;
    }
    if (m.ascent + m.descent <= 0) {
        m.ascent = m.unitsPerEm * 9 / 10;
        m.descent = m.unitsPerEm - m.ascent;
    }
    if (m.strikePosition <= 0) m.strikePosition = m.unitsPerEm * 26 / 100;
    if (m.strikeSize <= 0) m.strikeSize = std::max<int64_t>(face->underline_thickness, m.unitsPerEm / 20);
    return m;
}

// Cell metrics for a requested height, given the face's design metrics.
FontMetrics CellMetrics(int requestedHeight, const DesignMetrics& dm) {
    FontMetrics m;
    const int64_t cellUnits = dm.ascent + dm.descent;
    if (requestedHeight > 0) {
        // Cell height: the em is scaled so that ascent + descent fills it.
        const int64_t cell = std::min(requestedHeight, kMaxPixels);
        m.emPixels = static_cast<int>(std::max<int64_t>(1, RoundDiv(cell * dm.unitsPerEm, cellUnits)));
        m.ascent = static_cast<int>(RoundDiv(cell * dm.ascent, cellUnits));
        m.descent = static_cast<int>(cell - m.ascent);
    } else {
        // Character height: the em itself; ascent and descent round outwards as hinted TrueType does.
        const int64_t em = requestedHeight == 0 ? kDefaultEmPixels
                                                : std::min<int64_t>(-int64_t{requestedHeight}, kMaxPixels);
        m.emPixels = static_cast<int>(em);
        m.ascent = static_cast<int>(CeilDiv(dm.ascent * em, dm.unitsPerEm));
        m.descent = static_cast<int>(CeilDiv(dm.descent * em, dm.unitsPerEm));
    }
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - m.emPixels);
    return m;
}

void AddLine(TextMask& mask, int top, int thickness) {
    for (int y = std::max(0, top); y < std::min(mask.height, top + thickness); ++y) {
        std::fill_n(mask.coverage.begin() + static_cast<ptrdiff_t>(y) * mask.width, mask.width, uint8_t{255});
    }
}

// Owners of fontconfig objects, each released with its library call.
struct FcConfigRelease {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcCharSetRelease {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
struct FcPatternRelease {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FcConfigHolder = std::unique_ptr<FcConfig, FcConfigRelease>;
using FcCharSetHolder = std::unique_ptr<FcCharSet, FcCharSetRelease>;
using FcPatternHolder = std::unique_ptr<FcPattern, FcPatternRelease>;

}  // namespace

struct FontEngine::Impl {
    std::mutex mutex;
    FT_Library library = nullptr;
    FcConfigHolder config;  // a reference to the process's configuration
    FcCharSetHolder cyrillic;
    std::map<std::string, FaceChoice> resolutions;
    std::map<std::string, std::unique_ptr<SizedFace>> faces;
    std::map<std::string, FT_Face> openFaces;  // by file and index; nullptr when it cannot be opened
    size_t glyphBytes = 0;

    Impl() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
        if (library != nullptr) {
            // The classic TrueType interpreter hints stems horizontally too, snapping them to
            // whole pixels as the platform's grey-scale text does; small labels stay crisp.
            FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
            FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
        }
        // The configuration the window toolkit loads as well: reading the configuration files
        // and font caches a second time was a fifth of the program's start-up. Our reference
        // keeps it alive for as long as we use it, whoever else lets go of it.
        config.reset(FcConfigReference(nullptr));
        cyrillic.reset(FcCharSetCreate());
        for (FcChar32 c = 0x0410; c <= 0x044F; ++c) FcCharSetAddChar(cyrillic.get(), c);
    }
    ~Impl() {
        faces.clear();
        CloseFaces();
        if (library != nullptr) FT_Done_FreeType(library);
    }

    bool HasCyrillic(FcPattern* match) const {
        FcCharSet* charset = nullptr;
        if (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) != FcResultMatch) return false;
        return FcCharSetIsSubset(cyrillic.get(), charset) == FcTrue;
    }

    // Asks fontconfig for a family in a style. Empty file when nothing suitable was found;
    // with requireCyrillic a face without the Russian alphabet counts as not found.
    FaceChoice Match(const char* family, bool bold, bool italic, bool mono, bool requireCyrillic) {
        FaceChoice choice;
        const FcPatternHolder pattern(FcPatternCreate());
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        if (mono) FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        // Faces covering the Russian alphabet win over those that do not, before the family decides.
        FcPatternAddCharSet(pattern.get(), FC_CHARSET, cyrillic.get());
        FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        const FcPatternHolder found(config ? FcFontMatch(config.get(), pattern.get(), &result) : nullptr);
        FcPattern* match = found.get();
        if (match == nullptr) return choice;

        FcChar8* file = nullptr;
        FcChar8* matchedFamily = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcBool scalable = FcTrue;
        FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && scalable &&
            (!requireCyrillic || HasCyrillic(match))) {
            choice.file = reinterpret_cast<const char*>(file);
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &slant);
            if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
                choice.family = reinterpret_cast<const char*>(matchedFamily);
            }
            choice.index = index;
            choice.embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
            choice.oblique = italic && slant == FC_SLANT_ROMAN;
        }
        return choice;
    }

    const FaceChoice& Resolve(const std::string& name, bool bold, bool italic, FontPitch pitch) {
        const std::string normalised = NormalisedName(name);
        std::string key = normalised;
        key += '\n';
        key += bold ? 'b' : '-';
        key += italic ? 'i' : '-';
        key += static_cast<char>('0' + static_cast<int>(pitch));
        if (auto it = resolutions.find(key); it != resolutions.end()) return it->second;
        if (resolutions.size() >= kMaxResolutions) resolutions.clear();

        const char* family = name.c_str();
        for (const FaceAlias& alias : kFaceAliases) {
            if (normalised == alias.name) {
                family = alias.family;
                bold = bold || alias.heavy;
                break;
            }
        }
        const bool mono = pitch == FontPitch::Fixed;
        FaceChoice choice = Match(family, bold, italic, mono, true);
        if (choice.file.empty()) {
            // The face lacks Cyrillic (or is missing): take a sans face that has it.
            for (const char* fallback : mono ? kFallbackMonoFamilies : kFallbackSansFamilies) {
                choice = Match(fallback, bold, italic, mono, true);
                if (!choice.file.empty()) break;
            }
        }
        if (choice.file.empty()) choice = Match(family, bold, italic, mono, false);  // better than nothing
        return resolutions.emplace(std::move(key), std::move(choice)).first->second;
    }

    // Drops every cached face and glyph when the caches outgrow their budget. Only called at the
    // start of a public operation, so no glyph pointer held by an operation is invalidated.
    void TrimCaches() {
        if (faces.size() >= kMaxSizedFaces || glyphBytes > kMaxGlyphCacheBytes) {
            faces.clear();
            glyphBytes = 0;
            CloseFaces();
        }
    }

    // Closes every opened face; the sized faces, which use them, must be gone first.
    void CloseFaces() {
        for (auto& [key, face] : openFaces) {
            if (face != nullptr) FT_Done_Face(face);
        }
        openFaces.clear();
    }

    // The opened face of a file, scalable and with its Unicode map chosen; nullptr when it cannot
    // be opened or is not scalable.
    FT_Face OpenFace(const FaceChoice& choice) {
        std::string key = choice.file;
        key += '\n' + std::to_string(choice.index);
        if (auto it = openFaces.find(key); it != openFaces.end()) return it->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library, choice.file.c_str(), choice.index, &face) != 0) face = nullptr;
        if (face != nullptr && !FT_IS_SCALABLE(face)) {
            FT_Done_Face(face);
            face = nullptr;
        }
        if (face != nullptr && FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps > 0) {
            FT_Set_Charmap(face, face->charmaps[0]);
        }
        openFaces.emplace(std::move(key), face);
        return face;
    }

    // The face for a request at its size; nullptr when no face can be opened at all.
    SizedFace* Sized(const FontRequest& request) {
        const FaceChoice& choice = Resolve(request.name, request.bold, request.italic, request.pitch);
        if (choice.file.empty() || library == nullptr) return nullptr;
        std::string key = choice.file;
        key += '\n' + std::to_string(choice.index) + '\n' + std::to_string(request.height);
        key += choice.embolden ? 'b' : '-';
        key += choice.oblique ? 'i' : '-';
        if (auto it = faces.find(key); it != faces.end()) return it->second.get();

        FT_Face face = OpenFace(choice);
        if (face == nullptr) return nullptr;
        auto sized = std::make_unique<SizedFace>();
        sized->face = face;
        if (FT_New_Size(face, &sized->size) != 0) {
            sized->size = nullptr;
            return nullptr;
        }
        FT_Activate_Size(sized->size);
        const DesignMetrics dm = ReadDesignMetrics(face);
        sized->metrics = CellMetrics(request.height, dm);
        const int em = sized->metrics.emPixels;
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) return nullptr;
        sized->embolden = choice.embolden;
        sized->oblique = choice.oblique;
        sized->boldExtra = choice.embolden ? std::max(1, (em + 12) / 24) : 0;

        // Underline: FreeType gives the centre of the stroke, in design units above the baseline.
        const int64_t upem = dm.unitsPerEm;
        const int ascent = sized->metrics.ascent, cell = sized->metrics.height;
        sized->underlineThickness =
            static_cast<int>(std::max<int64_t>(1, RoundDiv(int64_t{face->underline_thickness} * em, upem)));
        const int underlineCentre =
            ascent + static_cast<int>(RoundDiv(-int64_t{face->underline_position} * em, upem));
        sized->underlineTop = std::clamp(underlineCentre - sized->underlineThickness / 2, ascent + 1,
                                         std::max(ascent + 1, cell - sized->underlineThickness));
        sized->strikeThickness = static_cast<int>(std::max<int64_t>(1, RoundDiv(dm.strikeSize * em, upem)));
        sized->strikeTop = std::max(0, ascent - static_cast<int>(RoundDiv(dm.strikePosition * em, upem)));

        return faces.emplace(std::move(key), std::move(sized)).first->second.get();
    }

    const Glyph& GlyphFor(SizedFace& sized, char32_t codepoint) {
        if (auto it = sized.glyphs.find(codepoint); it != sized.glyphs.end()) return it->second;
        Glyph glyph;
        FT_Face face = sized.face;
        FT_Activate_Size(sized.size);  // the face serves other sizes too
        // The face's own hinting gives the platform's advances. Small sizes are instead drawn, and
        // spaced, from outlines the auto-hinter snaps in both directions: faces whose own hints only
        // align heights otherwise smear thin stems over two grey columns.
        const FT_Int32 nativeFlags = FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL;
        const FT_Int32 crispFlags = FT_LOAD_NO_BITMAP | FT_LOAD_FORCE_AUTOHINT | FT_LOAD_TARGET_MONO;
        // One load per glyph: a small size's advance and drawing both come from the auto-hinted
        // outline, so running the face's own hints first would be thrown away.
        const FT_Int32 flags = sized.metrics.emPixels <= kCrispMaxPixels ? crispFlags : nativeFlags;
        FT_UInt index = FT_Get_Char_Index(face, codepoint);
        FT_Error error = FT_Load_Glyph(face, index, flags);
        if (error != 0 && index != 0) {
            index = 0;  // the missing-glyph box
            error = FT_Load_Glyph(face, index, flags);
        }
        if (error == 0) {
            glyph.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6) + sized.boldExtra;
            FT_GlyphSlot slot = face->glyph;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
                if (sized.oblique) {
                    FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
                    FT_Outline_Transform(&slot->outline, &shear);
                }
                if (sized.embolden) {
                    // Thicken stems sideways only and grow to the right, like a second stroke
                    // one pixel over; the cell height stays untouched.
                    const FT_Pos strength = FT_Pos{sized.boldExtra} * 64;
                    FT_Outline_EmboldenXY(&slot->outline, strength, 0);
                    FT_Outline_Translate(&slot->outline, strength / 2, 0);
                }
            }
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
                const FT_Bitmap& bitmap = slot->bitmap;
                const int width = static_cast<int>(std::min<unsigned>(bitmap.width, 4 * kMaxPixels));
                const int rows = static_cast<int>(std::min<unsigned>(bitmap.rows, 4 * kMaxPixels));
                if (width > 0 && rows > 0 && bitmap.buffer != nullptr) {
                    glyph.left = slot->bitmap_left;
                    glyph.top = slot->bitmap_top;
                    glyph.width = width;
                    glyph.rows = rows;
                    glyph.coverage.resize(static_cast<size_t>(width) * rows);
                    const int pitch = bitmap.pitch;
                    for (int y = 0; y < rows; ++y) {
                        const unsigned char* src = pitch >= 0
                                                       ? bitmap.buffer + static_cast<ptrdiff_t>(y) * pitch
                                                       : bitmap.buffer + static_cast<ptrdiff_t>(rows - 1 - y) * -pitch;
                        uint8_t* dst = glyph.coverage.data() + static_cast<size_t>(y) * width;
                        for (int x = 0; x < width; ++x) {
                            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                                dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                                dst[x] = src[x];
                            }
                        }
                    }
                }
            }
        }
        glyphBytes += glyph.coverage.size() + sizeof(Glyph);
        return sized.glyphs.emplace(codepoint, std::move(glyph)).first->second;
    }

    // Trims the caches, then finds the sized face (nullptr when no face can be opened) and its
    // metrics. Without a face the cell is nominal so that layout still works; nothing is inked.
    FontMetrics MetricsFor(const FontRequest& request, SizedFace*& sized) {
        TrimCaches();
        sized = Sized(request);
        if (sized != nullptr) return sized->metrics;
        DesignMetrics nominal;
        nominal.unitsPerEm = 1000;
        nominal.ascent = 900;
        nominal.descent = 250;
        return CellMetrics(request.height, nominal);
    }

    // Sum of advances; kept in 64 bits so absurdly long text cannot overflow.
    int64_t Width(SizedFace& sized, const std::u32string& text) {
        int64_t width = 0;
        for (char32_t c : text) width += GlyphFor(sized, c).advance;
        return std::max<int64_t>(width, 0);  // a face with negative advances never sizes a mask below 0
    }
};

FontEngine& FontEngine::Instance() {
    static FontEngine engine;
    return engine;
}

FontEngine::FontEngine() : impl_(std::make_unique<Impl>()) {}
FontEngine::~FontEngine() = default;

std::u32string FontEngine::DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0, minimum = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2, cp = b0 & 0x1F, minimum = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3, cp = b0 & 0x0F, minimum = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4, cp = b0 & 0x07, minimum = 0x10000;
        }
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if ((b & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) valid = false;
        if (valid) {
            out.push_back(cp);
            i += length;
        } else {
            out.push_back(kReplacementChar);
            ++i;
        }
    }
    return out;
}

FontMetrics FontEngine::Metrics(const FontRequest& font) {
    std::lock_guard lock(impl_->mutex);
    SizedFace* sized = nullptr;
    return impl_->MetricsFor(font, sized);
}

TextExtent FontEngine::Measure(const FontRequest& font, std::string_view utf8) {
    const std::u32string text = DecodeUtf8(utf8);
    std::lock_guard lock(impl_->mutex);
    SizedFace* sized = nullptr;
    const FontMetrics metrics = impl_->MetricsFor(font, sized);
    const int64_t width = sized != nullptr ? impl_->Width(*sized, text) : 0;
    return TextExtent{static_cast<int>(std::min<int64_t>(width, INT_MAX)), metrics.height};
}

TextMask FontEngine::Render(const FontRequest& font, std::string_view utf8) {
    const std::u32string text = DecodeUtf8(utf8);
    std::lock_guard lock(impl_->mutex);
    SizedFace* sized = nullptr;
    const FontMetrics metrics = impl_->MetricsFor(font, sized);
    TextMask mask;
    mask.height = metrics.height;
    mask.ascent = metrics.ascent;
    if (sized == nullptr) return mask;

    const int64_t width = impl_->Width(*sized, text);
    if (width * mask.height > kMaxMaskBytes) throw EOutOfResources(kOutOfResourcesText);
    mask.width = static_cast<int>(width);
    mask.coverage.assign(static_cast<size_t>(width) * mask.height, 0);

    int penX = 0;
    for (char32_t c : text) {
        const Glyph& glyph = impl_->GlyphFor(*sized, c);  // cached by Width above
        const int x0 = penX + glyph.left;
        const int y0 = mask.ascent - glyph.top;
        // Clip the glyph box to the cell.
        const int rowBegin = std::max(0, -y0), rowEnd = std::min(glyph.rows, mask.height - y0);
        const int colBegin = std::max(0, -x0), colEnd = std::min(glyph.width, mask.width - x0);
        for (int r = rowBegin; r < rowEnd; ++r) {
            const uint8_t* src = glyph.coverage.data() + static_cast<size_t>(r) * glyph.width;
            // Indexed from the row start: x0 may be negative (a glyph reaching left of the cell).
            uint8_t* dstRow = mask.coverage.data() + static_cast<size_t>(y0 + r) * mask.width;
            for (int col = colBegin; col < colEnd; ++col) {
                // Neighbouring glyphs' antialiased edges add up rather than hide each other.
                uint8_t& dst = dstRow[x0 + col];
                dst = static_cast<uint8_t>(std::min(255, dst + src[col]));
            }
        }
        penX += glyph.advance;
    }
    if (font.underline) AddLine(mask, sized->underlineTop, sized->underlineThickness);
    if (font.strikeOut) AddLine(mask, sized->strikeTop, sized->strikeThickness);
    return mask;
}

std::string FontEngine::ResolvedFamily(const FontRequest& font) {
    std::lock_guard lock(impl_->mutex);
    return impl_->Resolve(font.name, font.bold, font.italic, font.pitch).family;
}

std::string FontEngine::ResolvedFile(const FontRequest& font) {
    std::lock_guard lock(impl_->mutex);
    return impl_->Resolve(font.name, font.bold, font.italic, font.pitch).file;
}

std::string FontEngine::ResolvedFamily(const std::string& faceName) {
    FontRequest request;
    request.name = faceName;
    return ResolvedFamily(request);
}

std::string FontEngine::ResolvedFile(const std::string& faceName) {
    FontRequest request;
    request.name = faceName;
    return ResolvedFile(request);
}

}  // namespace kv
