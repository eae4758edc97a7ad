#pragma once
// Shared pieces of the window tests: one QApplication for the whole test program (offscreen),
// message boxes answered by a recorder, and a shown main window driven with simulated mice.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game_board.h"
#include "game/puzzle_state.h"
#include "graphics/controls/image.h"
#include "tools/script/script_hook.h"
#include "tools/script/simulated_mouse.h"
#include "ui/message_boxes.h"
#include "ui/zurbo_image.h"

namespace kv::test {

// The application object, made on first use (gtest owns main()).
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* created = new QApplication(argc, argv);
        QApplication::setApplicationName(QStringLiteral("KVADRIKO"));
        return created;
    }();
    return *app;
}

// Answers every box at once and keeps what it was asked to show.
class RecordingMessageBoxes final : public MessageBoxService {
public:
    RecordingMessageBoxes() { SetMessageBoxService(this); }
    ~RecordingMessageBoxes() override { SetMessageBoxService(nullptr); }

    void Show(const MessageBoxRequest& request) override {
        Shown.push_back(request);
        if (WhileOpen) WhileOpen(request);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& request : Shown) texts.push_back(request.text);
        return texts;
    }

    std::vector<MessageBoxRequest> Shown;
    // Runs while the box is "open" (the handler that showed it waits meanwhile).
    std::function<void(const MessageBoxRequest&)> WhileOpen;
};

inline QPoint Centre(const TControl& control) {
    return QPoint(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
}

// A main window shown offscreen, with the recorder installed and a mouse over the form.
class MainWindowTest {
public:
    MainWindowTest() {
        TestApplication();
        form = std::make_unique<TForm1>();
        form->show();
        QApplication::processEvents();
        mouse = std::make_unique<SimulatedMouse>(*form);
    }
    ~MainWindowTest() {
        mouse.reset();
        form.reset();
    }

    const PuzzleState& State() const { return form->Flow().State(); }
    TImage* Piece(int k) const { return form->Board().PieceControl(State().Pieces[static_cast<size_t>(k)]); }

    void TypePath(const std::string& path) { form->Edit2->setText(QString::fromStdString(path)); }
    void Press(TControl& button, Qt::MouseButton which = Qt::LeftButton) { mouse->Click(Centre(button), which); }
    // The player picks item "N" of the piece-count box.
    void ChooseGridSize(int n) {
        const int index = form->ComboBox1->findText(QString::number(n));
        form->ComboBox1->setCurrentIndex(index);
        emit form->ComboBox1->activated(index);
    }
    // Drags piece k to its home cell through the form.
    bool DragHome(int k) { return DragPieceHome(*form, *mouse, k); }

    RecordingMessageBoxes boxes;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<SimulatedMouse> mouse;
};

inline std::string CorpusFile(const std::string& relative) { return std::string(KV_CORPUS_DIR) + "/" + relative; }

}  // namespace kv::test
