#pragma once
// TLabel: a graphic control that shows text in its font and colour. By default it sizes itself
// to its text; with AutoSize off it keeps its size, and with WordWrap on it breaks the text into
// lines that fit its width. Lines are aligned left, right or centred.
#include <memory>
#include <string>
#include <vector>

#include "graphics/color.h"
#include "graphics/controls/control.h"
#include "graphics/tools.h"

namespace kv {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    TLabel();
    ~TLabel() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string value);
    // Changing the font resizes (with AutoSize) and repaints the label.
    TFont& Font() { return *font_; }
    void SetFont(const TFont& value) { font_->Assign(value); }
    // The background colour; until a colour is set (ParentColor) the parent's colour is used.
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    // A transparent label paints only its glyphs.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    // The caption as it is laid out now, one entry per line.
    std::vector<std::string> Lines() const;
    // The pixel height of one line in the label's font.
    int LineHeight() const;
    // With AutoSize: the size of the text (width kept when words wrap). The right edge stays
    // for right-aligned labels, the left edge otherwise.
    void AdjustBounds();
    // The colour the background is painted in.
    TColor EffectiveColor() const;

protected:
    void Paint() override;

private:
    void Changed();
    int TextWidth(std::string_view text) const;

    std::string caption_;
    std::unique_ptr<TFont> font_;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

}  // namespace kv
