#include "data/FilePath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hk {
namespace {

#ifdef _WIN32
#define HK_NATIVE(text) L##text
#else
#define HK_NATIVE(text) text
#endif

struct PathCase {
  FilePath path;
  FilePath parent, name, asSettings;
};

TEST(FilePathTest, FolderNameAndExtension) {
  std::vector<PathCase> cases = {
      {"hakarimaru.exe", "", "hakarimaru.exe", "hakarimaru.KZN"},
      {"tools/CONVERT.EXE", "tools", "CONVERT.EXE", "tools/CONVERT.KZN"},
      {"/a.b/noext", "/a.b", "noext", "/a.b/noext.KZN"},
      {"/.hidden", "/", ".hidden", "/.hidden.KZN"},
      {"two.dots.exe", "", "two.dots.exe", "two.dots.KZN"},
  };
#ifdef _WIN32
  cases.push_back({"C:\\Tools\\x.exe", "C:\\Tools", "x.exe", "C:\\Tools\\x.KZN"});
  cases.push_back({"C:\\x.exe", "C:\\", "x.exe", "C:\\x.KZN"});
#endif
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path.string());
    EXPECT_EQ(c.path.parent_path(), c.parent);
    EXPECT_EQ(c.path.filename(), c.name);
    FilePath settings = c.path;
    EXPECT_EQ(settings.replace_extension(".KZN"), c.asSettings);
  }
}

TEST(FilePathTest, JoinsWithOneSeparator) {
  EXPECT_EQ((FilePath("") / "x.bmp").native(), HK_NATIVE("x.bmp"));
  EXPECT_EQ((FilePath("/") / "x.bmp").native(), HK_NATIVE("/x.bmp"));
#ifdef _WIN32
  EXPECT_EQ((FilePath("C:\\dir") / "x.bmp").native(), L"C:\\dir\\x.bmp");
  EXPECT_EQ((FilePath("C:\\dir\\") / "x.bmp").native(), L"C:\\dir\\x.bmp");
  EXPECT_EQ(FilePath(L"\u304b.exe").string(), "?.exe");
#else
  EXPECT_EQ((FilePath("dir") / "x.bmp").native(), "dir/x.bmp");
  EXPECT_EQ((FilePath("dir/") / "x.bmp").native(), "dir/x.bmp");
#endif
}

}  // namespace
}  // namespace hk
