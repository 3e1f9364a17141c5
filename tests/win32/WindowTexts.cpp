// Prints the texts of a top-level window's visible child windows, one per
// line in UTF-8, so that a script can read what a running program shows.
//
// Usage: hk_window_texts.exe TITLE
#include <windows.h>

// These need windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  bytes.push_back('\n');
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  if (text[0] != L'\0') Print(text);
  return TRUE;
}

}  // namespace

int main() {
  // The title in UTF-16 as given, whatever the code page.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 2) return 2;
  const HWND window = FindWindowW(nullptr, argv[1]);
  LocalFree(argv);
  if (!window) return 1;
  EnumChildWindows(window, PrintChild, 0);
  std::fflush(stdout);
  return 0;
}
