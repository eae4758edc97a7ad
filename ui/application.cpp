#include "ui/application.h"

#include <QApplication>

#include "ui/zurbo_image.h"

namespace kv {

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    // The application name, not the display name: Qt would append a display name to every caption.
    QApplication::setApplicationName(QStringLiteral("KVADRIKO"));
    TForm1 form;
    form.show();
    return app.exec();
}

}  // namespace kv
