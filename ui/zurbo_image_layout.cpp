// The main window's layout: every control with its place, size, text, font and colour, created
// in the layout's order, which is also the painting order of the graphic controls.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>

#include "game/game_texts.h"
#include "graphics/controls/image.h"
#include "graphics/controls/label.h"
#include "ui/button_pictures.h"
#include "ui/event_dispatch.h"
#include "ui/layout_labels.h"
#include "ui/popup_delegate_combo.h"
#include "ui/zurbo_image.h"

namespace kv {
namespace {

// Rows of the piece-count box's drop-down list have the layout's item height.
class FixedHeightItems final : public QStyledItemDelegate {
public:
    FixedHeightItems(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height_);
    }

private:
    int height_;
};

template <typename Handler>
TMouseEvent MouseHandler(TForm1* form, Handler handler) {
    return [form, handler](TControl& sender, TMouseButton button, TShiftState shift, int x, int y) {
        (form->*handler)(sender, button, shift, x, y);
    };
}

}  // namespace

TImage* TForm1::AddImage(const char* name, int left, int top, int width, int height) {
    auto image = std::make_unique<TImage>();
    image->SetName(name);
    image->SetBounds(left, top, width, height);
    image->SetStretch(true);
    image->SetParent(&Host());
    TImage* result = image.get();
    layoutControls_.push_back(std::move(image));
    return result;
}

TImage* TForm1::AddPictureButton(const char* name, const char* picture, int left, int top, int width, int height) {
    TImage* button = AddImage(name, left, top, width, height);
    LoadButtonPicture(*button, picture);
    return button;
}

TLabel* TForm1::AddLabel(const char* name, int left, int top, int width, int height, const LabelText& text) {
    auto label = std::make_unique<TLabel>();
    label->SetName(name);
    label->SetBounds(left, top, width, height);
    SetLabelText(*label, text);
    label->SetParent(&Host());
    TLabel* result = label.get();
    layoutControls_.push_back(std::move(label));
    return result;
}

void TForm1::CreateLayout() {
    Image1 = AddImage("Image1", 25, 80, 688, 448);
    Label2 = AddLabel("Label2", 232, 632, 149, 20, kChosenPictureLabel);
    Image2 = AddImage("Image2", 736, 456, 225, 160);
    Label1 = AddLabel("Label1", 344, 544, 317, 19, kStatusLabel);
    Label4 = AddLabel("Label4", 736, 80, 168, 22, kChoosePictureLabel);
    Label5 = AddLabel("Label5", 288, 24, 129, 29, kSplitIntoLabel);
    Label6 = AddLabel("Label6", 520, 24, 189, 29, kPieceCountLabel);
    // The hint line keeps its size and wraps its words.
    Label7 = AddLabel("Label7", 232, 584, 489, 33, {"", kHintLabel.font});
    Label7->SetAutoSize(false);
    Label7->SetWordWrap(true);
    Label7->SetBounds(232, 584, 489, 33);
    Label7->SetCaption(kHintLabel.caption);
    Label8 = AddLabel("Label8", 232, 536, 99, 38, kClockLabel);
    Label9 = AddLabel("Label9", 688, 536, 18, 38, kCountLabel);

    Image3 = AddPictureButton("Image3", "load", 24, 8, 225, 57);
    Image4 = AddPictureButton("Image4", "newgame", 24, 540, 137, 35);
    Image5 = AddPictureButton("Image5", "shuffle", 728, 8, 225, 57);
    Image6 = AddPictureButton("Image6", "exit", 24, 584, 137, 35);
    Image7 = AddPictureButton("Image7", "info", 24, 626, 137, 34);
    Image3->OnMouseDown = MouseHandler(this, &TForm1::Image3MouseDown);
    Image3->OnMouseUp = MouseHandler(this, &TForm1::Image3MouseUp);
    Image4->OnMouseDown = MouseHandler(this, &TForm1::Image4MouseDown);
    Image4->OnMouseUp = MouseHandler(this, &TForm1::Image4MouseUp);
    Image5->OnMouseDown = MouseHandler(this, &TForm1::Image5MouseDown);
    Image5->OnMouseUp = MouseHandler(this, &TForm1::Image5MouseUp);
    Image6->OnMouseDown = MouseHandler(this, &TForm1::Image6MouseDown);
    Image6->OnMouseUp = MouseHandler(this, &TForm1::Image6MouseUp);
    Image7->OnMouseDown = MouseHandler(this, &TForm1::Image7MouseDown);
    Image7->OnMouseUp = MouseHandler(this, &TForm1::Image7MouseUp);
}

void TForm1::CreateWindowedControls() {
    const QFont formFont = ToQFont(kFormFont);
    setFont(formFont);

    CreateBrowserPanel();

    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(392, 632, 569, 21);

    ComboBox1 = new PopupDelegateComboBox(this, [](QComboBox& box) { return new FixedHeightItems(24, &box); });
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(448, 24, 49, 32);
    // Digits only: laid out advance by advance, the box spares the shaper's set-up for its face.
    QFont countFont = ToQFont({"Arial", 21, true});
    countFont.setStyleStrategy(QFont::PreferNoShaping);
    ComboBox1->setFont(countFont);
    for (int n = kMinGridSize; n <= kMaxGridSize; ++n) ComboBox1->addItem(QString::number(n));
    ComboBox1->setCurrentIndex(0);
    // "activated" comes only from the player (mouse or keyboard), also for the item already
    // shown; programmatic selection stays silent.
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { DispatchEvent([this] { ComboBox1Change(); }); });

    setTabOrder(DriveComboBox1, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, FileListBox1);
    setTabOrder(FileListBox1, Edit2);
    setTabOrder(Edit2, ComboBox1);
}

}  // namespace kv
