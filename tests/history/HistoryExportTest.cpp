#include "history/HistoryExport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace hk {
namespace {

const std::string kTotal = "\x8D\x87\x8C\x76    ";  // 合計 and four blanks
const std::string kBase16 = "16\x90\x69    ";       // 16進 as stored, blanks included
const std::string kBase10 = "10\x90\x69";

HistoryRecord Conversion(const std::string& target, const std::string& from,
                         const std::string& result, const std::string& to, long double value) {
  HistoryRecord r{target, from, result, to, value, value * 100};
  return r;
}

// 100 m and 4 m, optionally marked "+" and "-", then an unmarked number-base
// conversion whose units must still label the totals.
HistoryStore ThreeRecords(bool marked) {
  HistoryStore store;
  store.AppendHistory(Conversion("100", "m       ", "       10000.000", "cm      ", 100));
  store.AppendHistory(Conversion("4", "m       ", "         400.000", "cm      ", 4));
  store.AppendHistory(Conversion("FF", kBase16, "       255", kBase10, 0));
  if (marked) {
    store.record(1).Sign = kSignAdd;
    store.record(2).Sign = kSignSubtract;
  }
  store.ComputeTotals();
  return store;
}

TEST(HistoryExportTest, WholeText) {
  const std::string pad(15, ' ');
  const std::string body1 = pad + "100 m       " + "       10000.000 cm      \r";
  const std::string body2 = pad + "4 m       " + "         400.000 cm      \r";
  const std::string line3 = "     " + pad + "FF " + kBase16 + "       255 " + kBase10 + "\r";
  const std::string plus = "  \x81\x7B ", minus = "  \x81\x7C ", none = "     ";
  const std::string markedTotal =
      kTotal + "       96.00000 " + kBase16 + " " + "     9600.00000 " + kBase10;
  const std::string zeroTotal =
      kTotal + "        0.00000 " + kBase16 + " " + "        0.00000 " + kBase10;

  HistoryStore longText;
  longText.AppendHistory(Conversion("12345678901234567890.5", "km", "    1", "m", 1));
  struct Case {
    HistoryStore store;
    int mode;
    std::string expected;
  };
  const Case cases[] = {
      {ThreeRecords(true), kExportAll, plus + body1 + minus + body2 + line3 + markedTotal},
      {ThreeRecords(true), kExportMarked, plus + body1 + minus + body2 + markedTotal},
      {ThreeRecords(true), kExportNone, markedTotal},
      {ThreeRecords(false), kExportAll, none + body1 + none + body2 + line3 + zeroTotal},
      {ThreeRecords(false), kExportMarked, zeroTotal},
      {longText, kExportAll,
       none + pad + "12345678901234567890.5 km    1 m\r" + kTotal + "        0.00000 km " +
           "        0.00000 m"},
      {HistoryStore(), kExportAll, kTotal + "        0.00000  " + "        0.00000 "},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(HistoryExportText(cases[i].store, cases[i].mode), cases[i].expected) << "case " << i;
  }
  EXPECT_EQ(HistoryExportText(ThreeRecords(true), kExportAll).substr(20, 5), "100 m");
}

}  // namespace
}  // namespace hk
