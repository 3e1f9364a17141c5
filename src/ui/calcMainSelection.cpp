// The main window's pages, categories and units: what the buttons show and
// what choosing one does.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "data/FilePath.h"
#include "platform/Dispatcher.h"
#include "ui/calcMain.h"

namespace hk {

namespace {

constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkF9 = 0x78;

constexpr const char* kBitmapFallbackText = "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙが見つからないので標準に戻します";

// The 1-based place of a button in its group, 0 when it is not there.
template <std::size_t N>
int PositionIn(const std::array<SpeedButton*, N>& group, const SpeedButton& button) {
  for (std::size_t i = 0; i < N; ++i) {
    if (group[i] == &button) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The unit buttons keep the designed font whatever the window's font becomes;
// only their colour follows the unit.
Font UnitButtonFont(Colour colour) {
  Font font;
  font.name = "ＭＳ ゴシック";
  font.height = -13;
  font.colour = colour;
  return font;
}

}  // namespace

void TCalcMainForm::ShowPageButtons() {
  const FilePath folder = services_.executablePath().parent_path();
  for (int position = 1; position <= kCategoriesPerPage; ++position) {
    const int c = CategoryAtPosition(Selection.PageFirst, position);
    CategoryRecord& category = table_[c];
    SpeedButton& button = CategoryButton(position);
    Picture glyph = Picture::FromResource(category.IconResource, 24, 18);
    if (category.IconKind != 0) {
      const std::string fileName = UserBitmapFileName(c);
      if (std::optional<Picture> loaded = services_.loadBitmapFile(folder / FilePath(fileName))) {
        glyph = *loaded;
      } else {
        // Only for this run: the settings keep asking for the file, so the
        // user hears about it again at the next start.
        services_.messageBox(kBitmapFallbackText, fileName, kMbOk);
        category.IconKind = 0;
      }
    }
    button.setGlyph(glyph);
    button.setText(category.CategoryName);
  }
}

void TCalcMainForm::ShowCategoryUnits() {
  const CategoryRecord& category = table_[Selection.CurrentCategory];
  const bool moneyPage = Selection.CurrentPage == 3;
  // The selection goes first: a focus moved off a row that is switched off
  // below enters the input box, whose conversion must find no units to run
  // on a half-filled panel.
  if (Selection.FromUnit >= 1) FromButton(Selection.FromUnit).setDown(false);
  if (Selection.ToUnit >= 1) ToButton(Selection.ToUnit).setDown(false);
  Selection.FromUnit = -1;
  Selection.ToUnit = -1;
  Selection.UnitCount = 0;
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const UnitRecord& unit = category.unit(u);
    SpeedButton& from = FromButton(u);
    SpeedButton& to = ToButton(u);
    const bool present = !unit.isEmpty();
    if (present) ++Selection.UnitCount;
    for (SpeedButton* button : {&from, &to}) {
      button->setText(present ? unit.Name : std::string());
      if (present) button->setFont(UnitButtonFont(unit.Colour));
      button->setEnabled(present);
    }
    if (moneyPage) ShowRates(u);
    if (u >= 2) {
      const Picture glyph = FromButton(u - 1).glyph();
      from.setGlyph(glyph);
      to.setGlyph(glyph);
    }
  }
  // Every row was written, and a written edit counts as changed even where
  // its text happened to stay the same.
  if (moneyPage) Selection.RatesChanged = true;
  if (moneyPage) ShowRateDate();
}

void TCalcMainForm::PageButton1Click(SpeedButton& sender) {
  const std::int32_t oldPage = Selection.CurrentPage;
  const std::int32_t newPage = &sender == &PageButton1 ? 1 : &sender == &PageButton2 ? 2 : 3;
  if (newPage == oldPage) return;

  if (oldPage == 3) SaveRatesOnLeaving();
  // The panel's rates belong to the money page; away from it there are none.
  if (oldPage == 3) {
    Selection.RatesChanged = false;
    Selection.RatesCategory = 0;
  }

  Selection.CurrentPage = newPage;
  Selection.choosePageRange(newPage);
  ShowPageButtons();
  Selection.CurrentCategory = Selection.PageFirst;
  CategoryButton(1).setDown(true);
  ShowCategoryUnits();
  if (oldPage == 3) showMoneyPanel(false);
  if (newPage == 3) showMoneyPanel(true);
}

void TCalcMainForm::SpeedButton5Click(SpeedButton& sender) {
  const int position = PositionIn(CategoryButtons, sender);
  if (position == 0) return;
  const std::int32_t oldCategory = Selection.CurrentCategory;
  const std::int32_t newCategory = CategoryAtPosition(Selection.PageFirst, position);
  if (!sender.down()) sender.setDown(true);
  if (newCategory == oldCategory) return;
  // The panel is about to show another category's rates: this one's are
  // saved first, as when the money page is left.
  SaveRatesOnLeaving();
  Selection.CurrentCategory = newCategory;
  ShowCategoryUnits();
  TargetTanniPanel.setText("");
  NameResultUnit();  // no unit now: no name and no value
}

void TCalcMainForm::TFButton1Click(SpeedButton& sender) {
  const int position = PositionIn(FromButtons, sender);
  if (position == 0) return;
  const std::int32_t oldUnit = Selection.FromUnit;
  Selection.FromUnit = position;
  if (!sender.down()) {
    // Released: the name and the result stay as they were.
    Selection.FromUnit = -1;
    return;
  }
  if (Selection.FromUnit == oldUnit) return;
  TargetTanniPanel.setText(table_[Selection.CurrentCategory].unit(position).Name);
  RunConversion();
}

void TCalcMainForm::TTButton1Click(SpeedButton& sender) {
  const int position = PositionIn(ToButtons, sender);
  if (position == 0) return;
  const std::int32_t oldUnit = Selection.ToUnit;
  Selection.ToUnit = position;
  if (!sender.down()) {
    Selection.ToUnit = -1;
    return;
  }
  if (Selection.ToUnit == oldUnit) return;
  NameResultUnit();
}

void TCalcMainForm::NameResultUnit() {
  const std::int32_t unit = Selection.ToUnit;
  ResultTanniLabel.setText(unit >= 1 ? table_[Selection.CurrentCategory].unit(unit).Name
                                     : std::string());
  // The value shown was converted to the unit named before: beside the new
  // name it stays only once a conversion has put it there.
  bool shown = false;
  try {
    RunConversion(&shown);
  } catch (...) {
    if (!shown) ResultValueLabel.setText("");
    throw;
  }
  if (!shown) ResultValueLabel.setText("");
}

bool TCalcMainForm::HandleFunctionKeys(unsigned virtualKey, bool shift) {
  // F1 to F9 belong to the unit buttons alone, also while a button is
  // disabled or a conversion fails: F1 in particular must never reach a
  // window as a request for help.
  if (virtualKey < kVkF1 || virtualKey > kVkF9) return false;
  const int n = static_cast<int>(virtualKey - kVkF1) + 1;
  SpeedButton& button = shift ? ToButton(n) : FromButton(n);
  if (!button.enabled()) return true;
  Fire(std::function<void()>([&] {
    // A key only ever selects; releasing is the mouse's.
    button.setDown(true);
    if (shift) {
      TTButton1Click(button);
    } else {
      TFButton1Click(button);
    }
  }));
  return true;
}

}  // namespace hk
