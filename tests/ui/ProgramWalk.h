#pragma once

// The whole program walked at random beside a model of what its user should
// see (ProgramWalkTest.cpp says what the walk does and checks). The model's
// state, what a step may and must do, and the walk itself, whose steps
// (ProgramWalkSteps.cpp) act on the program and tell the model
// (ProgramWalkModel.cpp), and whose checks (ProgramWalkChecks.cpp) hold the
// two against each other after every step.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
#include "history/HistoryStore.h"
#include "platform/Dispatcher.h"
#include "platform/RecordingServices.h"
#include "support/MemoryProfileStorage.h"
#include "ui/CalcUnt1.h"
#include "ui/CalcUnt2.h"
#include "ui/ProgramWalkRules.h"
#include "ui/calcMain.h"

namespace hk::walk {

// What the user may be told in a step.
enum class Told {
  RateError,
  BaseError,
  Overflow,
  DivideByZero,
  InvalidOperation,
  WriteFailure,
  RowError,
  NotCustomisable,
  NoHistory,
  Other,
};

Told Classify(const std::string& text, const std::string& title);
const char* NameOf(Told told);

// The table as the user set it: what the program must hold.
struct ModelUnit {
  std::string name;
  long double factor = 0;
  // Known to the last bit: loaded, typed in the dialog, or left alone since.
  std::optional<Real48::Bytes> bits;
  // How far the panel's reading may stray: its sum runs through its parts
  // (I and D x 10^-d), each rounded, so their size counts, not the rate's.
  long double slack = 0;
  int decimals = 0;
  std::uint32_t colour = kBlue;
};

struct ModelCategory {
  std::string name;
  int iconKind = 0;
  std::array<ModelUnit, kUnitsPerCategory> units;
  ModelUnit& unit(int u) { return units[static_cast<std::size_t>(u - 1)]; }
  const ModelUnit& unit(int u) const { return units[static_cast<std::size_t>(u - 1)]; }
};

using ModelTable = std::array<ModelCategory, kCategoryCount + 1>;  // 1..36

// The value beside the result's unit name.
struct ShownResult {
  enum class Kind { Text, Value } kind = Kind::Text;
  std::string text = "0";  // Text: exactly this
  long double value = 0;   // Value: this, to `decimals`
  long double slack = 0;   // and how far the factors' rounding may take it
  int decimals = 0;
};

// One row of the rate panel as it was filled.
struct PanelRow {
  bool shown = false;
  std::string integerText;
  std::string decimalText;
  // A conversion or a save has put what the row shows into its factor since.
  bool read = false;
  // What the row showed when a save last put it in the file: until its texts
  // differ from these, it has nothing more to save.
  std::optional<std::pair<std::string, std::string>> saved;
};

struct ModelRecord {
  std::string targetText;
  std::string targetTanni;
  std::string resultTanni;
  long double targetValue = 0;
  long double resultValue = 0;
  long double resultSlack = 0;
  std::uint8_t sign = kSignNone;
};

// What the user sees and has set.
struct Model {
  ModelTable table;
  int page = 1;
  int category = 1;
  int from = -1;
  int to = -1;
  std::string input;
  std::string fromName;
  std::string toName = "---";
  ShownResult result;
  int focus = 0;  // 0 the input, 1..18 a rate edit
  bool autoClip = true;
  bool topmost = false;
  std::array<bool, kUnitsPerCategory + 1> unitEnabled{};  // 1..9
  std::array<PanelRow, kUnitsPerCategory> panel{};
  bool panelShown = false;
  // A rate was typed or stepped, or a conversion read the panel, since it
  // was filled: only then may leaving the category write its rates.
  bool panelTouched = false;
  std::vector<ModelRecord> records;
  bool historyOpen = false;
  // Categories whose rates a refused save kept in memory only, until a
  // later save of the category, its OK in the dialog, or the exit.
  std::set<int> unsaved;
  bool rateRefusalTold = false;
};

// What a step may and must do beyond the model's state.
struct StepExpect {
  std::vector<Told> required;
  std::vector<Told> allowed;
  bool anyTold = false;   // a message of any kind may come
  bool mustTell = false;  // at least one must
  std::vector<unsigned> beeps;
  bool beepsLoose = false;  // a save may beep about a row it cannot read
  std::set<IniFile::Key> keysMayChange;
  std::set<int> ratesMayChange;  // categories whose DATA keys a save may write
  std::vector<int> saved;        // categories whose rates a save wrote
  int clipboardSets = 0;
  bool clipboardLoose = false;
  bool historyTouched = false;
  bool appended = false;
  bool clipboardFromResult = false;
  // A delete left totals that cannot be had: marks may be cleared.
  bool marksMayClear = false;
  std::optional<int> copyMode;
  // What the last copy must hold: its record lines, its totals and the
  // newest record's units.
  std::size_t copyLines = 0;
  std::string copyUnits[2];
};

// Whether the marked records' running totals stay within what a stored
// real holds.
Fits TotalsFit(const std::vector<ModelRecord>& records);

// The totals as the walk last summed them, and how far rounding may take
// the program's from them.
struct Totals {
  long double target = 0;
  long double result = 0;
  long double room = 0;
};

class ProgramWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallProfileStorage(&storage);
    SetErrorReport([this](const std::string& text) { errors.push_back(text); });
  }
  void TearDown() override {
    form.reset();
    if (services) services->pump();
    SetErrorReport({});
    InstallProfileStorage(nullptr);
  }

  // Walks one seed from a fresh start; false when a property failed.
  bool walkSeed(unsigned seed, long steps);
  void startAfresh(unsigned seed);
  bool reportFailure(unsigned seed);

 public:
  // Steps: what the user does -------------------------------------------------
  void typeInput();
  void pressEnter();
  void functionKey();
  void clickUnit();
  void swapUnits();
  void changePage();
  void clickCategory();
  void typeRate();
  void stepSpinner();
  void clickInput();
  void customise();
  void toggleHistory();
  void historyStep();
  void modalHistory();
  void toggleAutoClip();
  void toggleTopmost();
  void exitAndStart();
  void refuseWrites();

 protected:
  // The model's side of what the program does -------------------------------
  bool expectConversion();
  void expectUnitChosen(bool toSide, int unit);
  void expectUnitsShown();
  void expectPanelFilled();
  void expectPanelRead(bool report);
  void expectSavePoint(bool exiting);
  void expectMark(int row, std::uint8_t sign, bool cycle);
  void expectDelete(int row);
  void appendRecord(const std::string& cleaned, long double source, long double result);
  int dialogScript(TCalcCustomForm& dialog);
  std::array<std::string, kUnitsPerCategory> checkDialogShows(const TCalcCustomForm& dialog);
  void editDialog(TCalcCustomForm& dialog);
  int confirmDialog(TCalcCustomForm& dialog,
                    const std::array<std::string, kUnitsPerCategory>& shown);
  bool expectDialogOk(TCalcCustomForm& dialog,
                      const std::array<std::string, kUnitsPerCategory>& shown);
  void historyAction(TCalcHistoryForm& window);
  void pressRow(TCalcHistoryForm& window, int row, int col, MouseButton button);
  void clearHistory(TCalcHistoryForm& window);
  void copyHistory(TCalcHistoryForm& window);

  // Checks --------------------------------------------------------------------
  void beginStep();
  void endStep();
  void checkMessages();
  void checkFileChanges();
  void checkScreen();
  void checkResult();
  void checkTable();
  void checkFileAgrees();
  void checkSaved();
  void checkHistory();
  void checkCopy();
  Totals sumMarked() const;
  void checkRestart(const CategoryTable& before, int page, int category, bool writesGo);
  void checkRestartTable(const CategoryTable& before, bool writesGo);

  // Helpers -------------------------------------------------------------------
  void start();
  void takeModelFromProgram();
  const IniFile& file();
  CategoryTable expectedFromFile();
  const CategoryTable& expectedTable();
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }
  template <typename T>
  const T& oneOf(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(pick(0, static_cast<int>(items.size()) - 1))];
  }
  std::string inputText();
  std::string rateText();
  std::string unitName(int u) const { return m.table[m.category].unit(u).name; }
  int historyRow();
  int shownRow();
  std::string rowTexts(int row) const;
  void note(const std::string& action) {
    recent.push_back(std::to_string(stepNumber) + ": " + action);
    if (recent.size() > 20) recent.pop_front();
  }
  void fail(const std::string& what) {
    if (failure.empty()) failure = what;
  }
  void tell(Told told) { e.required.push_back(told); }
  void allow(Told told) { e.allowed.push_back(told); }
  void mayWrite(const std::string& section, const std::string& key) {
    e.keysMayChange.insert({Upper(section), Upper(key)});
  }

  MemoryProfileStorage storage;
  const FilePath executable{"C:\\walk\\hakarimaru.exe"};
  const FilePath settingsPath{"C:\\walk\\hakarimaru.KZN"};
  std::unique_ptr<RecordingServices> services;
  CategoryTable table = CategoryTable::BuiltIn();
  const CategoryTable builtIn = CategoryTable::BuiltIn();
  HistoryStore history;
  std::unique_ptr<TCalcMainForm> form;
  std::vector<std::string> errors;
  int menuChoice = -1;

  Model m;
  StepExpect e;
  std::mt19937 random;
  int refusalLeft = 0;
  long fileVersion = -1;
  IniFile fileNow;
  IniFile fileBefore;
  long fileBeforeVersion = -1;
  std::optional<CategoryTable> expectedNow;
  Totals copiedTotals;
  std::array<std::string, 2 * kUnitsPerCategory> ratesBefore;
  std::deque<std::string> recent;
  std::string failure;
  long stepNumber = 0;
};

}  // namespace hk::walk
