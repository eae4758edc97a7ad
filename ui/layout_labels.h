#pragma once
// The labels the main window and the about box size by their text while they are built, with
// the caption and font each is given. The layouts take them from here, and the start-up font
// worker measures the same list ahead of them, so that their glyphs are loaded by the time the
// window thread sizes and paints them.
#include "game/game_texts.h"
#include "ui/about_texts.h"
#include "ui/layout_fonts.h"

namespace kv {

class TLabel;

struct LabelText {
    const char* caption;
    LayoutFont font;
};

// Gives an auto-sized label its font and caption and sizes it once, for both: with auto-size on,
// every font attribute set one by one would measure it again in a face thrown away at once.
void SetLabelText(TLabel& label, const LabelText& text);

// ---- the main window ----
inline constexpr LabelText kChosenPictureLabel{
    "Выбрана картинка :", {kDefaultFontName, 16, false, false, clWindowText, kRussianCharset}};
inline constexpr LabelText kStatusLabel{kStatusLayoutText, {"Arial", 16, true, false, clRed}};
inline constexpr LabelText kChoosePictureLabel{"Выбери картинку", {"Arial", 19, true, false, clMaroon}};
inline constexpr LabelText kSplitIntoLabel{"Разбей на", {kDefaultFontName, 24, true}};
inline constexpr LabelText kPieceCountLabel{kPieceCountLayoutText, {"Arial", 24, true}};
inline constexpr LabelText kHintLabel{kHintLayoutText, {kDefaultFontName, 24, false, true, clRed}};
inline constexpr LabelText kClockLabel{kClockZeroText, {"Arial Black", 27, true}};
inline constexpr LabelText kCountLabel{kCountZeroText, {"Arial Black", 27, true}};

// ---- the about box ----
inline constexpr LabelText kAboutTitleLabel{
    "Кадрилка  KVADRIKO", {"Arial", 19, false, false, clWindowText, kRussianCharset}};
inline constexpr LabelText kAboutVersionLabel{"Version  2.0", {kDefaultFontName, 13}};
inline constexpr LabelText kAboutTermsLabel{kAboutTerms, {kDefaultFontName, 12}};
inline constexpr LabelText kAboutLinkLabel{kProjectLinkText, {kDefaultFontName, 13, true, false, clBlue,
                                                              1, true}};
inline constexpr LabelText kAboutSiteLabel{
    "Сайт автора", {kDefaultFontName, 13, false, false, clWindowText, kRussianCharset}};

inline constexpr LabelText kMeasuredLabels[] = {
    kChosenPictureLabel, kStatusLabel,     kChoosePictureLabel, kSplitIntoLabel,
    kPieceCountLabel,    kHintLabel,       kClockLabel,         kCountLabel,
    kAboutTitleLabel,    kAboutVersionLabel, kAboutTermsLabel,  kAboutLinkLabel,
    kAboutSiteLabel,
};

}  // namespace kv
