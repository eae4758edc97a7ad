#include "graphics/tools.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace kv {

static_assert(std::has_unique_object_representations_v<TPenData>, "pen records are compared bytewise");
static_assert(std::has_unique_object_representations_v<TBrushData>, "brush records are compared bytewise");
static_assert(std::has_unique_object_representations_v<TFontData>, "font records are compared bytewise");

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(*this);
}

// ---- Pen ----------------------------------------------------------------------------------

Rop2 PenModeToRop2(TPenMode mode) {
    switch (mode) {
        case TPenMode::pmBlack: return Rop2::Black;
        case TPenMode::pmWhite: return Rop2::White;
        case TPenMode::pmNop: return Rop2::Nop;
        case TPenMode::pmNot: return Rop2::Not;
        case TPenMode::pmCopy: return Rop2::CopyPen;
        case TPenMode::pmNotCopy: return Rop2::NotCopyPen;
        case TPenMode::pmMergePenNot: return Rop2::MergePenNot;
        case TPenMode::pmMaskPenNot: return Rop2::MaskPenNot;
        case TPenMode::pmMergeNotPen: return Rop2::MergeNotPen;
        case TPenMode::pmMaskNotPen: return Rop2::MaskNotPen;
        case TPenMode::pmMerge: return Rop2::MergePen;
        case TPenMode::pmNotMerge: return Rop2::NotMergePen;
        case TPenMode::pmMask: return Rop2::MaskPen;
        case TPenMode::pmNotMask: return Rop2::NotMaskPen;
        case TPenMode::pmXor: return Rop2::XorPen;
        case TPenMode::pmNotXor: return Rop2::NotXorPen;
    }
    return Rop2::CopyPen;
}

TResourceManager& TPen::Manager() {
    static TResourceManager manager(sizeof(TPenData));
    return manager;
}

TPen::TPen() {
    TPenData data{};
    data.color = clBlack;
    data.width = 1;
    data.style = static_cast<int32_t>(TPenStyle::psSolid);
    resource_ = Manager().AllocResource(&data);
}

TPen::~TPen() { Manager().FreeResource(resource_); }

void TPen::SetData(const TPenData& data) {
    resource_ = Manager().ChangeResource(resource_, &data);
    Changed();
}

void TPen::SetColor(TColor value) {
    TPenData data = Data();
    if (data.color == value) return;
    data.color = value;
    SetData(data);
}

void TPen::SetWidth(int value) {
    if (value < 0) return;
    TPenData data = Data();
    if (data.width == value) return;
    data.width = value;
    SetData(data);
}

void TPen::SetStyle(TPenStyle value) {
    TPenData data = Data();
    if (data.style == static_cast<int32_t>(value)) return;
    data.style = static_cast<int32_t>(value);
    SetData(data);
}

void TPen::SetMode(TPenMode value) {
    if (mode_ == value) return;
    mode_ = value;
    Changed();
}

void TPen::Assign(const TPen& source) {
    if (&source == this) return;
    TPenData data = source.Data();
    resource_ = Manager().ChangeResource(resource_, &data);
    mode_ = source.mode_;
    Changed();
}

RasterPen TPen::ToRaster() const {
    const TPenData data = Data();
    RasterPen pen;
    pen.colour = ColorToRgb(data.color);
    pen.width = data.width;
    pen.style = data.style;
    pen.rop = PenModeToRop2(mode_);
    return pen;
}

// ---- Brush --------------------------------------------------------------------------------

TResourceManager& TBrush::Manager() {
    static TResourceManager manager(sizeof(TBrushData));
    return manager;
}

TBrush::TBrush() {
    TBrushData data{};
    data.pattern = nullptr;
    data.color = clWhite;
    data.style = static_cast<int32_t>(TBrushStyle::bsSolid);
    resource_ = Manager().AllocResource(&data);
}

TBrush::~TBrush() { Manager().FreeResource(resource_); }

void TBrush::SetData(const TBrushData& data, std::shared_ptr<const Dib> pattern) {
    resource_ = Manager().ChangeResource(resource_, &data, pattern);
    pattern_ = std::move(pattern);
    Changed();
}

void TBrush::SetColor(TColor value) {
    TBrushData data = Data();
    const bool clear = data.style == static_cast<int32_t>(TBrushStyle::bsClear);
    if (data.color == value && !clear) return;
    data.color = value;
    if (clear) data.style = static_cast<int32_t>(TBrushStyle::bsSolid);
    SetData(data, pattern_);
}

void TBrush::SetStyle(TBrushStyle value) {
    TBrushData data = Data();
    const bool sameStyle = data.style == static_cast<int32_t>(value);
    if (sameStyle && (value != TBrushStyle::bsClear || data.color == clWhite)) return;
    data.style = static_cast<int32_t>(value);
    if (value == TBrushStyle::bsClear) data.color = clWhite;
    SetData(data, pattern_);
}

void TBrush::SetPattern(std::shared_ptr<const Dib> pattern) {
    TBrushData data = Data();
    if (data.pattern == pattern.get()) return;
    data.pattern = pattern.get();
    SetData(data, std::move(pattern));
}

void TBrush::Assign(const TBrush& source) {
    if (&source == this) return;
    SetData(source.Data(), source.pattern_);
}

RasterBrush TBrush::ToRaster() const {
    const TBrushData data = Data();
    RasterBrush brush;
    brush.colour = ColorToRgb(data.color);
    brush.pattern = pattern_.get();
    const auto style = static_cast<TBrushStyle>(data.style);
    if (pattern_) {
        brush.kind = RasterBrush::Kind::Pattern;
    } else if (style == TBrushStyle::bsSolid) {
        brush.kind = RasterBrush::Kind::Solid;
    } else if (style == TBrushStyle::bsClear) {
        brush.kind = RasterBrush::Kind::Hollow;
    } else {
        brush.kind = RasterBrush::Kind::Hatched;
        brush.hatch = data.style - 2;
    }
    return brush;
}

TextBackground TBrush::ToBackground() const {
    const TBrushData data = Data();
    const RgbQuad colour = ColorToRgb(data.color);
    if (static_cast<TBrushStyle>(data.style) == TBrushStyle::bsSolid) return TextBackground{true, colour};
    return TextBackground{false, RgbQuad{static_cast<uint8_t>(~colour.blue), static_cast<uint8_t>(~colour.green),
                                         static_cast<uint8_t>(~colour.red), 0}};
}

// ---- Font ---------------------------------------------------------------------------------

namespace {

std::atomic<int> gScreenPixelsPerInch{96};

void CopyName(TFontData& data, const std::string& name) {
    std::memset(data.name, 0, sizeof(data.name));
    size_t n = std::min(name.size(), static_cast<size_t>(kFontNameCapacity - 1));
    // Never cut a UTF-8 sequence in half.
    while (n > 0 && n < name.size() && (static_cast<uint8_t>(name[n]) & 0xC0) == 0x80) --n;
    std::memcpy(data.name, name.data(), n);
}

}  // namespace

int ScreenPixelsPerInch() { return gScreenPixelsPerInch.load(); }
void SetScreenPixelsPerInch(int value) {
    if (value > 0) gScreenPixelsPerInch.store(value);
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t num = static_cast<uint64_t>(product < 0 ? -product : product);
    const uint64_t den = static_cast<uint64_t>(c < 0 ? -static_cast<int64_t>(c) : c);
    const uint64_t rounded = (num + den / 2) / den;  // halves away from zero
    const int64_t result = negative ? -static_cast<int64_t>(rounded) : static_cast<int64_t>(rounded);
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return static_cast<int>(result);
}

TResourceManager& TFont::Manager() {
    static TResourceManager manager(sizeof(TFontData));
    return manager;
}

TFont::TFont() : color_(clWindowText), pixelsPerInch_(ScreenPixelsPerInch()) {
    TFontData data;
    std::memset(&data, 0, sizeof(data));
    data.height = -MulDiv(8, pixelsPerInch_, 72);
    data.pitch = static_cast<uint8_t>(TFontPitch::fpDefault);
    data.style = 0;
    data.charset = 1;
    CopyName(data, kDefaultFontName);
    resource_ = Manager().AllocResource(&data);
}

TFont::~TFont() { Manager().FreeResource(resource_); }

void TFont::SetData(const TFontData& data) {
    resource_ = Manager().ChangeResource(resource_, &data);
    Changed();
}

void TFont::SetName(const std::string& value) {
    if (value.empty()) return;
    TFontData data = Data();
    CopyName(data, value);
    if (std::memcmp(data.name, Data().name, sizeof(data.name)) == 0) return;
    SetData(data);
}

void TFont::SetHeight(int value) {
    TFontData data = Data();
    if (data.height == value) return;
    data.height = value;
    SetData(data);
}

int TFont::Size() const { return -MulDiv(Data().height, 72, pixelsPerInch_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }

void TFont::SetPixelsPerInch(int value) {
    if (value <= 0 || value == pixelsPerInch_) return;
    const int points = Size();
    pixelsPerInch_ = value;
    SetSize(points);
}

void TFont::SetColor(TColor value) {
    if (color_ == value) return;
    color_ = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    TFontData data = Data();
    if (data.style == value.Bits()) return;
    data.style = value.Bits();
    SetData(data);
}

void TFont::SetPitch(TFontPitch value) {
    TFontData data = Data();
    if (data.pitch == static_cast<uint8_t>(value)) return;
    data.pitch = static_cast<uint8_t>(value);
    SetData(data);
}

void TFont::SetCharset(TFontCharset value) {
    TFontData data = Data();
    if (data.charset == value) return;
    data.charset = value;
    SetData(data);
}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    TFontData data = source.Data();
    resource_ = Manager().ChangeResource(resource_, &data);
    color_ = source.color_;
    Changed();
}

FontRequest TFont::ToRequest() const {
    const TFontData data = Data();
    FontRequest request;
    request.name = data.name;
    if (request.name == "Default") request.name = kDefaultFontName;
    request.height = data.height;
    request.bold = (data.style & static_cast<uint8_t>(TFontStyle::fsBold)) != 0;
    request.italic = (data.style & static_cast<uint8_t>(TFontStyle::fsItalic)) != 0;
    request.underline = (data.style & static_cast<uint8_t>(TFontStyle::fsUnderline)) != 0;
    request.strikeOut = (data.style & static_cast<uint8_t>(TFontStyle::fsStrikeOut)) != 0;
    switch (static_cast<TFontPitch>(data.pitch)) {
        case TFontPitch::fpVariable: request.pitch = FontPitch::Variable; break;
        case TFontPitch::fpFixed: request.pitch = FontPitch::Fixed; break;
        default: request.pitch = FontPitch::Default; break;
    }
    return request;
}

}  // namespace kv
