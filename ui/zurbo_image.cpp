#include "ui/zurbo_image.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include "codecs/standard_formats.h"
#include "game/game_board.h"
#include "graphics/controls/image.h"
#include "graphics/controls/label.h"
#include "ui/button_pictures.h"
#include "ui/event_dispatch.h"
#include "ui/message_boxes.h"

namespace kv {

TForm1::TForm1(QWidget* parent) : FormWidget(parent) {
    // The layout's button pictures, the preview and the load button read pictures through the
    // format registry, so the picture kinds join it before anything is built.
    RegisterStandardFormats();
    setWindowTitle(QString::fromUtf8(kFormCaption));
    setWindowIcon(WindowIcon());
    resize(kFormClientWidth, kFormClientHeight);
    move(kFormLeft, kFormTop);
    Host().SetClientSize(kFormClientWidth, kFormClientHeight);
    Host().SetColor(cl3DLight);
    SetMessageBoxMainWindow(this);
    CreateLayout();
    CreateWindowedControls();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { DispatchEvent([this] { Timer1Timer(); }); });

    flow_ = std::make_unique<GameFlow>(*this, *this);
    board_ = std::make_unique<GameBoard>(Host(), *Image1, *Image2, *flow_);
    if (const QScreen* display = screen()) {
        board_->SetScreenSize(display->size().width(), display->size().height());
    }
    DispatchEvent([this] { FormCreate(); });
    DispatchEvent([this] { CreateBrowserWindows(); });
}

TForm1::~TForm1() {
    // Pieces first (they lie above the layout's controls), then the layout's controls.
    board_.reset();
    layoutControls_.clear();
}

// ---- handlers ----

void TForm1::FormCreate() {
    // The window is always double-buffered: the form widget paints into one image.
    flow_->FormCreate();
}

void TForm1::FormShow() {
    DrawNoPicture();
    ShowProgramFolder();
}

void TForm1::FormClose() { flow_->FormClose(); }

void TForm1::showEvent(QShowEvent* event) {
    FormWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    DispatchEvent([this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    DispatchEvent([this] { FormClose(); });
    event->accept();
}

void TForm1::ComboBox1Change() {
    // The items are "2" .. "6": the chosen item's text is N.
    flow_->ComboBox1Change(ComboBox1->currentText().toInt());
}

void TForm1::Timer1Timer() { flow_->Timer1Timer(); }

// ---- GameWindow: window services ----

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

// ---- BoardServices ----

void TForm1::DrawNoPicture() { board_->DrawNoPicture(); }
void TForm1::LoadAndDrawPicture(PuzzleState& state, const std::string& path) { board_->LoadAndDrawPicture(state, path); }
void TForm1::RedrawForGridSize(const PuzzleState& state) { board_->RedrawForGridSize(state); }
void TForm1::DrawWholePicture(const PuzzleState& state) { board_->DrawWholePicture(state); }
std::shared_ptr<TBitmap> TForm1::CutPiece(const TRect& cell) { return board_->CutPiece(cell); }
void TForm1::DrawShuffledBoard(const PuzzleState& state) { board_->DrawShuffledBoard(state); }
PieceId TForm1::CreatePiece(const PuzzleState& state, int index, int left, int top) {
    return board_->CreatePiece(state, index, left, top);
}
void TForm1::RepaintWindow() { board_->RepaintWindow(); }
int TForm1::PieceLeft(PieceId piece) const { return board_->PieceLeft(piece); }
int TForm1::PieceTop(PieceId piece) const { return board_->PieceTop(piece); }
void TForm1::SetPieceLeft(PieceId piece, int left) { board_->SetPieceLeft(piece, left); }
void TForm1::SetPieceTop(PieceId piece, int top) { board_->SetPieceTop(piece, top); }
void TForm1::ReleasePiece(PieceId piece) { board_->ReleasePiece(piece); }

}  // namespace kv
