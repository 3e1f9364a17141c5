#include "platform/Dispatcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "data/FloatFault.h"
#include "data/ProfileFile.h"
#include "platform/ErrorLog.h"

namespace hk {
namespace {

TEST(Dispatcher, ErrorTextIsWhatTheUserReads) {
  const FloatFault overflow(FloatFault::Kind::Overflow);
  const FloatFault zero(FloatFault::Kind::ZeroDivide);
  const FloatFault invalid(FloatFault::Kind::InvalidOperation);
  const std::runtime_error other("something else");
  const ProfileWriteError write(std::filesystem::path("settings") / "hakarimaru.KZN");
  EXPECT_EQ(ErrorText(overflow), "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ");
  EXPECT_EQ(ErrorText(zero), "0 による浮動小数点数除算");
  EXPECT_EQ(ErrorText(invalid), "不正な浮動小数点数演算命令");
  EXPECT_EQ(ErrorText(other), "something else");
  EXPECT_EQ(ErrorText(write).rfind("Unable to write to ", 0), 0u);
  EXPECT_NE(ErrorText(write).find("hakarimaru.KZN"), std::string::npos);
}

TEST(Dispatcher, FireReportsWhatAHandlerThrowsAndCarriesOn) {
  ErrorLog log;
  EXPECT_TRUE(Fire(std::function<void()>()));
  EXPECT_TRUE(Fire([] {}));
  EXPECT_FALSE(Fire([] { throw FloatFault(FloatFault::Kind::ZeroDivide); }));
  EXPECT_FALSE(Fire([] { throw 42; }));
  ASSERT_EQ(log.texts.size(), 2u);
  EXPECT_EQ(log.texts[0], "0 による浮動小数点数除算");
  EXPECT_FALSE(log.texts[1].empty());
}

TEST(Dispatcher, NeitherAMissingNorAFailingReportLetsAnErrorOut) {
  SetErrorReport({});
  EXPECT_FALSE(Fire([] { throw std::runtime_error("unseen"); }));
  SetErrorReport([](const std::string&) { throw std::runtime_error("report broke"); });
  EXPECT_FALSE(Fire([] { throw std::runtime_error("first"); }));
  SetErrorReport({});
}

TEST(Dispatcher, ArgumentsReachTheHandlerByReference) {
  std::function<void(char&, int)> handler = [](char& key, int add) { key = char(key + add); };
  char key = 'a';
  EXPECT_TRUE(Fire(handler, key, 2));
  EXPECT_EQ(key, 'c');
}

}  // namespace
}  // namespace hk
