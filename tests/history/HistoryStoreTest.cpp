#include "history/HistoryStore.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "data/FloatFault.h"

namespace hk {
namespace {

HistoryRecord Conversion(const std::string& target, long double targetValue,
                         long double resultValue, std::uint8_t sign = kSignNone) {
  HistoryRecord r;
  r.TargetText = target;
  r.TargetValue = targetValue;
  r.ResultValue = resultValue;
  r.Sign = sign;
  return r;
}

// Appends and then marks, since a fresh record always comes unmarked.
void Fill(HistoryStore& store, std::initializer_list<HistoryRecord> records) {
  for (const HistoryRecord& r : records) {
    store.AppendHistory(r);
    store.record(store.HistoryCount()).Sign = r.Sign;
  }
}

TEST(HistoryStoreTest, AppendStoresUnmarkedInNextSlot) {
  HistoryStore store;
  store.AppendHistory(Conversion("1", 1, 100, kSignAdd));
  store.AppendHistory(Conversion("2", 2, 200, kSignSubtract));
  ASSERT_EQ(store.HistoryCount(), 2);
  EXPECT_EQ(store.record(1).TargetText + store.record(2).TargetText, "12");
  EXPECT_EQ(store.record(2).ResultValue.value(), 200);
  EXPECT_EQ(store.record(1).Sign + store.record(2).Sign, 0);
  EXPECT_THROW(store.record(0), std::out_of_range);
  EXPECT_THROW(store.record(3), std::out_of_range);
  EXPECT_EQ(std::string(SignText(kSignNone)) + SignText(kSignAdd) + SignText(kSignSubtract),
            "  \x81\x7B\x81\x7C");
}

TEST(HistoryStoreTest, AppendingPastCapacityStartsAfresh) {
  HistoryStore store;
  Fill(store, {Conversion("7", 7, 3, kSignAdd)});
  store.ComputeTotals();
  for (int i = 2; i <= kHistoryCapacity; ++i) store.AppendHistory(Conversion("x", 1, 1));
  EXPECT_EQ(store.HistoryCount(), 999);
  EXPECT_EQ(store.TargetTotal().value(), 7);

  store.AppendHistory(Conversion("new", 5, 5));
  ASSERT_EQ(store.HistoryCount(), 1);
  EXPECT_EQ(store.record(1).TargetText, "new");
  EXPECT_TRUE(store.TargetTotal().isZero() && store.ResultTotal().isZero());
}

TEST(HistoryStoreTest, TotalsFollowMarks) {
  struct Case {
    std::uint8_t first, second;
    long double target, result;
  };
  const Case cases[] = {
      {kSignAdd, kSignSubtract, 6, 1.75L},
      {kSignAdd, kSignNone, 10, 2.5L},
      {kSignNone, kSignSubtract, -4, -0.75L},
      {3, kSignAdd, 4, 0.75L},  // not a mark: skipped
  };
  for (const Case& c : cases) {
    HistoryStore store;
    Fill(store, {Conversion("10", 10, 2.5L, c.first), Conversion("4", 4, 0.75L, c.second),
                 Conversion("FF", 0, 0, kSignAdd)});  // a number base carries no value
    store.ComputeTotals();
    EXPECT_EQ(store.TargetTotal().value(), c.target) << int{c.first} << int{c.second};
    EXPECT_EQ(store.ResultTotal().value(), c.result) << int{c.first} << int{c.second};
  }
}

TEST(HistoryStoreTest, TotalsRoundToReal48AtEveryStep) {
  // 1 - 2^41 needs 41 bits and rounds away from zero to -2^41; so does the
  // next step. Rounded once at the end the sum would be -(2^41 - 2).
  HistoryStore store;
  Fill(store, {Conversion("a", 1, 1, kSignAdd), Conversion("b", 0x1p41L, 0x1p41L, kSignSubtract),
               Conversion("c", 1, 1, kSignAdd)});
  store.ComputeTotals();
  EXPECT_EQ(store.TargetTotal().value(), -0x1p41L);
  EXPECT_EQ(store.ResultTotal().value(), -0x1p41L);
}

TEST(HistoryStoreTest, OverflowKeepsPreviousTotals) {
  HistoryStore store;
  Fill(store, {Conversion("a", 3, 1, kSignAdd)});
  store.ComputeTotals();
  // Only the result column overflows; the target column must not move either.
  Fill(store, {Conversion("b", 1, 0x1p126L, kSignAdd), Conversion("c", 1, 0x1p126L, kSignAdd)});
  try {
    store.ComputeTotals();
    FAIL() << "no overflow";
  } catch (const FloatFault& fault) {
    EXPECT_EQ(fault.kind(), FloatFault::Kind::Overflow);
  }
  EXPECT_EQ(store.TargetTotal().value(), 3);
  EXPECT_EQ(store.ResultTotal().value(), 1);
}

TEST(HistoryStoreTest, ClearingOverflowLeavesOutEachMarkThatWouldNotFit) {
  const long double big = 0x1p126L;  // two of them overflow
  struct Case {
    std::vector<HistoryRecord> records;
    std::vector<std::int32_t> cleared;
    long double target, result;
  };
  const Case cases[] = {
      // Only the result overflows, and the record leaves both totals.
      {{Conversion("a", 3, 1, kSignAdd), Conversion("b", 1, big, kSignAdd),
        Conversion("c", 1, big, kSignAdd), Conversion("d", 1, big, kSignSubtract)},
       {3},
       3,
       0},
      // Each mark meets the totals as they stand: a later one fits again.
      {{Conversion("a", big, big, kSignAdd), Conversion("b", big, big, kSignAdd),
        Conversion("c", big, big, kSignSubtract), Conversion("d", big, big, kSignAdd),
        Conversion("e", big, big, kSignAdd)},
       {2, 5},
       big,
       big},
  };
  for (const Case& c : cases) {
    HistoryStore store;
    for (const HistoryRecord& r : c.records) {
      store.AppendHistory(r);
      store.record(store.HistoryCount()).Sign = r.Sign;
    }
    EXPECT_EQ(store.ComputeTotalsClearingOverflow(), c.cleared);
    EXPECT_EQ(store.TargetTotal().value(), c.target);
    EXPECT_EQ(store.ResultTotal().value(), c.result);
    for (const std::int32_t slot : c.cleared) EXPECT_EQ(store.record(slot).Sign, kSignNone);
    store.ComputeTotals();  // the marks left sum alike
    EXPECT_EQ(store.ResultTotal().value(), c.result);
  }
}

TEST(HistoryStoreTest, RemoveAndClear) {
  HistoryStore store;
  for (const char* t : {"1", "2", "3", "4"}) store.AppendHistory(Conversion(t, 0, 0));
  Fill(store, {Conversion("5", 2, 3, kSignAdd)});
  store.ComputeTotals();
  store.RemoveHistory(3);
  store.RemoveHistory(0);  // ignored, as is any slot outside the history
  store.RemoveHistory(5);
  ASSERT_EQ(store.HistoryCount(), 4);
  std::string order;
  for (int i = 1; i <= 4; ++i) order += store.record(i).TargetText;
  EXPECT_EQ(order, "1245");

  store.ClearHistory();
  EXPECT_EQ(store.HistoryCount(), 0);
  EXPECT_TRUE(store.TargetTotal().isZero() && store.ResultTotal().isZero());
}

}  // namespace
}  // namespace hk
