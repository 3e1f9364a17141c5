#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace hk {

// The general error report: every event handler runs through Fire, which
// catches what the handler throws (a floating-point fault, a failed settings
// write, any other error) and shows its text, as a desktop program's
// application object does. Handlers never catch those themselves.
using ErrorReport = std::function<void(const std::string& text)>;

// Installs the report; the program shows a message box, tests record it.
void SetErrorReport(ErrorReport report);

// The text the report shows for an exception: the fault's Japanese text,
// "Unable to write to <path>", or what() of anything else.
std::string ErrorText(const std::exception& error);

// Shows the error as Fire would, for a handler that goes on after it.
void ReportError(const std::exception& error);

// Runs the handler, if there is one, and reports what it throws. True when it
// ran without an error.
bool Fire(const std::function<void()>& handler);

template <typename... Params, typename... Args>
bool Fire(const std::function<void(Params...)>& handler, Args&&... args) {
  if (!handler) return true;
  return Fire(std::function<void()>([&] { handler(std::forward<Args>(args)...); }));
}

}  // namespace hk
