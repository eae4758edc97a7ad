#include "ui/toolkit_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QGuiApplication>

#include "graphics/font_engine.h"

namespace kv {
namespace {

// The headless platforms have no accessibility layer: nothing there would use the bus.
bool PlatformUsesSessionBus() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void FillQtFontDatabase() {
    // Qt reads the process's current font configuration, which the text engine loads on first
    // use; while it is loading, Qt would load a second one of its own. The engine's instance
    // waits for that first use, wherever it runs, to finish.
    FontEngine::Instance();
    QFontDatabase::families();
}

}  // namespace

ToolkitWarmUp::ToolkitWarmUp() : fonts_(FillQtFontDatabase) {
    if (PlatformUsesSessionBus()) bus_ = std::thread([] { QDBusConnection::sessionBus(); });
}

ToolkitWarmUp::~ToolkitWarmUp() {
    if (fonts_.joinable()) fonts_.join();
    if (bus_.joinable()) bus_.join();
}

}  // namespace kv
