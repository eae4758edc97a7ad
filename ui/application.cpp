#include "ui/application.h"

#include <QApplication>

#include "ui/about.h"
#include "ui/about_texts.h"
#include "ui/font_warm_up.h"
#include "ui/layout_fonts.h"
#include "ui/toolkit_warm_up.h"
#include "ui/synchronize_pump.h"
#include "ui/system_colors.h"
#include "ui/zurbo_image.h"

namespace kv {

int RunApplication(int argc, char** argv, const std::function<void(TForm1&)>& onShown) {
    FontWarmUp fonts;  // before the application object, whose set-up it runs beside
    QApplication app(argc, argv);
    ToolkitWarmUp toolkit;  // joined before the application object ends
    // The application name, not the display name: Qt would append a display name to every caption.
    QApplication::setApplicationName(QStringLiteral("KVADRIKO"));
    // Ties the windows to the installed desktop entry (its icon and name in the task switcher).
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kDesktopFileName));
    ApplyDesktopColors(QApplication::palette());
    fonts.Join();  // the window's creation uses the fonts, and Qt's own font set-up begins there
    // The main window's font is every window's default, so a message box reads like the rest of
    // the game. It also spares the start-up a second face: an edit box lays out its text once in
    // the default font before it takes the window's.
    QApplication::setFont(ToQFont(kFormFont));
    SynchronizePump pump;  // outlives the window, whose pictures stop their painters on the way out
    TForm1 form;
    TAboutBox AboutBox(form);  // hidden until the about button shows it
    form.show();
    if (onShown) onShown(form);
    return app.exec();
}

}  // namespace kv
