// The main window on the real windows for a long session: categories, pages
// and conversions over and over must leave the process holding no more GDI
// and USER objects than after the first round; and the powers list opens on
// top of what it covers.
#include <gtest/gtest.h>
#include <windows.h>

// These need windows.h first.
#include <oleacc.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
#include "history/HistoryStore.h"
#include "platform/win32/AccessibleObject.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Services.h"
#include "ui/CalcUnt1.h"
#include "ui/CalcUnt2.h"
#include "ui/CalcUnt3.h"
#include "ui/calcMain.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

// The program beside its settings in a folder of the test's own.
class FolderServices : public Win32Services {
 public:
  explicit FolderServices(std::filesystem::path executable) : executable_(std::move(executable)) {}
  FilePath executablePath() override { return executable_; }

 private:
  std::filesystem::path executable_;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

BOOL CALLBACK CountOne(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The counts the system keeps for the process; where it keeps none (Wine
// answers 0), the live GDI handles and the thread's windows, counted one by
// one.
struct GuiObjects {
  long gdi = 0;
  long user = 0;
};

GuiObjects CountGuiObjects() {
  GuiObjects counts;
  counts.gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  counts.user = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (counts.gdi == 0) {
    for (UINT_PTR handle = 1; handle < 0x10000; ++handle) {
      if (GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0) ++counts.gdi;
    }
  }
  if (counts.user == 0) {
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    counts.user = windows;
  }
  return counts;
}

// What a screen reader hears of one object.
struct Heard {
  std::wstring name;
  std::wstring value;
  std::wstring shortcut;
  LONG role = 0;
  LONG state = 0;
};

std::wstring Taken(BSTR text) {
  std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return taken;
}

VARIANT Child(LONG number) {
  VARIANT id{};
  id.vt = VT_I4;
  id.lVal = number;
  return id;
}

IAccessible* ClientOf(HWND window) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                             reinterpret_cast<void**>(&object));
  return object;
}

Heard HeardOf(IAccessible* object, LONG child) {
  Heard h;
  BSTR text = nullptr;
  object->get_accName(Child(child), &text);
  h.name = Taken(text);
  text = nullptr;
  object->get_accValue(Child(child), &text);
  h.value = Taken(text);
  text = nullptr;
  object->get_accKeyboardShortcut(Child(child), &text);
  h.shortcut = Taken(text);
  VARIANT role{};
  VARIANT state{};
  object->get_accRole(Child(child), &role);
  object->get_accState(Child(child), &state);
  h.role = role.lVal;
  h.state = state.lVal;
  return h;
}

// A window's tree as a reader walks it: the children of its client area, a
// child window by its client area and, for a container or a table, what
// that holds.
void Walk(IAccessible* object, std::vector<Heard>& heard) {
  LONG count = 0;
  object->get_accChildCount(&count);
  for (LONG child = 1; child <= count; ++child) {
    IDispatch* dispatch = nullptr;
    if (object->get_accChild(Child(child), &dispatch) != S_OK || !dispatch) {
      heard.push_back(HeardOf(object, child));
      continue;
    }
    IAccessible* windowObject = nullptr;
    dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&windowObject));
    dispatch->Release();
    HWND window = nullptr;
    if (windowObject) WindowFromAccessibleObject(windowObject, &window);
    if (windowObject) windowObject->Release();
    IAccessible* client = window ? ClientOf(window) : nullptr;
    if (!client) continue;
    heard.push_back(HeardOf(client, CHILDID_SELF));
    if (heard.back().role == ROLE_SYSTEM_CLIENT || heard.back().role == ROLE_SYSTEM_TABLE) {
      Walk(client, heard);
    }
    client->Release();
  }
}

std::vector<Heard> HeardIn(HWND window) {
  std::vector<Heard> heard;
  if (IAccessible* client = ClientOf(window)) {
    Walk(client, heard);
    client->Release();
  }
  return heard;
}

// Every visible thing a user can read or operate has a name of its own,
// without "&".
void ExpectNamed(const std::vector<Heard>& heard, const char* where) {
  std::vector<std::wstring> names;
  for (const Heard& h : heard) {
    if ((h.state & STATE_SYSTEM_INVISIBLE) || h.role == ROLE_SYSTEM_CLIENT) continue;
    EXPECT_FALSE(h.name.empty()) << where << ": role " << h.role;
    EXPECT_EQ(h.name.find(L'&'), std::wstring::npos) << where;
    EXPECT_EQ(std::count(names.begin(), names.end(), h.name), 0) << where << ": a name repeats";
    names.push_back(h.name);
  }
}

const Heard* Find(const std::vector<Heard>& heard, const std::wstring& name) {
  for (const Heard& h : heard) {
    if (h.name == name) return &h;
  }
  return nullptr;
}

// The events a reader hears, with the object they concern.
struct Event {
  DWORD event;
  HWND window;
  LONG child;
};
std::vector<Event> events;
void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT) events.push_back({event, window, child});
}

class MainWindowOnScreen : public ::testing::Test {
 protected:
  MainWindowOnScreen() : services(folder.path() / "hakarimaru.exe") {}
  void SetUp() override {
    services.showModeless(form);
    test::Pump(services);
  }
  void TearDown() override {
    DestroyWindows(form);
    EXPECT_TRUE(reported.texts.empty()) << reported.texts.front();
  }

  // Handles what the step queued (painting included), as the loop would
  // between two clicks.
  void settle() {
    UpdateWindow(WindowOf(form));
    test::Pump(services);
  }

  test::Reported reported;
  test::TempFolder folder;
  FolderServices services;
  CategoryTable table = CategoryTable::BuiltIn();
  HistoryStore history;
  TCalcMainForm form{services, table, history};
};

TEST_F(MainWindowOnScreen, ALongSessionHoldsNoMoreGuiObjects) {
  // The buttons, labels and pictures are painted by their parents.
  int windows = 1;
  EnumChildWindows(WindowOf(form), CountOne, reinterpret_cast<LPARAM>(&windows));
  EXPECT_LT(windows, 30);
  const auto started = std::chrono::steady_clock::now();
  SpeedButton* pages[] = {&form.PageButton1, &form.PageButton2, &form.PageButton3};
  int conversions = 0;
  // The input, a pair of units, Enter: a conversion with its clipboard copy.
  const auto convert = [&](int round) {
    form.TargetEdit.setText(std::to_string(round % 997) + ".5");
    form.Button1.click();
    ++conversions;
  };
  const auto session = [&](int pageChanges, int categoryChanges, int conversionCount) {
    int category = 0;
    int converted = 0;
    for (int page = 0; page < pageChanges; ++page) {
      pages[(page + 1) % 3]->click();
      settle();
      const int categoriesHere = categoryChanges * (page + 1) / pageChanges - category;
      for (int k = 0; k < categoriesHere; ++k, ++category) {
        // The first three of each row have at least two units on every page
        // but the second, whose categories are empty until customised.
        form.CategoryButton(1 + (category % 2) * 6 + category % 3).click();
        if (form.FromButton(1).enabled() && form.ToButton(1).enabled()) {
          form.FromButton(1).click();
          form.ToButton(1).click();
        }
        settle();
        const int conversionsHere = conversionCount * (category + 1) / categoryChanges - converted;
        for (int c = 0; c < conversionsHere; ++c, ++converted) {
          convert(converted);
          if (c % 10 == 0) settle();
        }
      }
    }
  };

  // One round shows every page, its pictures and a conversion of each kind.
  session(3, 6, 6);
  settle();
  const GuiObjects before = CountGuiObjects();
  const int historyBefore = history.HistoryCount();
  conversions = 0;

  session(100, 300, 1000);
  settle();
  const GuiObjects after = CountGuiObjects();

  EXPECT_EQ(conversions, 1000);
  // Page 2's categories hold no units, so their conversions stop silently.
  EXPECT_GT(history.HistoryCount(), historyBefore + 500);
  EXPECT_LE(after.gdi, before.gdi) << "GDI objects grew from " << before.gdi;
  EXPECT_LE(after.user, before.user) << "USER objects grew from " << before.user;
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("soak: %.1f s, GDI %ld -> %ld, USER %ld -> %ld\n", seconds, before.gdi, after.gdi,
              before.user, after.user);
}

TEST_F(MainWindowOnScreen, ScreenReadersHearEveryControlAndEveryResult) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Hear,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  const HWND window = WindowOf(form);
  // The title panel and the unit panels hold only painted controls: the main
  // window paints them, and answers for everything on them.
  EXPECT_EQ(WindowOf(form.Panel1), nullptr);
  SpeedButton* pages[] = {&form.PageButton1, &form.PageButton2, &form.PageButton3};
  for (int page = 3; page >= 1; --page) {
    pages[page - 1]->click();
    settle();
    const std::vector<Heard> heard = HeardIn(window);
    ExpectNamed(heard, ("page " + std::to_string(page)).c_str());
    // The categories in reading order: the upper row, then the lower, each
    // left to right.
    std::vector<std::wstring> categories;
    for (const Heard& h : heard) {
      if (h.shortcut.rfind(L"Alt+", 0) == 0) categories.push_back(h.name);
    }
    ASSERT_EQ(categories.size(), 12u);
    for (int k = 1; k <= 12; ++k) {
      std::wstring name = SjisToWide(form.CategoryButton(k).accessibleName());
      std::replace(name.begin(), name.end(), L'\\', L'\u00A5');  // the yen sign, as shown
      EXPECT_EQ(categories[k - 1], name) << k;
    }
  }
  const std::vector<Heard> heard = HeardIn(window);
  const struct {
    std::wstring name;
    LONG role;
    std::wstring shortcut;
  } expected[] = {
      {L"長さ2V", ROLE_SYSTEM_PUSHBUTTON, L"Alt+V"},
      {L"ﾒﾆｭｰ表示", ROLE_SYSTEM_PUSHBUTTON, L"F10"},
      {L"ページ 3", ROLE_SYSTEM_PUSHBUTTON, L"Ctrl+3"},
      {L"終了", ROLE_SYSTEM_PUSHBUTTON, L""},
      {L"変換値", ROLE_SYSTEM_TEXT, L""},
      {L"変換元 ﾒｰﾄﾙ", ROLE_SYSTEM_PUSHBUTTON, L"F1"},
      {L"変換先 空き 9", ROLE_SYSTEM_PUSHBUTTON, L"Shift+F9"},
  };
  for (const auto& e : expected) {
    const Heard* h = Find(heard, e.name);
    ASSERT_NE(h, nullptr) << e.role << " " << e.shortcut.size();
    EXPECT_EQ(h->role, e.role);
    EXPECT_EQ(h->shortcut, e.shortcut);
  }
  EXPECT_TRUE(Find(heard, L"変換先 空き 9")->state & STATE_SYSTEM_UNAVAILABLE);

  // A conversion: the result is one value, and a reader hears it change.
  IAccessible* client = ClientOf(window);
  ASSERT_NE(client, nullptr);
  LONG result = 0;
  LONG from = 0;
  LONG count = 0;
  client->get_accChildCount(&count);
  for (LONG child = 1; child <= count; ++child) {
    const Heard h = HeardOf(client, child);
    if (h.name == L"結果") result = child;
    if (h.name == L"変換元 ﾒｰﾄﾙ") from = child;
  }
  ASSERT_NE(result, 0);
  // The default action is a click, posted: it returns before the click runs.
  EXPECT_EQ(client->accDoDefaultAction(Child(from)), S_OK);
  EXPECT_FALSE(form.FromButton(1).down());
  settle();
  EXPECT_TRUE(form.FromButton(1).down());
  EXPECT_TRUE(HeardOf(client, from).state & STATE_SYSTEM_PRESSED);
  events.clear();
  form.TargetEdit.setText("1000");
  form.ToButton(2).click();
  settle();
  EXPECT_EQ(HeardOf(client, result).value, L"100000.00000 ｾﾝﾁﾒｰﾄﾙ");
  const auto heardEvent = [&](DWORD event, LONG child) {
    return std::any_of(events.begin(), events.end(), [&](const Event& e) {
      return e.event == event && e.window == window && e.child == child;
    });
  };
  EXPECT_TRUE(heardEvent(EVENT_OBJECT_VALUECHANGE, result));
  // The same result again is heard again; a page change changes states.
  events.clear();
  form.Button1.click();
  pages[1]->click();
  settle();
  EXPECT_TRUE(heardEvent(EVENT_OBJECT_VALUECHANGE, result));
  EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                          [](const Event& e) { return e.event == EVENT_OBJECT_STATECHANGE; }));
  // The category buttons' Tab stop: a reader hears where the focus is.
  events.clear();
  form.TargetEdit.focus();
  settle();
  form.focusNext(true);
  form.pressShortcut(key::kRight, kNoModifiers);
  settle();
  LONG second = 0;
  for (LONG child = 1; child <= count; ++child) {
    if (HeardOf(client, child).name == SjisToWide(form.CategoryButton(2).accessibleName())) {
      second = child;
    }
  }
  ASSERT_NE(second, 0);
  EXPECT_EQ(GetFocus(), window);
  EXPECT_TRUE(heardEvent(EVENT_OBJECT_FOCUS, second));
  EXPECT_TRUE(HeardOf(client, second).state & STATE_SYSTEM_FOCUSED);
  VARIANT focus{};
  EXPECT_EQ(client->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.lVal, second);
  client->Release();
  UnhookWinEvent(hook);
  CoUninitialize();
}

TEST_F(MainWindowOnScreen, ScreenReadersHearTheOtherWindowsAndTheGridsCurrentCell) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  form.FromButton(1).click();
  form.ToButton(2).click();
  for (const char* value : {"10", "20", "30"}) {
    form.TargetEdit.setText(value);
    form.Button1.click();
  }
  form.HistoryButton.click();
  settle();
  ASSERT_NE(CalcHistoryForm, nullptr);
  const HWND grid = WindowOf(CalcHistoryForm->StringGrid1);
  ExpectNamed(HeardIn(WindowOf(*CalcHistoryForm)), "history");
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr,
                                             Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  SetFocus(grid);
  events.clear();
  // The window opens on the newest row: one up is the second.
  SendMessageW(grid, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(grid, WM_KEYDOWN, VK_RIGHT, 0);
  settle();
  IAccessible* cells = ClientOf(grid);
  ASSERT_NE(cells, nullptr);
  VARIANT focus{};
  ASSERT_EQ(cells->get_accFocus(&focus), S_OK);
  EXPECT_EQ(HeardOf(cells, focus.lVal).name, L"行 2 変換元数値 20");
  EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const Event& e) {
    return e.event == EVENT_OBJECT_FOCUS && e.window == grid && e.child == focus.lVal;
  }));
  cells->Release();
  UnhookWinEvent(hook);
  form.HistoryButton.click();
  settle();

  TCalcCustomForm dialog(services, form, table, *form.Settings(), folder.path(),
                         FilePath("ZO_VEZA.HLP"));
  dialog.SetCategory(1);
  TCalcAboutForm about(form);
  for (Form* other : std::initializer_list<Form*>{&dialog, &about}) {
    services.showModeless(*other);
    settle();
    const std::vector<Heard> heard = HeardIn(WindowOf(*other));
    ExpectNamed(heard, other == &dialog ? "dialog" : "about");
    if (other == &dialog) {
      EXPECT_NE(Find(heard, L"9 行目 色"), nullptr);
    }
    DestroyWindows(*other);
  }
  CoUninitialize();
}

// One visit of a screen reader from another process: the helper takes the
// client object of every window and releases them; the window answers
// while it waits. False when the helper did not run to its end.
bool WalkFromAnotherProcess(Win32Services& services) {
  std::wstring command = SjisToWide(HK_WINDOW_TEXTS_PATH);
  command = L"\"" + command + L"\" --walk \"" + SjisToWide("はかり丸") + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  DWORD waited = WAIT_TIMEOUT;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (waited != WAIT_OBJECT_0 && std::chrono::steady_clock::now() < until) {
    waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 200, QS_ALLINPUT);
    test::Pump(services);
  }
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return waited == WAIT_OBJECT_0 && code == 0;
}

SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
             ? counters.WorkingSetSize
             : 0;
}

// What readers are handed is released again when they let go: the count of
// our objects comes back after each visit. HK_READER_WALKS sets how many
// visits (the memory figures are printed).
TEST_F(MainWindowOnScreen, ScreenReaderWalksFromAnotherProcessLeaveNoObjects) {
  const char* asked = std::getenv("HK_READER_WALKS");
  const int walks = asked ? std::max(1, std::atoi(asked)) : 3;
  settle();
  const long before = AccessibleObject::Live();
  const long made = AccessibleObject::Made();
  ASSERT_TRUE(WalkFromAnotherProcess(services));
  settle();
  EXPECT_GE(AccessibleObject::Made() - made, 3) << "the walk asked the window's objects";
  EXPECT_EQ(AccessibleObject::Live(), before) << "after the first walk";
  const SIZE_T memoryBefore = WorkingSet();
  for (int walk = 1; walk < walks; ++walk) ASSERT_TRUE(WalkFromAnotherProcess(services)) << walk;
  settle();
  EXPECT_EQ(AccessibleObject::Live(), before) << "after " << walks << " walks";
  std::printf("%d walks: %ld objects live; working set %lu KB after the first, %lu KB now\n", walks,
              AccessibleObject::Live(), static_cast<unsigned long>(memoryBefore / 1024),
              static_cast<unsigned long>(WorkingSet() / 1024));
}

TEST_F(MainWindowOnScreen, ThePowersListOpensOnTopOfWhatItCovers) {
  form.Rui2MenuClick(2);
  settle();
  const HWND list = WindowOf(form.ListBox1);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(IsWindowVisible(list));
  RECT r{};
  GetWindowRect(list, &r);
  // Over the first category button and over the input.
  for (const POINT p : {POINT{r.left + 30, r.top + 40}, POINT{r.left + 60, r.top + 140}}) {
    const HWND hit = WindowFromPoint(p);
    EXPECT_TRUE(hit == list || IsChild(list, hit)) << p.x << "," << p.y;
  }

  form.ListBox1.selectItem(10);
  settle();
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(form.ResultValueLabel.text(), "         1,024");
}

}  // namespace
}  // namespace hk
