#pragma once
// Pens, brushes and fonts: the drawing tools a canvas owns. Each tool points at a shared
// attribute record (TResourceManager); changing an attribute moves it to the record for the new
// attributes and notifies the owner through OnChange, so the canvas selects it again.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "graphics/color.h"
#include "graphics/font_engine.h"
#include "graphics/raster.h"
#include "graphics/resource_manager.h"
#include "runtime/enum_set.h"

namespace kv {

class Dib;
class TGraphicsObject;

using TToolNotifyEvent = std::function<void(TGraphicsObject& sender)>;

class TGraphicsObject {
public:
    virtual ~TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;

    TToolNotifyEvent OnChange;
    const TResource* Resource() const { return resource_; }

protected:
    TGraphicsObject() = default;
    virtual void Changed();

    TResource* resource_ = nullptr;
};

// ---- Pen ----------------------------------------------------------------------------------

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// The raster operation (SetROP2 code 1..16) a pen mode selects.
Rop2 PenModeToRop2(TPenMode mode);

// The shared part of a pen: every byte counts in the comparison (no padding).
struct TPenData {
    int32_t color;
    int32_t width;
    int32_t style;
};

class TPen : public TGraphicsObject {
public:
    TPen();
    ~TPen() override;

    TColor Color() const { return Data().color; }
    void SetColor(TColor value);
    int Width() const { return Data().width; }
    // A negative width is ignored.
    void SetWidth(int value);
    TPenStyle Style() const { return static_cast<TPenStyle>(Data().style); }
    void SetStyle(TPenStyle value);
    // The mode is the pen's own, not part of the shared record.
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);
    void Assign(const TPen& source);

    // What the raster layer draws with (colour resolved now).
    RasterPen ToRaster() const;

    static TResourceManager& Manager();

private:
    TPenData Data() const { return resource_->As<TPenData>(); }
    void SetData(const TPenData& data);
    TPenMode mode_ = TPenMode::pmCopy;
};

// ---- Brush --------------------------------------------------------------------------------

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TBrushData {
    const Dib* pattern;  // kept alive by the record
    int32_t color;
    int32_t style;
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;

    TColor Color() const { return Data().color; }
    // Setting a colour while the style is bsClear switches the style to bsSolid.
    void SetColor(TColor value);
    TBrushStyle Style() const { return static_cast<TBrushStyle>(Data().style); }
    // bsClear also sets the colour to clWhite.
    void SetStyle(TBrushStyle value);
    // An optional pattern (the storage is shared, not copied); nullptr removes it.
    const std::shared_ptr<const Dib>& Pattern() const { return pattern_; }
    void SetPattern(std::shared_ptr<const Dib> pattern);
    void Assign(const TBrush& source);

    RasterBrush ToRaster() const;
    // The background the brush leaves selected: opaque in the brush colour for bsSolid, else
    // transparent with the complement of the brush colour.
    TextBackground ToBackground() const;

    static TResourceManager& Manager();

private:
    TBrushData Data() const { return resource_->As<TBrushData>(); }
    void SetData(const TBrushData& data, std::shared_ptr<const Dib> pattern);
    std::shared_ptr<const Dib> pattern_;
};

// ---- Font ---------------------------------------------------------------------------------

enum class TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = EnumSet<TFontStyle>;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

inline constexpr const char* kDefaultFontName = "MS Sans Serif";
inline constexpr int kFontNameCapacity = 64;  // bytes including the terminating zero

// The screen's vertical pixels per inch. Fonts copy it when they are created; the window layer
// may set it at start-up before any font exists. Default 96.
int ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int value);

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

struct TFontData {
    int32_t height;
    uint8_t pitch;
    uint8_t style;
    uint8_t charset;
    char name[kFontNameCapacity + 1];  // zero-filled past the text
};

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;

    std::string Name() const { return Data().name; }
    // "Default" resolves to the default face when the font is used.
    void SetName(const std::string& value);
    int Height() const { return Data().height; }
    void SetHeight(int value);
    int Size() const;
    void SetSize(int points);
    int PixelsPerInch() const { return pixelsPerInch_; }
    // Keeps the size in points (the height is recomputed); values <= 0 are ignored.
    void SetPixelsPerInch(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFontStyles Style() const { return TFontStyles::FromBits(Data().style & 0x0F); }
    void SetStyle(TFontStyles value);
    TFontPitch Pitch() const { return static_cast<TFontPitch>(Data().pitch); }
    void SetPitch(TFontPitch value);
    TFontCharset Charset() const { return Data().charset; }
    void SetCharset(TFontCharset value);
    void Assign(const TFont& source);

    // What the text engine is asked for ("Default" mapped to the default face).
    FontRequest ToRequest() const;

    static TResourceManager& Manager();

private:
    TFontData Data() const { return resource_->As<TFontData>(); }
    void SetData(const TFontData& data);
    TColor color_;
    int pixelsPerInch_;
};

}  // namespace kv
