#pragma once

#include "platform/Widgets.h"

namespace hk {

// Puts a component where the window's design has it: the layouts read like
// the designed tables of positions and sizes.
inline void Place(Control& control, int left, int top, int width, int height) {
  control.setBounds({left, top, width, height});
}

}  // namespace hk
