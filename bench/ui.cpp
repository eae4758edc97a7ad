// The real main window, offscreen: start-up to the first painted frame; one drag step of a piece
// with 36 pieces in play (the mouse move through the widget, the host's routing, the piece's move
// and the paint of what it invalidated); and for a 6000 x 4000 JPEG the release of the load
// button to the board painted, and a click on the file list to the preview painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/game_board.h"
#include "graphics/bitmap.h"
#include "graphics/controls/image.h"
#include "tools/script/simulated_mouse.h"
#include "ui/message_boxes.h"
#include "ui/zurbo_image.h"
#include "tests/codecs/jpeg_test_support.h"

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

// Message boxes silenced for as long as it lives, early returns included.
class SilencedBoxes {
public:
    SilencedBoxes() { SetMessageBoxService(&boxes_); }
    ~SilencedBoxes() { SetMessageBoxService(nullptr); }

private:
    SilentBoxes boxes_;
};

// The main window shown offscreen with its message boxes silenced, as the window benchmarks start;
// closed on the way out.
class ShownWindow {
public:
    ShownWindow() {
        form.show();
        QApplication::processEvents();
    }
    ~ShownWindow() { form.close(); }

private:
    QApplication& app_ = App();
    SilencedBoxes silenced_;

public:
    TForm1 form;
};

void BM_StartUpToFirstFrame(benchmark::State& state) {
    App();
    SilencedBoxes silenced;
    for (auto _ : state) {
        TForm1 form;
        form.show();
        while (form.PaintCount() == 0) QApplication::processEvents();
        benchmark::DoNotOptimize(form.Buffer().Bits());
        state.PauseTiming();
        form.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_DragStepWith36Pieces(benchmark::State& state) {
    ShownWindow window;
    TForm1& form = window.form;
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
}
BENCHMARK(BM_DragStepWith36Pieces)->Unit(benchmark::kMicrosecond);

// A folder holding two copies of a photo-like 6000 x 4000 JPEG (quality 90, 4:2:0), so that
// clicks on the file list can alternate between two rows.
const std::string& BigJpegFolder() {
    static const std::string folder = [] {
        constexpr int kWidth = 6000, kHeight = 4000;
        std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
        uint8_t* out = rgb.data();
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double fx = x / 300.0, fy = y / 200.0;
                const int grain = ((x * 7 + y * 13) & 15) - 8;
                *out++ = static_cast<uint8_t>(std::clamp(int(128 + 100 * std::sin(fx) * std::cos(fy)) + grain, 0, 255));
                *out++ = static_cast<uint8_t>(std::clamp(int(128 + 90 * std::sin(fx * 0.7 + fy)) + grain, 0, 255));
                *out++ = static_cast<uint8_t>(std::clamp(int(128 + 80 * std::cos(fx * 1.3 - fy * 0.5)) + grain, 0, 255));
            }
        }
        const std::vector<uint8_t> jpeg = test::EncodeJpeg(kWidth, kHeight, JCS_RGB, 3, rgb, {});
        const std::string path = "/tmp/kv_bench_ui_jpeg/";
        std::filesystem::create_directories(path);
        test::WriteWholeFile(path + "a.jpg", jpeg);
        test::WriteWholeFile(path + "b.jpg", jpeg);
        return path;
    }();
    return folder;
}

void WaitForPaint(const TForm1& form, int before) {
    while (form.PaintCount() == before) QApplication::processEvents();
}

void BM_LoadButtonToBoardPainted24MpJpeg(benchmark::State& state) {
    ShownWindow window;
    TForm1& form = window.form;
    form.Edit2->setText(QString::fromStdString(BigJpegFolder() + "a.jpg"));
    SimulatedMouse mouse(form);
    const QPoint button(form.Image3->Left() + 100, form.Image3->Top() + 20);
    for (auto _ : state) {
        state.PauseTiming();
        mouse.Press(button);
        QApplication::processEvents();
        const int before = form.PaintCount();
        state.ResumeTiming();
        mouse.Release(button);
        WaitForPaint(form, before);
    }
    const auto& picture = form.Flow().State().SourcePicture;
    if (!picture || picture->Width() != 6000) state.SkipWithError("the picture did not load");
}
BENCHMARK(BM_LoadButtonToBoardPainted24MpJpeg)->Unit(benchmark::kMillisecond)->Iterations(6);

void BM_FileListClickToPreviewPainted24MpJpeg(benchmark::State& state) {
    ShownWindow window;
    TForm1& form = window.form;
    form.DirectoryListBox1->Model().SetFolder(BigJpegFolder().substr(0, BigJpegFolder().size() - 1));
    QApplication::processEvents();
    if (form.FileListBox1->count() != 2) {
        state.SkipWithError("the file list does not show the two pictures");
        return;
    }
    QWidget* rows = form.FileListBox1->viewport();
    int row = 0;
    for (auto _ : state) {
        state.PauseTiming();
        row = 1 - row;
        const QPoint at = form.FileListBox1->visualItemRect(form.FileListBox1->item(row)).center();
        const int before = form.PaintCount();
        state.ResumeTiming();
        QMouseEvent press(QEvent::MouseButtonPress, at, rows->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(rows, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, rows->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(rows, &release);
        WaitForPaint(form, before);
    }
}
BENCHMARK(BM_FileListClickToPreviewPainted24MpJpeg)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace
