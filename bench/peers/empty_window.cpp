// empty-window: the yardstick for the game's start-up. An empty Qt Widgets window of the game's
// client size that ends right after its first paint (see first_paint_exit.h).
#include <QApplication>
#include <QWidget>

#include "first_paint_exit.h"

using kv_bench::ExitAfterFirstPaint;
Q_COREAPP_STARTUP_FUNCTION(ExitAfterFirstPaint)

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("KVADRIKO"));
    window.resize(979, 671);
    window.show();
    return app.exec();
}
