#include "ui/Application.h"

namespace hk {

ApplicationInfo& Application() {
  static ApplicationInfo info;
  return info;
}

}  // namespace hk
