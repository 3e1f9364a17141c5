#include "platform/Dispatcher.h"

#include <exception>

#include "data/FloatFault.h"
#include "data/ProfileFile.h"

namespace hk {
namespace {

ErrorReport& Report() {
  static ErrorReport report;
  return report;
}

// The report must not become a second source of errors: whatever it throws
// ends here, so nothing ever leaves an event (or a window procedure).
void Show(const std::string& text) {
  const ErrorReport& report = Report();
  if (!report) return;
  try {
    report(text);
  } catch (...) {
  }
}

}  // namespace

void SetErrorReport(ErrorReport report) { Report() = std::move(report); }

std::string ErrorText(const std::exception& error) {
  if (const auto* fault = dynamic_cast<const FloatFault*>(&error)) return fault->message();
  // Its what() already names the file: "Unable to write to <path>".
  if (const auto* write = dynamic_cast<const ProfileWriteError*>(&error)) return write->what();
  return error.what();
}

void ReportError(const std::exception& error) {
  std::string text;
  try {
    text = ErrorText(error);
  } catch (...) {
    text = "Error";
  }
  Show(text);
}

bool Fire(const std::function<void()>& handler) {
  if (!handler) return true;
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ReportError(error);
  } catch (...) {
    Show("An unknown error occurred");
  }
  return false;
}

}  // namespace hk
