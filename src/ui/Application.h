#pragma once

#include <string>

#include "data/FilePath.h"

namespace hk {

// What the whole program shares as the application object would hold it: the
// title the taskbar shows and the help file every window hands to the help
// viewer. Only the program's one thread touches it.
struct ApplicationInfo {
  std::string Title;
  FilePath HelpFile;
};

ApplicationInfo& Application();

}  // namespace hk
