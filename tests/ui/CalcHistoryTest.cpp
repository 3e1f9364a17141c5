#include "ui/CalcUnt2.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DecimalFormat.h"
#include "history/HistoryExport.h"
#include "platform/Dispatcher.h"
#include "platform/RecordingServices.h"

namespace hk {
namespace {

// The text after `count` blanks.
std::string Blanks(int count, const char* text) { return std::string(count, ' ') + text; }

// A plain form with a history button stands in for the main window.
class CalcHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorReport([this](const std::string& text) { errors.push_back(text); });
    historyButton.setGroupIndex(5);
    historyButton.setAllowAllUp(true);
    historyButton.OnClick = [this] {
      HistoryButtonClick(services, history, mainForm, historyButton, "ZO_VEZA.HLP");
    };
    mainForm.OnMessage = [this](unsigned message) {
      closeMessages.push_back(message);
      if (message == WM_HISTORYCLOSE) HistoryCloseMessage(services, historyButton);
    };
    services.onTrackPopupMenu = [this](const PopupMenu& menu, Point at) {
      menus.push_back({&menu, at});
      return menuChoice;
    };
  }
  void TearDown() override {
    ReleaseHistoryWindow(services);
    services.pump();
    EXPECT_EQ(CalcHistoryForm, nullptr);
    SetErrorReport({});
    EXPECT_TRUE(errors.empty()) << errors.front();
  }

  void append(const char* target, long double targetValue, long double resultValue,
              const char* targetTanni = "m", const char* resultTanni = "ft") {
    history.AppendHistory(
        {target, targetTanni, "  result", resultTanni, targetValue, resultValue, kSignNone});
    RefreshHistoryWindow();
  }
  TCalcHistoryForm& open() {
    historyButton.click();
    return *CalcHistoryForm;
  }
  static void click(TCalcHistoryForm& w, int col, int row, MouseButton b = MouseButton::Left) {
    const Rect r = w.StringGrid1.cellRect(col, row);
    w.StringGrid1.mouseDown(b, r.left + 3, r.top + 3);
  }
  static std::string total(const TCalcHistoryForm& w, int col) {
    return w.StringGrid1.cell(col, w.StringGrid1.rowCount() - 1);
  }

  struct Tracked {
    const PopupMenu* menu;
    Point at;
  };
  RecordingServices services;
  HistoryStore history;
  Form mainForm{FormStyle::BorderlessPopup};
  Panel titlePanel{&mainForm};
  SpeedButton historyButton{&titlePanel};
  std::vector<unsigned> closeMessages;
  std::vector<Tracked> menus;
  int menuChoice = -1;
  std::vector<std::string> errors;
};

TEST_F(CalcHistoryTest, TheGridFillsTheWindowBelowTheToolbar) {
  TCalcHistoryForm& w = open();
  EXPECT_EQ(w.owner(), &mainForm);
  EXPECT_EQ(w.bounds(), (Rect{371, 117, 403, 367}));
  EXPECT_EQ(w.StringGrid1.bounds(), (Rect{0, 33, 403, 334}));

  // Sizing the window keeps the toolbar on top and the grid in the rest.
  w.resized({371, 117, 500, 400});
  EXPECT_EQ(w.StringGrid1.bounds(), (Rect{0, 33, 500, 367}));
  EXPECT_EQ(w.Panel1.bounds().width, 500);
  // Once the platform has measured a frame, the loop puts the outer size back.
  w.setFrameExtent(8, 27);
  services.pump();
  EXPECT_EQ(w.bounds(), (Rect{371, 117, 403, 367}));
  EXPECT_EQ(w.StringGrid1.bounds(), (Rect{0, 33, 395, 307}));
}

TEST_F(CalcHistoryTest, OpeningShowsTheRowsAndMarksButEmptyTotals) {
  append("10", 10, 2.5L);
  append("4", 4, 0.75L);
  history.record(1).Sign = kSignAdd;
  history.record(2).Sign = kSignSubtract;
  history.ComputeTotals();
  TCalcHistoryForm& w = open();
  const StringGrid& g = w.StringGrid1;
  EXPECT_EQ(g.rowCount(), 4);
  const std::vector<std::vector<std::string>> rows = {
      {"No", "+/-", "変換元数値", "単位", "結果数値", "単位"},
      {"1", "＋", "10", "m", "  result", "ft"},
      {"2", "－", "4", "m", "  result", "ft"},
      {"計", "＝", "", "", "", ""}};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 6; ++col) EXPECT_EQ(g.cell(col, row), rows[row][col]) << col << row;
  }
  const int widths[] = {26, 26, 91, 65, 104, 65};
  for (int col = 0; col < 6; ++col) EXPECT_EQ(g.colWidth(col), widths[col]);
  EXPECT_EQ(g.defaultRowHeight(), 18);
  EXPECT_EQ(g.fixedColour(), kColourButtonFace);

  // A refresh puts dragged widths back and, without totals, empties them.
  w.StringGrid1.setColWidth(2, 200);
  w.RecalcTotals();
  EXPECT_EQ(total(w, 2), Blanks(8, "6.00000"));
  w.RefreshGrid();
  EXPECT_EQ(g.colWidth(2), 91);
  EXPECT_EQ(total(w, 2), "");

  // An empty history: the header and the total row alone.
  w.ClearButtonClick();
  EXPECT_EQ(history.HistoryCount(), 0);
  EXPECT_EQ(g.rowCount(), 2);
  EXPECT_EQ(g.cell(0, 1), "計");
  EXPECT_EQ(total(w, 2), "");
}

TEST_F(CalcHistoryTest, MarkClicksCycleInColumnOneOfDataRowsOnly) {
  append("10", 10, 2.5L);
  append("4", 4, 0.75L);
  TCalcHistoryForm& w = open();
  click(w, 1, 1);
  click(w, 1, 2);
  click(w, 1, 2);
  EXPECT_EQ(total(w, 2), Blanks(8, "6.00000"));
  EXPECT_EQ(total(w, 4), Blanks(8, "1.75000"));
  click(w, 1, 2);  // back to blank
  EXPECT_EQ(w.StringGrid1.cell(1, 2), "  ");
  EXPECT_EQ(total(w, 2), Blanks(7, "10.00000"));
  EXPECT_EQ(total(w, 4), Blanks(8, "2.50000"));
  for (int i = 0; i < 3; ++i) click(w, 1, 1);
  EXPECT_EQ(history.record(1).Sign, kSignAdd);
  EXPECT_EQ(total(w, 2), Blanks(7, "10.00000"));

  // The header, the total row and the other columns ignore the mouse.
  const struct { int col, row; } ignored[] = {{1, 0}, {1, 3}, {0, 1}, {2, 1}, {5, 2}};
  for (const auto& at : ignored) click(w, at.col, at.row);
  w.StringGrid1.mouseDown(MouseButton::Left, 1000, 1000);
  EXPECT_EQ(history.record(1).Sign, kSignAdd);
  EXPECT_EQ(history.record(2).Sign, kSignNone);
  EXPECT_TRUE(menus.empty());
}

// Rows of 1e38 unless given, where two of one sign overflow the totals,
// marked as the text says ('+', '-', '_' for none); then one click, key or
// row command. Whatever is refused or cleared, the totals kept and shown are
// those that the records and marks left give.
enum class Act { Click, Space, MenuAdd, MenuDelete };

struct OverflowCase {
  const char* name;
  const char* marks;
  Act act;
  int row;
  const char* after;
  std::size_t overflows;  // reported
  const char* told;       // in the message box, or nullptr for none
  std::vector<long double> values;
};

class OverflowingMarks : public CalcHistoryTest,
                         public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(OverflowingMarks, LeaveTheTotalsOfTheMarksShown) {
  const OverflowCase& c = GetParam();
  const std::string marks = c.marks;
  const std::uint8_t signs[] = {kSignNone, kSignAdd, kSignSubtract};
  const std::string symbols = "_+-";
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const long double value = c.values.empty() ? 1e38L : c.values[i];
    append("v", value, value);
    history.record(static_cast<int>(i) + 1).Sign = signs[symbols.find(marks[i])];
  }
  TCalcHistoryForm& w = open();
  w.RecalcTotals();
  w.StringGrid1.select(2, c.row);
  switch (c.act) {
    case Act::Click:
      click(w, 1, c.row);
      break;
    case Act::Space:
      w.pressShortcut(key::kSpace, kNoModifiers);
      break;
    case Act::MenuAdd:
    case Act::MenuDelete:
      menuChoice = c.act == Act::MenuAdd ? 2 : 0;
      click(w, 4, c.row, MouseButton::Right);
      break;
  }

  std::string after;
  for (int row = 1; row <= history.HistoryCount(); ++row) {
    after += symbols[history.record(row).Sign];
    EXPECT_EQ(w.StringGrid1.cell(1, row), SignText(history.record(row).Sign)) << row;
  }
  EXPECT_EQ(after, c.after);
  EXPECT_EQ(errors, std::vector<std::string>(c.overflows, "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ"));
  errors.clear();
  ASSERT_EQ(services.messageBoxes.size(), c.told ? 1u : 0u);
  if (c.told) {
    EXPECT_NE(services.messageBoxes[0].text.find(c.told), std::string::npos);
  }
  const long double target = history.TargetTotal().value();
  const long double result = history.ResultTotal().value();
  history.ComputeTotals();
  EXPECT_EQ(history.TargetTotal().value(), target);
  EXPECT_EQ(history.ResultTotal().value(), result);
  EXPECT_EQ(total(w, 2), FormatFixed(target, 5, 15));
  EXPECT_EQ(total(w, 4), FormatFixed(result, 5, 15));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OverflowingMarks,
    ::testing::Values(
        OverflowCase{
            "AClickPassesARefusedAddForSubtract", "+_", Act::Click, 2, "+-", 1, nullptr, {}},
        OverflowCase{"SpaceDoesAlike", "+_", Act::Space, 2, "+-", 1, nullptr, {}},
        OverflowCase{"ARefusedSubtractPassesToNone", "-+", Act::Click, 2, "-_", 1, nullptr, {}},
        OverflowCase{"NoMarkLeftKeepsTheBlank", "+_--", Act::Click, 2, "+_--", 1, nullptr, {}},
        OverflowCase{"NoMarkLeftKeepsTheSubtract", "+-+", Act::Click, 2, "+-+", 1, nullptr, {}},
        OverflowCase{"TheMenusChoiceIsRefusedAlone", "+_", Act::MenuAdd, 2, "+_", 1, nullptr, {}},
        OverflowCase{
            "ADeleteThatFitsTellsNothing", "+-+", Act::MenuDelete, 1, "-+", 0, nullptr, {}},
        OverflowCase{
            "ADeleteClearsTheMarkThatOverflows", "+-+", Act::MenuDelete, 2, "+_", 0, "2 行目", {}},
        OverflowCase{"ADeleteClearsEachMarkThatOverflows",
                     "+-++",
                     Act::MenuDelete,
                     2,
                     "+__",
                     0,
                     "2, 3 行目",
                     {1.5e38L, 1e38L, 0.5e38L, 0.5e38L}}),
    [](const ::testing::TestParamInfo<OverflowCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(CalcHistoryTest, TheRowMenuOpensOnDataRowsAtTheMouse) {
  for (const char* t : {"1", "2", "3", "4", "5"}) append(t, std::stold(t), std::stold(t) / 2);
  TCalcHistoryForm& w = open();
  click(w, 2, 6, MouseButton::Right);  // the total row
  click(w, 3, 0, MouseButton::Right);
  EXPECT_TRUE(menus.empty());

  w.StringGrid1.mouseDown(MouseButton::Right, 120, 40);  // column 2 of row 2
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].menu, &w.PopupMenu2);
  // The grid's cells start inside its two-pixel sunken edge.
  EXPECT_EQ(menus[0].at.x, 371 + 2 + 120);
  EXPECT_EQ(menus[0].at.y, 117 + 33 + 2 + 40);
  EXPECT_EQ(w.clickRow(), 2);
  // With a frame, the client area starts inside the border, below the caption.
  w.setFrameExtent(8, 27);
  w.StringGrid1.mouseDown(MouseButton::Right, 120, 40);
  EXPECT_EQ(menus[1].at.x, 371 + 4 + 2 + 120);
  EXPECT_EQ(menus[1].at.y, 117 + 23 + 33 + 2 + 40);

  // Items by index: 0 delete, 2 add, 3 subtract, 4 exclude.
  struct Step {
    int row, item;
  };
  for (const Step step : {Step{3, 2}, Step{4, 3}, Step{5, 2}, Step{5, 4}}) {
    menuChoice = step.item;
    click(w, 4, step.row, MouseButton::Right);
  }
  EXPECT_EQ(total(w, 2), Blanks(7, "-1.00000"));  // 3 - 4
  menuChoice = 0;
  click(w, 0, 3, MouseButton::Right);
  ASSERT_EQ(history.HistoryCount(), 4);
  EXPECT_EQ(w.StringGrid1.rowCount(), 6);
  const char* left[] = {"1", "2", "4", "5"};
  for (int row = 1; row <= 4; ++row) {
    EXPECT_EQ(w.StringGrid1.cell(0, row), std::to_string(row));
    EXPECT_EQ(w.StringGrid1.cell(2, row), left[row - 1]);
  }
  EXPECT_EQ(w.StringGrid1.cell(1, 3), "－");
  EXPECT_EQ(total(w, 2), Blanks(7, "-4.00000"));
  EXPECT_EQ(total(w, 4), Blanks(7, "-2.00000"));
}

TEST_F(CalcHistoryTest, KeysActOnTheCurrentRow) {
  for (const char* t : {"1", "2", "3", "4"}) append(t, std::stold(t), 1);
  TCalcHistoryForm& w = open();
  EXPECT_EQ(w.focused(), &w.StringGrid1);
  const struct {
    int row;  // made current first; 0 keeps the current one
    unsigned key, modifiers;
    const char* signs;
  } steps[] = {
      {0, key::kSpace, 0, "0001"},     {0, key::kSpace, 0, "0002"},  // opened on the newest
      {1, key::kPlus, kShift, "1002"}, {2, key::kNumpadSubtract, 0, "1202"},
      {2, key::kNumpadAdd, 0, "1102"}, {3, key::kMinus, 0, "1122"},
      {3, key::kPlus, 0, "1112"},      {5, key::kSpace, 0, "1112"},  // the total row
      {4, key::kDelete, 0, "111"},     {0, key::kSpace, 0, "112"},   // now on the last
  };
  for (const auto& step : steps) {
    if (step.row > 0) w.StringGrid1.select(2, step.row);
    w.pressShortcut(step.key, step.modifiers);
    std::string signs;
    for (int i = 1; i <= history.HistoryCount(); ++i)
      signs += std::to_string(history.record(i).Sign);
    EXPECT_EQ(signs, step.signs) << step.row << " " << step.key;
  }
  // The row menu at the current cell, by both keys; then the toolbar's letters.
  w.pressShortcut(key::kApps, kNoModifiers);
  w.pressShortcut(key::kF10, kShift);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[1].at.y, 117 + 33 + 2 + w.StringGrid1.cellRect(2, 3).bottom());
  // Clearing by its key asks first, and the default No keeps every row.
  std::vector<int> answers{kIdNo, kIdYes};
  services.onMessageBox = [&answers](const RecordedMessageBox& box) {
    EXPECT_EQ(box.flags, kMbYesNo | kMbDefButton2);
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  };
  for (char letter : {'c', 'h', 'e'}) EXPECT_TRUE(w.pressAccelerator(letter)) << letter;
  EXPECT_EQ(menus.size(), 3u);
  EXPECT_EQ(history.HistoryCount(), 3);
  EXPECT_FALSE(w.pressAccelerator('l'));  // the main window's first category
  EXPECT_TRUE(w.pressAccelerator('e'));
  EXPECT_EQ(history.HistoryCount(), 0);
  // Esc is the close button: the window goes and the history button comes up.
  w.pressShortcut(key::kEscape, kNoModifiers);
  services.pump();
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(historyButton.down());
}

TEST_F(CalcHistoryTest, CopyMenuPutsEachModeOnTheClipboard) {
  TCalcHistoryForm& w = open();
  menuChoice = 0;
  w.ClipButtonClick();  // an empty history: the total line with no units
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].menu, &w.PopupMenu1);
  EXPECT_EQ(menus[0].at.x, 371 + 0 + 4);
  EXPECT_EQ(menus[0].at.y, 117 + 0 + 25);
  const std::string zero = std::string(8, ' ') + "0.00000";
  EXPECT_EQ(services.clipboard.back(), "合計    " + zero + "  " + zero + " ");

  append("100", 100, 328.084L, "m", "ft");
  append("3", 3, 9.84252L, "m", "ft");
  for (int mode = 0; mode < 3; ++mode) {
    menuChoice = mode;
    w.ClipButtonClick();
    EXPECT_EQ(services.clipboard.back(), HistoryExportText(history, mode)) << mode;
  }
  // Mode 1 without marks is mode 2.
  EXPECT_EQ(services.clipboard[2], services.clipboard[3]);
  const std::string all = services.clipboard[1];
  EXPECT_EQ(all.substr(0, 24), std::string(20, ' ') + "100 ");
  EXPECT_EQ(all.find('\n'), std::string::npos);

  click(w, 1, 1);
  w.SIGNCLIPMENUClick();
  EXPECT_EQ(services.clipboard.back().rfind("  ＋ ", 0), 0u);
  EXPECT_NE(services.clipboard.back().find(Blanks(6, "100.00000 m")), std::string::npos);
}

TEST_F(CalcHistoryTest, DrawCellPaintsEachKindOfCell) {
  append("10", 10, 2.5L);
  TCalcHistoryForm& w = open();
  w.RecalcTotals();
  w.StringGrid1.select(2, 1);
  const Colour face = kColourButtonFace;
  const struct {
    int col, row;
    Colour brush;
    Colour text;
    unsigned align;
    int inset;
    bool fixed;
    bool focus;
  } cells[] = {
      {0, 0, face, kColourWindowText, kDtCenter, 0, true, false},
      {4, 0, face, kColourWindowText, kDtCenter, 0, true, false},
      {0, 1, face, kColourWindowText, kDtCenter, 0, true, false},
      {1, 1, kWhite, kColourWindowText, kDtCenter, 0, false, false},
      {2, 1, kLightYellow, kColourWindowText, kDtRight | kDtEndEllipsis, 5, false, true},
      {3, 1, kWhite, kColourWindowText, kDtRight, 0, false, false},
      {4, 1, kLightYellow, kColourWindowText, kDtRight | kDtEndEllipsis, 5, false, false},
      {0, 2, face, kColourWindowText, kDtCenter, 0, true, false},
      {1, 2, 0x00E0E0E0, kBlackColour, kDtCenter, 0, false, false},
      {2, 2, 0x00E0E0E0, kBlackColour, kDtRight | kDtEndEllipsis, 5, false, false},
      {5, 2, 0x00E0E0E0, kBlackColour, kDtRight, 0, false, false},
  };
  for (const auto& c : cells) {
    RecordingCanvas canvas;
    w.StringGrid1.drawCell(c.col, c.row, canvas);
    const Rect rect = w.StringGrid1.cellRect(c.col, c.row);
    const auto fills = canvas.only(RecordingCanvas::Op::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, rect);
    EXPECT_EQ(fills[0].colour, c.brush) << c.col << "," << c.row;
    const auto texts = canvas.only(RecordingCanvas::Op::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, w.StringGrid1.cell(c.col, c.row));
    EXPECT_EQ(texts[0].flags, kDtSingleLine | kDtVCenter | c.align) << c.col << "," << c.row;
    EXPECT_EQ(texts[0].rect, (Rect{rect.left, rect.top, rect.width - c.inset, rect.height}));
    EXPECT_EQ(texts[0].colour, c.text);
    EXPECT_EQ(texts[0].font.name, "ＭＳ ゴシック");
    const auto lines = canvas.only(RecordingCanvas::Op::LineTo);
    ASSERT_EQ(lines.size(), c.fixed ? 2u : 0u);
    if (c.fixed) {
      EXPECT_EQ(canvas.only(RecordingCanvas::Op::MoveTo)[0].point.y, rect.bottom() - 1);
      EXPECT_EQ(lines[1].point.x, rect.right());
      EXPECT_EQ(lines[1].colour, kColourButtonHighlight);
    }
    EXPECT_EQ(canvas.only(RecordingCanvas::Op::FocusRect).size(), c.focus ? 1u : 0u);
  }
}

TEST_F(CalcHistoryTest, TheButtonTogglesAndTheTwoCloseBoxesDiffer) {
  TCalcHistoryForm* first = &open();
  EXPECT_TRUE(historyButton.down());
  EXPECT_EQ(services.shown, std::vector<Form*>{first});
  EXPECT_FALSE(first->modalMode());
  historyButton.click();  // the second click releases it
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(historyButton.down());
  services.pump();  // its late goodbye only raises the button again
  EXPECT_EQ(closeMessages, std::vector<unsigned>{WM_HISTORYCLOSE});
  EXPECT_FALSE(historyButton.down());

  // The close button: the main window releases it.
  open().SpeedButton4.click();
  EXPECT_NE(CalcHistoryForm, nullptr);
  services.pump();
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(historyButton.down());

  // The system's close box only hides it; it is still refreshed.
  TCalcHistoryForm& hidden = open();
  hidden.close();
  EXPECT_FALSE(hidden.visible());
  EXPECT_EQ(CalcHistoryForm, &hidden);
  EXPECT_TRUE(historyButton.down());
  append("7", 7, 1);
  EXPECT_EQ(hidden.StringGrid1.cell(2, 1), "7");
  EXPECT_EQ(total(hidden, 2), Blanks(8, "0.00000"));
  historyButton.click();
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(historyButton.down());
  historyButton.click();
  EXPECT_NE(CalcHistoryForm, nullptr);
  EXPECT_TRUE(historyButton.down());
}

TEST_F(CalcHistoryTest, TheMenuEntryRunsTheWindowModally) {
  HistoryMenuClick(services, history, mainForm, "ZO_VEZA.HLP");
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, "計算履歴はありません");
  EXPECT_EQ(services.messageBoxes[0].title, "履歴表示");
  EXPECT_EQ(services.messageBoxes[0].flags, kMbOk);
  EXPECT_TRUE(services.modalRuns.empty());

  append("1", 1, 1);
  services.onRunModal = [this](Form& form) {
    auto& w = static_cast<TCalcHistoryForm&>(form);
    EXPECT_EQ(CalcHistoryForm, &w);
    EXPECT_TRUE(w.modalMode());
    w.HelpButtonClick();
    w.SpeedButton4.click();
    return kModalOk;
  };
  HistoryMenuClick(services, history, mainForm, "ZO_VEZA.HLP");
  ASSERT_EQ(services.modalRuns.size(), 1u);
  EXPECT_EQ(services.modalRuns[0]->modalResult(), kModalCancel);
  ASSERT_EQ(services.helpCalls.size(), 1u);
  EXPECT_EQ(services.helpCalls[0].context, 273u);
  EXPECT_EQ(services.helpCalls[0].file, "ZO_VEZA.HLP");
  EXPECT_EQ(CalcHistoryForm, nullptr);
  services.pump();
  EXPECT_TRUE(closeMessages.empty());
  EXPECT_FALSE(historyButton.down());

  // While a modeless window exists, the entry brings it back instead.
  TCalcHistoryForm& modeless = open();
  modeless.close();
  HistoryMenuClick(services, history, mainForm, "ZO_VEZA.HLP");
  EXPECT_EQ(services.modalRuns.size(), 1u);
  EXPECT_TRUE(modeless.visible());
  EXPECT_EQ(CalcHistoryForm, &modeless);
}

TEST_F(CalcHistoryTest, AppendsRefreshTheWindowAndShutDownPostsNothing) {
  for (int i = 0; i < kHistoryCapacity; ++i) append("1", 1, 1);
  TCalcHistoryForm& w = open();
  click(w, 1, 999);
  EXPECT_EQ(total(w, 2), Blanks(8, "1.00000"));
  ASSERT_GT(w.StringGrid1.topRow(), 900);
  append("2", 2, 2);  // the 1000th starts afresh
  EXPECT_EQ(w.StringGrid1.rowCount(), 3);
  EXPECT_EQ(w.StringGrid1.topRow(), 1);  // never scrolled past the last row
  EXPECT_EQ(w.StringGrid1.cell(2, 1), "2");
  EXPECT_EQ(total(w, 2), Blanks(8, "0.00000"));

  ReleaseHistoryWindow(services);
  EXPECT_EQ(CalcHistoryForm, nullptr);
  services.pump();
  EXPECT_TRUE(closeMessages.empty());
}

}  // namespace
}  // namespace hk
