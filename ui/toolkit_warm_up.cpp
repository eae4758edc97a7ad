#include "ui/toolkit_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QGuiApplication>

namespace kv {
namespace {

// The headless platforms have no accessibility layer: nothing there would use the bus.
bool PlatformUsesSessionBus() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

ToolkitWarmUp::ToolkitWarmUp() : fonts_([] { QFontDatabase::families(); }) {
    if (PlatformUsesSessionBus()) bus_ = std::thread([] { QDBusConnection::sessionBus(); });
}

ToolkitWarmUp::~ToolkitWarmUp() {
    if (fonts_.joinable()) fonts_.join();
    if (bus_.joinable()) bus_.join();
}

}  // namespace kv
