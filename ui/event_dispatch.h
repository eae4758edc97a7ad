#pragma once
// The one place every event handler of the window layer runs through. A failure that leaves a
// handler ends it there and reaches the default report: a stop-icon box captioned "KVADRIKO"
// with the failure's message. The program then goes on with the next event; whatever the
// handler changed before the failure stays changed.
#include <functional>
#include <string>

namespace kv {

// The report's text: the message, plus "." when it is not empty and its last character has a
// higher code than "." (bytes compared unsigned, so a message ending in a letter of any
// script gets its full stop).
std::string FailureReportText(const std::string& message);

// Shows the default failure report for a message.
void ShowFailureReport(const std::string& message);

// Runs the handler; a failure it raises is reported. Returns whether it ran to its end.
bool DispatchEvent(const std::function<void()>& handler);

// For handlers that must not open a modal box while they run (painting): a failure is caught
// and its report is shown from the event loop as soon as it gets control again.
bool DispatchEventDeferringReport(const std::function<void()>& handler);

}  // namespace kv
