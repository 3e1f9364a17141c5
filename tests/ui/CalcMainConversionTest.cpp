// The main window's conversion from its four triggers to the result, the
// clipboard and the history; the money page's rate panel; the powers list;
// and what the window leaves behind at exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/Conversion.h"
#include "ui/CalcMainFixture.h"

namespace hk {
namespace {

using Conversion = CalcMainTest;

TEST_F(Conversion, OneMetreInCentimetres) {
  auto form = start();
  typeInput(*form, "1");
  chooseUnits(*form, 1, 2);

  EXPECT_EQ(form->ResultValueLabel.text(), "      100.00000");
  EXPECT_EQ(form->LastResultText, "      100.00000");
  EXPECT_EQ(services.clipboard, std::vector<std::string>{"100.00000"});
  ASSERT_EQ(history.HistoryCount(), 1);
  const HistoryRecord& record = history.record(1);
  EXPECT_EQ(record.TargetText, "1");
  EXPECT_EQ(record.TargetTanni, table[1].unit(1).Name);
  EXPECT_EQ(record.ResultText, "      100.00000");
  EXPECT_EQ(record.ResultTanni, table[1].unit(2).Name);
  EXPECT_EQ(record.TargetValue, Real48(1.0L));
  EXPECT_EQ(record.ResultValue, Real48(100.0L));
  EXPECT_EQ(record.Sign, kSignNone);
  EXPECT_TRUE(services.beeps.empty());
}

TEST_F(Conversion, EachTriggerConvertsExactlyOnce) {
  auto form = start();
  typeInput(*form, "2");
  chooseUnits(*form, 1, 2);
  ASSERT_EQ(history.HistoryCount(), 1);

  struct Trigger {
    const char* name;
    std::function<void()> fire;
  };
  const Trigger triggers[] = {
      {"Enter in the input", [&] { form->TargetEdit.pressKey('\r'); }},
      {"the default button", [&] { form->Button1.click(); }},
      {"Enter on the form", [&] { form->pressEnter(); }},
      {"focus entry",
       [&] {
         form->setFocused(nullptr);
         form->TargetEdit.focus();
       }},
      {"a new to unit", [&] { form->ToButton(3).click(); }},
  };
  int expected = 1;
  for (const Trigger& trigger : triggers) {
    trigger.fire();
    EXPECT_EQ(history.HistoryCount(), ++expected) << trigger.name;
  }
  // Focus that stays in the input, other keys, and the unit already chosen
  // convert nothing.
  form->TargetEdit.focus();
  EXPECT_EQ(form->TargetEdit.pressKey('5'), '5');
  form->ToButton(3).setDown(true);
  form->TTButton1Click(form->ToButton(3));
  EXPECT_EQ(history.HistoryCount(), expected);
  // The same values each time.
  EXPECT_EQ(history.record(expected - 1).ResultText, history.record(1).ResultText);
}

struct InputCase {
  const char* text;
  const char* result;  // nullptr: nothing converts
  std::vector<unsigned> beeps;
};

class Inputs : public CalcMainTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(Inputs, ConvertOrBeepAndLeaveThePreviousResult) {
  const InputCase& c = GetParam();
  auto form = start();
  chooseUnits(*form, 1, 2);  // no text to convert yet
  form->ResultValueLabel.setText("earlier");
  typeInput(*form, c.text);
  form->TargetEdit.pressKey('\r');

  EXPECT_EQ(services.beeps, c.beeps);
  EXPECT_TRUE(services.messageBoxes.empty());
  if (c.result) {
    EXPECT_EQ(form->ResultValueLabel.text(), c.result);
    EXPECT_EQ(history.HistoryCount(), 1);
  } else {
    EXPECT_EQ(form->ResultValueLabel.text(), "earlier");
    EXPECT_EQ(form->LastResultText, "");
    EXPECT_TRUE(services.clipboard.empty());
    EXPECT_EQ(history.HistoryCount(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Inputs,
    ::testing::Values(InputCase{"1,000", "   100000.00000", {}}, InputCase{"5.", nullptr, {1}},
                      InputCase{"", nullptr, {}},
                      // Whole however long; a Real48 holds 40 bits of it.
                      InputCase{"123456789012.5", "12345678901248.00000", {}}));

TEST_F(Conversion, NothingHappensWithoutAToUnit) {
  auto form = start();
  typeInput(*form, "1");
  form->FromButton(1).click();
  form->TargetEdit.pressKey('\r');
  EXPECT_EQ(form->ResultValueLabel.text(), "0");
  EXPECT_EQ(history.HistoryCount(), 0);
  EXPECT_TRUE(services.beeps.empty());
}

TEST_F(Conversion, NumberBaseErrorShowsItsBoxThenBeeps) {
  auto form = start();
  form->CategoryButton(10).click();
  chooseUnits(*form, 1, 4);
  form->ResultValueLabel.setText("earlier");
  typeInput(*form, "12a");
  std::vector<unsigned> beepsBeforeTheBox;
  services.onMessageBox = [&](const RecordedMessageBox&) {
    beepsBeforeTheBox = services.beeps;
    return kIdOk;
  };

  form->TargetEdit.pressKey('\r');

  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].title, "入力ｴﾗｰ");
  EXPECT_EQ(services.messageBoxes[0].text, "10進数では認識出来ない文字がある(0ｰ9で整数のみ)");
  EXPECT_EQ(services.messageBoxes[0].flags, kMbOk);
  EXPECT_TRUE(beepsBeforeTheBox.empty());
  EXPECT_EQ(services.beeps, std::vector<unsigned>{0});
  EXPECT_EQ(form->ResultValueLabel.text(), "earlier");
  EXPECT_EQ(history.HistoryCount(), 0);

  // A good number converts and is recorded without values.
  typeInput(*form, "95");
  form->TargetEdit.pressKey('\r');
  EXPECT_EQ(form->ResultValueLabel.text(), "0101 1111 ");
  EXPECT_EQ(services.clipboard.back(), "01011111");
  ASSERT_EQ(history.HistoryCount(), 1);
  EXPECT_TRUE(history.record(1).ResultValue.isZero());
}

struct FaultCase {
  const char* name;
  const char* settings;
  const char* firstRate[2];  // unit 1's integer and decimal part, or nothing
  const char* text;
  const char* message;
};

class Faults : public CalcMainTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(Faults, ReachTheErrorReportWithNothingShownOrRecorded) {
  const FaultCase& c = GetParam();
  writeSettings(c.settings);
  auto form = start();
  if (c.firstRate[0]) {
    form->RateEdit(1).userChanged(c.firstRate[0]);
    form->RateEdit(10).userChanged(c.firstRate[1]);
  }
  chooseUnits(*form, 1, 2);  // no text to convert yet
  form->ResultValueLabel.setText("earlier");
  typeInput(*form, c.text);

  form->TargetEdit.pressKey('\r');

  EXPECT_EQ(errors, std::vector<std::string>{c.message});
  EXPECT_EQ(form->ResultValueLabel.text(), "earlier");
  EXPECT_EQ(form->LastResultText, "");
  EXPECT_TRUE(services.clipboard.empty());
  EXPECT_EQ(history.HistoryCount(), 0);
  EXPECT_TRUE(services.beeps.empty());

  // Another "to" unit that fails alike: the earlier value was not converted
  // to it, and goes.
  form->ToButton(3).click();
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_EQ(form->ResultTanniLabel.text(), table[form->Selection.CurrentCategory].unit(3).Name);
  EXPECT_EQ(form->ResultValueLabel.text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Faults,
    ::testing::Values(FaultCase{"Overflow", "", {}, "1e38", "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ"},
                      // A rate of 1e-38 takes the quotient beyond the largest real.
                      FaultCase{"TinyRate",
                                "[ZOVA]\r\nPAGE=3\r\nINDEX=31\r\n[BUNRUI31]\r\nPOINT1=38\r\n",
                                {"0", "1"},
                                "1e10",
                                "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(Conversion, TheClipboardOnlyWhileAutoClipIsOn) {
  writeSettings("[ZOVA]\r\nAUTOCLIP=0\r\n");
  auto form = start();
  typeInput(*form, "1234.5");
  chooseUnits(*form, 1, 1);
  EXPECT_EQ(form->LastResultText, "     1234.50000");
  EXPECT_TRUE(services.clipboard.empty());

  form->Selection.AutoClip = true;
  form->TargetEdit.pressKey('\r');
  EXPECT_EQ(services.clipboard, std::vector<std::string>{"1234.50000"});

  // Blanks anywhere go; a text of blanks alone puts nothing on the clipboard.
  form->CopyResultToClipboard(" 0101 1111 ");
  form->CopyResultToClipboard("   ");
  EXPECT_EQ(services.clipboard, (std::vector<std::string>{"1234.50000", "01011111"}));

  // A clipboard that cannot be opened still lets the record in, then reports.
  services.clipboardBusy = true;
  int recordsWhenReported = -1;
  SetErrorReport([&](const std::string& text) {
    recordsWhenReported = history.HistoryCount();
    errors.push_back(text);
  });
  form->TargetEdit.pressKey('\r');
  EXPECT_EQ(history.HistoryCount(), 3);
  EXPECT_EQ(recordsWhenReported, 3);
  EXPECT_EQ(errors, std::vector<std::string>{"クリップボードを開けません"});
}

TEST_F(Conversion, AnOpenHistoryWindowHearsOfEachRecord) {
  auto form = start();
  std::vector<int> countsSeen;
  form->HistoryWindowRefresh = [&] { countsSeen.push_back(history.HistoryCount()); };
  typeInput(*form, "7");
  chooseUnits(*form, 1, 2);
  form->TargetEdit.pressKey('\r');
  typeInput(*form, "x");
  form->TargetEdit.pressKey('\r');
  EXPECT_EQ(countsSeen, (std::vector<int>{1, 2}));
}

// The rate panel ----------------------------------------------------------

struct RateRowCase {
  const char* name;
  int category;
  int row;
  const char* integerText;
  const char* decimalText;
  int integerMinimum;
  int integerMaximum;
  int decimalMaximum;
};

class RateRows : public CalcMainTest, public ::testing::WithParamInterface<RateRowCase> {};

TEST_P(RateRows, ShowTheStoredRate) {
  const RateRowCase& c = GetParam();
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=" + std::to_string(c.category) + "\r\n");
  auto form = start();

  EXPECT_EQ(form->MoneyLabel(c.row).text(), table[c.category].unit(c.row).Name);
  EXPECT_EQ(form->RateEdit(c.row).text(), c.integerText);
  EXPECT_EQ(form->RateEdit(9 + c.row).text(), c.decimalText);
  const UpDown& integerSpinner = form->RateUpDown(c.row);
  const UpDown& decimalSpinner = form->RateUpDown(9 + c.row);
  EXPECT_EQ(integerSpinner.minimum(), c.integerMinimum);
  EXPECT_EQ(integerSpinner.maximum(), c.integerMaximum);
  EXPECT_EQ(integerSpinner.position(), std::stoi(c.integerText));
  EXPECT_EQ(decimalSpinner.minimum(), 0);
  EXPECT_EQ(decimalSpinner.maximum(), c.decimalMaximum);
  EXPECT_EQ(decimalSpinner.position(), std::stoi(c.decimalText));
  for (const Control* part : {static_cast<const Control*>(&form->RateEdit(c.row)),
                              static_cast<const Control*>(&form->RateEdit(9 + c.row)),
                              static_cast<const Control*>(&integerSpinner),
                              static_cast<const Control*>(&decimalSpinner)}) {
    EXPECT_TRUE(part->enabled());
  }
  EXPECT_TRUE(form->Selection.RatesChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RateRows,
    ::testing::Values(RateRowCase{"DollarBaseYen", 31, 2, "106", "30", 53, 212, 99},
                      RateRowCase{"DollarBaseDollar", 31, 1, "1", "0", 0, 10, 99},
                      RateRowCase{"YenBaseDollar", 25, 2, "0", "94", 0, 10, 99},
                      RateRowCase{"SwissFranc", 32, 4, "1", "40", 0, 10, 99},
                      RateRowCase{"YenBaseYen", 25, 1, "100", "0", 50, 200, 99}),
    [](const ::testing::TestParamInfo<RateRowCase>& info) { return std::string(info.param.name); });

// 米ドル of ¥ﾍﾞｰｽ1 typed in any form the panel reads: what converts is what
// the file gets, as the plain text of the rate, and what the next start
// converts with. A text the panel refuses is reported when it is read; the
// row converts, and is saved, with the rate it had.
struct TypedRateCase {
  const char* name;
  const char* integerText;
  const char* decimalText;
  const char* result;  // 100 米ドル in 円
  const char* saved;   // DATA2
  int refusedEdit;     // 0, or the edit that gets the focus
};

class TypedRates : public CalcMainTest, public ::testing::WithParamInterface<TypedRateCase> {};

TEST_P(TypedRates, ConvertAsTheyAreSavedAndReadBack) {
  const TypedRateCase& c = GetParam();
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  form->RateEdit(2).userChanged(c.integerText);
  form->RateEdit(9 + 2).userChanged(c.decimalText);
  typeInput(*form, "100");

  chooseUnits(*form, 2, 1);

  EXPECT_EQ(form->ResultValueLabel.text(), c.result);
  ASSERT_EQ(services.messageBoxes.size(), c.refusedEdit == 0 ? 0u : 1u);
  if (c.refusedEdit != 0) {
    EXPECT_EQ(services.messageBoxes[0].text, "数値異常");
    EXPECT_EQ(form->focused(), &form->RateEdit(c.refusedEdit));
  }
  const Real48 used = table[25].unit(2).Factor;
  form->PageButton1.click();
  EXPECT_NE(settingsBytes().find(std::string("DATA2=") + c.saved + "\r\n"), std::string::npos)
      << settingsBytes();
  form.reset();

  table = CategoryTable::BuiltIn();
  auto again = start();
  EXPECT_EQ(table[25].unit(2).Factor.bytes(), used.bytes());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedRates,
    ::testing::Values(TypedRateCase{"Plus", "+1", "94", "        5154.64", "1.94", 0},
                      TypedRateCase{"Hexadecimal", "$A", "94", "         914.08", "10.94", 0},
                      TypedRateCase{"LeadingBlank", " 1", "94", "        5154.64", "1.94", 0},
                      TypedRateCase{"NegativeDecimals", "1", "-5", "       10526.32", "0.95", 0},
                      TypedRateCase{"NegativeInteger", "-1", "50", "      -20000.00", "-0.50", 0},
                      TypedRateCase{"Letter", "1a", "94", "       10638.30", "0.94", 2},
                      TypedRateCase{"TrailingBlank", "1", "94 ", "       10638.30", "0.94", 9 + 2},
                      TypedRateCase{"Zero", "0", "0", "       10638.30", "0.94", 2},
                      TypedRateCase{"ZeroBySign", "1", "-100", "       10638.30", "0.94", 2}),
    [](const ::testing::TestParamInfo<TypedRateCase>& info) {
      return std::string(info.param.name);
    });

// A rate with more digits than the row rule takes (a part beyond 32 bits) is
// shown but cannot be changed there, and converts and is saved as it is; one
// that still fits stays editable.
struct WideRateCase {
  const char* name;
  const char* stored;  // [BUNRUI25] keys of 米ドル
  const char* integerText;
  const char* decimalText;
  bool editable;
  const char* saved;  // DATA2 after another row's change is saved
};

class WideRates : public CalcMainTest, public ::testing::WithParamInterface<WideRateCase> {};

TEST_P(WideRates, AreShownAndKeptOrEdited) {
  const WideRateCase& c = GetParam();
  writeSettings(std::string("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n[BUNRUI25]\r\n") + c.stored);
  auto form = start();
  const Real48 stored = table[25].unit(2).Factor;
  Edit& integerEdit = form->RateEdit(2);
  Edit& decimalEdit = form->RateEdit(9 + 2);
  EXPECT_EQ(integerEdit.text(), c.integerText);
  EXPECT_EQ(decimalEdit.text(), c.decimalText);
  for (Edit* edit : {&integerEdit, &decimalEdit}) {
    EXPECT_TRUE(edit->enabled());
    EXPECT_EQ(edit->readOnly(), !c.editable);
    EXPECT_EQ(edit->hint().empty(), c.editable);
  }
  EXPECT_EQ(form->RateUpDown(2).enabled(), c.editable);
  if (!c.editable) {
    decimalEdit.typeText("6");
    form->RateUpDown(9 + 2).stepUp();
    EXPECT_EQ(decimalEdit.text(), c.decimalText);
  }
  form->RateEdit(1).userChanged("+100");
  typeInput(*form, "1");
  chooseUnits(*form, 2, 1);

  EXPECT_TRUE(services.messageBoxes.empty());
  EXPECT_EQ(table[25].unit(2).Factor.bytes(), stored.bytes());
  form->PageButton1.click();
  EXPECT_NE(settingsBytes().find(std::string("DATA2=") + c.saved + "\r\n"), std::string::npos)
      << settingsBytes();
}

INSTANTIATE_TEST_SUITE_P(
    Stored, WideRates,
    ::testing::Values(WideRateCase{"IntegerPart", "DATA2=3000000000.5\r\n", "3000000000", "50",
                                   false, "3000000000.5"},
                      WideRateCase{"DecimalPart", "DATA2=0.9999999999\r\nPOINT2=10\r\n", "0",
                                   "9999999999", false, "0.9999999999"},
                      WideRateCase{"TenDecimalsThatFit", "DATA2=0.1\r\nPOINT2=10\r\n", "0",
                                   "1000000000", true, "0.1000000000"}),
    [](const ::testing::TestParamInfo<WideRateCase>& info) {
      return std::string(info.param.name);
    });

using RatePanel = CalcMainTest;

TEST_F(RatePanel, EmptyUnitsHaveEmptyInertRows) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=32\r\n");
  auto form = start();
  for (int row = 8; row <= 9; ++row) {
    EXPECT_EQ(form->MoneyLabel(row).text(), "");
    EXPECT_EQ(form->RateEdit(row).text(), "");
    EXPECT_EQ(form->RateEdit(9 + row).text(), "");
    EXPECT_FALSE(form->RateEdit(row).enabled());
    EXPECT_FALSE(form->RateEdit(9 + row).enabled());
    EXPECT_FALSE(form->RateUpDown(row).enabled());
    EXPECT_FALSE(form->RateUpDown(9 + row).enabled());
  }
  // A category with more units fills and enables them again.
  form->CategoryButton(7).click();  // 31
  EXPECT_EQ(form->RateEdit(9).text(), "1");
  EXPECT_TRUE(form->RateUpDown(18).enabled());
}

TEST_F(RatePanel, StoredRatesKeepTheirTextsThroughAConversionAndASave) {
  writeSettings(
      "[ZOVA]\r\nPAGE=3\r\nINDEX=32\r\n[BUNRUI32]\r\nDATA2=1234567.12345\r\nPOINT2=5\r\n"
      "DATA3=1999999999.99\r\nDATA5=-2.5\r\n");
  auto form = start();
  EXPECT_EQ(form->RateEdit(9 + 2).text(), "12345");
  form->RateEdit(1).userChanged("+1");  // the same rate, typed
  typeInput(*form, "1");
  chooseUnits(*form, 1, 5);
  EXPECT_EQ(table[32].unit(5).Factor, Real48(-2.5L));
  form->PageButton1.click();
  // The rows left as shown write their own texts, a negative rate too.
  for (const char* line : {"DATA1=1.00\r\n", "DATA4=1.40\r\n", "DATA2=1234567.12345\r\n",
                           "DATA3=1999999999.99\r\n", "DATA5=-2.50\r\n"}) {
    EXPECT_NE(settingsBytes().find(line), std::string::npos) << line << settingsBytes();
  }
  EXPECT_EQ(table[32].unit(4).Factor, Real48(1.4L));
  EXPECT_EQ(table[32].unit(5).Factor, Real48(-2.5L));
}

TEST_F(RatePanel, ATypedRateConvertsAndIsSavedAsItsText) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=31\r\n");
  auto form = start();
  // 加ドル (row 3): integer part 1, decimal part 5 of two places.
  form->RateEdit(3).userChanged("1");
  form->RateEdit(12).userChanged("5");
  typeInput(*form, "100");
  chooseUnits(*form, 1, 3);

  EXPECT_EQ(form->ResultValueLabel.text(), "         105.00");
  EXPECT_EQ(table[31].unit(3).Factor, Real48(1.05L));

  form->destroyed();
  EXPECT_NE(settingsBytes().find("DATA3=1.05\r\n"), std::string::npos) << settingsBytes();
}

TEST_F(RatePanel, ASpinnerStepMarksTheRatesChanged) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=31\r\n");
  auto form = start();
  form->Selection.RatesChanged = false;

  form->RateUpDown(9 + 2).stepUp();

  EXPECT_EQ(form->RateEdit(9 + 2).text(), "31");
  EXPECT_TRUE(form->Selection.RatesChanged);
  // A step goes on from the number the row reads.
  form->RateEdit(9 + 2).userChanged("$A");
  form->RateUpDown(9 + 2).stepUp();
  EXPECT_EQ(form->RateEdit(9 + 2).text(), "11");
}

TEST_F(RatePanel, ALetterInARateIsReportedWithTheFocusOnItsEdit) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=31\r\n");
  auto form = start();
  form->RateEdit(2).userChanged("10a");
  typeInput(*form, "2");
  std::vector<unsigned> beepsBeforeTheBox;
  services.onMessageBox = [&](const RecordedMessageBox&) {
    beepsBeforeTheBox = services.beeps;
    return kIdOk;
  };

  chooseUnits(*form, 1, 3);

  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, "数値異常");
  EXPECT_EQ(services.messageBoxes[0].title, "ｴﾗｰ");
  EXPECT_EQ(services.messageBoxes[0].flags, kMbOk);
  EXPECT_EQ(beepsBeforeTheBox, std::vector<unsigned>{0});
  EXPECT_EQ(form->focused(), &form->RateEdit(2));
  // The conversion went on with the rates as they were.
  EXPECT_EQ(form->ResultValueLabel.text(), "           3.00");
  EXPECT_EQ(history.HistoryCount(), 1);

  // A bad decimal part gets the focus on its own edit.
  form->RateEdit(2).userChanged("106");
  form->RateEdit(9 + 5).userChanged("");
  form->TargetEdit.pressKey('\r');
  EXPECT_EQ(form->focused(), &form->RateEdit(9 + 5));
  EXPECT_EQ(services.messageBoxes.size(), 2u);
}

TEST_F(RatePanel, AGapInACustomisedCategoryIsNotRead) {
  writeSettings(
      "[ZOVA]\r\nPAGE=3\r\nINDEX=33\r\n"
      "[BUNRUI33]\r\nButton3=ﾕｰﾛ\r\nDATA3=0.9\r\nPOINT3=2\r\n");
  auto form = start();
  ASSERT_TRUE(table[33].unit(2).isEmpty());
  ASSERT_EQ(form->Selection.UnitCount, 2);
  form->RateEdit(3).userChanged("2");
  typeInput(*form, "10");

  chooseUnits(*form, 1, 3);

  EXPECT_TRUE(services.messageBoxes.empty());
  EXPECT_EQ(form->ResultValueLabel.text(), "          29.00");
}

// The powers list ---------------------------------------------------------

struct PowersCase {
  int base;
  std::size_t rows;
  int height;
  const char* last;
};

class PowersLists : public CalcMainTest, public ::testing::WithParamInterface<PowersCase> {};

TEST_P(PowersLists, OpenBelowTheMenuButtonSizedByTheFont) {
  const PowersCase& c = GetParam();
  services.verticalScrollBarWidth = 19;
  auto form = start();

  form->Rui2MenuClick(c.base);

  EXPECT_EQ(form->PowerBase, c.base == 2 || c.base == 8 ? c.base : 16);
  // The menu button lies at (3, 4) on the title panel; the panel's offset
  // does not count.
  EXPECT_EQ(form->ListBox1.bounds(), (Rect{3, 31, 12 * 13 + 19, c.height}));
  ASSERT_EQ(form->ListBox1.items().size(), c.rows + 1);
  EXPECT_EQ(form->ListBox1.items().front(), " n乗      ---値---");
  EXPECT_EQ(form->ListBox1.items().back(), c.last);
  EXPECT_EQ(form->ListBox1.itemIndex(), 0);
  EXPECT_TRUE(form->ListBox1.visible());
  EXPECT_TRUE(form->ListBox1.enabled());
}

INSTANTIATE_TEST_SUITE_P(Bases, PowersLists,
                         ::testing::Values(PowersCase{2, 30, 208, " 30   1,073,741,824"},
                                           PowersCase{8, 10, 156, " 10   1,073,741,824"},
                                           PowersCase{16, 7, 130, "  7     268,435,456"},
                                           PowersCase{5, 7, 130, "  7     268,435,456"}));

using PowersList = CalcMainTest;

TEST_F(PowersList, APickedPowerShowsAloneAndTheListGoes) {
  auto form = start();
  typeInput(*form, "1");
  chooseUnits(*form, 1, 2);
  const std::vector<std::string> clipboard = services.clipboard;

  form->Rui2MenuClick(2);
  EXPECT_EQ(form->ListBox1.items()[10], " 10           1,024");
  form->Rui2MenuClick(8);
  form->ListBox1.selectItem(3);

  EXPECT_EQ(form->ResultValueLabel.text(), "           512");
  EXPECT_FALSE(form->ListBox1.visible());
  EXPECT_FALSE(form->ListBox1.enabled());
  EXPECT_EQ(form->ResultTanniLabel.text(), table[1].unit(2).Name);
  EXPECT_EQ(form->LastResultText, "      100.00000");
  EXPECT_EQ(form->TargetEdit.text(), "1");
  EXPECT_EQ(services.clipboard, clipboard);
  EXPECT_EQ(history.HistoryCount(), 1);

  // The header shows nothing.
  form->Rui2MenuClick(16);
  form->ListBox1.selectItem(0);
  EXPECT_EQ(form->ResultValueLabel.text(), "           512");
  EXPECT_FALSE(form->ListBox1.visible());
}

TEST_F(PowersList, TheMenuButtonPutsTheListAwayBeforeTheMenuOpens) {
  auto form = start();
  bool listShownWhenOpened = true;
  int opened = 0;
  form->PopupMenuOpen = [&] {
    listShownWhenOpened = form->ListBox1.visible() || form->ListBox1.enabled();
    ++opened;
  };
  form->Rui2MenuClick(2);

  form->MenuButton.click();

  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(listShownWhenOpened);
  form->Rui2MenuClick(2);
  EXPECT_TRUE(form->ListBox1.visible());
}

// Shut-down ---------------------------------------------------------------

using ShutDown = CalcMainTest;

TEST_F(ShutDown, SavesTheRatesThenReleasesTheHistoryWindowThenWritesTheWindow) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=36\r\n");
  auto form = start();
  form->RateEdit(1).userChanged("2");
  std::string fileWhenReleased;
  form->HistoryWindowRelease = [&] { fileWhenReleased = settingsBytes(); };

  form->destroyed();

  // The rate changed, so its date goes with it.
  EXPECT_EQ(fileWhenReleased,
            "[ZOVA]\r\nPAGE=3\r\nINDEX=36\r\n[BUNRUI36]\r\nDATA1=2.00\r\nDATE=2026-12-08\r\n");
  EXPECT_EQ(settingsBytes(),
            "[ZOVA]\r\nPAGE=3\r\nINDEX=36\r\nWinPosX=0\r\nWinPosY=0\r\n"
            "[BUNRUI36]\r\nDATA1=2.00\r\nDATE=2026-12-08\r\n");
  EXPECT_FALSE(form->HistoryWindowRelease);
}

TEST_F(ShutDown, AFailedRateSaveSkipsTheRestButStillReleases) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=36\r\n");
  auto form = start();
  std::filesystem::remove(settingsPath());
  std::filesystem::create_directory(settingsPath());
  int released = 0;
  form->HistoryWindowRelease = [&] { ++released; };

  form.reset();

  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Unable to write to " + settingsPath().string());
  EXPECT_EQ(released, 1);
}

}  // namespace
}  // namespace hk
