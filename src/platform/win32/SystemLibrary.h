#pragma once

#include <windows.h>

namespace hk {

// From here on, the libraries that the program and the system load for it
// come from the system folder alone: a download may leave a DLL named like a
// system one in the folder of the program or in the current one, and either
// would be found first. Called first thing at start-up, before anything
// loads a library.
void RestrictLibrarySearch();

// A library of the system by its full path in the system folder, never by
// its bare name; null when it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);

// A function of a system library that the program needs only now and then
// (the font dialog, screen readers): the library is loaded when the function
// is first asked for, so that the start-up does not pay for it. Null when it
// cannot be had.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = SystemLibrary(library);
  if (!module) return nullptr;
  // Cast through a generic function pointer, which GCC accepts without a
  // cast-function-type warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace hk
