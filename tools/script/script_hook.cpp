#include "tools/script/script_hook.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "game/game_board.h"
#include "graphics/controls/image.h"
#include "tools/script/simulated_mouse.h"
#include "ui/browser_widgets.h"
#include "ui/event_dispatch.h"
#include "ui/message_boxes.h"
#include "ui/zurbo_image.h"

namespace kv {
namespace {

// Answers every box at once; the scripted run has nobody to press OK.
class PrintingMessageBoxes final : public MessageBoxService {
public:
    void Show(const MessageBoxRequest& request) override {
        std::fprintf(stderr, "[%s box] %s: %s\n", request.icon == MessageBoxIcon::Stop ? "stop" : "message",
                     request.caption.c_str(), request.text.c_str());
    }
};

QPoint CentreOf(const TControl& control) {
    return QPoint(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
}

class ScriptRunner : public QObject {
public:
    ScriptRunner(TForm1& form, std::vector<ScriptStep> steps)
        : QObject(&form), form_(form), steps_(std::move(steps)), mouse_(form) {
        SetMessageBoxService(&boxes_);
    }
    ~ScriptRunner() override { SetMessageBoxService(nullptr); }

    void ScheduleNext(int delayMs) {
        QTimer::singleShot(delayMs, this, [this] { RunNext(); });
    }

private:
    void RunNext() {
        if (next_ >= steps_.size()) return;
        const ScriptStep step = steps_[next_++];
        std::fprintf(stderr, "[script] %s %s\n", step.command.c_str(), step.argument.c_str());
        int delay = 50;
        if (step.command == "type") {
            form_.Edit2->setText(QString::fromStdString(step.argument));
        } else if (step.command == "press") {
            if (TControl* button = ButtonNamed(step.argument)) {
                // The next step is due first: a button that opens a modal box returns only when
                // the box is closed, and the script goes on meanwhile in the box's own loop.
                ScheduleNext(delay);
                mouse_.Click(CentreOf(*button));
                return;
            } else {
                std::fprintf(stderr, "[script] no button %s\n", step.argument.c_str());
            }
        } else if (step.command == "pick") {
            PickFile(step.argument);
        } else if (step.command == "count") {
            const int index = form_.ComboBox1->findText(QString::fromStdString(step.argument));
            if (index >= 0) {
                form_.ComboBox1->setCurrentIndex(index);
                emit form_.ComboBox1->activated(index);
            }
        } else if (step.command == "browse") {
            Browse(step.argument);
        } else if (step.command == "solve") {
            Solve(step.argument.empty() ? kMaxPieces : std::atoi(step.argument.c_str()));
        } else if (step.command == "drag") {
            DragPiece(step.argument);
        } else if (step.command == "wait") {
            // A negative wait would never fire, and the run would hang instead of going on.
            delay = std::max(0, std::atoi(step.argument.c_str()));
        } else if (step.command == "shot") {
            QWidget* shown = QApplication::activeModalWidget();
            (shown != nullptr ? shown : &form_)->grab().save(QString::fromStdString(step.argument), "PNG");
        } else if (step.command == "close") {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        } else if (step.command == "quit") {
            // A modal box still open would keep its loop (and the program) running.
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
            form_.close();
            return;
        } else {
            std::fprintf(stderr, "[script] unknown step %s\n", step.command.c_str());
        }
        ScheduleNext(delay);
    }

    TControl* ButtonNamed(const std::string& name) const {
        if (name == "load") return form_.Image3;
        if (name == "newgame") return form_.Image4;
        if (name == "shuffle") return form_.Image5;
        if (name == "exit") return form_.Image6;
        if (name == "about") return form_.Image7;
        return nullptr;
    }

    // Clicks the file list's row of that name, as a player picks a picture.
    void PickFile(const std::string& name) {
        QListWidget& list = *form_.FileListBox1;
        const auto found = list.findItems(QString::fromStdString(name), Qt::MatchExactly);
        if (found.isEmpty()) {
            std::fprintf(stderr, "[script] no file row %s\n", name.c_str());
            return;
        }
        list.scrollToItem(found.first());
        SimulatedMouse(*list.viewport()).Click(list.visualItemRect(found.first()).center());
    }

    // Opens the file's folder in the directory list and clicks the file's row, so the path box
    // and the preview follow.
    void Browse(const std::string& path) {
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos) return;
        const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        DispatchEvent([&] { form_.DirectoryListBox1->Model().SetFolder(folder); });
        PickFile(path.substr(slash + 1));
    }

    void Solve(int count) {
        const PuzzleState& state = form_.Flow().State();
        const int last = std::min(count, state.PieceCount());
        for (int k = 1; k <= last && state.InPlay; ++k) DragPieceHome(form_, mouse_, k);
    }

    void DragPiece(const std::string& argument) {
        int k = 0, dx = 0, dy = 0;
        if (std::sscanf(argument.c_str(), "%d,%d,%d", &k, &dx, &dy) != 3) return;
        const PuzzleState& state = form_.Flow().State();
        if (k < 1 || k > state.PieceCount() || !state.InPlay) return;
        TImage* piece = form_.Board().PieceControl(state.Pieces[static_cast<size_t>(k)]);
        if (piece == nullptr) return;
        QPoint grab;
        if (!FindPressPoint(form_.Host(), *piece, grab)) return;
        mouse_.Drag(grab, grab + QPoint(dx, dy));
    }

    TForm1& form_;
    std::vector<ScriptStep> steps_;
    size_t next_ = 0;
    SimulatedMouse mouse_;
    PrintingMessageBoxes boxes_;
};

}  // namespace

namespace {

int VisibleArea(const TRect& r, const TRect& client) {
    const TRect inside = r.Intersect(client);
    return inside.IsEmpty() ? 0 : inside.Width() * inside.Height();
}

// Drags `above` next to `piece` (left, right, up or down) where it keeps most of itself in the
// window, so that it no longer covers the piece.
bool PushAside(TForm1& form, SimulatedMouse& mouse, const TControl& piece, TControl& above) {
    QPoint grab;
    if (!FindPressPoint(form.Host(), above, grab)) return false;
    const TRect client = form.Host().ClientRect();
    const QPoint candidates[] = {
        {piece.Left() - above.Width(), above.Top()}, {piece.Left() + piece.Width(), above.Top()},
        {above.Left(), piece.Top() - above.Height()}, {above.Left(), piece.Top() + piece.Height()}};
    int bestArea = 0;
    QPoint best;
    for (const QPoint& to : candidates) {
        const int area = VisibleArea(RectOfSize(to.x(), to.y(), above.Width(), above.Height()), client);
        if (area > bestArea) {
            bestArea = area;
            best = to;
        }
    }
    if (bestArea == 0) return false;
    mouse.Drag(grab, grab + best - QPoint(above.Left(), above.Top()));
    return true;
}

}  // namespace

bool DragPieceHome(TForm1& form, SimulatedMouse& mouse, int k) {
    const PuzzleState& state = form.Flow().State();
    if (!state.InPlay || k < 1 || k > state.PieceCount()) return false;
    TImage* piece = form.Board().PieceControl(state.Pieces[static_cast<size_t>(k)]);
    if (piece == nullptr) return false;
    QPoint grab;
    // Pieces made later lie above this one; push the one over its middle aside until a spot shows.
    for (int attempt = 0; !FindPressPoint(form.Host(), *piece, grab); ++attempt) {
        const QPoint middle = CentreOf(*piece);
        TControl* above = form.Host().ControlAtPos(TPoint{middle.x(), middle.y()});
        if (attempt >= kMaxPieces || above == nullptr || above == piece) return false;
        if (!PushAside(form, mouse, *piece, *above)) return false;
    }
    const QPoint offset = grab - QPoint(piece->Left(), piece->Top());
    const QPoint home(kBoardLeft + state.PieceHomeX[static_cast<size_t>(k)], kBoardTop + state.PieceHomeY[static_cast<size_t>(k)]);
    mouse.Drag(grab, home + offset);
    return true;
}

std::vector<ScriptStep> ParseScript(const std::string& script) {
    std::vector<ScriptStep> steps;
    size_t start = 0;
    while (start <= script.size()) {
        size_t end = script.find(';', start);
        if (end == std::string::npos) end = script.size();
        const std::string text = script.substr(start, end - start);
        const size_t first = text.find_first_not_of(" \t\n");
        if (first != std::string::npos) {
            const size_t last = text.find_last_not_of(" \t\n");
            const std::string trimmed = text.substr(first, last - first + 1);
            const size_t equals = trimmed.find('=');
            if (equals == std::string::npos) {
                steps.push_back({trimmed, ""});
            } else {
                steps.push_back({trimmed.substr(0, equals), trimmed.substr(equals + 1)});
            }
        }
        start = end + 1;
    }
    return steps;
}

void StartScript(TForm1& form, const std::vector<ScriptStep>& steps) {
    // Owned by the form (a Qt child); it lives as long as the window.
    auto* runner = new ScriptRunner(form, steps);
    runner->ScheduleNext(100);
}

}  // namespace kv
