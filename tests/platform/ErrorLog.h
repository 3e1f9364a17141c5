#pragma once

#include <string>
#include <vector>

#include "platform/Dispatcher.h"

namespace hk {

// Collects what the general error report shows while it lives.
struct ErrorLog {
  std::vector<std::string> texts;
  ErrorLog() {
    SetErrorReport([this](const std::string& text) { texts.push_back(text); });
  }
  ~ErrorLog() { SetErrorReport({}); }
  ErrorLog(const ErrorLog&) = delete;
  ErrorLog& operator=(const ErrorLog&) = delete;
};

}  // namespace hk
