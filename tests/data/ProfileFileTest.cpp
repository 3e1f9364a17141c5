#include "data/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>

#include "support/HeldStorage.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace hk {
namespace {

namespace fs = std::filesystem;

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    do {
      dir_ = fs::temp_directory_path() / ("hk_profile_" + std::to_string(random()));
    } while (!fs::create_directory(dir_));
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path file() const { return dir_ / "hakari.ini"; }

  // A write that fails must leave the bytes on disk and the values read as
  // they were, and no temporary file behind.
  void ExpectFailedWrite(ProfileFile& ini, const std::string& valueBefore) {
    const fs::path path = ini.path();
    std::error_code ec;
    const std::string diskBefore = fs::is_regular_file(path, ec) ? Slurp(path) : "none";
    try {
      ini.write("s", "k", "new");
      ADD_FAILURE() << "no error";
    } catch (const ProfileWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.string());
    }
    EXPECT_EQ(ini.read("s", "k", "none"), valueBefore);
    EXPECT_EQ(fs::is_regular_file(path, ec) ? Slurp(path) : "none", diskBefore);
    EXPECT_EQ(FilesIn(dir_), filesBefore_);
  }

  std::set<std::string> FilesIn(const fs::path& dir) const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      names.insert(entry.path().lexically_relative(dir).string());
    }
    return names;
  }

  std::set<std::string> filesBefore_;

  fs::path dir_;
};

TEST_F(ProfileFileTest, ReadsValuesAsWindowsDoes) {
  struct Case {
    std::string file, section, key, expected;
  };
  const std::string big(1022, 'x');
  const Case cases[] = {
      {"[Zova]\r\nKey=abc\r\n", "zOVA", "kEY", "abc"},
      {" [ Zova ] \r\n \tKey \t= \v a b \t\r\n", "Zova", "Key", "a b"},
      {"[s]\r\nk=\"abc\"", "s", "k", "abc"},
      {"[s]\r\nk= 'a b' ", "s", "k", "a b"},
      {"[s]\r\nk=\"\"", "s", "k", ""},
      {"[s]\r\nk=\"", "s", "k", "\""},
      {"[s]\r\nk=\"a'", "s", "k", "\"a'"},
      {"[s]\r\nk=\"a\"b\"", "s", "k", "a\"b"},
      {"[s]\r\nk=a=b;c", "s", "k", "a=b;c"},
      {"[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},                // first key wins
      {"[s]\r\na=1\r\n[t]\r\n[S]\r\nk=2\r\n", "s", "k", "-"},  // second block unseen
      {"[s]\r\n;k=1\r\n \t;k=2\r\nk\r\n", "s", "k", "-"},
      {"[s]\r\n;k=1\r\nk\r\nk=2", "s", "k", "2"},
      {"[s] ; x]\r\nk=1", "s", "k", "1"},
      {"[a]b]\r\nk=1", "a]b", "k", "-"},
      {"k=1\r\n[s]\r\n", "s", "k", "-"},  // before any section
      {"[s]\nk=1\n", "s", "k", "1"},
      {"[s]\rk=1\r", "s", "k", "1"},
      {"[t]\r\n\n\r[s]\n\r\nk=1", "s", "k", "1"},
      {"[ア]\r\nk=1", "ヂ", "k", "-"},  // 83 41 and 83 61: trail bytes are not letters
      {"[Ａ]\r\nk=1", "ａ", "k", "-"},
      {"[ゾ]\r\nk=1", "ゾ", "k", "1"},  // 83 5D: its trail byte is no "]"
      {"[s]\r\nk=1", "", "k", "-"},
      {"[s]\r\nk=" + big + "長", "s", "k", big},
      {std::string("[s]\r\nk=\"ab \0cd\" \r\n", 18), "s", "k", "\"ab "},  // ends at the zero
      {"[s]\r\nk=\"" + big + "ab\"", "s", "k", big + "a"},
  };
  for (const Case& c : cases) {
    Put(file(), c.file);
    EXPECT_EQ(ProfileFile(file()).read(c.section, c.key, "-"), c.expected) << c.file;
  }
}

TEST_F(ProfileFileTest, WritesChangeOnlyTheLinesTheyMust) {
  struct Case {
    const char* before;  // no file when null
    std::string section, key, value, after;
  };
  const Case cases[] = {
      {nullptr, "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"[Zova]\r\n KeY = old\n", " zova", "key ", "new", "[Zova]\r\nKeY=new\r\n"},
      {"[s]\r\n", "s", "k", "   0.00062", "[s]\r\nk=   0.00062\r\n"},
      {"[s]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\n", "s", "k", "9", "[s]\r\nk=9\r\nk=2\r\n[S]\r\nk=3\r\n"},
      {"[s]\r\na=1\r\n\r\n;c\r\n[t]\r\n", "s", "b", "2", "[s]\r\na=1\r\nb=2\r\n\r\n;c\r\n[t]\r\n"},
      {"[s]\r\n\r\n[t]\r\n", "S", "b", "2", "[s]\r\nb=2\r\n\r\n[t]\r\n"},
      {"[s]\na=1\nnote\n\n", "s", "b", "2", "[s]\na=1\nb=2\r\nnote\n\n"},
      {"[s]\r\n[t]\r\n[s]\r\nx=1\r\n", "s", "x", "2", "[s]\r\nx=2\r\n[t]\r\n[s]\r\nx=1\r\n"},
      {"[s]\r\na=1\r\n", "t", "b", "2", "[s]\r\na=1\r\n[t]\r\nb=2\r\n"},
      {"[s]\r\na=1", "t", "b", "2", "[s]\r\na=1\r\n[t]\r\nb=2\r\n"},
      {"[s]\r\na=1", "s", "b", "2", "[s]\r\na=1\r\nb=2\r\n"},
      {"[s]", "s", "b", "2", "[s]\r\nb=2\r\n"},
      {"[s]\r\na=1", "s", "a", "3", "[s]\r\na=3\r\n"},
      {"[s]\r", "t", "k", "v", "[s]\r[t]\r\nk=v\r\n"},
      {"x\xFF=\n[s]\ra=1\nb=2\n\n[u]\r\n", "s", "a", "長い",
       "x\xFF=\n[s]\ra=長い\r\nb=2\n\n[u]\r\n"},
      {"[s]\r\n", "t\r\n[x]", "k\nz=1", "v\rw", "[s]\r\n[t]\r\nk=v\r\n"},
      {"[s]\r\n", "s", "k", std::string("a\0b", 3), "[s]\r\nk=a\r\n"},
  };
  for (const Case& c : cases) {
    fs::remove(file());
    if (c.before) Put(file(), c.before);
    ProfileFile ini(file());
    ini.write(c.section, c.key, c.value);
    EXPECT_EQ(Slurp(file()), c.after) << c.after;
    EXPECT_EQ(ini.read(c.section, c.key, "-"), ProfileFile(file()).read(c.section, c.key, "+"));
  }
}

TEST_F(ProfileFileTest, RefusesNamesThatCannotBeWrittenBack) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "k"},    {" \t", "k"}, {"\r\ns", "k"}, {"a]b", "k"}, {"s", ""},
      {"s", "a=b"}, {"s", ";k"},  {"s", " [k"},   {"s", "\nk"},
  };
  ProfileFile ini(file());
  for (const auto& c : cases) {
    EXPECT_THROW(ini.write(c.first, c.second, "v"), std::invalid_argument) << c.first << c.second;
  }
  EXPECT_FALSE(fs::exists(file()));
}

TEST_F(ProfileFileTest, FailedWritesChangeNothing) {
  Put(file(), "[s]\r\nk=old\r\n");
  Put(dir_ / "plain", "x");
  filesBefore_ = FilesIn(dir_);
  {
    ProfileFile ini(file());
    ini.setBeforeReplaceHookForTesting(
        [](const fs::path&) { throw std::runtime_error("disk full"); });
    ExpectFailedWrite(ini, "old");
    ini.setBeforeReplaceHookForTesting([](const fs::path& temp) { fs::remove(temp); });
    ExpectFailedWrite(ini, "old");
    ini.setBeforeReplaceHookForTesting(nullptr);
    ini.write("s", "k", "new");
    EXPECT_EQ(Slurp(file()), "[s]\r\nk=new\r\n");
  }
  ProfileFile underAFile(dir_ / "plain" / "hakari.ini");
  ExpectFailedWrite(underAFile, "none");
  EXPECT_EQ(Slurp(dir_ / "plain"), "x");
}

// What could not be read is never written, not even once it could be; its
// writes still read back. A missing file is no refused one.
TEST_F(ProfileFileTest, AFileThatCouldNotBeReadIsNeverWritten) {
  HeldStorage storage;
  Put(file(), "[s]\r\nk=mine\r\n");
  storage.held = true;
  ProfileFile refused(file(), storage);
  EXPECT_EQ(storage.patientReads, 1);
  EXPECT_TRUE(refused.unreadable());
  EXPECT_EQ(refused.read("s", "k", "-"), "-");
  storage.held = false;
  refused.write("s", "k", "new");
  EXPECT_EQ(refused.read("s", "k", "-"), "new");
  EXPECT_EQ(Slurp(file()), "[s]\r\nk=mine\r\n");

  storage.held = true;
  ProfileFile missing(dir_ / "new.ini", storage);
  EXPECT_FALSE(missing.unreadable());
  missing.write("s", "k", "v");
  EXPECT_EQ(Slurp(dir_ / "new.ini"), "[s]\r\nk=v\r\n");

  ProfileFile aFolder(dir_);
  EXPECT_TRUE(aFolder.unreadable());
  ProfileFile stopped(file());
  stopped.stopSaving();
  EXPECT_FALSE(stopped.unreadable());
  for (ProfileFile* unsaved : {&aFolder, &stopped}) {
    const std::set<std::string> before = FilesIn(dir_);
    unsaved->write("s", "k", "memory");
    EXPECT_EQ(unsaved->read("s", "k", "-"), "memory");
    EXPECT_EQ(FilesIn(dir_), before);
  }
  EXPECT_EQ(Slurp(file()), "[s]\r\nk=mine\r\n");
}

// Another copy of the program, or the user with an editor, may change the file
// between two writes of this one: each write starts from what is on disk.
TEST_F(ProfileFileTest, WritesKeepWhatOthersWroteMeanwhile) {
  Put(file(), "[s]\r\na=1\r\n");
  ProfileFile first(file());
  ProfileFile second(file());
  first.write("s", "b", "2");
  second.write("s", "c", "3");
  Put(file(), Slurp(file()) + "; by hand\r\n[t]\r\nx=\"y\"\r\n");
  first.write("S", "A", "4");
  EXPECT_EQ(Slurp(file()), "[s]\r\na=4\r\nb=2\r\nc=3\r\n; by hand\r\n[t]\r\nx=\"y\"\r\n");
  EXPECT_EQ(first.read("t", "x", "-"), "y");
  fs::remove(file());
  second.write("s", "d", "5");
  EXPECT_EQ(Slurp(file()), "[s]\r\nd=5\r\n");
}

TEST_F(ProfileFileTest, FindsEveryKeyOfAFullFile) {
  std::string bytes;
  for (int s = 0; s < 34; ++s) {
    bytes += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 37; ++k)
      bytes += "Key" + std::to_string(k) + "=" + std::to_string(s * 100 + k) + "\r\n";
  }
  Put(file(), bytes);
  ProfileFile ini(file());
  ini.write("section20", "key36", "x");
  ini.write("section20", "key37", "y");
  ProfileFile reread(file());
  for (int s = 0; s < 34; ++s) {
    for (int k = 0; k < 37; ++k) {
      const std::string section = "SECTION" + std::to_string(s);
      const std::string key = "key" + std::to_string(k);
      const std::string expected = s == 20 && k == 36 ? "x" : std::to_string(s * 100 + k);
      ASSERT_EQ(reread.read(section, key, "-"), expected) << section << key;
    }
  }
  EXPECT_EQ(reread.read("Section20", "Key37", "-"), "y");
  EXPECT_EQ(reread.read("Section34", "Key0", "-"), "-");
}

#ifndef _WIN32
TEST_F(ProfileFileTest, AKilledWriterLeavesAWholeFile) {
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFds[0]);
    try {
      ProfileFile ini(file());
      for (int i = 0; i < 2000; ++i) {
        ini.write("s", "k" + std::to_string(i), "v" + std::to_string(i));
        if (::write(pipeFds[1], &i, sizeof i) != sizeof i) _exit(2);
      }
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  close(pipeFds[1]);
  int done = -1;
  int got;
  while (done < 300 && ::read(pipeFds[0], &got, sizeof got) == sizeof got) done = got;
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  while (::read(pipeFds[0], &got, sizeof got) == sizeof got) done = got;
  close(pipeFds[0]);
  ASSERT_GE(done, 300);

  // Every line whole, in order, and at least the keys whose write returned.
  const std::string bytes = Slurp(file());
  std::string expected = "[s]\r\n";
  for (int i = 0; expected.size() < bytes.size(); ++i) {
    expected += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(bytes, expected);
  ProfileFile reread(file());
  EXPECT_EQ(reread.read("s", "k" + std::to_string(done), "-"), "v" + std::to_string(done));
}

TEST_F(ProfileFileTest, ProgramsWritingAtOnceKeepEachOthersKeys) {
  constexpr int kWriters = 2;
  constexpr int kKeys = 30;
  pid_t children[kWriters];
  for (int w = 0; w < kWriters; ++w) {
    children[w] = fork();
    ASSERT_GE(children[w], 0);
    if (children[w] == 0) {
      try {
        ProfileFile ini(file());
        for (int i = 0; i < kKeys; ++i)
          ini.write("s" + std::to_string(i % 3), "w" + std::to_string(w) + "k" + std::to_string(i),
                    "v");
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
  }
  for (const pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ProfileFile reread(file());
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kKeys; ++i) {
      EXPECT_EQ(reread.read("s" + std::to_string(i % 3),
                            "w" + std::to_string(w) + "k" + std::to_string(i), "-"),
                "v");
    }
  }
  EXPECT_EQ(FilesIn(dir_), std::set<std::string>{"hakari.ini"});
}

// A link is written through, and the file keeps its permissions.
TEST_F(ProfileFileTest, ReplacesTheFileALinkNames) {
  fs::create_directory(dir_ / "real");
  Put(dir_ / "real" / "target.ini", "[s]\r\na=1\r\n");
  fs::permissions(dir_ / "real" / "target.ini",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(fs::path("real") / "target.ini", file());
  ProfileFile(file()).write("s", "b", "2");
  EXPECT_TRUE(fs::is_symlink(file()));
  EXPECT_EQ(Slurp(dir_ / "real" / "target.ini"), "[s]\r\na=1\r\nb=2\r\n");
  EXPECT_EQ(fs::status(dir_ / "real" / "target.ini").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesIn(dir_), (std::set<std::string>{"hakari.ini", "real", "real/target.ini"}));
}
#endif

}  // namespace
}  // namespace hk
