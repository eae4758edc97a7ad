#pragma once
// The main window, TForm1 (object Form1): the board, the five picture buttons, the piece-count
// box, the status labels, the clock and the browser panel, with the handlers that drive the
// game. It gives the game flow its window services (GameWindow): texts, message boxes, the
// piece-count box and the clock through Qt widgets; and its board services (BoardServices):
// drawing, cutting and the pieces, through the game board.
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "game/board_services.h"
#include "game/game_flow.h"
#include "game/game_window.h"
#include "graphics/controls/mouse.h"
#include "ui/browser_widgets.h"
#include "ui/form_widget.h"
#include "ui/layout_fonts.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QTimer;

namespace kv {

class GameBoard;
class TControl;
class TImage;
class TLabel;
struct LabelText;

// The layout gives the window's outer size, 987 x 705, on a platform whose frame takes 4 pixels
// at the sides and the bottom and 30 at the top; what remains is the client area the controls
// are laid out in. The window manager adds its own frame around it.
inline constexpr int kFormClientWidth = 979;
inline constexpr int kFormClientHeight = 671;
// Where the layout puts the window's outer frame on the screen (the window manager may overrule).
inline constexpr int kFormLeft = 216;
inline constexpr int kFormTop = 106;
inline constexpr const char* kFormCaption = "Кадрилка  -  KVADRIKO   V2.0 Tervisto 2010";
// The window's font, which its windowed controls take.
inline constexpr LayoutFont kFormFont{kDefaultFontName, 11, false, false, clWindowText, kRussianCharset};

class TForm1 : public FormWidget, public GameWindow, public BoardServices {
    Q_OBJECT
public:
    // Creates the window from its layout and runs FormCreate.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- controls of the layout (owned by the window) ----
    TImage* Image1 = nullptr;  // the board
    TLabel* Label2 = nullptr;
    TImage* Image2 = nullptr;  // the preview
    TLabel* Label1 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TImage* Image3 = nullptr;  // load
    TImage* Image4 = nullptr;  // new game
    TImage* Image5 = nullptr;  // shuffle
    TImage* Image6 = nullptr;  // exit
    TImage* Image7 = nullptr;  // about
    DriveComboBoxWidget* DriveComboBox1 = nullptr;  // the browser panel
    DirectoryListWidget* DirectoryListBox1 = nullptr;
    FileListWidget* FileListBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;             // the path box
    QComboBox* ComboBox1 = nullptr;         // the piece-count box
    QTimer* Timer1 = nullptr;               // the clock, 1000 ms, off at start

    // ---- handlers ----
    void FormCreate();
    void FormShow();
    void FormClose();
    void Image3MouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image3MouseUp(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image4MouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image4MouseUp(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image5MouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image5MouseUp(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image6MouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image6MouseUp(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image7MouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image7MouseUp(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void ComboBox1Change();
    void Timer1Timer();
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void FileListBox1Change();

    GameFlow& Flow() { return *flow_; }
    GameBoard& Board() { return *board_; }
    // What the about button shows; the about box installs itself here.
    void SetAboutAction(std::function<void()> action) { aboutAction_ = std::move(action); }

    // ---- GameWindow: window services (zurbo_image_window_services.cpp) ----
    std::string PathText() const override;
    void SetText(WindowText control, const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void SetPieceCountIndex(int index) override;
    void MakePieceCountReadOnly() override;
    void SetClockEnabled(bool enabled) override;
    // ---- BoardServices: delegated to the game board (zurbo_image_board_services.cpp) ----
    void DrawNoPicture() override;
    void LoadAndDrawPicture(PuzzleState& state, const std::string& path) override;
    void RedrawForGridSize(const PuzzleState& state) override;
    void DrawWholePicture(const PuzzleState& state) override;
    std::shared_ptr<TBitmap> CutPiece(const TRect& cell) override;
    void DrawShuffledBoard(const PuzzleState& state) override;
    PieceId CreatePiece(const PuzzleState& state, int index, int left, int top) override;
    void RepaintWindow() override;
    int PieceLeft(PieceId piece) const override;
    int PieceTop(PieceId piece) const override;
    void SetPieceLeft(PieceId piece, int left) override;
    void SetPieceTop(PieceId piece, int top) override;
    void ReleasePiece(PieceId piece) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateLayout();
    void CreateWindowedControls();
    void CreateBrowserPanel();
    void CreateBrowserWindows();
    void ShowProgramFolder();
    TImage* AddImage(const char* name, int left, int top, int width, int height);
    TImage* AddPictureButton(const char* name, const char* picture, int left, int top, int width, int height);
    TLabel* AddLabel(const char* name, int left, int top, int width, int height, const LabelText& text);
    TLabel* LabelOf(WindowText control) const;
    // The five picture buttons (zurbo_image_buttons.cpp): their ten handlers press and release
    // through one table row per button control.
    struct PictureButton;
    static const PictureButton& PictureButtonOf(TImage* TForm1::*control);
    void PressPictureButton(TImage* TForm1::*control);
    void ReleasePictureButton(TImage* TForm1::*control);

    std::vector<std::unique_ptr<TControl>> layoutControls_;  // in layout order
    std::unique_ptr<GameFlow> flow_;
    std::unique_ptr<GameBoard> board_;
    std::function<void()> aboutAction_;
    bool shown_ = false;
    std::string browserPath_;   // the file the browser last wrote into the path box, as bytes
    QString browserPathText_;   // ... and as the box shows it
};

}  // namespace kv
