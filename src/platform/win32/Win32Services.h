#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/Services.h"
#include "platform/win32/HelpWindow.h"

namespace hk {

// The services over the Windows API. One object for the program's life; it
// owns a hidden message-only window, made when first needed, through which
// deferred releases arrive.
class Win32Services : public Services {
 public:
  Win32Services();
  ~Win32Services() override;
  Win32Services(const Win32Services&) = delete;
  Win32Services& operator=(const Win32Services&) = delete;

  int messageBox(std::string_view text, std::string_view title, unsigned flags) override;
  void beep(unsigned type) override;
  // CF_TEXT (the bytes), CF_UNICODETEXT and CF_LOCALE (Japanese), so every
  // program reads the same characters. Throws when the clipboard stays busy.
  void setClipboardText(std::string_view text) override;
  // The help file's viewer when the file is there and the system has a
  // viewer for it; otherwise the program's own help window. Quit tells the
  // viewer only when it was used, and closes the help window.
  void help(Form& owner, const FilePath& helpFile, HelpCommand command, unsigned context) override;
  const HelpWindow& helpWindow() const { return helpWindow_; }
  bool chooseFont(Form& owner, Font& font) override;

  void showModeless(Form& form) override;
  // The form's windows are made if need be; every other window of the
  // program is disabled until the run ends.
  int runModal(Form& form) override;
  void releaseLater(std::unique_ptr<Form> form) override;
  void postMessage(Form& target, unsigned message) override;

  int trackPopupMenu(Form& owner, const PopupMenu& menu, Point screen) override;
  void setKeyHook(KeyHook hook) override;
  const KeyHook& keyHook() const { return keyHook_; }

  FilePath executablePath() override;
  // Beside the program while its folder takes writes; otherwise the user's
  // copy in the application-data folder (SettingsLocation.h).
  SettingsPlace settingsLocation(const FilePath& besideProgram,
                                 std::string_view programName) override;
  bool fileExists(const FilePath& path) override;
  std::optional<Picture> loadBitmapFile(const FilePath& path) override;
  int scrollBarWidth() override;
  MonitorArea nearestMonitor(const Rect& screen) override;
  bool highContrast() override;
  CalendarDate today() override;

  // Destroys the forms given to releaseLater: their windows first, then the
  // components.
  void releasePending();

 private:
  HWND messageWindow();
  static LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

  HWND messageWindow_ = nullptr;
  std::vector<std::unique_ptr<Form>> pending_;
  KeyHook keyHook_;
  HelpWindow helpWindow_;
  bool helpViewerUsed_ = false;
};

}  // namespace hk
