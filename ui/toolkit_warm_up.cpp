#include "ui/toolkit_warm_up.h"

#include <QDBusConnection>
#include <QFontDatabase>

namespace kv {

ToolkitWarmUp::ToolkitWarmUp()
    : fonts_([] { QFontDatabase::families(); }), bus_([] { QDBusConnection::sessionBus(); }) {}

ToolkitWarmUp::~ToolkitWarmUp() {
    if (fonts_.joinable()) fonts_.join();
    if (bus_.joinable()) bus_.join();
}

}  // namespace kv
