#pragma once

#include <windows.h>

namespace hk {

// A function of a system library that the program needs only now and then
// (the font dialog, screen readers): the library is loaded when the function
// is first asked for, so that the start-up does not pay for it. Null when it
// cannot be had.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = LoadLibraryW(library);
  if (!module) return nullptr;
  // Cast through a generic function pointer, which GCC accepts without a
  // cast-function-type warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace hk
