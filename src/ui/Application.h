#pragma once

#include <filesystem>
#include <string>

namespace hk {

// What the whole program shares as the application object would hold it: the
// title the taskbar shows and the help file every window hands to the help
// viewer. Only the program's one thread touches it.
struct ApplicationInfo {
  std::string Title;
  std::filesystem::path HelpFile;
};

ApplicationInfo& Application();

}  // namespace hk
