#pragma once
// The text engine under the drawing surfaces: resolves the face names the program asks for to
// installed faces (fontconfig), measures text and renders its coverage mask (FreeType).
// Self-contained on purpose: the canvas turns a TFont into a FontRequest and composites the mask.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class FontPitch { Default, Variable, Fixed };

struct FontRequest {
    std::string name = "MS Sans Serif";  // face name as the program asks for it
    // Pixels: negative = character height without internal leading (the em size),
    // positive = cell height (ascent + descent), 0 = a default size.
    int height = -11;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    FontPitch pitch = FontPitch::Default;
    bool operator==(const FontRequest&) const = default;
};

// The text cell: advance width, ascent + descent.
struct TextExtent {
    int width = 0;
    int height = 0;
};

// Coverage of the text cell, top-down rows, width * height bytes, 0..255.
struct TextMask {
    int width = 0, height = 0;
    int ascent = 0;  // baseline row inside the cell
    std::vector<uint8_t> coverage;
};

// Vertical metrics of a font at its resolved size, in pixels.
struct FontMetrics {
    int emPixels = 0;         // the pixel size glyphs are rendered at
    int ascent = 0;           // baseline to the top of the cell
    int descent = 0;          // baseline to the bottom of the cell
    int height = 0;           // ascent + descent
    int internalLeading = 0;  // height - emPixels, never negative
};

class FontEngine {
public:
    static FontEngine& Instance();  // process-wide, thread-safe

    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    TextExtent Measure(const FontRequest& font, std::string_view utf8);
    TextMask Render(const FontRequest& font, std::string_view utf8);  // includes underline / strike-out
    FontMetrics Metrics(const FontRequest& font);
    std::string ResolvedFamily(const std::string& faceName);  // e.g. "Liberation Sans"
    std::string ResolvedFile(const std::string& faceName);
    // The family and file actually used for a request, style and pitch included.
    std::string ResolvedFamily(const FontRequest& font);
    std::string ResolvedFile(const FontRequest& font);

    // Decodes UTF-8; every byte that does not start a well-formed sequence (stray continuation,
    // overlong form, surrogate, beyond U+10FFFF, truncated) becomes one U+FFFD.
    static std::u32string DecodeUtf8(std::string_view utf8);

private:
    FontEngine();
    ~FontEngine();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kv
