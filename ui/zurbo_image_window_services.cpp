// The main window's services to the game flow (GameWindow): the texts it writes into the labels
// and the path box, its message boxes, the piece-count box and the clock, over the window's own
// controls.
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include "graphics/controls/label.h"
#include "ui/message_boxes.h"
#include "ui/zurbo_image.h"

namespace kv {

std::string TForm1::PathText() const {
    // The box holds text, not bytes: a file name that is not valid UTF-8 does not survive the
    // trip through it, so while the box still shows the path the browser wrote, that path's own
    // bytes name the file.
    const QString text = Edit2->text();
    return text == browserPathText_ ? browserPath_ : text.toStdString();
}

TLabel* TForm1::LabelOf(WindowText control) const {
    switch (control) {
        case WindowText::Label1: return Label1;
        case WindowText::Label6: return Label6;
        case WindowText::Label7: return Label7;
        case WindowText::Label8: return Label8;
        case WindowText::Label9: return Label9;
        case WindowText::Edit2: return nullptr;
    }
    return nullptr;
}

void TForm1::SetText(WindowText control, const std::string& text) {
    if (control == WindowText::Edit2) {
        Edit2->setText(QString::fromStdString(text));
    } else if (TLabel* label = LabelOf(control)) {
        label->SetCaption(text);
    }
}

void TForm1::ShowMessage(const std::string& text) { ShowGameMessage(text); }

void TForm1::SetPieceCountIndex(int index) {
    // Programmatic selection raises no "activated" signal, so the change handler stays quiet.
    ComboBox1->setCurrentIndex(index);
}

void TForm1::MakePieceCountReadOnly() { ComboBox1->setEditable(false); }

void TForm1::SetClockEnabled(bool enabled) {
    // Switching on a running clock does not restart its second.
    if (enabled && !Timer1->isActive()) Timer1->start();
    if (!enabled) Timer1->stop();
}

}  // namespace kv
