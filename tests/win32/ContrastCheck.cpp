// Every text of the main window's three pages, the history window with marks
// and the customisation dialog, measured from the screen in the black
// high-contrast scheme the prefix starts in, then in a white one and in a dark
// one not flagged as high contrast, both set live: the lightest and darkest
// pixels of each text's box must stand 4.5:1 apart. Wine cannot flag high
// contrast, so these services answer it. Usage: hk_contrast_check FOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
#include "history/HistoryStore.h"
#include "platform/Palette.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"
#include "ui/CalcUnt1.h"
#include "ui/CalcUnt2.h"
#include "ui/calcMain.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

class SchemeServices : public Win32Services {
 public:
  explicit SchemeServices(std::filesystem::path folder) : folder_(std::move(folder)) {}
  FilePath executablePath() override { return folder_ / "hakarimaru.exe"; }
  bool highContrast() override { return flagged; }
  bool flagged = true;

 private:
  std::filesystem::path folder_;
};

struct Box {
  std::string text;
  RECT r;  // on the screen
};

SIZE Extent(const Control& control) {
  WindowDc dc(nullptr);
  SelectedObject font(dc.get(), SharedFont(control.font()));
  const std::wstring text = SjisToWide(control.text());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return {r.right, r.bottom};
}

RECT OnScreen(const Control& control) {
  RECT r{};
  HWND window = WindowOf(control);
  if (window) {
    GetClientRect(window, &r);
  } else if (const GraphicPeer* graphic = GraphicPeerOf(control)) {
    r = graphic->place();
    window = graphic->host()->hwnd();
  }
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT Centred(const RECT& r, SIZE size, int down = 0) {
  const LONG left = (r.left + r.right - size.cx) / 2;
  const LONG top = (r.top + r.bottom - size.cy) / 2 + down;
  return {left, top, left + size.cx, top + size.cy};
}

// A speed button's caption under its glyph, or its glyph alone.
RECT ButtonText(const SpeedButton& button) {
  const Picture& glyph = button.glyph();
  const SIZE whole = BitmapSize(SharedPicture(glyph));
  const SIZE g{whole.cx / std::max(glyph.imageCount, 1), whole.cy};
  const SIZE text = Extent(button);
  if (text.cx == 0) return Centred(OnScreen(button), g);
  return Centred(OnScreen(button), text, (g.cy + (g.cy ? 5 : 0)) / 2);
}

void Collect(const Control& control, std::vector<Box>& boxes) {
  for (const Control* child : control.children()) {
    const GraphicPeer* graphic = GraphicPeerOf(*child);
    const HWND window = WindowOf(*child);
    if (graphic ? !graphic->showing() : !window || !IsWindowVisible(window)) continue;
    Collect(*child, boxes);
    const std::string& text = child->text().empty() ? child->hint() : child->text();
    // Blank names say nothing; a disabled button's picture is not text.
    const bool says = text.find_first_not_of(' ') != std::string::npos &&
                      (child->enabled() || !child->text().empty());
    const RECT r = OnScreen(*child);
    switch (child->kind()) {
      case ControlKind::Label:
      case ControlKind::Edit:
        if (says) boxes.push_back({text, r});
        break;
      case ControlKind::Panel:
      case ControlKind::Button:
      case ControlKind::BitBtn:
        if (says) boxes.push_back({text, Centred(r, Extent(*child))});
        break;
      case ControlKind::SpeedButton:
        if (says) boxes.push_back({text, ButtonText(*static_cast<const SpeedButton*>(child))});
        break;
      case ControlKind::ComboBox:
        boxes.push_back(
            {"combo", {r.left, r.top, r.right - GetSystemMetrics(SM_CXVSCROLL), r.bottom}});
        break;
      case ControlKind::Image:
        if (static_cast<const Image*>(child)->sign()) boxes.push_back({"key hint", r});
        break;
      case ControlKind::StringGrid: {
        const auto& grid = static_cast<const StringGrid&>(*child);
        for (int row = 0; row < grid.rowCount(); ++row) {
          for (int col = 0; col < grid.colCount(); ++col) {
            RECT cell = DeviceRect(grid.cellRect(col, row), kLayoutDpi);
            OffsetRect(&cell, r.left, r.top);
            const std::string& value = grid.cell(col, row);
            if (value.find_first_not_of(' ') != std::string::npos) boxes.push_back({value, cell});
          }
        }
        break;
      }
      default:
        break;
    }
  }
}

// The form's client area from the screen, saved, and its texts measured.
int Measure(const std::string& name, Form& form, const std::string& folder) {
  const RECT area = OnScreen(form);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  WindowDc screen(nullptr);
  MemoryDc memory(screen.get());
  BitmapObject shot(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  SelectedObject selected(memory.get(), shot.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto pixel = [&](LONG x, LONG y) {  // a DIB holds 0x00RRGGBB
    const std::uint32_t p = static_cast<const std::uint32_t*>(bits)[y * width + x];
    return static_cast<Colour>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  };
  test::WriteBitmap(folder + "/" + name + ".bmp", width, height, pixel);
  std::vector<Box> boxes;
  Collect(form, boxes);
  int failures = 0;
  for (const Box& box : boxes) {
    if (box.r.top >= area.bottom || box.r.left >= area.right) continue;  // below the window
    double dark = 21;
    double light = 1;
    for (LONG y = std::max(box.r.top + 2, area.top); y < std::min(box.r.bottom, area.bottom) - 2;
         ++y) {
      for (LONG x = std::max(box.r.left + 2, area.left); x < std::min(box.r.right, area.right) - 2;
           ++x) {
        const double c = Contrast(pixel(x - area.left, y - area.top), kBlackColour);
        dark = std::min(dark, c);
        light = std::max(light, c);
      }
    }
    if (light / dark >= 4.5) continue;
    ++failures;
    std::printf("%s: the text at %ld,%ld, %ld wide: %.2f:1\n", name.c_str(), box.r.left - area.left,
                box.r.top - area.top, box.r.right - box.r.left, light / dark);
  }
  std::printf("%s: %zu texts, %d below 4.5:1\n", name.c_str(), boxes.size(), failures);
  return failures + (boxes.empty() ? 1 : 0);
}

void Settle(Win32Services& services) {
  test::RunUntil(
      services, [] { return false; }, 300);
}

BOOL CALLBACK TellHighContrast(HWND window, LPARAM) {
  SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  return TRUE;
}

// Window, its text, face, button text, highlight, its text, grey text,
// shadow, light; the black scheme comes from the prefix.
const int kElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNFACE,
                         COLOR_BTNTEXT,  COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT,
                         COLOR_GRAYTEXT, COLOR_BTNSHADOW,  COLOR_BTNHIGHLIGHT};
const COLORREF kWhiteScheme[] = {0xFFFFFF, 0,        0xFFFFFF, 0, 0x6E0037,
                                 0xFFFFFF, 0x000060, 0x808080, 0};
const COLORREF kDarkScheme[] = {0,        0xFFFFFF, 0,        0xFFFFFF, 0xD77800,
                                0xFFFFFF, 0xA0A0A0, 0x606060, 0xC8C8C8};

int Run(const std::string& folder) {
  if (GetSysColor(COLOR_WINDOW) != 0) return std::printf("the prefix is not in the black scheme\n");
  TempFolder temp;
  SchemeServices services(temp.path());
  ThePalette().setHighContrastSource([&services] { return services.highContrast(); });
  CategoryTable table = CategoryTable::BuiltIn();
  HistoryStore history;
  TCalcMainForm main(services, table, history);
  services.showModeless(main);
  main.TargetEdit.typeText("12.5");
  for (SpeedButton* unit : {&main.TFButton1, &main.TTButton2, &main.TTButton3}) unit->click();
  main.HistoryButton.click();
  TCalcHistoryForm& historyWindow = *CalcHistoryForm;
  Settle(services);  // it takes its designed place from the loop first
  const Rect& place = historyWindow.bounds();
  historyWindow.setBounds({820, 0, place.width, place.height});
  for (int row : {1, 2, 2}) {  // "+" on the first row, "-" on the second
    const Rect cell = historyWindow.StringGrid1.cellRect(1, row);
    historyWindow.StringGrid1.mouseDown(MouseButton::Left, cell.left + 2, cell.top + 2);
  }
  TCalcCustomForm dialog(services, main, table, *main.Settings(), temp.path(),
                         FilePath("ZO_VEZA.HLP"));
  dialog.SetCategory(1);
  dialog.setBounds({820, 420, dialog.bounds().width, dialog.bounds().height});
  services.showModeless(dialog);
  int failures = 0;
  for (const COLORREF* scheme :
       {static_cast<const COLORREF*>(nullptr), kWhiteScheme, kDarkScheme}) {
    const std::string name = !scheme ? "black" : scheme == kWhiteScheme ? "white" : "dark";
    if (scheme) SetSysColors(std::size(kElements), kElements, scheme);
    services.flagged = scheme != kDarkScheme;
    EnumThreadWindows(GetCurrentThreadId(), TellHighContrast, 0);
    for (SpeedButton* page : {&main.PageButton1, &main.PageButton2, &main.PageButton3}) {
      page->click();
      Settle(services);
      failures += Measure(name + "-page" + page->glyph().resourceName.back(), main, folder);
    }
    failures += Measure(name + "-history", historyWindow, folder);
    failures += Measure(name + "-customise", dialog, folder);
  }
  DestroyWindows(dialog);
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace hk

int main(int argc, char** argv) {
  if (argc != 2) return std::printf("usage: hk_contrast_check FOLDER\n");
  return hk::Run(argv[1]);
}
