// The settings file on Windows itself, through the storage the program
// installs: replacing the file by a rename over an existing file, paths with
// Japanese characters, and the faults that must leave the old file whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "data/CategoryTable.h"
#include "data/SettingsFile.h"
#include "platform/win32/SettingsLocation.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32ProfileStorage.h"
#include "support/TempFolder.h"

namespace hk {
namespace {

namespace fs = std::filesystem;

std::string BytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::wstring> FilesIn(const fs::path& folder) {
  std::set<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

class SettingsFileOnWindows : public ::testing::Test {
 protected:
  SettingsFileOnWindows() { InstallProfileStorage(&storage_); }
  ~SettingsFileOnWindows() override { InstallProfileStorage(nullptr); }

  // The write fails with the message the user sees, and the file stays.
  void ExpectFailedWrite(SettingsFile& settings) {
    const fs::path path = settings.path();
    const std::string before = BytesOf(path);
    try {
      settings.writeAutoClip(false);
      ADD_FAILURE() << "no error";
    } catch (const ProfileWriteError& error) {
      EXPECT_EQ(std::string(error.what()), "Unable to write to " + WideToSjis(path.wstring()));
    }
    EXPECT_EQ(BytesOf(path), before);
  }

  Win32ProfileStorage storage_{300};
  TempFolder folder_;
  fs::path path_ = folder_.path() / "hakarimaru.KZN";
};

TEST_F(SettingsFileOnWindows, RepeatedWritesReplaceTheFile) {
  Put(path_, "[ZOVA]\r\nAUTOCLIP=1\r\n");
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_HIDDEN);
  // What a writer killed before its rename left behind goes; a file of
  // another pattern stays.
  Put(folder_.path() / "hakarimaru.KZN.4242-7-123456.tmp", "[ZOVA]\r\n");
  Put(folder_.path() / "hakarimaru.KZN.notes.tmp", "mine");
  {
    SettingsFile settings(path_);
    // A reader with the program's own sharing does not stop a write.
    const HANDLE reader = CreateFileW(path_.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread closer([reader] {
      Sleep(100);
      CloseHandle(reader);
    });
    settings.writeAutoClip(false);
    closer.join();
    settings.writeAutoClip(true);
    settings.writeWindowSettings(1, 2, 3, 1);
  }
  EXPECT_EQ(BytesOf(path_),
            "[ZOVA]\r\nAUTOCLIP=1\r\nWinPosX=1\r\nWinPosY=2\r\nINDEX=3\r\nPAGE=1\r\n");
  EXPECT_NE(GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(FilesIn(folder_.path()),
            (std::set<std::wstring>{L"hakarimaru.KZN", L"hakarimaru.KZN.notes.tmp"}));

  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  SettingsFile readOnly(path_);
  ExpectFailedWrite(readOnly);
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFileOnWindows, AFailureBeforeTheReplaceLeavesNothingBehind) {
  Put(path_, "[ZOVA]\r\nAUTOCLIP=1\r\n");
  SettingsFile settings(path_);
  fs::path temporary;
  settings.setBeforeReplaceHookForTesting([&](const fs::path& temp) {
    temporary = temp;
    EXPECT_EQ(BytesOf(temp), "[ZOVA]\r\nAUTOCLIP=0\r\n");
    throw std::runtime_error("the power went");
  });
  ExpectFailedWrite(settings);
  EXPECT_FALSE(temporary.empty());
  EXPECT_EQ(FilesIn(folder_.path()), std::set<std::wstring>{L"hakarimaru.KZN"});
  // The lock went with the failure: another thread has it at once.
  std::thread([&] { EXPECT_NE(storage_.lock(path_), nullptr); }).join();
  settings.setBeforeReplaceHookForTesting(nullptr);
  settings.writeAutoClip(false);
  EXPECT_EQ(BytesOf(path_), "[ZOVA]\r\nAUTOCLIP=0\r\n");
}

TEST_F(SettingsFileOnWindows, FaultsLeaveTheFileWhole) {
  Put(path_, "[ZOVA]\r\nAUTOCLIP=1\r\n");
  SettingsFile settings(path_);
  for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
    const HANDLE held = CreateFileW(path_.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ExpectFailedWrite(settings);
    CloseHandle(held);
  }
  // Another copy of the program holds the lock for longer than the wait.
  std::promise<void> taken;
  std::promise<void> done;
  std::thread elsewhere([&] {
    const std::unique_ptr<ProfileStorage::Lock> lock = storage_.lock(path_);
    EXPECT_NE(lock, nullptr);
    taken.set_value();
    done.get_future().wait();
  });
  taken.get_future().wait();
  ExpectFailedWrite(settings);
  done.set_value();
  elsewhere.join();
  EXPECT_EQ(FilesIn(folder_.path()), std::set<std::wstring>{L"hakarimaru.KZN"});
  settings.writeAutoClip(false);
  EXPECT_EQ(BytesOf(path_), "[ZOVA]\r\nAUTOCLIP=0\r\n");
}

// Start-up reads without the writers' lock; a read refused while a writer
// holds the file waits for the lock and gets the file as that write left it.
TEST_F(SettingsFileOnWindows, AReadRefusedByAWriterWaitsForIt) {
  Put(path_, "[ZOVA]\r\nPAGE=1\r\n");
  std::promise<void> holding;
  std::thread writer([&] {
    const std::unique_ptr<ProfileStorage::Lock> lock = storage_.lock(path_);
    const HANDLE alone = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    holding.set_value();
    Sleep(100);
    DWORD written = 0;
    WriteFile(alone, "[ZOVA]\r\nPAGE=2\r\n", 16, &written, nullptr);
    CloseHandle(alone);
  });
  holding.get_future().wait();
  EXPECT_EQ(SettingsFile(path_).readWindowSettings().Page, 2);
  writer.join();
}

// The message names the folder in the user's own characters.
TEST_F(SettingsFileOnWindows, AFolderWithAJapaneseName) {
  const fs::path dir = folder_.path() / fs::u8path(u8"換算ツール");
  fs::create_directory(dir);
  SettingsFile settings(dir / "hakarimaru.KZN");
  settings.writeRate(25, 2, "1.05");
  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile(dir / "hakarimaru.KZN").loadCategories(table);
  EXPECT_EQ(table[25].unit(2).Factor.value(), Real48(1.05L).value());

  fs::remove_all(dir);  // the folder is gone
  try {
    settings.writeAutoClip(false);
    ADD_FAILURE() << "no error";
  } catch (const ProfileWriteError& error) {
    const std::string shown = error.what();
    EXPECT_NE(shown.find("\\換算ツール\\hakarimaru.KZN"), std::string::npos) << shown;
  }
  EXPECT_FALSE(fs::exists(dir));
}

// Where the folder takes files the file stays beside the program, and the
// probe leaves nothing there; elsewhere the user's copy starts from it once.
TEST_F(SettingsFileOnWindows, TheUsersCopyStartsFromTheFileBesideTheProgram) {
  EXPECT_TRUE(TakesWrites(path_));
  Put(path_, "[ZOVA]\r\nPAGE=2\r\n");
  EXPECT_TRUE(TakesWrites(path_));
  EXPECT_FALSE(TakesWrites(folder_.path() / "gone" / "hakarimaru.KZN"));
  EXPECT_EQ(FilesIn(folder_.path()), std::set<std::wstring>{L"hakarimaru.KZN"});

  const fs::path user = folder_.path() / fs::u8path(u8"はかり丸");
  const fs::path copy = UserCopy(path_, user, storage_);
  EXPECT_EQ(copy, user / "hakarimaru.KZN");
  EXPECT_EQ(BytesOf(copy), "[ZOVA]\r\nPAGE=2\r\n");
  SettingsFile(copy).writeAutoClip(false);
  Put(path_, "[ZOVA]\r\nPAGE=3\r\n");
  EXPECT_EQ(UserCopy(path_, user, storage_), copy);
  EXPECT_EQ(BytesOf(copy), "[ZOVA]\r\nPAGE=2\r\nAUTOCLIP=0\r\n");

  // Nothing beside the program: the first write makes the copy.
  const fs::path other = folder_.path() / "other";
  EXPECT_EQ(UserCopy(folder_.path() / "none.KZN", other, storage_), other / "none.KZN");
  EXPECT_FALSE(fs::exists(other / "none.KZN"));
  EXPECT_TRUE(UserCopy(path_, folder_.path() / "gone" / "deeper", storage_).empty());
}

// HK_FULL_DISK names a settings file on a small disk that is full.
TEST_F(SettingsFileOnWindows, AFullDisk) {
  const char* file = std::getenv("HK_FULL_DISK");
  if (!file) GTEST_SKIP() << "HK_FULL_DISK names no file on a full disk";
  const fs::path path = fs::u8path(file);
  const std::set<std::wstring> before = FilesIn(path.parent_path());
  SettingsFile settings(path);
  ExpectFailedWrite(settings);
  EXPECT_EQ(FilesIn(path.parent_path()), before);
}

}  // namespace
}  // namespace hk
