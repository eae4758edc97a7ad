// The main window's five picture buttons, from one table: which control, the size a press gives
// it, the size its release gives back, and what the release then does.
#include "graphics/controls/image.h"
#include "ui/zurbo_image.h"

namespace kv {

struct TForm1::PictureButton {
    TImage* TForm1::*control;
    int pressedWidth;
    int pressedHeight;
    int releasedWidth;
    int releasedHeight;
    void (*action)(TForm1& form);
};

// Heights are the layout's rather than the current height plus or minus a step: a press whose
// release lands elsewhere (any button but the left one, released off the picture) would
// otherwise leave the button a little shorter for good.
const TForm1::PictureButton& TForm1::PictureButtonOf(TImage* TForm1::*control) {
    static const PictureButton kButtons[] = {
        {&TForm1::Image3, 215, 57 - 3, 225, 57, [](TForm1& form) { form.flow_->Image3MouseUp(); }},
        {&TForm1::Image5, 215, 57 - 3, 225, 57, [](TForm1& form) { form.flow_->Image5MouseUp(); }},
        {&TForm1::Image4, 134, 35 - 1, 137, 35, [](TForm1& form) { form.flow_->Image4MouseUp(); }},
        {&TForm1::Image6, 134, 35 - 1, 137, 35, [](TForm1& form) { form.close(); }},
        {&TForm1::Image7, 134, 34 - 1, 137, 34,
         [](TForm1& form) {
             if (form.aboutAction_) form.aboutAction_();
         }},
    };
    for (const PictureButton& button : kButtons)
        if (button.control == control) return button;
    return kButtons[0];  // unreachable: every handler below names a control of the table
}

namespace {

// The pressed look: width first, then height, then an immediate repaint; left and top stay, so
// the button shrinks towards its top-left corner.
void ResizeButton(TControl& button, int width, int height) {
    button.SetWidth(width);
    button.SetHeight(height);
    button.Refresh();
}

}  // namespace

void TForm1::PressPictureButton(TImage* TForm1::*control) {
    const PictureButton& button = PictureButtonOf(control);
    ResizeButton(*(this->*control), button.pressedWidth, button.pressedHeight);
}

void TForm1::ReleasePictureButton(TImage* TForm1::*control) {
    const PictureButton& button = PictureButtonOf(control);
    ResizeButton(*(this->*control), button.releasedWidth, button.releasedHeight);
    button.action(*this);
}

void TForm1::Image3MouseDown(TControl&, TMouseButton, TShiftState, int, int) { PressPictureButton(&TForm1::Image3); }
void TForm1::Image3MouseUp(TControl&, TMouseButton, TShiftState, int, int) { ReleasePictureButton(&TForm1::Image3); }
void TForm1::Image4MouseDown(TControl&, TMouseButton, TShiftState, int, int) { PressPictureButton(&TForm1::Image4); }
void TForm1::Image4MouseUp(TControl&, TMouseButton, TShiftState, int, int) { ReleasePictureButton(&TForm1::Image4); }
void TForm1::Image5MouseDown(TControl&, TMouseButton, TShiftState, int, int) { PressPictureButton(&TForm1::Image5); }
void TForm1::Image5MouseUp(TControl&, TMouseButton, TShiftState, int, int) { ReleasePictureButton(&TForm1::Image5); }
void TForm1::Image6MouseDown(TControl&, TMouseButton, TShiftState, int, int) { PressPictureButton(&TForm1::Image6); }
void TForm1::Image6MouseUp(TControl&, TMouseButton, TShiftState, int, int) { ReleasePictureButton(&TForm1::Image6); }
void TForm1::Image7MouseDown(TControl&, TMouseButton, TShiftState, int, int) { PressPictureButton(&TForm1::Image7); }
void TForm1::Image7MouseUp(TControl&, TMouseButton, TShiftState, int, int) { ReleasePictureButton(&TForm1::Image7); }

}  // namespace kv
