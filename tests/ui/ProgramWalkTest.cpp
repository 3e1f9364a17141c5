// The whole program walked at random, as a user with the mouse and the keys
// would walk it: values typed right and wrong, units by keys and clicks, the
// swap, pages and categories, the money page's rates typed and stepped, the
// customisation dialog, the history window's marks, deletes and copies, the
// automatic copy, exits and new starts, and stretches in which the settings
// file takes no writes. Beside the program runs a model of what the user
// should see, written from the user's side (tests/ui/ProgramWalkRules.h);
// after every step the two must agree:
// - the value beside the result's unit name is empty, or is the last
//   conversion of the input from the "from" unit to that unit;
// - a rate row converts with the value the panel shows, and once its
//   category has been left the settings file reads back as that value;
// - the totals are the sum of the marked records;
// - a new start brings back everything the user set, and no key of the file
//   changes unless the step was one that writes it;
// - a refused write loses nothing while the program runs, and says so.
//
// HK_WALK_SEED (first seed, 1), HK_WALK_SEEDS (how many, 2) and
// HK_WALK_STEPS (steps for each, 1500) choose the walk; a failure names
// its seed and step, and those two alone replay it.
#include "ui/ProgramWalk.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace hk::walk {

namespace {

// The money page shown, a rate finer than its two decimals, a length unit
// customised by hand, and a section the program knows nothing of: every
// write must leave it as it is.
constexpr char kStartSettings[] =
    "[ZOVA]\r\nWinPosX=0\r\nWinPosY=0\r\nINDEX=25\r\nPAGE=3\r\nAUTOCLIP=1\r\n"
    "[BUNRUI25]\r\nDATA2=0.9412345\r\n"
    "[BUNRUI1]\r\nPOINT3=2\r\nDATA3=39.37012345\r\n"
    "[NOTES]\r\nwho=someone\r\n";

long FromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (!text || *text == '\0') return fallback;
  return std::strtol(text, nullptr, 10);
}

// What the user does, and how often: rates only on the money page, the
// history window's own steps only while it is open.
struct Step {
  void (ProgramWalk::*run)();
  int weight;
  bool moneyOnly;
  bool historyOnly;
};
const Step kSteps[] = {
    {&ProgramWalk::typeInput, 30, false, false},     {&ProgramWalk::pressEnter, 12, false, false},
    {&ProgramWalk::functionKey, 12, false, false},   {&ProgramWalk::clickUnit, 12, false, false},
    {&ProgramWalk::swapUnits, 7, false, false},      {&ProgramWalk::changePage, 5, false, false},
    {&ProgramWalk::clickCategory, 8, false, false},  {&ProgramWalk::typeRate, 20, true, false},
    {&ProgramWalk::stepSpinner, 12, true, false},    {&ProgramWalk::clickInput, 4, false, false},
    {&ProgramWalk::customise, 3, false, false},      {&ProgramWalk::toggleHistory, 4, false, false},
    {&ProgramWalk::historyStep, 35, false, true},    {&ProgramWalk::modalHistory, 1, false, false},
    {&ProgramWalk::toggleAutoClip, 2, false, false}, {&ProgramWalk::exitAndStart, 1, false, false},
    {&ProgramWalk::refuseWrites, 1, false, false},   {&ProgramWalk::toggleTopmost, 2, false, false},
};

}  // namespace

void ProgramWalk::start() {
  form = std::make_unique<TCalcMainForm>(*services, table, history);
  services->onTrackPopupMenu = [this](const PopupMenu&, Point) {
    return std::exchange(menuChoice, -1);
  };
}

void ProgramWalk::takeModelFromProgram() {
  for (int c = 1; c <= kCategoryCount; ++c) {
    ModelCategory& category = m.table[c];
    category.name = table[c].CategoryName;
    category.iconKind = table[c].IconKind;
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      const UnitRecord& unit = table[c].unit(u);
      category.unit(u) = {unit.Name, unit.Factor.value(), unit.Factor.bytes(),
                          0,         unit.Decimals,       unit.Colour};
    }
  }
}

void ProgramWalk::startAfresh(unsigned seed) {
  random.seed(seed);
  services = std::make_unique<RecordingServices>();
  services->executable = executable;
  storage.refusing = false;
  storage.bytesOf(settingsPath) = kStartSettings;
  refusalLeft = 0;
  fileVersion = -1;
  table = CategoryTable::BuiltIn();
  recent.clear();
  failure.clear();
  m = Model{};
  start();
  takeModelFromProgram();
  m.page = 3;
  m.category = 25;
  expectUnitsShown();
  fileBefore = file();
  fileBeforeVersion = storage.writes;
}

bool ProgramWalk::walkSeed(unsigned seed, long steps) {
  startAfresh(seed);
  for (stepNumber = 1; stepNumber <= steps; ++stepNumber) {
    std::vector<int> weights;
    for (const Step& s : kSteps) {
      const bool usable = (!s.moneyOnly || m.page == 3) && (!s.historyOnly || m.historyOpen);
      weights.push_back(usable ? s.weight : 0);
    }
    std::discrete_distribution<std::size_t> which(weights.begin(), weights.end());
    const Step& step = kSteps[which(random)];
    beginStep();
    try {
      (this->*step.run)();
    } catch (const std::exception& error) {
      fail(std::string("the step threw: ") + error.what());
    }
    if (failure.empty()) endStep();
    if (!failure.empty()) return reportFailure(seed);
  }
  form.reset();
  services->pump();
  return true;
}

bool ProgramWalk::reportFailure(unsigned seed) {
  std::ostringstream report;
  report << "seed " << seed << ", step " << stepNumber << ": " << failure
         << "\nreplay with HK_WALK_SEED=" << seed << " HK_WALK_SEEDS=1 HK_WALK_STEPS=" << stepNumber
         << "\nthe last steps:";
  for (const std::string& action : recent) report << "\n  " << action;
  ADD_FAILURE() << report.str();
  return false;
}

std::string ProgramWalk::inputText() {
  switch (pick(0, 10)) {
    case 0:
      return oneOf<std::string>({"5.", "abc", "1 000", "12 ", "-", "", ",,,", "1e", "--1", "."});
    case 1:
    case 10:
      return oneOf<std::string>({"1e38", "-1e38", "9e37", "-9e37", "1e39", "1e-40"});
    case 2:
      return oneOf<std::string>({"$1F", "$ff", "$FFFFFFFF", "$", "$G1", "+7", "-0", "+.5"});
    case 3:
      return oneOf<std::string>({"１２３", "１.５", "12３"});
    case 4: {
      std::string digits(static_cast<std::size_t>(pick(31, 42)), '0');
      for (char& c : digits) c = static_cast<char>('0' + pick(0, 9));
      digits[0] = '1';
      return digits;
    }
    case 5:
      return oneOf<std::string>({"FF", "ff", "1010", "777", "-13", "2147483648", "262145",
                                 "1073741825", "0", "FFFFFFFF", "262144", "1073741824"});
    case 6:
      return oneOf<std::string>({".5", "1e3", "2.E2", "1,234.5", "  12", "100", "0", "-2.5"});
    default: {
      std::string text = pick(0, 4) == 0 ? "-" : "";
      text += std::to_string(pick(0, 99999));
      if (chance(0.5)) text += "." + std::to_string(pick(0, 999));
      return text;
    }
  }
}

std::string ProgramWalk::rateText() {
  switch (pick(0, 3)) {
    case 0:
      return oneOf<std::string>({"+1", "-5", " 1", "$A", "$a", "+0", "-0", "$FFFFFFFF", "$0"});
    case 1:
      return oneOf<std::string>({"1a", "", " ", "x", "1,000", "99999999999", "1 ", "+", "$"});
    default:
      return std::to_string(pick(0, pick(0, 1) == 0 ? 99 : 2000));
  }
}

int ProgramWalk::shownRow() {
  std::vector<int> rows;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    if (m.panel[static_cast<std::size_t>(row - 1)].shown) rows.push_back(row);
  }
  return rows.empty() ? 0 : oneOf(rows);
}

// A row of the history: mostly one whose values are near the limit of the
// totals or one that is marked, where the marks meet each other; some of the
// newest; any.
int ProgramWalk::historyRow() {
  std::vector<int> large;
  std::vector<int> marked;
  for (int i = 1; i <= static_cast<int>(m.records.size()); ++i) {
    const ModelRecord& r = m.records[static_cast<std::size_t>(i - 1)];
    if (std::fabs(r.targetValue) >= 1e37L || std::fabs(r.resultValue) >= 1e37L) large.push_back(i);
    if (r.sign != kSignNone) marked.push_back(i);
  }
  const int count = static_cast<int>(m.records.size());
  switch (pick(0, 3)) {
    case 0:
      if (!large.empty()) return oneOf(large);
      break;
    case 1:
      if (!marked.empty()) return oneOf(marked);
      break;
    case 2:
      return pick(std::max(1, count - 7), count);
    default:
      break;
  }
  return pick(1, count);
}

std::string ProgramWalk::rowTexts(int row) const {
  return Quoted(form->RateEdit(row).text()) + "/" +
         Quoted(form->RateEdit(kUnitsPerCategory + row).text());
}

TEST_F(ProgramWalk, EveryPathAgreesWithWhatTheUserDid) {
  const long firstSeed = FromEnvironment("HK_WALK_SEED", 1);
  const long seeds = FromEnvironment("HK_WALK_SEEDS", 2);
  const long steps = FromEnvironment("HK_WALK_STEPS", 1500);
  for (long seed = firstSeed; seed < firstSeed + seeds; ++seed) {
    if (!walkSeed(static_cast<unsigned>(seed), steps)) break;
  }
}

}  // namespace hk::walk
