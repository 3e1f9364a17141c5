// Prints the texts of a top-level window's visible child windows, and the
// names of the visible controls that its windows paint themselves (read as a
// screen reader reads them, "NAME: VALUE" for one with a value), one per
// line in UTF-8, so that a script can read what a running program shows.
//
// Two queries help a script that drives the window with the mouse:
// --client prints where the client area lies on the screen ("left top width
// height"), so that a control can be clicked at its place in the layout
// whatever frame the window system draws; --at X Y prints the text of the
// innermost visible child window at that point of the client area, so that
// one control's caption can be told from the others' (a painted control's
// name when one lies there); --caret prints the
// blinking caret's rectangle on the screen ("left top width height", nothing
// when the window's thread shows none), so that a screenshot can leave it out;
// --windows prints how many windows it is made of, itself and all below it;
// --tips how many tooltips of its thread are shown; --topmost prints 1 when
// the window stays above the windows that are not topmost, else 0.
// --walk does what a screen reader does on a visit: the client object of
// the window and of every window below it, each child's name asked and
// every object released; it prints how many objects it had.
// --dpi prints the DPI that the system gives programs, so that a script can
// tell the scale it runs at. The helper is DPI aware: its numbers are the
// screen's own pixels, as the X tools' are, at any scale.
//
// Usage: hk_window_texts.exe [--client | --at X Y | --caret | --windows | --tips | --topmost |
//        --walk] TITLE | --dpi
// Exit status 1 when no window has the title (or --at finds no child window
// there), 2 on wrong usage.
#include <windows.h>

// These need windows.h first.
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
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

std::wstring TextOf(HWND window) {
  // WM_GETTEXT rather than GetWindowText, which reads no edit's text in
  // another process.
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &copied);
  return text;
}

// The program's own windows paint controls that have no window; their
// client area's accessible object lists them.
bool OwnWindow(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return std::wstring(name).rfind(L"Hakarimaru", 0) == 0;
}

IAccessible* ClientObject(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return object;
}

// A child's name or value, as a reader asks for it; empty when it has none.
std::wstring Spoken(IAccessible* object, LONG child,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*)) {
  VARIANT id{};
  id.vt = VT_I4;
  id.lVal = child;
  BSTR text = nullptr;
  std::wstring spoken;
  if ((object->*ask)(id, &text) == S_OK && text) spoken.assign(text, SysStringLen(text));
  SysFreeString(text);
  return spoken;
}

std::wstring NameOf(IAccessible* object, LONG child) {
  return Spoken(object, child, &IAccessible::get_accName);
}

std::wstring ValueOf(IAccessible* object, LONG child) {
  return Spoken(object, child, &IAccessible::get_accValue);
}

void PrintPainted(HWND window) {
  if (!OwnWindow(window)) return;
  IAccessible* object = ClientObject(window);
  if (!object) return;
  LONG count = 0;
  object->get_accChildCount(&count);
  for (LONG child = 1; child <= count; ++child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    VARIANT state{};
    if (FAILED(object->get_accState(id, &state)) || state.vt != VT_I4 ||
        (state.lVal & STATE_SYSTEM_INVISIBLE)) {
      continue;
    }
    const std::wstring name = NameOf(object, child);
    const std::wstring value = ValueOf(object, child);
    if (!value.empty()) {
      Print(name + L": " + value);
    } else if (!name.empty()) {
      Print(name);
    }
  }
  object->Release();
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring text = TextOf(window);
  if (!text.empty()) Print(text);
  PrintPainted(window);
  return TRUE;
}

// The name of the painted control at a point of the window's client area;
// false when none lies there.
bool PrintPaintedAt(HWND window, POINT at) {
  if (!OwnWindow(window)) return false;
  IAccessible* object = ClientObject(window);
  if (!object) return false;
  ClientToScreen(window, &at);
  VARIANT hit{};
  bool found = false;
  if (object->accHitTest(at.x, at.y, &hit) == S_OK && hit.vt == VT_I4 && hit.lVal != CHILDID_SELF) {
    Print(NameOf(object, hit.lVal));
    found = true;
  }
  VariantClear(&hit);
  object->Release();
  return found;
}

bool PrintClientArea(HWND window) {
  RECT client{};
  if (!GetClientRect(window, &client)) return false;
  POINT origin{0, 0};
  if (!ClientToScreen(window, &origin)) return false;
  std::printf("%ld %ld %ld %ld\n", static_cast<long>(origin.x), static_cast<long>(origin.y),
              static_cast<long>(client.right), static_cast<long>(client.bottom));
  return true;
}

bool PrintChildAt(HWND window, POINT at) {
  // Down through panels to the control itself, each step in its parent's
  // client coordinates.
  HWND found = window;
  for (;;) {
    const HWND child = ChildWindowFromPointEx(found, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == found) break;
    MapWindowPoints(found, child, &at, 1);
    found = child;
  }
  if (PrintPaintedAt(found, at)) return true;
  if (found == window) return false;
  Print(TextOf(found));
  return true;
}

bool PrintCaret(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return false;
  if (!info.hwndCaret || IsRectEmpty(&info.rcCaret)) return true;
  RECT caret = info.rcCaret;
  MapWindowPoints(info.hwndCaret, HWND_DESKTOP, reinterpret_cast<POINT*>(&caret), 2);
  std::printf("%ld %ld %ld %ld\n", static_cast<long>(caret.left), static_cast<long>(caret.top),
              static_cast<long>(caret.right - caret.left),
              static_cast<long>(caret.bottom - caret.top));
  return true;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

struct ShownTips {
  DWORD thread;
  long count;
};

BOOL CALLBACK CountShownTip(HWND window, LPARAM tips) {
  ShownTips& shown = *reinterpret_cast<ShownTips*>(tips);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (GetWindowThreadProcessId(window, nullptr) == shown.thread && IsWindowVisible(window) &&
      _wcsicmp(name, L"tooltips_class32") == 0) {
    ++shown.count;
  }
  return TRUE;
}

BOOL CALLBACK WalkWindow(HWND window, LPARAM objects) {
  IAccessible* object = ClientObject(window);
  if (!object) return TRUE;
  ++*reinterpret_cast<long*>(objects);
  LONG count = 0;
  object->get_accChildCount(&count);
  for (LONG child = 1; child <= count; ++child) {
    NameOf(object, child);
    // A child window answers with an object of its own, held and let go.
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    IDispatch* inner = nullptr;
    if (object->get_accChild(id, &inner) == S_OK && inner) {
      ++*reinterpret_cast<long*>(objects);
      inner->Release();
    }
  }
  IDispatch* parent = nullptr;
  if (object->get_accParent(&parent) == S_OK && parent) {
    ++*reinterpret_cast<long*>(objects);
    parent->Release();
  }
  object->Release();
  return TRUE;
}

// A whole decimal number, negatives too; nothing else.
bool ReadNumber(const wchar_t* text, LONG& number) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  if (end == text || *end != L'\0') return false;
  number = value;
  return true;
}

}  // namespace

int main() {
  SetProcessDPIAware();
  // The title in UTF-16 as given, whatever the code page.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 2;
  enum class Query {
    Texts,
    ClientArea,
    ChildAt,
    Caret,
    Windows,
    Tips,
    Topmost,
    Walk
  } query = Query::Texts;
  POINT at{0, 0};
  bool usable = argc == 2;
  if (argc == 2 && std::wstring(argv[1]) == L"--dpi") {
    LocalFree(argv);
    const HDC screen = GetDC(nullptr);
    std::printf("%d\n", GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    std::fflush(stdout);
    return 0;
  }
  if (argc == 3 && std::wstring(argv[1]) == L"--client") {
    query = Query::ClientArea;
    usable = true;
  } else if (argc == 3 && std::wstring(argv[1]) == L"--caret") {
    query = Query::Caret;
    usable = true;
  } else if (argc == 3 && std::wstring(argv[1]) == L"--windows") {
    query = Query::Windows;
    usable = true;
  } else if (argc == 3 && std::wstring(argv[1]) == L"--tips") {
    query = Query::Tips;
    usable = true;
  } else if (argc == 3 && std::wstring(argv[1]) == L"--topmost") {
    query = Query::Topmost;
    usable = true;
  } else if (argc == 3 && std::wstring(argv[1]) == L"--walk") {
    query = Query::Walk;
    usable = true;
  } else if (argc == 5 && std::wstring(argv[1]) == L"--at") {
    query = Query::ChildAt;
    usable = ReadNumber(argv[2], at.x) && ReadNumber(argv[3], at.y);
  }
  const HWND window = usable ? FindWindowW(nullptr, argv[argc - 1]) : nullptr;
  LocalFree(argv);
  if (!usable) return 2;
  if (!window) return 1;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool found = true;
  switch (query) {
    case Query::Texts:
      PrintPainted(window);
      EnumChildWindows(window, PrintChild, 0);
      break;
    case Query::ClientArea:
      found = PrintClientArea(window);
      break;
    case Query::ChildAt:
      found = PrintChildAt(window, at);
      break;
    case Query::Caret:
      found = PrintCaret(window);
      break;
    case Query::Windows: {
      long count = 1;
      EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count));
      std::printf("%ld\n", count);
      break;
    }
    case Query::Tips: {
      ShownTips tips{GetWindowThreadProcessId(window, nullptr), 0};
      EnumWindows(CountShownTip, reinterpret_cast<LPARAM>(&tips));
      std::printf("%ld\n", tips.count);
      break;
    }
    case Query::Topmost:
      std::printf("%d\n", (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
      break;
    case Query::Walk: {
      long objects = 0;
      WalkWindow(window, reinterpret_cast<LPARAM>(&objects));
      EnumChildWindows(window, WalkWindow, reinterpret_cast<LPARAM>(&objects));
      std::printf("%ld\n", objects);
      break;
    }
  }
  std::fflush(stdout);
  return found ? 0 : 1;
}
