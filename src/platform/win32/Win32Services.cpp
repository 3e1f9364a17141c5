#include "platform/win32/Win32Services.h"

#include <windows.h>

// These need windows.h first.
#include <commdlg.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/Widgets.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Peers.h"
#include "platform/win32/SettingsLocation.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

constexpr UINT kReleaseForms = WM_APP + 2;
constexpr LCID kJapanese = 0x0411;
constexpr int kFontSizeMin = 8;
constexpr int kFontSizeMax = 12;

// A global memory block that is freed unless the clipboard took it.
class GlobalBlock {
 public:
  GlobalBlock(const void* data, std::size_t size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {
    void* target = block_ ? GlobalLock(block_) : nullptr;
    if (!target) throw std::bad_alloc();
    std::memcpy(target, data, size);
    GlobalUnlock(block_);
  }
  ~GlobalBlock() {
    if (block_) GlobalFree(block_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;

  void putOnClipboard(UINT format) {
    if (SetClipboardData(format, block_)) block_ = nullptr;  // the system owns it now
  }

 private:
  HGLOBAL block_;
};

class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
    if (!open_) throw std::runtime_error("クリップボードを開けません");
  }
  ~OpenClipboardScope() { CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

 private:
  bool open_ = false;
};

class MenuHandle {
 public:
  MenuHandle() : menu_(CreatePopupMenu()) {
    if (!menu_) throw std::runtime_error("menu not created");
  }
  ~MenuHandle() { DestroyMenu(menu_); }
  MenuHandle(const MenuHandle&) = delete;
  MenuHandle& operator=(const MenuHandle&) = delete;
  HMENU get() const { return menu_; }

 private:
  HMENU menu_;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM data) {
  auto& disabled = *reinterpret_cast<std::vector<HWND>*>(data);
  // Help is read beside the modal window, so it stays usable.
  if (window != disabled.front() && IsWindowVisible(window) && IsWindowEnabled(window) &&
      !HelpWindow::Is(window)) {
    EnableWindow(window, FALSE);
    disabled.push_back(window);
  }
  return TRUE;
}

// The program's other windows wait while a modal form runs; they come back
// before the form is hidden, so that the activation returns to them.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND modal) : windows_{modal} {
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&windows_));
  }
  ~OtherWindowsDisabled() { enable(); }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

  void enable() {
    for (std::size_t i = 1; i < windows_.size(); ++i) EnableWindow(windows_[i], TRUE);
    windows_.resize(1);
  }

 private:
  std::vector<HWND> windows_;  // the modal form first, then the disabled ones
};

// The description in a file's version information, or nothing.
std::wstring FileDescription(const std::wstring& file) {
  using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  const auto size = SystemFunction<SizeFunction>(L"version.dll", "GetFileVersionInfoSizeW");
  const auto info = SystemFunction<InfoFunction>(L"version.dll", "GetFileVersionInfoW");
  const auto query = SystemFunction<QueryFunction>(L"version.dll", "VerQueryValueW");
  if (!size || !info || !query) return {};
  DWORD ignored = 0;
  std::vector<char> block(size(file.c_str(), &ignored));
  if (block.empty() || !info(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
    return {};
  }
  void* found = nullptr;
  UINT length = 0;
  if (!query(block.data(), L"\\VarFileInfo\\Translation", &found, &length) || length < 4) return {};
  const auto* language = static_cast<const WORD*>(found);
  wchar_t key[64];
  wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\FileDescription", language[0], language[1]);
  if (!query(block.data(), key, &found, &length) || length == 0) return {};
  return std::wstring(static_cast<const wchar_t*>(found));
}

// Whether the system can show a help file of the old format. Since Vista the
// Windows folder holds only a stub of the viewer, which says that the format
// is not supported (unless the viewer was installed over it), and newer
// systems have no viewer at all.
bool HelpViewerInstalled() {
  static const bool installed = [] {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::wstring viewer = std::wstring(folder) + L"\\winhlp32.exe";
    if (GetFileAttributesW(viewer.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return FileDescription(viewer).find(L"Stub") == std::wstring::npos;
  }();
  return installed;
}

// Whether a program named like the viewer lies where the system looks before
// its own folders: the system starts the viewer by its bare name, from the
// folder of the program that asks or the current one first, so such a file
// would run in its place.
bool ViewerShadowed(const FilePath& programFolder) {
  wchar_t current[MAX_PATH];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  if (length == 0 || length >= MAX_PATH) return true;
  for (const FilePath& folder : {programFolder, FilePath(std::wstring(current, length))}) {
    if (GetFileAttributesW((folder / L"winhlp32.exe").c_str()) != INVALID_FILE_ATTRIBUTES) {
      return true;
    }
  }
  return false;
}

}  // namespace

Win32Services::Win32Services() = default;

// Made when first needed: the program's first paint does not wait for it.
HWND Win32Services::messageWindow() {
  if (messageWindow_) return messageWindow_;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const wchar_t* className = L"HakarimaruServices";
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  if (!GetClassInfoExW(instance, className, &info)) {
    info.lpfnWndProc = MessageWindowProc;
    info.hInstance = instance;
    info.lpszClassName = className;
    RegisterClassExW(&info);
  }
  messageWindow_ =
      CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  if (!messageWindow_) throw std::runtime_error("message window not created");
  return messageWindow_;
}

Win32Services::~Win32Services() {
  releasePending();
  if (!messageWindow_) return;
  SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, 0);
  DestroyWindow(messageWindow_);
}

LRESULT CALLBACK Win32Services::MessageWindowProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* services = reinterpret_cast<Win32Services*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (services && message == kReleaseForms) {
    try {
      services->releasePending();
    } catch (...) {
      ReportCurrentException();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

namespace {

BOOL CALLBACK FindTopmost(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
    return TRUE;
  }
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

}  // namespace

int Win32Services::messageBox(std::string_view text, std::string_view title, unsigned flags) {
  const std::wstring wideText = SjisToWide(text);
  const std::wstring wideTitle = SjisToWide(title);
  const HWND owner = GetActiveWindow();
  // A box with no owner, while the program sits in the background, would
  // open below a window of ours kept on top and stay hidden behind it.
  bool topmost = false;
  if (!owner)
    EnumThreadWindows(GetCurrentThreadId(), FindTopmost, reinterpret_cast<LPARAM>(&topmost));
  if (topmost) flags |= MB_TOPMOST;
  return MessageBoxW(owner, wideText.c_str(), wideTitle.c_str(), flags);
}

void Win32Services::beep(unsigned type) { MessageBeep(type); }

void Win32Services::setClipboardText(std::string_view text) {
  // Each block is exactly as long as its text and NUL: the system converts a
  // whole block, and spare bytes would become stray characters.
  std::string bytes(text);
  bytes.push_back('\0');
  std::wstring wide = SjisToWide(text);
  wide.push_back(L'\0');
  const LCID locale = kJapanese;
  GlobalBlock bytesBlock(bytes.data(), bytes.size());
  GlobalBlock wideBlock(wide.data(), wide.size() * sizeof(wchar_t));
  GlobalBlock localeBlock(&locale, sizeof locale);
  OpenClipboardScope clipboard(messageWindow());
  EmptyClipboard();
  bytesBlock.putOnClipboard(CF_TEXT);
  wideBlock.putOnClipboard(CF_UNICODETEXT);
  localeBlock.putOnClipboard(CF_LOCALE);
}

void Win32Services::help(Form& owner, const FilePath& helpFile, HelpCommand command,
                         unsigned context) {
  HWND window = WindowOf(owner);
  if (!window) window = messageWindow();
  const std::wstring file = helpFile.native();
  if (command == HelpCommand::Quit) {
    if (helpViewerUsed_) WinHelpW(window, file.c_str(), HELP_QUIT, 0);
    helpWindow_.close();
    return;
  }
  // Without the file the viewer would only ask for it, and a viewer that is
  // a stub only says it cannot show it: both keep the asking window waiting.
  if (fileExists(helpFile) && HelpViewerInstalled() &&
      !ViewerShadowed(executablePath().parent_path())) {
    helpViewerUsed_ = true;
    WinHelpW(window, file.c_str(), HELP_CONTEXT, context);
    return;
  }
  // Beside the window the user asked from, which may be a dialog owned by
  // the form that asks.
  HWND asking = GetActiveWindow();
  if (!asking || HelpWindow::Is(asking)) asking = window == messageWindow_ ? nullptr : window;
  helpWindow_.show(asking, context);
}

bool Win32Services::chooseFont(Form& owner, Font& font) {
  // The dialog tells points from pixels at the screen's DPI; the program
  // keeps heights in layout units, so the point size holds at any scale.
  const HWND window = WindowOf(owner);
  const int dpi = WindowDpi(window);
  LOGFONTW logFont = ToLogFont(font);
  logFont.lfHeight = ScaleFontHeight(font.height, kLayoutDpi, dpi);
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window;
  dialog.lpLogFont = &logFont;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
  dialog.rgbColors = ToColorRef(font.colour);
  dialog.nSizeMin = kFontSizeMin;
  dialog.nSizeMax = kFontSizeMax;
  static const auto chooseFont =
      SystemFunction<BOOL(WINAPI*)(CHOOSEFONTW*)>(L"comdlg32.dll", "ChooseFontW");
  if (!chooseFont || !chooseFont(&dialog)) return false;
  font.name = WideToSjis(logFont.lfFaceName);
  font.height = ScaleFontHeight(logFont.lfHeight, dpi, kLayoutDpi);
  font.bold = logFont.lfWeight >= FW_BOLD;
  font.italic = logFont.lfItalic != 0;
  font.underline = logFont.lfUnderline != 0;
  font.strikeOut = logFont.lfStrikeOut != 0;
  font.colour = dialog.rgbColors;
  return true;
}

void Win32Services::showModeless(Form& form) {
  Realize(form);
  form.show();
  ShowWindow(WindowOf(form), SW_SHOW);
  // Painted at once, with its panels, rather than when the loop gets to it.
  UpdateWindow(WindowOf(form));
}

int Win32Services::runModal(Form& form) {
  Realize(form);
  const HWND window = WindowOf(form);
  form.setModalResult(kModalNone);
  form.setModal(true);
  int result = kModalCancel;
  {
    OtherWindowsDisabled others(window);
    form.show();
    ShowWindow(window, SW_SHOW);
    SetActiveWindow(window);
    RunMessagesUntil(*this, [&] { return form.modalResult() != kModalNone || !IsWindow(window); });
    // A form whose window went away without a result was cancelled.
    if (form.modalResult() != kModalNone) result = form.modalResult();
    others.enable();
    form.hide();
    if (IsWindow(window)) ShowWindow(window, SW_HIDE);
  }
  form.setModal(false);
  return result;
}

void Win32Services::releaseLater(std::unique_ptr<Form> form) {
  if (!form) return;
  pending_.push_back(std::move(form));
  PostMessageW(messageWindow(), kReleaseForms, 0, 0);
}

void Win32Services::releasePending() {
  // Releasing a form may release more; those wait for their own message.
  std::vector<std::unique_ptr<Form>> forms = std::move(pending_);
  pending_.clear();
  for (std::unique_ptr<Form>& form : forms) {
    DestroyWindows(*form);
    form.reset();
  }
}

void Win32Services::postMessage(Form& target, unsigned message) {
  // As a window handle asked for is made when there is none yet.
  Realize(target);
  // A form's own messages (WM_USER and up) go as themselves, so that one
  // posted from outside the program under the same number is the same
  // message; any other number travels inside kFormMessage.
  if (message >= WM_USER && message < WM_APP) {
    PostMessageW(WindowOf(target), message, 0, 0);
  } else {
    PostMessageW(WindowOf(target), kFormMessage, message, 0);
  }
}

int Win32Services::trackPopupMenu(Form& owner, const PopupMenu& menu, Point screen) {
  MenuHandle popup;
  UINT id = 1;  // the item's index + 1: TrackPopupMenu answers 0 for none
  for (const std::unique_ptr<MenuItem>& item : menu.items()) {
    if (item->separator()) {
      AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      const std::wstring caption = SjisToWide(item->caption());
      const UINT flags = MF_STRING | (item->checked() ? MF_CHECKED : MF_UNCHECKED) |
                         (item->enabled() ? MF_ENABLED : MF_GRAYED);
      AppendMenuW(popup.get(), flags, id, caption.c_str());
    }
    ++id;
  }
  HWND window = WindowOf(owner);
  if (!window) window = GetActiveWindow();
  if (!window) return -1;
  // The point is the owner's outer corner, in screen pixels, and a way from
  // it in layout units.
  const int dpi = WindowDpi(window);
  const Rect& outer = owner.bounds();
  const int x = outer.left + ScaleCoordinate(screen.x - outer.left, dpi);
  const int y = outer.top + ScaleCoordinate(screen.y - outer.top, dpi);
  // A hint the pointer brought up, or is about to, would cover the menu.
  ToolTip::DismissAll();
  const int chosen = static_cast<int>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x,
                     y, 0, window, nullptr));
  return chosen > 0 ? chosen - 1 : -1;
}

void Win32Services::setKeyHook(KeyHook hook) { keyHook_ = std::move(hook); }

FilePath Win32Services::executablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return FilePath(path);
    }
    path.resize(path.size() * 2);  // cut short: try a longer buffer
  }
}

SettingsPlace Win32Services::settingsLocation(const FilePath& besideProgram,
                                              std::string_view programName) {
  return SettingsLocation(besideProgram, SjisToWide(programName), InstalledProfileStorage());
}

bool Win32Services::fileExists(const FilePath& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Services::highContrast() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0)) return false;
  return (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

CalendarDate Win32Services::today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

int Win32Services::scrollBarWidth() {
  // The layout's units: the bar's pixels, at the DPI the system made them for.
  return LayoutCoordinate(GetSystemMetrics(SM_CXVSCROLL), SystemDpi());
}

MonitorArea Win32Services::nearestMonitor(const Rect& screen) {
  const RECT asked{screen.left, screen.top, screen.right(), screen.bottom()};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const HMONITOR monitor = MonitorFromRect(&asked, MONITOR_DEFAULTTONEAREST);
  if (!GetMonitorInfoW(monitor, &info)) {
    // Without an answer the rectangle counts as on screen: it stays put.
    return {screen, screen, SystemDpi()};
  }
  const auto toRect = [](const RECT& r) {
    return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
  };
  return {toRect(info.rcMonitor), toRect(info.rcWork), MonitorDpi(monitor)};
}

std::optional<Picture> Win32Services::loadBitmapFile(const FilePath& path) {
  const BitmapObject bitmap(
      static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  if (!bitmap) return std::nullopt;
  const SIZE size = BitmapSize(bitmap.get());
  Picture picture;
  picture.source = Picture::Source::File;
  picture.file = path;
  picture.width = size.cx;
  picture.height = size.cy;
  return picture;
}

}  // namespace hk
