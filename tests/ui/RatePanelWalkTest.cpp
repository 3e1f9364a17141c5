// The money page walked through at random, as a user with the mouse and the
// keys would: spinner steps, typed rates, conversions, other categories,
// other pages and exits. After every step the rate each row shows, the factor
// that converts and the rate in the settings file must be the same, and no
// rate the user set may go missing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "data/NumberSyntax.h"
#include "data/ProfileFile.h"
#include "ui/CalcMainFixture.h"

namespace hk {
namespace {

// What a unit must hold: a rate as the user reads it, or, for a row left as
// the panel showed it, the factor to the last bit.
struct Expectation {
  long double rate = 0;
  std::optional<Real48> exact;
};

bool Holds(const Real48& factor, const Expectation& expected) {
  if (expected.exact) return factor.bytes() == expected.exact->bytes();
  const long double scale = std::fmax(std::fabs(expected.rate), 1e-30L);
  return std::fabs(factor.value() - expected.rate) <= scale * std::ldexp(1.0L, -36);
}

// I + D x 10^-d as the user reads the two boxes.
long double RateOf(const RateRowTexts& texts, int decimals) {
  const long double i = static_cast<long double>(*ParseWholeNumber(texts.integerText));
  const long double d = static_cast<long double>(*ParseWholeNumber(texts.decimalText));
  return i + d / std::pow(10.0L, decimals);
}

struct RowState {
  bool shown = false;
  RateRowTexts filled;
  Real48 filledFactor;
  bool keepsFilledFactor = true;  // not read into the factor since it was filled
  std::optional<RateRowTexts> lastRead;
};

class RatePanelWalk : public CalcMainTest {
 protected:
  using Action = std::function<void()>;

  RateRowTexts texts(int row) const {
    return {form->RateEdit(row).text(), form->RateEdit(kUnitsPerCategory + row).text()};
  }
  int category() const { return form->Selection.CurrentCategory; }
  bool onMoneyPage() const { return form->Selection.CurrentPage == 3; }
  RowState& state(int row) { return rows[static_cast<std::size_t>(row - 1)]; }

  Expectation expected(int row) {
    const RowState& s = state(row);
    const RateRowTexts now = texts(row);
    if (s.keepsFilledFactor && now.integerText == s.filled.integerText &&
        now.decimalText == s.filled.decimalText) {
      return {s.filledFactor.value(), s.filledFactor};
    }
    return {RateOf(now, table[category()].unit(row).Decimals), std::nullopt};
  }

  // The panel was filled: what it shows must be what was last saved.
  void filled() {
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      const Real48 factor = table[category()].unit(row).Factor;
      const auto saved = committed.find({category(), row});
      if (saved != committed.end()) {
        EXPECT_TRUE(Holds(factor, saved->second))
            << "unit " << row << " lost its rate " << static_cast<double>(saved->second.rate);
      }
      RowState& s = state(row);
      s = RowState{};
      s.shown = form->RateEdit(row).enabled();
      s.filled = texts(row);
      s.filledFactor = factor;
    }
  }

  // A conversion or a save read every row that is not left alone.
  void read() {
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      RowState& s = state(row);
      if (!s.shown) continue;
      if (!expected(row).exact) s.keepsFilledFactor = false;
      s.lastRead = texts(row);
    }
  }

  // Leaving the shown category saves it when a row was changed or read since
  // it was filled: what its rows show now must be in the file once it has
  // been left, and back in the panel at its next fill.
  using Saved = std::map<int, Expectation>;
  Saved leaving() {
    read();
    Saved rates;
    bool changed = false;
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      if (state(row).shown && !expected(row).exact) changed = true;
    }
    if (!changed) return rates;
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      if (state(row).shown) rates[row] = expected(row);
    }
    return rates;
  }
  void checkSaved(int savedCategory, const Saved& rates) {
    const ProfileFile file(settingsPath());
    const std::string section = "BUNRUI" + std::to_string(savedCategory);
    for (const auto& [row, e] : rates) {
      committed[{savedCategory, row}] = e;
      const auto data = file.lookup(section, "DATA" + std::to_string(row));
      ASSERT_TRUE(data) << section << " DATA" << row;
      EXPECT_TRUE(Holds(Real48(*ParseReal(*data)), e)) << section << " DATA" << row << "=" << *data;
    }
  }

  // Every row that has been read since its last change converts with what it
  // shows; a row left alone keeps its factor.
  void checkRows() {
    ASSERT_TRUE(errors.empty()) << errors.front();
    ASSERT_TRUE(services.messageBoxes.empty()) << services.messageBoxes.front().text;
    if (!onMoneyPage()) return;
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      const RowState& s = state(row);
      const RateRowTexts now = texts(row);
      const bool settled = s.lastRead && s.lastRead->integerText == now.integerText &&
                           s.lastRead->decimalText == now.decimalText;
      const Expectation e = expected(row);
      if (!s.shown || (!settled && !e.exact)) continue;
      EXPECT_TRUE(Holds(table[category()].unit(row).Factor, e))
          << "row " << row << " shows " << now.integerText << " " << now.decimalText
          << " and converts with "
          << static_cast<double>(table[category()].unit(row).Factor.value());
    }
  }

  int anyShownRow() {
    std::vector<int> shown;
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      if (state(row).shown) shown.push_back(row);
    }
    if (shown.empty()) return 0;
    return shown[std::uniform_int_distribution<std::size_t>(0, shown.size() - 1)(random)];
  }
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  std::string digits(int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text.push_back(static_cast<char>('0' + pick(0, 9)));
    return text;
  }

  void stepSpinner() {
    const int row = anyShownRow();
    if (row == 0) return;
    UpDown& spinner = form->RateUpDown(row + (pick(0, 1) == 1 ? kUnitsPerCategory : 0));
    if (pick(0, 1) == 1) {
      spinner.stepUp();
    } else {
      spinner.stepDown();
    }
  }

  void typeRate() {
    const int row = anyShownRow();
    if (row == 0) return;
    form->RateEdit(row + (pick(0, 1) == 1 ? kUnitsPerCategory : 0)).userChanged(digits(pick(1, 3)));
  }

  void convert() {
    const int from = anyShownRow();
    const int to = anyShownRow();
    if (from == 0 || expected(from).rate <= 0) return;
    typeInput(*form, "100");
    if (!form->FromButton(from).down()) form->FromButton(from).click();
    if (!form->ToButton(to).down()) form->ToButton(to).click();
    form->TargetEdit.pressKey('\r');
    read();
  }

  void pickCategory() {
    const int before = category();
    const int position = pick(1, kCategoriesPerPage);
    if (CategoryAtPosition(form->Selection.PageFirst, position) == before) return;
    const Saved rates = leaving();
    form->CategoryButton(position).click();
    checkSaved(before, rates);
    filled();
  }

  void changePage() {
    if (onMoneyPage()) {
      const int before = category();
      const Saved rates = leaving();
      form->PageButton1.click();
      checkSaved(before, rates);
    } else {
      form->PageButton3.click();
      filled();
    }
  }

  void exitAndStart() {
    const bool money = onMoneyPage();
    const int before = category();
    const Saved rates = money ? leaving() : Saved{};
    form->destroyed();
    if (money) checkSaved(before, rates);
    form.reset();
    table = CategoryTable::BuiltIn();
    form = start();
    if (onMoneyPage()) filled();
  }

  std::unique_ptr<TCalcMainForm> form;
  std::array<RowState, kUnitsPerCategory> rows{};
  std::map<std::pair<int, int>, Expectation> committed;
  std::mt19937 random;
};

TEST_F(RatePanelWalk, WhatEachRowShowsIsWhatConvertsAndWhatIsSaved) {
  // 米ドル's rate is finer than its two decimals: left alone it keeps it.
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n[BUNRUI25]\r\nDATA2=0.9412345\r\n");
  const std::vector<std::pair<int, Action>> actions = {
      {30, [this] { stepSpinner(); }}, {20, [this] { typeRate(); }},
      {25, [this] { convert(); }},     {8, [this] { pickCategory(); }},
      {4, [this] { changePage(); }},   {2, [this] { exitAndStart(); }},
  };
  std::vector<int> weights;
  for (const auto& action : actions) weights.push_back(action.first);

  form = start();
  filled();
  for (const unsigned seed : {1u, 2u, 3u}) {
    random.seed(seed);
    std::discrete_distribution<std::size_t> which(weights.begin(), weights.end());
    for (int step = 1; step <= 600; ++step) {
      const std::size_t a = which(random);
      SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step) + " action " +
                   std::to_string(a));
      // Away from the money page only the page and the exit do anything.
      if (onMoneyPage() || a >= 4) actions[a].second();
      checkRows();
      if (HasFatalFailure() || HasNonfatalFailure()) return;
    }
  }
  form->destroyed();
}

}  // namespace
}  // namespace hk
