#include "ui/system_colors.h"

#include "graphics/color.h"

namespace kv {
namespace {

TColor FromQColor(const QColor& c) {
    return MakeColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

struct RoleOfSystemColor {
    TColor systemColor;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr RoleOfSystemColor kRoles[] = {
    {clScrollBar, QPalette::Active, QPalette::Mid},
    {clMenu, QPalette::Active, QPalette::Window},
    {clMenuBar, QPalette::Active, QPalette::Window},
    {clWindow, QPalette::Active, QPalette::Base},
    {clWindowFrame, QPalette::Active, QPalette::Shadow},
    {clMenuText, QPalette::Active, QPalette::WindowText},
    {clWindowText, QPalette::Active, QPalette::Text},
    {clHighlight, QPalette::Active, QPalette::Highlight},
    {clHighlightText, QPalette::Active, QPalette::HighlightedText},
    {clMenuHighlight, QPalette::Active, QPalette::Highlight},
    {clBtnFace, QPalette::Active, QPalette::Button},
    {clBtnShadow, QPalette::Active, QPalette::Dark},
    {clGrayText, QPalette::Disabled, QPalette::Text},
    {clBtnText, QPalette::Active, QPalette::ButtonText},
    {clBtnHighlight, QPalette::Active, QPalette::Light},
    {cl3DDkShadow, QPalette::Active, QPalette::Shadow},
    {clInfoText, QPalette::Active, QPalette::ToolTipText},
    {clInfoBk, QPalette::Active, QPalette::ToolTipBase},
    {clHotLight, QPalette::Active, QPalette::Link},
};

// cl3DLight, the main window's background, is left at its built-in shade: the button pictures
// carry that shade around their pills, and a themed background would frame them in boxes.

}  // namespace

void ApplyDesktopColors(const QPalette& palette) {
    for (const RoleOfSystemColor& entry : kRoles) {
        SetSystemColor(entry.systemColor & 0xFF, FromQColor(palette.color(entry.group, entry.role)));
    }
}

}  // namespace kv
