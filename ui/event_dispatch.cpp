#include "ui/event_dispatch.h"

#include <QCoreApplication>
#include <QTimer>
#include <exception>

#include "graphics/bitmap.h"
#include "runtime/exceptions.h"
#include "ui/message_boxes.h"

namespace kv {
namespace {

// The failure's message; anything that is not one of ours still gets a readable report.
std::string MessageOfCurrentFailure() {
    try {
        throw;
    } catch (const Exception& failure) {
        return failure.Message();
    } catch (const std::bad_alloc&) {
        return kOutOfResourcesText;
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return "Unknown failure";
    }
}

}  // namespace

std::string FailureReportText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}

void ShowFailureReport(const std::string& message) {
    MessageBoxes().Show({MessageBoxIcon::Stop, kApplicationTitle, FailureReportText(message)});
}

bool DispatchEvent(const std::function<void()>& handler) {
    std::string message;
    try {
        handler();
        // Drawing contexts of bitmaps live for one message, as the drawing layer expects.
        FreeMemoryContexts();
        return true;
    } catch (...) {
        message = MessageOfCurrentFailure();
    }
    FreeMemoryContexts();
    // Shown outside the catch block: the box runs a nested event loop, and the next failure
    // must not meet an exception still being handled.
    ShowFailureReport(message);
    return false;
}

bool DispatchEventDeferringReport(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (...) {
        const std::string message = MessageOfCurrentFailure();
        if (QCoreApplication::instance() != nullptr) {
            QTimer::singleShot(0, QCoreApplication::instance(), [message] { ShowFailureReport(message); });
        }
        return false;
    }
}

}  // namespace kv
