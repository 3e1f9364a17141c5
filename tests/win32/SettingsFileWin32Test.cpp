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

// The settings helper (SettingsHelper.cpp) running with the arguments.
class Helper {
 public:
  explicit Helper(const std::wstring& arguments) {
    std::wstring command = L"\"" + SjisToWide(HK_SETTINGS_HELPER_PATH) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
      CloseHandle(process.hThread);
      process_ = process.hProcess;
    }
  }
  ~Helper() {
    if (process_) kill();
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  bool started() const { return process_ != nullptr; }
  bool ended() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }
  DWORD exitCode() const {
    WaitForSingleObject(process_, 30000);
    DWORD code = 99;
    GetExitCodeProcess(process_, &code);
    return code;
  }
  void kill() {
    TerminateProcess(process_, 9);
    WaitForSingleObject(process_, 30000);
    CloseHandle(process_);
    process_ = nullptr;
  }

 private:
  HANDLE process_ = nullptr;
};

// How many keys name0, name1, ... the file holds one after the other, each
// with its own value.
std::size_t WrittenKeys(const fs::path& path, const std::string& name) {
  const ProfileFile file(path);
  std::size_t n = 0;
  while (file.read("s", name + std::to_string(n), "-") == "v" + std::to_string(n)) ++n;
  return n;
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

// Another program holding the file alone (a scanner, a backup) keeps no lock
// of ours: a start-up read waits for it as long as for the lock. Held beyond
// that, the file is never written this run, not even once it is free.
TEST_F(SettingsFileOnWindows, AFileHeldByAnotherProgramIsWaitedForOrLeftAlone) {
  const std::string mine = "[ZOVA]\r\nINDEX=4\r\n";
  Put(path_, mine);
  for (const DWORD heldFor : {DWORD{100}, DWORD{700}}) {
    SCOPED_TRACE(heldFor);
    const HANDLE held = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held, heldFor] {
      Sleep(heldFor);
      CloseHandle(held);
    });
    SettingsFile settings(path_);
    release.join();
    EXPECT_EQ(settings.unreadable(), heldFor > 300);
    EXPECT_EQ(settings.readWindowSettings().Index, heldFor > 300 ? 1 : 4);
    settings.writeWindowSettings(0, 0, 25, 3);
    EXPECT_EQ(BytesOf(path_) == mine, heldFor > 300);
    Put(path_, mine);
  }
}

// Another process of the program (the settings helper), killed while it
// writes key after key, leaves a whole file: every line it wrote, in order;
// the next write clears what it left behind.
TEST_F(SettingsFileOnWindows, AKilledWriterLeavesAWholeFile) {
  Helper writer(L"write \"" + path_.wstring() + L"\" k 100000");
  ASSERT_TRUE(writer.started());
  for (int waited = 0; waited < 20000 && WrittenKeys(path_, "k") < 200; waited += 10) Sleep(10);
  writer.kill();
  const std::size_t written = WrittenKeys(path_, "k");
  EXPECT_GE(written, 200u);
  std::string expected = "[s]\r\n";
  for (std::size_t i = 0; i < written; ++i) {
    expected += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(BytesOf(path_), expected);
  SettingsFile(path_).writeAutoClip(false);
  EXPECT_EQ(FilesIn(folder_.path()), std::set<std::wstring>{L"hakarimaru.KZN"});
}

// Two processes writing at once keep each other's keys; a start-up read
// meanwhile, without the lock, always finds a whole file that has grown.
TEST_F(SettingsFileOnWindows, ProgramsWritingAtOnceKeepEachOthersKeys) {
  constexpr int kKeys = 40;
  Helper first(L"write \"" + path_.wstring() + L"\" a " + std::to_wstring(kKeys));
  Helper second(L"write \"" + path_.wstring() + L"\" b " + std::to_wstring(kKeys));
  ASSERT_TRUE(first.started() && second.started());
  std::size_t seen = 0;
  int reads = 0;
  while (!first.ended() || !second.ended()) {
    const SettingsFile startUp(path_);
    ASSERT_FALSE(startUp.unreadable());
    const std::size_t keys = WrittenKeys(path_, "a") + WrittenKeys(path_, "b");
    EXPECT_GE(keys, seen);
    seen = keys;
    ++reads;
  }
  EXPECT_EQ(first.exitCode(), 0u);
  EXPECT_EQ(second.exitCode(), 0u);
  EXPECT_EQ(WrittenKeys(path_, "a"), std::size_t{kKeys});
  EXPECT_EQ(WrittenKeys(path_, "b"), std::size_t{kKeys});
  EXPECT_GT(reads, 1);
  EXPECT_EQ(FilesIn(folder_.path()), std::set<std::wstring>{L"hakarimaru.KZN"});
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
  const fs::path copy = UserCopy(path_, user, storage_).file;
  EXPECT_EQ(copy, user / "hakarimaru.KZN");
  EXPECT_EQ(BytesOf(copy), "[ZOVA]\r\nPAGE=2\r\n");
  SettingsFile(copy).writeAutoClip(false);
  Put(path_, "[ZOVA]\r\nPAGE=3\r\n");
  // A copy that is there is used even while another copy of the program
  // holds the writers' lock.
  std::promise<void> taken;
  std::promise<void> done;
  std::thread elsewhere([&] {
    const std::unique_ptr<ProfileStorage::Lock> lock = storage_.lock(copy);
    taken.set_value();
    done.get_future().wait();
  });
  taken.get_future().wait();
  EXPECT_EQ(UserCopy(path_, user, storage_).file, copy);
  done.set_value();
  elsewhere.join();
  EXPECT_EQ(BytesOf(copy), "[ZOVA]\r\nPAGE=2\r\nAUTOCLIP=0\r\n");

  // Nothing beside the program: the first write makes the copy.
  const fs::path other = folder_.path() / "other";
  EXPECT_EQ(UserCopy(folder_.path() / "none.KZN", other, storage_).file, other / "none.KZN");
  EXPECT_FALSE(fs::exists(other / "none.KZN"));
  // A folder that cannot be made: nothing, and the system's reason.
  const UserCopyOutcome failed = UserCopy(path_, folder_.path() / "gone" / "deeper", storage_);
  EXPECT_TRUE(failed.file.empty());
  EXPECT_EQ(failed.error, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
}

TEST(SettingsLocation, APathLiesInsideAFolderOnlyBelowIt) {
  struct Case {
    const wchar_t* path;
    const wchar_t* folder;
    bool inside;
  };
  const Case cases[] = {
      {L"C:\\Users\\u\\AppData\\Local\\Temp\\Temp1_x.zip", L"C:\\Users\\u\\AppData\\Local\\Temp\\",
       true},
      {L"c:\\users\\U\\appdata\\local\\TEMP", L"C:\\Users\\u\\AppData\\Local\\Temp", true},
      {L"C:\\Users\\u\\AppData\\Local\\Temp2\\x", L"C:\\Users\\u\\AppData\\Local\\Temp", false},
      {L"C:\\Tools", L"C:\\Temp", false},
      {L"C:\\Temp/x", L"C:\\Temp", true},
      {L"C:\\Tools", L"C:\\", false},  // a temporary folder at a root holds nothing
      {L"\\\\srv\\share\\x", L"\\\\srv\\share\\", false},
      {L"\\\\srv\\share\\tmp\\x", L"\\\\srv\\share\\tmp", true},
      {L"C:\\Tools", L"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LiesInside(c.path, c.folder), c.inside) << WideToSjis(c.path);
  }
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

  // No user's copy can be made there either, and the full disk is the reason.
  Put(path_, "[ZOVA]\r\nPAGE=2\r\n");
  const UserCopyOutcome copy = UserCopy(path_, path.parent_path() / "user", storage_);
  EXPECT_TRUE(copy.file.empty());
  EXPECT_EQ(copy.error, static_cast<std::uint32_t>(ERROR_DISK_FULL));
  EXPECT_EQ(FilesIn(path.parent_path()), before);
}

}  // namespace
}  // namespace hk
