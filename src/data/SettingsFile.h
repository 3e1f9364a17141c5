#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "data/CalendarDate.h"
#include "data/CategoryTable.h"
#include "data/FilePath.h"
#include "data/ProfileFile.h"

namespace hk {

// The settings file beside the program: the executable's path with ".KZN".
FilePath SettingsPathFor(const FilePath& executable);

// The window's section as read at start-up; a missing or malformed key gives
// its default.
struct WindowSettings {
  std::int32_t WinPosX = 0;
  std::int32_t WinPosY = 0;
  std::int32_t Index = 1;  // CurrentCategory
  std::int32_t Page = 1;   // CurrentPage
  bool AutoClip = true;
  bool Topmost = false;  // the main window stays above other programs' windows
};

// Colour indices of the COLOR keys: 0 black, 1 blue, 2 red, 3 green.
std::optional<std::uint32_t> ColourOfIndex(std::int32_t index);

// The one settings file of the program: everything it remembers between runs,
// read once at start-up and written a key at a time as things change. Every
// writer throws ProfileWriteError when the file cannot be written.
class SettingsFile {
 public:
  explicit SettingsFile(FilePath path);

  const FilePath& path() const { return profile_.path(); }
  std::string shownPath() const { return profile_.shownPath(); }

  // See ProfileFile: a file that could not be read is never written, and
  // after stopSaving() nothing is; the values written still read back.
  bool unreadable() const { return profile_.unreadable(); }
  void stopSaving() { profile_.stopSaving(); }
  bool saves() const { return profile_.saves(); }

  // An integer key: decimal or "$" and hex digits; with allowHexPrefix also
  // "0x" and hex digits (the window keys and ICON). Nothing for a missing,
  // empty or malformed value.
  std::optional<std::int32_t> readInteger(std::string_view section, std::string_view key,
                                          bool allowHexPrefix) const;

  WindowSettings readWindowSettings() const;

  // Puts every customisable category of the file over the table: categories
  // 1 to 36 without the temperature and number-base ones, each key falling
  // back to what the table holds. A money category also takes the DATE of
  // its rates when it has that form.
  void loadCategories(CategoryTable& table) const;

  // At exit, in this order: WinPosX, WinPosY, INDEX, PAGE.
  void writeWindowSettings(std::int32_t left, std::int32_t top, std::int32_t index,
                           std::int32_t page);
  void writeAutoClip(bool on);
  void writeTopmost(bool on);
  // The DATA key of a unit, as the rate panel saves it.
  void writeRate(int category, int unit, std::string_view text);
  // The customisation dialog's writes, in the order it makes them: NAME, ICON,
  // then Button, DATA, POINT and COLOR of each unit.
  void writeCategoryName(int category, std::string_view name);
  void writeIconKind(int category, int iconKind);
  void writeUnit(int category, int unit, std::string_view name, std::string_view valueText,
                 std::int32_t decimals, std::int32_t colourIndex);
  // The four keys of writeUnit one at a time, for a caller that keeps memory
  // in step with each: Button, DATA, POINT and COLOR.
  void writeUnitName(int category, int unit, std::string_view name);
  // A money category's value also notes whether the rate the file gives
  // back changes with it (a missing or unreadable key gives the built-in
  // rate).
  void writeUnitValue(int category, int unit, std::string_view valueText);
  void writeUnitDecimals(int category, int unit, std::int32_t decimals);
  void writeUnitColour(int category, int unit, std::int32_t colourIndex);

  // Writes the category's DATE when one of its rates changed since its
  // DATE was last written, also by a write that failed later on; true when
  // it wrote.
  bool writeRateDateIfChanged(int category, std::string_view date);

  // Test seam: see ProfileFile::setBeforeReplaceHookForTesting.
  void setBeforeReplaceHookForTesting(std::function<void(const FilePath&)> hook) {
    profile_.setBeforeReplaceHookForTesting(std::move(hook));
  }

 private:
  ProfileFile profile_;
  // The money categories with a rate changed and no DATE written since.
  std::set<int> changedRates_;
};

// "BUNRUI" and the category number, without leading zeros.
std::string CategorySection(int category);

}  // namespace hk
