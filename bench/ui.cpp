// The real main window, offscreen: start-up to the first painted frame, and one drag step of a
// piece with 36 pieces in play (the mouse move through the widget, the host's routing, the
// piece's move and the paint of what it invalidated).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <memory>

#include "game/game_board.h"
#include "graphics/controls/image.h"
#include "ui/message_boxes.h"
#include "ui/simulated_mouse.h"
#include "ui/zurbo_image.h"

namespace {

using namespace kv;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

class SilentBoxes final : public MessageBoxService {
public:
    void Show(const MessageBoxRequest&) override {}
};

void BM_StartUpToFirstFrame(benchmark::State& state) {
    App();
    SilentBoxes boxes;
    SetMessageBoxService(&boxes);
    for (auto _ : state) {
        TForm1 form;
        form.show();
        while (form.PaintCount() == 0) QApplication::processEvents();
        benchmark::DoNotOptimize(form.Buffer().Bits());
        state.PauseTiming();
        form.close();
        state.ResumeTiming();
    }
    SetMessageBoxService(nullptr);
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_DragStepWith36Pieces(benchmark::State& state) {
    App();
    SilentBoxes boxes;
    SetMessageBoxService(&boxes);
    TForm1 form;
    form.show();
    QApplication::processEvents();
    form.Edit2->setText(QStringLiteral(KV_CORPUS_DIR "/bmp/g/rgb24.bmp"));
    SimulatedMouse mouse(form);
    mouse.Click(QPoint(form.Image3->Left() + 100, form.Image3->Top() + 20));
    form.ComboBox1->setCurrentIndex(4);
    emit form.ComboBox1->activated(4);
    mouse.Click(QPoint(form.Image5->Left() + 100, form.Image5->Top() + 20));
    QApplication::processEvents();
    TImage* top = form.Board().PieceControl(form.Flow().State().Pieces[36]);
    if (top == nullptr) {
        state.SkipWithError("no pieces");
        return;
    }
    // The top-most piece, grabbed in its middle and moved back and forth by 3 pixels.
    QPoint at(top->Left() + top->Width() / 2, top->Top() + top->Height() / 2);
    mouse.Press(at);
    int step = 3;
    for (auto _ : state) {
        at += QPoint(step, step);
        step = -step;
        mouse.Move(at);
        QApplication::processEvents();
    }
    mouse.Release(at);
    state.counters["paints"] = form.PaintCount();
    form.close();
    SetMessageBoxService(nullptr);
}
BENCHMARK(BM_DragStepWith36Pieces)->Unit(benchmark::kMicrosecond);

}  // namespace
