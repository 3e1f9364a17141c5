#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/Real48.h"

namespace hk {

// Windows colour values 0x00BBGGRR.
constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kGreen = 0x0000FF00;

constexpr int kCategoryCount = 36;
// The money categories are the last page's, 25..36.
constexpr int kFirstMoneyCategory = 25;
constexpr int kUnitsPerCategory = 9;
constexpr int kMaxCategoryNameBytes = 12;
constexpr int kMaxUnitNameBytes = 15;

constexpr int kTemperatureCategory = 9;
constexpr int kNumberBaseCategory = 10;

struct UnitRecord {
  std::string Name;  // Shift-JIS, at most 15 bytes
  Real48 Factor;     // 0 marks an empty slot
  std::int32_t Decimals = 0;
  std::uint32_t Colour = kBlue;

  bool isEmpty() const { return Factor.isZero(); }
};

struct CategoryRecord {
  std::string CategoryName;   // at most 12 bytes, ends in "&" and the accelerator letter
  std::string IconResource;   // the built-in picture; never changes
  std::uint8_t IconKind = 0;  // 0 = IconResource, otherwise the user bitmap file
  std::array<UnitRecord, kUnitsPerCategory> Units;
  // A money category's: the local date ("YYYY-MM-DD") a saved rate last
  // changed, empty while none has.
  std::string RateDate;

  // Units are numbered 1 to 9.
  UnitRecord& unit(int u);
  const UnitRecord& unit(int u) const;
};

// The 36 categories, numbered 1 to 36. The program holds one for the whole
// run; tests make their own.
class CategoryTable {
 public:
  // The table as it is before the settings file is read.
  static CategoryTable BuiltIn();

  // Categories are numbered 1 to 36; anything else throws std::out_of_range.
  CategoryRecord& operator[](int category);
  const CategoryRecord& operator[](int category) const;

 private:
  std::array<CategoryRecord, kCategoryCount> categories_;
};

// Sets a unit name as the settings file and the customisation dialog do: cut
// to 15 bytes at a character boundary, then blanks appended up to 8 bytes.
void SetUnitName(UnitRecord& unit, std::string_view name);

// Sets a category name, cut to 12 bytes at a character boundary.
void SetCategoryName(CategoryRecord& category, std::string_view name);

// "ZOVEZA05.BMP" for category 5, "ZOVEZA25.BMP" for category 25.
std::string UserBitmapFileName(int category);

}  // namespace hk
