// The main window on the real windows for a long session: categories, pages
// and conversions over and over must leave the process holding no more GDI
// and USER objects than after the first round; and the powers list opens on
// top of what it covers.
#include <gtest/gtest.h>
#include <windows.h>

// These need windows.h first.
#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
#include "history/HistoryStore.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Services.h"
#include "ui/calcMain.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

// The program beside its settings in a folder of the test's own.
class FolderServices : public Win32Services {
 public:
  explicit FolderServices(std::filesystem::path executable) : executable_(std::move(executable)) {}
  std::filesystem::path executablePath() override { return executable_; }

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

// What a screen reader hears of a window's client area: its children's
// names, roles and states.
struct Heard {
  std::wstring name;
  LONG role = 0;
  LONG state = 0;
};

std::vector<Heard> HeardIn(HWND window, IAccessible** keep = nullptr) {
  std::vector<Heard> heard;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return heard;
  }
  LONG count = 0;
  object->get_accChildCount(&count);
  for (LONG child = 1; child <= count; ++child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    BSTR name = nullptr;
    VARIANT role{};
    VARIANT state{};
    object->get_accName(id, &name);
    object->get_accRole(id, &role);
    object->get_accState(id, &state);
    heard.push_back({name ? std::wstring(name, SysStringLen(name)) : L"", role.lVal, state.lVal});
    SysFreeString(name);
  }
  if (keep) {
    *keep = object;
  } else {
    object->Release();
  }
  return heard;
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

TEST_F(MainWindowOnScreen, ScreenReadersHearThePaintedButtonsAndCanPressThem) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  // The title panel and the unit panels hold only painted controls: the main
  // window paints them, and answers for everything on them.
  EXPECT_EQ(WindowOf(form.Panel1), nullptr);
  IAccessible* units = nullptr;
  const std::vector<Heard> onForm = HeardIn(WindowOf(form), &units);
  ASSERT_NE(units, nullptr);
  const auto find = [](const std::vector<Heard>& heard, const std::string& name) {
    const std::wstring wanted = SjisToWide(name);
    for (const Heard& h : heard) {
      if (h.name == wanted) return h;
    }
    return Heard{L"(not heard)"};
  };
  const struct {
    std::string name;
    LONG role;
    LONG state;
  } expected[] = {
      {form.CategoryButton(2).text(), ROLE_SYSTEM_PUSHBUTTON, 0},
      {form.MenuButton.hint(), ROLE_SYSTEM_PUSHBUTTON, 0},
      {form.FromButton(1).text(), ROLE_SYSTEM_PUSHBUTTON, 0},
  };
  for (const auto& e : expected) {
    const Heard h = find(onForm, e.name);
    EXPECT_EQ(h.role, e.role) << e.name;
    EXPECT_EQ(h.state & (STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE), e.state) << e.name;
  }
  // The empty ninth unit is there, disabled and nameless.
  ASSERT_EQ(onForm.size() >= 9, true);
  EXPECT_TRUE(std::any_of(onForm.begin(), onForm.end(), [](const Heard& h) {
    return h.role == ROLE_SYSTEM_PUSHBUTTON && (h.state & STATE_SYSTEM_UNAVAILABLE);
  }));

  // The default action is a click.
  for (LONG child = 1; child <= static_cast<LONG>(onForm.size()); ++child) {
    if (onForm[child - 1].name != SjisToWide(form.FromButton(1).text())) continue;
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    EXPECT_EQ(units->accDoDefaultAction(id), S_OK);
    VARIANT state{};
    units->get_accState(id, &state);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_PRESSED);
    break;
  }
  EXPECT_TRUE(form.FromButton(1).down());
  units->Release();
  CoUninitialize();
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
