#include "graphics/controls/label.h"

#include <algorithm>

#include "graphics/controls/control_host.h"
#include "graphics/controls/text_wrap.h"
#include "graphics/font_engine.h"

namespace kv {

TLabel::TLabel() : font_(std::make_unique<TFont>()) {
    SetBounds(0, 0, 65, 17);
    font_->OnChange = [this](TGraphicsObject&) { Changed(); };
    AdjustBounds();
}

TLabel::~TLabel() = default;

void TLabel::SetCaption(std::string value) {
    if (value == caption_) return;
    caption_ = std::move(value);
    Changed();
}

void TLabel::SetColor(TColor value) {
    if (value == color_ && !parentColor_) return;
    color_ = value;
    parentColor_ = false;
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    Changed();
}

void TLabel::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    Changed();
}

void TLabel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

TColor TLabel::EffectiveColor() const {
    return parentColor_ && Parent() ? Parent()->Color() : color_;
}

void TLabel::Changed() {
    AdjustBounds();
    Invalidate();
}

int TLabel::TextWidth(std::string_view text) const {
    return FontEngine::Instance().Measure(font_->ToRequest(), text).width;
}

int TLabel::LineHeight() const { return FontEngine::Instance().Metrics(font_->ToRequest()).height; }

std::vector<std::string> TLabel::Lines() const {
    return BreakLines(caption_, wordWrap_, Width(), [this](std::string_view text) { return TextWidth(text); });
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    const std::vector<std::string> lines = Lines();
    const int height = LineHeight() * static_cast<int>(lines.size());
    int width = Width();
    if (!wordWrap_) {
        width = 0;
        // An empty caption is as wide as one blank, so the label stays visible and clickable.
        for (const std::string& line : lines) width = std::max(width, TextWidth(line.empty() ? " " : line));
    }
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify) left = Left() + Width() - width;
    SetBounds(left, Top(), width, height);
}

void TLabel::Paint() {
    TCanvas& canvas = ControlCanvas();
    if (!transparent_) {
        canvas.Brush().SetColor(EffectiveColor());
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.FillRect(ClientRect());
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.SetFont(*font_);
    const int lineHeight = LineHeight();
    const std::vector<std::string> lines = Lines();
    const TRect clip = canvas.ClipRect();
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = static_cast<int>(i) * lineHeight;
        if (y >= clip.bottom) break;
        if (y + lineHeight <= clip.top || lines[i].empty()) continue;
        int x = 0;
        if (alignment_ != TAlignment::taLeftJustify) {
            const int free = Width() - TextWidth(lines[i]);
            x = alignment_ == TAlignment::taCenter ? free / 2 : free;
        }
        canvas.TextOut(x, y, lines[i]);
    }
}

}  // namespace kv
