// empty-window [--text]: the yardstick for the game's start-up. An empty Qt Widgets window of the
// game's client size that ends right after its first paint (see first_paint_exit.h). With --text
// it shows one line of text, so it pays for the font set-up every window with text needs.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "first_paint_exit.h"

using kv_bench::ExitAfterFirstPaint;
Q_COREAPP_STARTUP_FUNCTION(ExitAfterFirstPaint)

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("KVADRIKO"));
    window.resize(979, 671);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("KVADRIKO"), &window);
        label->move(20, 20);
    }
    window.show();
    return app.exec();
}
