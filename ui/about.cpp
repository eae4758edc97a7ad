#include "ui/about.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QPushButton>
#include <QUrl>

#include "graphics/controls/image.h"
#include "graphics/controls/label.h"
#include "graphics/controls/shape.h"
#include "ui/about_texts.h"
#include "ui/button_pictures.h"
#include "ui/event_dispatch.h"
#include "ui/layout_fonts.h"
#include "ui/layout_labels.h"
#include "ui/zurbo_image.h"

namespace kv {
namespace {

constexpr LayoutFont kBoxFont{kDefaultFontName, 11};
constexpr const char* kDescription =
    "Программа для досуга.                    Разбивает на кусочки и перемешивает выбранное изображение, "
    "которое нужно упорядоченн собрать.";

// Measuring is held off while the font's attributes are set one by one: each would size an
// auto-sized label again, every time in a face that is thrown away at once. The label is sized
// when its caption is given (SetLabelText) or keeps the size its block sets.
void ApplyFont(TLabel& label, const LayoutFont& font) {
    label.SetAutoSize(false);
    ApplyLayoutFont(label.Font(), font);
}

// A label that keeps its size, centres its lines and wraps its words.
void MakeWrappedBlock(TLabel& label, int left, int top, int width, int height, const char* caption) {
    label.SetAutoSize(false);
    label.SetWordWrap(true);
    label.SetAlignment(TAlignment::taCenter);
    label.SetBounds(left, top, width, height);
    label.SetCaption(caption);
}

}  // namespace

template <typename Control>
Control* TAboutBox::Add(std::unique_ptr<Control> control, const char* name, int left, int top, int width,
                        int height) {
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(&surface_->Host());
    Control* result = control.get();
    layoutControls_.push_back(std::move(control));
    return result;
}

TAboutBox::TAboutBox(TForm1& mainWindow) : QDialog(&mainWindow), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QString::fromUtf8(kAboutCaption));
    setWindowIcon(WindowIcon());
    setFont(ToQFont(kBoxFont));
    // A dialog frame: not resizable, no context help button.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(kAboutClientWidth, kAboutClientHeight);
    move(kAboutLeft, kAboutTop);

    surface_ = new FormWidget(this);
    surface_->setGeometry(0, 0, kAboutClientWidth, kAboutClientHeight);
    surface_->Host().SetClientSize(kAboutClientWidth, kAboutClientHeight);
    surface_->Host().SetColor(clBtnFace);
    CreateLayout();

    // Created after the surface, so it lies above it; the only control that takes focus, so it
    // is first in the tab order, and as the default button it takes Enter.
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(272, 192, 97, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { DispatchEvent([this] { Button1Click(); }); });

    mainWindow_.SetAboutAction([this] { ShowModal(); });
}

TAboutBox::~TAboutBox() {
    mainWindow_.SetAboutAction(nullptr);
    layoutControls_.clear();
}

void TAboutBox::CreateLayout() {
    Label1 = Add(std::make_unique<TLabel>(), "Label1", 72, 16, 295, 22);
    SetLabelText(*Label1, kAboutTitleLabel);

    Label2 = Add(std::make_unique<TLabel>(), "Label2", 88, 48, 69, 16);
    SetLabelText(*Label2, kAboutVersionLabel);

    Label3 = Add(std::make_unique<TLabel>(), "Label3", 88, 80, 233, 65);
    ApplyFont(*Label3, kBoxFont);
    MakeWrappedBlock(*Label3, 88, 80, 233, 65, kDescription);

    // A one-pixel rule: the shape's outline is all that fits in one row.
    Shape1 = Add(std::make_unique<TShape>(), "Shape1", 16, 160, 353, 1);

    Label4 = Add(std::make_unique<TLabel>(), "Label4", 16, 168, 233, 41);
    ApplyFont(*Label4, {kDefaultFontName, 12});
    MakeWrappedBlock(*Label4, 16, 168, 233, 41, kAboutCredit);

    Image1 = Add(std::make_unique<TImage>(), "Image1", 16, 16, 41, 41);
    Image1->SetStretch(true);
    LoadEmblemPicture(*Image1);

    Label5 = Add(std::make_unique<TLabel>(), "Label5", 16, 240, 239, 13);
    SetLabelText(*Label5, kAboutTermsLabel);

    Label6 = Add(std::make_unique<TLabel>(), "Label6", 120, 216, 66, 16);
    SetLabelText(*Label6, kAboutLinkLabel);
    Label6->SetCursor(TCursor::crHandPoint);
    Label6->OnClick = [this](TControl& sender) { Label6Click(sender); };

    Label7 = Add(std::make_unique<TLabel>(), "Label7", 16, 216, 82, 16);
    SetLabelText(*Label7, kAboutSiteLabel);
}

void TAboutBox::ShowModal() {
    Button1->setFocus();
    exec();
}

void TAboutBox::Button1Click() { accept(); }

void TAboutBox::Label6Click(TControl&) {
    // The desktop's default handler opens the page; whether it could is not our concern, and
    // the box stays open.
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(kProjectAddress)));
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace kv
