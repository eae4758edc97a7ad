#pragma once
// The about box, TAboutBox (object AboutBox): the program's name, version, a short description,
// a credit, the link to the project's page and an Ok button. Made hidden at start-up right after
// the main window; each release of the main window's about button shows it modally. While it is
// open the main window takes no input, but its clock goes on ticking in the modal loop.
//
// The labels, the rule and the emblem are graphic controls painted by a form surface that fills
// the client area; Ok is a real push button above it.
#include <QDialog>
#include <memory>
#include <vector>

#include "ui/form_widget.h"

class QPushButton;

namespace kv {

class TControl;
class TForm1;
class TImage;
class TLabel;
class TShape;

// The layout gives the outer size 393 x 293; the client area is what the same frame as the main
// window's (4 pixels at the sides and the bottom, 30 at the top) leaves of it.
inline constexpr int kAboutClientWidth = 385;
inline constexpr int kAboutClientHeight = 259;
inline constexpr int kAboutLeft = 306;
inline constexpr int kAboutTop = 210;
inline constexpr const char* kAboutCaption = " О программе";

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // Creates the box hidden from its layout and makes it what the main window's about button
    // shows.
    explicit TAboutBox(TForm1& mainWindow);
    ~TAboutBox() override;

    // Shows the box modally; returns once Ok or the close box has closed it.
    void ShowModal();

    FormWidget& Surface() { return *surface_; }

    // ---- controls of the layout ----
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TShape* Shape1 = nullptr;
    TLabel* Label4 = nullptr;
    TImage* Image1 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;  // the link
    TLabel* Label7 = nullptr;
    QPushButton* Button1 = nullptr;

    // ---- handlers ----
    void Button1Click();
    void Label6Click(TControl& sender);

protected:
    // Escape does not close the box: it has no cancel button, only Ok and the close box.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateLayout();
    template <typename Control>
    Control* Add(std::unique_ptr<Control> control, const char* name, int left, int top, int width, int height);

    TForm1& mainWindow_;
    FormWidget* surface_ = nullptr;  // a Qt child
    std::vector<std::unique_ptr<TControl>> layoutControls_;  // in layout order
};

}  // namespace kv
