#include "data/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "data/ShiftJis.h"
#include "support/TempFolder.h"

namespace hk {
namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return folder_.path() / "hakarimaru.KZN"; }

  void writeFile(const std::string& bytes) const {
    std::ofstream out(file(), std::ios::binary);
    out << bytes;
  }

  std::string fileBytes() const {
    std::ifstream in(file(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The built-in table after a start-up with no settings: names padded.
  static CategoryTable LoadedBuiltIn() {
    CategoryTable table = CategoryTable::BuiltIn();
    for (int c = 1; c <= kCategoryCount; ++c) {
      if (c == kTemperatureCategory || c == kNumberBaseCategory) continue;
      for (UnitRecord& u : table[c].Units) u.Name = PadUnitName(u.Name);
    }
    return table;
  }

  TempFolder folder_;
};

void ExpectSameTable(const CategoryTable& actual, const CategoryTable& expected) {
  for (int c = 1; c <= kCategoryCount; ++c) {
    SCOPED_TRACE("category " + std::to_string(c));
    EXPECT_EQ(actual[c].CategoryName, expected[c].CategoryName);
    EXPECT_EQ(actual[c].IconKind, expected[c].IconKind);
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      EXPECT_EQ(actual[c].unit(u).Name, expected[c].unit(u).Name) << "unit " << u;
      EXPECT_EQ(actual[c].unit(u).Factor.bytes(), expected[c].unit(u).Factor.bytes()) << u;
      EXPECT_EQ(actual[c].unit(u).Decimals, expected[c].unit(u).Decimals) << "unit " << u;
      EXPECT_EQ(actual[c].unit(u).Colour, expected[c].unit(u).Colour) << "unit " << u;
    }
  }
}

TEST_F(SettingsFileTest, WithoutAFileEverythingIsBuiltIn) {
  const SettingsFile settings(file());
  const WindowSettings window = settings.readWindowSettings();
  EXPECT_EQ(window.WinPosX, 0);
  EXPECT_EQ(window.WinPosY, 0);
  EXPECT_EQ(window.Index, 1);
  EXPECT_EQ(window.Page, 1);
  EXPECT_TRUE(window.AutoClip);
  EXPECT_FALSE(window.Topmost);

  CategoryTable table = CategoryTable::BuiltIn();
  settings.loadCategories(table);
  ExpectSameTable(table, LoadedBuiltIn());
  EXPECT_EQ(table[1].unit(1).Name, " ﾒｰﾄﾙ   ");  // 7 bytes became 8
  EXPECT_EQ(table[9].unit(3).Name, "絶対温度Ｋ");
  EXPECT_FALSE(std::filesystem::exists(file()));  // reading creates nothing
}

struct WindowCase {
  const char* file;
  WindowSettings expected;
};

TEST_F(SettingsFileTest, WindowKeysFallBackOneByOne) {
  const WindowCase cases[] = {
      {"[ZOVA]\r\nWinPosX=120\r\nWinPosY=-4\r\nINDEX=25\r\nPAGE=3\r\nAUTOCLIP=0\r\n",
       {120, -4, 25, 3, false}},
      {"[ZOVA]\r\nWinPosX=0x10\r\nWinPosY=$20\r\nINDEX=abc\r\nPAGE=\r\nAUTOCLIP=yes\r\n",
       {16, 32, 1, 1, true}},
      {"[ZOVA]\r\nWinPosX=-$10\r\nWinPosY=+$20\r\n", {-16, 32, 1, 1, true}},
      {"[ZOVA]\r\nAUTOCLIP=7\r\nINDEX=0X0D\r\nPAGE=2 \r\n", {0, 0, 13, 2, true}},
      {"[ZOVA]\r\nAUTOCLIP=0x0\r\nWinPosX=0x\r\n", {0, 0, 1, 1, false}},
      {"[zova]\r\nwinposx=5\r\n", {5, 0, 1, 1, true}},
      {"[ZOVA]\r\nTOPMOST=1\r\n", {0, 0, 1, 1, true, true}},
      {"[ZOVA]\r\nTOPMOST=on\r\nAUTOCLIP=1\r\n", {0, 0, 1, 1, true, false}},
  };
  for (const WindowCase& c : cases) {
    writeFile(c.file);
    const WindowSettings w = SettingsFile(file()).readWindowSettings();
    SCOPED_TRACE(c.file);
    EXPECT_EQ(w.WinPosX, c.expected.WinPosX);
    EXPECT_EQ(w.WinPosY, c.expected.WinPosY);
    EXPECT_EQ(w.Index, c.expected.Index);
    EXPECT_EQ(w.Page, c.expected.Page);
    EXPECT_EQ(w.AutoClip, c.expected.AutoClip);
    EXPECT_EQ(w.Topmost, c.expected.Topmost);
  }
}

struct LoadCase {
  const char* section;  // the lines of [BUNRUI1] (or a whole file when it starts with "[")
  void (*expect)(CategoryTable& expected);
};

TEST_F(SettingsFileTest, CategoryKeysOverrideOrKeepTheTable) {
  const LoadCase cases[] = {
      {"DATA3=*", [](CategoryTable&) {}},
      {"DATA3=", [](CategoryTable&) {}},
      {"DATA3=5.", [](CategoryTable&) {}},
      {"DATA3=1e39", [](CategoryTable&) {}},  // beyond a Real48: ignored
      {"DATA3=0", [](CategoryTable& t) { t[1].unit(3).Factor = Real48(); }},
      {"DATA3=   2.54", [](CategoryTable& t) { t[1].unit(3).Factor = Real48(2.54L); }},
      {"DATA9=1e3", [](CategoryTable& t) { t[1].unit(9).Factor = Real48(1000.0L); }},
      {"COLOR2=4", [](CategoryTable&) {}},
      {"COLOR2=red", [](CategoryTable&) {}},
      {"COLOR2=0", [](CategoryTable& t) { t[1].unit(2).Colour = kBlack; }},
      {"COLOR2=3", [](CategoryTable& t) { t[1].unit(2).Colour = kGreen; }},
      {"COLOR2=2", [](CategoryTable& t) { t[1].unit(2).Colour = kRed; }},
      {"POINT1=$A", [](CategoryTable& t) { t[1].unit(1).Decimals = 10; }},
      {"POINT1=0xA", [](CategoryTable&) {}},  // "0x" only for the window keys and ICON
      {"POINT1=-3", [](CategoryTable& t) { t[1].unit(1).Decimals = -3; }},
      {"ICON=1", [](CategoryTable& t) { t[1].IconKind = 1; }},
      {"ICON=0x2", [](CategoryTable& t) { t[1].IconKind = 2; }},
      {"ICON=300", [](CategoryTable&) {}},  // no picture kind: the standard picture
      {"ICON=-1", [](CategoryTable&) {}},
      {"NAME=距離&L", [](CategoryTable& t) { t[1].CategoryName = "距離&L"; }},
      {"NAME=とても長い名前&L", [](CategoryTable& t) { t[1].CategoryName = "とても長い名"; }},
      {"Button2=ｍ", [](CategoryTable& t) { t[1].unit(2).Name = "ｍ      "; }},
      {"Button2=あいうえおかきくけこ",
       [](CategoryTable& t) { t[1].unit(2).Name = "あいうえおかき"; }},
      {"Button2=\"  cm  \"", [](CategoryTable& t) { t[1].unit(2).Name = "  cm    "; }},
      {"[BUNRUI9]\r\nNAME=x&U\r\nButton1=y\r\nDATA1=5\r\nPOINT1=0\r\n", [](CategoryTable&) {}},
      {"[BUNRUI10]\r\nDATA2=16\r\n", [](CategoryTable&) {}},
      {"[BUNRUI25]\r\nDATA2=0.05\r\n", [](CategoryTable& t) { t[25].unit(2).Factor = 0.05L; }},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.section);
    const std::string text = c.section;
    writeFile(text[0] == '[' ? text : "[BUNRUI1]\r\n" + text + "\r\n");
    CategoryTable table = CategoryTable::BuiltIn();
    SettingsFile(file()).loadCategories(table);
    CategoryTable expected = LoadedBuiltIn();
    c.expect(expected);
    ExpectSameTable(table, expected);
  }
}

TEST_F(SettingsFileTest, OverlongNumberTextsAreIgnored) {
  writeFile("[BUNRUI1]\r\nDATA1=" + std::string(75, '0') +
            "12345\r\nDATA2=" + std::string(76, '0') + "12345\r\n");
  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile(file()).loadCategories(table);
  EXPECT_EQ(table[1].unit(1).Factor.value(), 12345.0L);                // 80 bytes: read
  EXPECT_EQ(table[1].unit(2).Factor.value(), Real48(100.0L).value());  // 81 bytes: ignored
}

TEST_F(SettingsFileTest, ACustomisedSectionComesOutInTheDialogsOrder) {
  SettingsFile settings(file());
  settings.writeCategoryName(11, "運動&Y");
  settings.writeIconKind(11, 0);
  settings.writeUnit(11, 1, "散歩2･3k/h", "38", 1, 1);
  settings.writeUnit(11, 2, "早足4･5k/h", "29", 1, 1);
  EXPECT_EQ(fileBytes(),
            "[BUNRUI11]\r\nNAME=運動&Y\r\nICON=0\r\n"
            "Button1=散歩2･3k/h\r\nDATA1=38\r\nPOINT1=1\r\nCOLOR1=1\r\n"
            "Button2=早足4･5k/h\r\nDATA2=29\r\nPOINT2=1\r\nCOLOR2=1\r\n");
}

TEST_F(SettingsFileTest, WritesTheWindowAndOptionKeys) {
  SettingsFile settings(file());
  settings.writeAutoClip(false);
  settings.writeWindowSettings(10, 20, 25, 3);
  settings.writeAutoClip(true);
  settings.writeTopmost(true);
  EXPECT_EQ(fileBytes(),
            "[ZOVA]\r\nAUTOCLIP=1\r\nWinPosX=10\r\nWinPosY=20\r\nINDEX=25\r\nPAGE=3\r\n"
            "TOPMOST=1\r\n");
  const WindowSettings w = SettingsFile(file()).readWindowSettings();
  EXPECT_EQ(w.Index, 25);
  EXPECT_EQ(w.Page, 3);
}

TEST_F(SettingsFileTest, ValuesAreWrittenAsTyped) {
  SettingsFile settings(file());
  settings.writeUnit(1, 6, " ﾏ ｲ ﾙ ", "   0.00062", 5, 1);
  settings.writeUnit(1, 3, "ｍ", "1", 0, 0);
  settings.writeRate(25, 2, "0.05");
  const std::string bytes = fileBytes();
  EXPECT_NE(bytes.find("DATA6=   0.00062\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("Button3=ｍ\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("[BUNRUI25]\r\nDATA2=0.05\r\n"), std::string::npos);

  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile(file()).loadCategories(table);
  EXPECT_EQ(table[1].unit(6).Factor.value(), Real48(0.00062L).value());
  EXPECT_EQ(table[25].unit(2).Factor.value(), Real48(0.05L).value());
  EXPECT_EQ(table[1].unit(3).Colour, kBlack);
}

// Names that reading would change (outer blanks, outer quotes) go inside
// quotes, so confirming a category unchanged keeps every name as it was.
TEST_F(SettingsFileTest, NamesSurviveTheRoundTripThroughTheFile) {
  const std::string names[] = {" ﾒｰﾄﾙ  ", "  ㎡   ", "ｾﾝﾁﾒｰﾄﾙ", "\"q\"", "'x'",
                               "\"open",  "       ", "",        "a b",   "\t tab"};
  SettingsFile settings(file());
  int unit = 1;
  for (const std::string& name : names) {
    settings.writeUnit(13, unit, name, "1", 0, 1);
    if (++unit > kUnitsPerCategory) break;
  }
  settings.writeCategoryName(14, " 長さ&V ");
  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile(file()).loadCategories(table);
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    EXPECT_EQ(table[13].unit(u).Name, PadUnitName(names[u - 1])) << u;
  }
  EXPECT_EQ(table[14].CategoryName, " 長さ&V ");
  EXPECT_NE(fileBytes().find("Button1=\" ﾒｰﾄﾙ  \"\r\n"), std::string::npos);
  EXPECT_NE(fileBytes().find("Button3=ｾﾝﾁﾒｰﾄﾙ\r\n"), std::string::npos);

  // A zero byte put in by hand ends the name on reading as it does on writing.
  writeFile(std::string("[BUNRUI13]\r\nButton1=ab\0cd\r\n", 27));
  CategoryTable edited = CategoryTable::BuiltIn();
  SettingsFile handEdited(file());
  handEdited.loadCategories(edited);
  EXPECT_EQ(edited[13].unit(1).Name, "ab      ");
  handEdited.writeUnitName(13, 1, edited[13].unit(1).Name);
  CategoryTable again = CategoryTable::BuiltIn();
  SettingsFile(file()).loadCategories(again);
  EXPECT_EQ(again[13].unit(1).Name, "ab      ");
}

// A money category's DATE is written when the rate the file gives back
// changes, a missing or unreadable DATA counting as the built-in rate.
TEST_F(SettingsFileTest, TheRatesDateFollowsAChangedRate) {
  const struct {
    const char* file;
    int category;
    const char* text;  // written to DATA2
    bool dated;
  } cases[] = {
      {"", 25, "0.94", false},  // the built-in 米ドル
      {"", 25, "0.95", true},
      {"[BUNRUI25]\r\nDATA2=0.95\r\n", 25, "0.950", false},
      {"[BUNRUI25]\r\nDATA2=0.95\r\n", 25, "0.94", true},
      {"[BUNRUI25]\r\nDATA2=*\r\n", 25, "0.94", false},
      {"[BUNRUI25]\r\nDATA2=abc\r\n", 25, "0.94", false},
      {"", 11, "7", false},  // no money category
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + c.text);
    writeFile(c.file);
    SettingsFile settings(file());
    settings.writeUnitValue(c.category, 2, c.text);
    EXPECT_EQ(settings.writeRateDateIfChanged(c.category, "2026-12-08"), c.dated);
    EXPECT_FALSE(settings.writeRateDateIfChanged(c.category, "2026-12-09"));
    EXPECT_EQ(fileBytes().find("DATE=2026-12-08") != std::string::npos, c.dated);
  }

  // A date that could not be written is still owed at the next try.
  writeFile("");
  SettingsFile settings(file());
  settings.writeRate(30, 1, "2.00");
  settings.setBeforeReplaceHookForTesting(
      [](const FilePath&) { throw std::runtime_error("full"); });
  EXPECT_THROW(settings.writeRateDateIfChanged(30, "2026-12-08"), ProfileWriteError);
  settings.setBeforeReplaceHookForTesting({});
  EXPECT_TRUE(settings.writeRateDateIfChanged(30, "2026-12-09"));

  // Read back for a money category alone, and only a real date.
  writeFile(
      "[BUNRUI25]\r\nDATE=2026-01-31\r\n[BUNRUI26]\r\nDATE=2026-13-01\r\n"
      "[BUNRUI11]\r\nDATE=2026-01-31\r\n");
  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile(file()).loadCategories(table);
  EXPECT_EQ(table[25].RateDate, "2026-01-31");
  EXPECT_EQ(table[26].RateDate, "");
  EXPECT_EQ(table[11].RateDate, "");
  EXPECT_EQ(DateText({2027, 1, 2}), "2027-01-02");
}

TEST_F(SettingsFileTest, AFailedWriteNamesTheFile) {
  const std::filesystem::path blocker = folder_.path() / "not-a-folder";
  std::ofstream(blocker) << "x";
  SettingsFile settings(blocker / "hakarimaru.KZN");
  try {
    settings.writeAutoClip(false);
    ADD_FAILURE();
  } catch (const ProfileWriteError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to write to " + (blocker / "hakarimaru.KZN").string());
  }
}

TEST(SettingsPath, IsTheExecutablesPathWithKzn) {
  EXPECT_EQ(SettingsPathFor(FilePath("tools/CONVERT.EXE")),
            std::filesystem::path("tools/CONVERT.KZN"));
  EXPECT_EQ(SettingsPathFor(FilePath("hakarimaru.exe")), std::filesystem::path("hakarimaru.KZN"));
  EXPECT_EQ(CategorySection(25), "BUNRUI25");
}

}  // namespace
}  // namespace hk
