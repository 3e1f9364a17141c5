// The pictures inside the built program: every bitmap the windows load by
// name is there, at its size, in 16 colours and with the pixels of its text
// source, also in its enlargements for scaled displays, and so is the icon at
// each of its sizes; the resources' language and the version's translation.
// The program is opened as a data file, the way Explorer reads icons.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "data/CategoryTable.h"

namespace hk {
namespace {

struct Expected {
  std::string name;
  int width;
  int height;
};

// Every bitmap the program asks for, with the size its windows draw it at.
// Glyphs that hold several images have them side by side.
std::vector<Expected> ProgramBitmaps() {
  std::vector<Expected> all;
  for (const char* name :
       {"BM_LEN", "BM_WIDE", "BM_3D", "BM_WEIGHT", "BM_SPEED", "BM_ANGLE", "BM_POWER", "BM_DEGREE",
        "BM_COMPUTER", "BM_EXER1", "BM_EXER2", "BM_OTHER", "BM_MONEY", "BM_MONEY2"}) {
    all.push_back({name, 24, 18});
  }
  for (int key = 1; key <= 9; ++key) {
    all.push_back({"PF_" + std::to_string(key), 28, 6});
    all.push_back({"SF_" + std::to_string(key), 28, 6});
  }
  const std::vector<Expected> others = {
      {"SYSMINI", 12, 12},  {"SYSHELP", 12, 12},   {"GL_MENU", 16, 16},    {"GL_PAGE1", 64, 16},
      {"GL_PAGE2", 64, 16}, {"GL_PAGE3", 64, 16},  {"GL_HISTORY", 64, 16}, {"GL_EXIT", 16, 16},
      {"GL_FROM", 48, 12},  {"GL_TO", 48, 12},     {"GL_ARROW", 16, 16},   {"BM_ABOUT", 32, 32},
      {"GL_HCLIP", 32, 16}, {"GL_HCLEAR", 32, 16}, {"GL_HHELP", 32, 16},   {"GL_HCLOSE", 32, 16},
      {"GL_OK", 32, 16},    {"GL_HELP2", 32, 16},  {"GL_EXIT2", 32, 16},
  };
  all.insert(all.end(), others.begin(), others.end());
  return all;
}

// The resource types, in their wide form whatever the build's character set.
const wchar_t* const kBitmapType = MAKEINTRESOURCEW(2);
const wchar_t* const kIconType = MAKEINTRESOURCEW(3);
const wchar_t* const kIconGroupType = MAKEINTRESOURCEW(14);

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class ProgramResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = LoadLibraryExW(Wide(HK_PROGRAM_PATH).c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (program_) FreeLibrary(program_);
    program_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(program_, nullptr) << "cannot open " << HK_PROGRAM_PATH; }

  // The header the resource compiler stored, or nullptr.
  static const BITMAPINFOHEADER* StoredHeader(const wchar_t* name, const wchar_t* type) {
    const HRSRC found = FindResourceW(program_, name, type);
    if (!found || SizeofResource(program_, found) < sizeof(BITMAPINFOHEADER)) return nullptr;
    return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(program_, found)));
  }

  static HMODULE program_;
};

HMODULE ProgramResources::program_ = nullptr;

// A bitmap as its text source draws it: one palette character a pixel.
struct SourceBitmap {
  std::string name;
  std::vector<std::string> rows;
};

// The text of a picture source, without comments and blank lines.
std::vector<std::string> ContentLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && line[first] != ';') lines.push_back(line);
  }
  return lines;
}

std::map<char, COLORREF> ReadPalette() {
  std::map<char, COLORREF> palette;
  for (const std::string& line :
       ContentLines(std::filesystem::path(HK_PICTURES_DIR) / "palette.txt")) {
    std::istringstream fields(line);
    char character = 0;
    int red = 0, green = 0, blue = 0;
    fields >> character >> red >> green >> blue;
    palette[character] = RGB(red, green, blue);
  }
  return palette;
}

// Every "bitmap" block of the sources; labels and icons are skipped.
std::vector<SourceBitmap> ReadSourceBitmaps() {
  std::vector<SourceBitmap> bitmaps;
  for (const auto& entry : std::filesystem::directory_iterator(HK_PICTURES_DIR)) {
    const std::string file = entry.path().filename().string();
    if (entry.path().extension() != ".txt" || file == "palette.txt" || file == "font.txt") continue;
    const std::vector<std::string> lines = ContentLines(entry.path());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::istringstream fields(lines[i]);
      std::string kind, name, size;
      fields >> kind >> name >> size;
      int width = 0, height = 0;
      const bool sized = std::sscanf(size.c_str(), "%dx%d", &width, &height) == 2;
      if (kind == "bitmap" && size == "=") {
        std::string original;
        fields >> original;
        for (const SourceBitmap& drawn : bitmaps) {
          if (drawn.name == original) bitmaps.push_back({name, drawn.rows});
        }
      } else if ((kind == "bitmap" || kind == "icon") && sized) {
        SourceBitmap bitmap{name, {}};
        for (int row = 1; row <= height && i + row < lines.size(); ++row) {
          std::string pixels = lines[i + row];
          pixels.erase(std::remove(pixels.begin(), pixels.end(), ' '), pixels.end());
          bitmap.rows.push_back(pixels);
        }
        i += height;
        if (kind == "bitmap") bitmaps.push_back(bitmap);
      }
    }
  }
  return bitmaps;
}

// Windows' own reading of each built bitmap shows the colours its source
// names, pixel for pixel: rows, nibbles and palette went in the right order.
// Its enlargements NAME_2X and NAME_3X show each source pixel as a whole
// block, so a scaled display draws the same picture, only sharper.
TEST_F(ProgramResources, EveryBitmapShowsThePixelsOfItsSource) {
  const std::map<char, COLORREF> palette = ReadPalette();
  ASSERT_EQ(palette.size(), 16u);
  const std::vector<SourceBitmap> sources = ReadSourceBitmaps();
  ASSERT_GT(sources.size(), 20u);
  const HDC screen = GetDC(nullptr);
  for (const SourceBitmap& source : sources) {
    for (const auto& [suffix, scale] : {std::pair{"", 1}, {"_2X", 2}, {"_3X", 3}}) {
      SCOPED_TRACE(source.name + suffix);
      const std::wstring name = Wide(source.name + suffix);
      // A section keeps the stored colours, whatever the display's depth.
      const HANDLE image =
          LoadImageW(program_, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
      ASSERT_NE(image, nullptr);
      const int width = static_cast<int>(source.rows.at(0).size()) * scale;
      const int height = static_cast<int>(source.rows.size()) * scale;
      BITMAPINFO format{};
      format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      std::vector<RGBQUAD> pixels(static_cast<std::size_t>(width) * height);
      ASSERT_EQ(GetDIBits(screen, static_cast<HBITMAP>(image), 0, height, pixels.data(), &format,
                          DIB_RGB_COLORS),
                height);
      int wrong = 0;
      std::string first;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const COLORREF expected = palette.at(source.rows[y / scale][x / scale]);
          const RGBQUAD& got = pixels[static_cast<std::size_t>(y) * width + x];
          if (RGB(got.rgbRed, got.rgbGreen, got.rgbBlue) != expected && wrong++ == 0) {
            first = std::to_string(x) + "," + std::to_string(y);
          }
        }
      }
      EXPECT_EQ(wrong, 0) << "first at " << first;
      BITMAP loaded{};
      GetObjectW(image, sizeof loaded, &loaded);
      EXPECT_EQ(loaded.bmWidth, width);
      EXPECT_EQ(loaded.bmHeight, height);
      DeleteObject(image);
    }
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(ProgramResources, EveryBitmapLoadsAtItsSizeIn16Colours) {
  for (const Expected& expected : ProgramBitmaps()) {
    SCOPED_TRACE(expected.name);
    const std::wstring name = Wide(expected.name);
    const HANDLE image = LoadImageW(program_, name.c_str(), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_NE(image, nullptr);
    BITMAP loaded{};
    EXPECT_NE(GetObjectW(image, sizeof loaded, &loaded), 0);
    EXPECT_EQ(loaded.bmWidth, expected.width);
    EXPECT_EQ(loaded.bmHeight, expected.height);
    DeleteObject(image);

    const BITMAPINFOHEADER* stored = StoredHeader(name.c_str(), kBitmapType);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->biBitCount, 4);
    // Bottom-up rows: a top-down bitmap would have a negative height.
    EXPECT_EQ(stored->biHeight, expected.height);
  }
}

// An image's entry in the icon group, as the resource compiler stores it.
#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width;  // 0 for 256
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// Full colour with alpha at the sizes of 100 to 200 % and of the largest
// views, the largest a PNG; 16 colours at the old sizes, for old displays.
TEST_F(ProgramResources, TheIconHoldsFullColourImagesUpTo256Pixels) {
  const HRSRC group = FindResourceW(program_, L"MAINICON", kIconGroupType);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<BYTE*>(LockResource(LoadResource(program_, group)));
  ASSERT_NE(directory, nullptr);
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(directory + 6);
  std::set<std::pair<int, int>> held;
  for (WORD i = 0; i < reinterpret_cast<const WORD*>(directory)[2]; ++i) {
    held.insert({entries[i].width ? entries[i].width : 256, entries[i].bits});
  }
  const std::set<std::pair<int, int>> expected = {{16, 32}, {20, 32}, {24, 32}, {32, 32},
                                                  {40, 32}, {48, 32}, {64, 32}, {256, 32},
                                                  {16, 4},  {24, 4},  {32, 4},  {48, 4}};
  EXPECT_EQ(held, expected);
  for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
    SCOPED_TRACE(size);
    // The image the system itself would pick for this size must be exactly it.
    const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory), TRUE, size, size,
                                               LR_DEFAULTCOLOR);
    ASSERT_NE(id, 0);
    const HRSRC found = FindResourceW(program_, MAKEINTRESOURCEW(id), kIconType);
    ASSERT_NE(found, nullptr);
    const auto* image = static_cast<const BYTE*>(LockResource(LoadResource(program_, found)));
    ASSERT_GE(SizeofResource(program_, found), sizeof(BITMAPINFOHEADER));
    if (size == 256) {
      // The signature, then the header chunk's width and height.
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(image), 16),
                std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
      EXPECT_EQ(std::vector<BYTE>(image + 16, image + 24),
                std::vector<BYTE>({0, 0, 1, 0, 0, 0, 1, 0}));
    } else {
      const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
      EXPECT_EQ(header->biWidth, size);
      EXPECT_EQ(header->biHeight, 2 * size);  // the colours and the mask
      EXPECT_EQ(header->biBitCount, 32);
    }
    const HANDLE icon = LoadImageW(program_, L"MAINICON", IMAGE_ICON, size, size, 0);
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
}

// Each resource's languages, by type.
using Languages = std::map<int, std::set<WORD>>;

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR type, LPCWSTR, WORD language, LONG_PTR found) {
  (*reinterpret_cast<Languages*>(found))[static_cast<int>(reinterpret_cast<ULONG_PTR>(type))]
      .insert(language);
  return TRUE;
}

BOOL CALLBACK AddNameLanguages(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
  EnumResourceLanguagesW(module, type, name, AddLanguage, found);
  return TRUE;
}

BOOL CALLBACK AddTypeLanguages(HMODULE module, LPWSTR type, LONG_PTR found) {
  EnumResourceNamesW(module, type, AddNameLanguages, found);
  return TRUE;
}

// The texts are Japanese and so is every resource, but for the manifest: in
// no language, it is what the system's search finds first for any user.
TEST_F(ProgramResources, EveryResourceIsJapaneseButTheManifest) {
  Languages found;
  EnumResourceTypesW(program_, AddTypeLanguages, reinterpret_cast<LONG_PTR>(&found));
  const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
  const Languages expected = {{2, {japanese}},  {3, {japanese}},  {10, {japanese}},
                              {14, {japanese}}, {16, {japanese}}, {24, {0}}};
  EXPECT_EQ(found, expected);
}

// The translation names the block that holds the texts: Japanese, Unicode.
// Explorer's properties read the texts from the block it names.
TEST(ProgramVersion, TheTranslationNamesTheBlockOfTheTexts) {
  const std::wstring path = Wide(HK_PROGRAM_PATH);
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  void* found = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length));
  ASSERT_EQ(length, 4u);
  const auto* translation = static_cast<const WORD*>(found);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 1200);
  wchar_t key[64];
  std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", translation[0],
                translation[1]);
  ASSERT_TRUE(VerQueryValueW(block.data(), key, &found, &length));
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(found)), L"はかり丸");
}

TEST(ResourceNames, EveryBuiltInCategoryHasItsPictureListed) {
  std::set<std::string> listed;
  for (const Expected& expected : ProgramBitmaps()) listed.insert(expected.name);
  const CategoryTable table = CategoryTable::BuiltIn();
  for (int category = 1; category <= kCategoryCount; ++category) {
    EXPECT_EQ(listed.count(table[category].IconResource), 1u)
        << "category " << category << ": " << table[category].IconResource;
  }
}

// A window that starts to use a new picture must find it here (and so in the
// resource script): every picture name written in the sources is listed. A
// name ending in "_" is the start of numbered names, such as "PF_" + key.
TEST(ResourceNames, EveryNameInTheSourcesIsListed) {
  std::set<std::string> listed;
  for (const Expected& expected : ProgramBitmaps()) listed.insert(expected.name);
  const std::regex literal("\"((?:BM_|GL_|PF_|SF_|SYS)[A-Z0-9_]*)\"");
  int files = 0;
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(HK_SOURCE_DIR)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".cpp" && extension != ".h") continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (std::sregex_iterator match(text.begin(), text.end(), literal), end; match != end;
         ++match) {
      found.insert((*match)[1].str());
    }
  }
  ASSERT_GT(files, 0) << "no sources under " << HK_SOURCE_DIR;
  EXPECT_GT(found.size(), 10u);
  for (const std::string& name : found) {
    if (name.back() == '_') {
      EXPECT_TRUE(listed.count(name + "1") && listed.count(name + "9")) << name;
    } else {
      EXPECT_EQ(listed.count(name), 1u) << name << " is used but not listed";
    }
  }
}

}  // namespace
}  // namespace hk
