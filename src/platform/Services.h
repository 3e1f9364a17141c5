#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/CalendarDate.h"
#include "data/FilePath.h"
#include "platform/Geometry.h"
#include "platform/Graphics.h"
#include "platform/Screen.h"

namespace hk {

class Form;
class PopupMenu;

// Message box flags and results, with the system's values.
constexpr unsigned kMbOk = 0x00000000;
constexpr unsigned kMbYesNo = 0x00000004;
constexpr unsigned kMbIconStop = 0x00000010;
constexpr unsigned kMbIconWarning = 0x00000030;
constexpr unsigned kMbIconInformation = 0x00000040;
constexpr unsigned kMbDefButton2 = 0x00000100;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

enum class HelpCommand { Context, Quit };

// Where the settings file is kept this run, and what the user is told once
// about it.
struct SettingsPlace {
  FilePath file;
  // The program runs from the user's temporary folder (a zip opened without
  // unpacking it), so its settings are not kept beside it.
  bool fromTemporaryFolder = false;
  // Not empty when the settings belong in the user's own folder but no copy
  // could be made there: that folder and the system's reason, in Shift-JIS.
  // The file is then read and never written this run.
  std::string unusableFolder;
  std::string reason;
};

// Everything a window asks of the system. The program implements it over the
// Windows API; the tests record what was asked and answer from a script.
class Services {
 public:
  virtual ~Services() = default;

  // Texts and titles are Shift-JIS. Returns the button pressed.
  virtual int messageBox(std::string_view text, std::string_view title, unsigned flags) = 0;
  virtual void beep(unsigned type) = 0;
  // Replaces the clipboard's contents with the text (Shift-JIS).
  virtual void setClipboardText(std::string_view text) = 0;
  virtual void help(Form& owner, const FilePath& helpFile, HelpCommand command,
                    unsigned context) = 0;
  // The font dialog, starting from font; true and the choice in font on OK.
  virtual bool chooseFont(Form& owner, Font& font) = 0;

  // Makes the form's real windows (nothing in the tests) and shows it.
  virtual void showModeless(Form& form) = 0;
  // Shows the form and runs until its modal result is set; returns it.
  virtual int runModal(Form& form) = 0;
  // Destroys the form when the message loop next gets to it, never inside
  // the handler that asks.
  virtual void releaseLater(std::unique_ptr<Form> form) = 0;
  // Delivers the message to the form's OnMessage from the message loop.
  virtual void postMessage(Form& target, unsigned message) = 0;

  // Tracks the menu at the screen point; the chosen item's index, or -1.
  // The point is the owner's outer corner (screen pixels, as its bounds
  // hold it) and a way from there in layout units, as the forms lay out.
  virtual int trackPopupMenu(Form& owner, const PopupMenu& menu, Point screen) = 0;

  // Sees every key press of the program before any window does; returns true
  // to swallow it. virtualKey is the system's key code.
  using KeyHook = std::function<bool(unsigned virtualKey, bool shift)>;
  virtual void setKeyHook(KeyHook hook) = 0;

  virtual FilePath executablePath() = 0;
  // Where the settings file that belongs beside the program is kept: there,
  // unless the system keeps it elsewhere for this user (programName, in
  // Shift-JIS, names the place).
  virtual SettingsPlace settingsLocation(const FilePath& besideProgram,
                                         std::string_view /*programName*/) {
    SettingsPlace place;
    place.file = besideProgram;
    return place;
  }
  virtual bool fileExists(const FilePath& path) = 0;
  // A bitmap file as a picture with its size; nothing when it is missing or
  // not a bitmap.
  virtual std::optional<Picture> loadBitmapFile(const FilePath& path) = 0;

  // The width of a vertical scroll bar as the system draws it, in layout
  // units.
  virtual int scrollBarWidth() = 0;
  // The monitor that shows most of the rectangle (screen pixels), or the one
  // nearest to it when none shows any of it.
  virtual MonitorArea nearestMonitor(const Rect& screen) = 0;
  // Whether the user asked for high contrast: the windows then paint in the
  // system's colours alone.
  virtual bool highContrast() { return false; }
  // Today, in local time.
  virtual CalendarDate today() = 0;
};

}  // namespace hk
