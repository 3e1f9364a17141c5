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

// Paths in the program's own text, Shift-JIS: the literals are compiled so.
struct PathCase {
  std::string path, parent, name, asSettings;
};

TEST(FilePathTest, FolderNameAndExtension) {
  std::vector<PathCase> cases = {
      {"hakarimaru.exe", "", "hakarimaru.exe", "hakarimaru.KZN"},
      {"tools/CONVERT.EXE", "tools", "CONVERT.EXE", "tools/CONVERT.KZN"},
      {"/a.b/noext", "/a.b", "noext", "/a.b/noext.KZN"},
      {"/.hidden", "/", ".hidden", "/.hidden.KZN"},
      {"two.dots.exe", "", "two.dots.exe", "two.dots.KZN"},
      // Both characters end in the byte of a backslash, which is no separator.
      {"表/ソ.exe", "表", "ソ.exe", "表/ソ.KZN"},
  };
#ifdef _WIN32
  const std::vector<PathCase> windows = {
      {"C:\\Tools\\x.exe", "C:\\Tools", "x.exe", "C:\\Tools\\x.KZN"},
      {"C:\\x.exe", "C:\\", "x.exe", "C:\\x.KZN"},
      {"C:\\表\\ソ.exe", "C:\\表", "ソ.exe", "C:\\表\\ソ.KZN"},
      {"\\\\server\\share\\dir\\x.exe", "\\\\server\\share\\dir", "x.exe",
       "\\\\server\\share\\dir\\x.KZN"},
      {"\\\\server\\share\\x.exe", "\\\\server\\share", "x.exe", "\\\\server\\share\\x.KZN"},
      {"\\\\?\\C:\\x.exe", "\\\\?\\C:\\", "x.exe", "\\\\?\\C:\\x.KZN"},
      {"\\\\?\\C:\\a.b\\x", "\\\\?\\C:\\a.b", "x", "\\\\?\\C:\\a.b\\x.KZN"},
      {"\\\\?\\UNC\\server\\share\\x.exe", "\\\\?\\UNC\\server\\share", "x.exe",
       "\\\\?\\UNC\\server\\share\\x.KZN"},
      {"C:/Tools\\sub/x.exe", "C:/Tools\\sub", "x.exe", "C:/Tools\\sub/x.KZN"},
      {"C:/x.exe", "C:/", "x.exe", "C:/x.KZN"},
      {"C:\\a.b/noext", "C:\\a.b", "noext", "C:\\a.b/noext.KZN"},
  };
  cases.insert(cases.end(), windows.begin(), windows.end());
#endif
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    const FilePath path(c.path);
    EXPECT_EQ(path.parent_path().native(), FilePath(c.parent).native());
    EXPECT_EQ(path.filename().native(), FilePath(c.name).native());
    FilePath settings = path;
    EXPECT_EQ(settings.replace_extension(FilePath(".KZN")).native(),
              FilePath(c.asSettings).native());
  }
}

TEST(FilePathTest, JoinsWithOneSeparator) {
  EXPECT_EQ((FilePath("") / FilePath("x.bmp")).native(), HK_NATIVE("x.bmp"));
  EXPECT_EQ((FilePath("/") / FilePath("x.bmp")).native(), HK_NATIVE("/x.bmp"));
#ifdef _WIN32
  EXPECT_EQ((FilePath("C:\\dir") / FilePath("x.bmp")).native(), L"C:\\dir\\x.bmp");
  EXPECT_EQ((FilePath("C:\\dir\\") / FilePath("x.bmp")).native(), L"C:\\dir\\x.bmp");
  EXPECT_EQ((FilePath("C:\\dir/") / FilePath("x.bmp")).native(), L"C:\\dir/x.bmp");
  EXPECT_EQ((FilePath("\\\\server\\share") / FilePath("x.bmp")).native(),
            L"\\\\server\\share\\x.bmp");
  EXPECT_EQ(FilePath(L"\u304b.exe").string(), "?.exe");
#else
  EXPECT_EQ((FilePath("dir") / FilePath("x.bmp")).native(), "dir/x.bmp");
  EXPECT_EQ((FilePath("dir/") / FilePath("x.bmp")).native(), "dir/x.bmp");
#endif
}

#ifdef _WIN32
// A name in the program's text is read as Shift-JIS, never byte by byte; bytes
// that are no Shift-JIS name no file at all.
TEST(FilePathTest, TextBecomesTheNameItSpells) {
  EXPECT_EQ(FilePath("C:\\表\\ｶﾅ.exe").native(), L"C:\\\u8868\\\uFF76\uFF85.exe");
  EXPECT_EQ(FilePath("\x82.exe").native(), L"?.exe");
  EXPECT_EQ(FilePath("a\x82").native(), L"a?");
}
#endif

}  // namespace
}  // namespace hk
