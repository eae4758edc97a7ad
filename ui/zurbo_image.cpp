// The main window as a form: its construction from the layout, the game flow and board it hooks
// up, and the handlers of its own events (create, show, close) and of the piece-count box and the
// clock. Its services to the game lie in zurbo_image_window_services.cpp and
// zurbo_image_board_services.cpp, the picture buttons in zurbo_image_buttons.cpp.
#include "ui/zurbo_image.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QScreen>
#include <QTimer>

#include "codecs/standard_formats.h"
#include "game/game_board.h"
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

}  // namespace kv
