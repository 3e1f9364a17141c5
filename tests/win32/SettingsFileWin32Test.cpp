// The settings file on Windows itself: replacing the file by a rename must
// work over an existing file, and paths may hold Japanese characters.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "data/CategoryTable.h"
#include "data/SettingsFile.h"
#include "support/TempFolder.h"

namespace hk {
namespace {

std::string BytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SettingsFileOnWindows, RepeatedWritesReplaceTheFile) {
  TempFolder folder;
  const std::filesystem::path path = folder.path() / "hakarimaru.KZN";
  {
    SettingsFile settings(path);
    settings.writeAutoClip(false);
    settings.writeAutoClip(true);
    settings.writeWindowSettings(1, 2, 3, 1);
  }
  EXPECT_EQ(BytesOf(path),
            "[ZOVA]\r\nAUTOCLIP=1\r\nWinPosX=1\r\nWinPosY=2\r\nINDEX=3\r\nPAGE=1\r\n");
  const WindowSettings w = SettingsFile(path).readWindowSettings();
  EXPECT_EQ(w.Index, 3);
  EXPECT_TRUE(w.AutoClip);
}

TEST(SettingsFileOnWindows, AFolderWithAJapaneseName) {
  TempFolder folder;
  const std::filesystem::path dir = folder.path() / std::filesystem::u8path(u8"換算");
  std::filesystem::create_directory(dir);
  SettingsFile settings(dir / "hakarimaru.KZN");
  settings.writeRate(25, 2, "1.05");
  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile(dir / "hakarimaru.KZN").loadCategories(table);
  EXPECT_EQ(table[25].unit(2).Factor.value(), Real48(1.05L).value());
}

}  // namespace
}  // namespace hk
