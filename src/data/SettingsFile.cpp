#include "data/SettingsFile.h"

#include <stdexcept>

#include "data/FloatFault.h"
#include "data/NumberSyntax.h"
#include "data/Real48.h"
#include "data/ShiftJis.h"

namespace hk {

namespace {

constexpr std::string_view kWindowSection = "ZOVA";
constexpr std::string_view kUnset = "*";  // the default that tells a missing key
// DATA, POINT and COLOR values longer than this never fit the fields they
// were read into; such a value is ignored like a malformed one.
constexpr std::size_t kMaxNumberText = 80;

std::string Key(std::string_view name, int unit) {
  return std::string(name) + std::to_string(unit);
}

// The keys of unit u (1..9) at [u - 1]: start-up reads all 36 of every section.
struct UnitKeys {
  std::string button[kUnitsPerCategory];
  std::string data[kUnitsPerCategory];
  std::string point[kUnitsPerCategory];
  std::string colour[kUnitsPerCategory];
};

const UnitKeys& KeysOfUnits() {
  static const UnitKeys keys = [] {
    UnitKeys k;
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      k.button[u - 1] = Key("Button", u);
      k.data[u - 1] = Key("DATA", u);
      k.point[u - 1] = Key("POINT", u);
      k.colour[u - 1] = Key("COLOR", u);
    }
    return k;
  }();
  return keys;
}

const std::string& KeyOf(const std::string (&keys)[kUnitsPerCategory], int unit) {
  if (unit < 1 || unit > kUnitsPerCategory) throw std::out_of_range("unit number");
  return keys[unit - 1];
}

bool IsTrimmedByReading(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Reading a value trims blanks and strips one pair of outer quotes, so a name
// that begins or ends with a blank (most built-in names do, to centre them on
// their buttons) or that is itself quoted is written inside double quotes, and
// comes back unchanged.
std::string QuotedIfNeeded(std::string_view name) {
  if (name.empty()) return std::string();
  const char first = name.front();
  const char last = name.back();
  const bool quoted = name.size() >= 2 && first == last && (first == '"' || first == '\'');
  if (IsTrimmedByReading(first) || IsTrimmedByReading(last) || quoted) {
    return "\"" + std::string(name) + "\"";
  }
  return std::string(name);
}

std::optional<std::int32_t> ParseInteger(std::string_view text, bool allowHexPrefix) {
  if (allowHexPrefix && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseWholeNumber("$" + std::string(text.substr(2)), SignedHex::Accepted);
  }
  return ParseWholeNumber(text, SignedHex::Accepted);
}

// The value of a DATA, POINT or COLOR key, or nothing when the key is missing
// or too long to be meant. ("*" was the program's mark of a key to ignore.)
std::optional<std::string_view> NumberText(const ProfileFile& profile, std::string_view section,
                                           const std::string& key) {
  const std::optional<std::string_view> text = profile.lookup(section, key);
  if (!text || *text == kUnset || text->size() > kMaxNumberText) return std::nullopt;
  return text;
}

// A DATA value as the loading takes it: nothing for one it leaves aside.
std::optional<Real48> StoredFactor(std::string_view text) {
  const std::optional<long double> value = ParseReal(text);
  if (!value) return std::nullopt;
  // A value beyond the Real48 range cannot be a factor.
  try {
    return Real48(*value);
  } catch (const FloatFault&) {
    return std::nullopt;
  }
}

bool IsMoneyCategory(int category) {
  return category >= kFirstMoneyCategory && category <= kCategoryCount;
}

void LoadUnit(const ProfileFile& profile, std::string_view section, int u, UnitRecord& unit) {
  const UnitKeys& keys = KeysOfUnits();
  if (const auto name = profile.lookup(section, keys.button[u - 1]))
    SetUnitName(unit, *name);
  else if (unit.Name.size() < 8)
    unit.Name = PadUnitName(unit.Name);

  if (const auto text = NumberText(profile, section, keys.data[u - 1])) {
    if (const std::optional<Real48> factor = StoredFactor(*text)) unit.Factor = *factor;
  }
  if (const auto text = NumberText(profile, section, keys.point[u - 1])) {
    if (const std::optional<std::int32_t> decimals = ParseInteger(*text, false)) {
      unit.Decimals = *decimals;
    }
  }
  if (const auto text = NumberText(profile, section, keys.colour[u - 1])) {
    if (const std::optional<std::int32_t> index = ParseInteger(*text, false)) {
      if (const std::optional<std::uint32_t> colour = ColourOfIndex(*index)) unit.Colour = *colour;
    }
  }
}

}  // namespace

FilePath SettingsPathFor(const FilePath& executable) {
  FilePath path = executable;
  path.replace_extension(FilePath(".KZN"));
  return path;
}

std::optional<std::uint32_t> ColourOfIndex(std::int32_t index) {
  switch (index) {
    case 0:
      return kBlack;
    case 1:
      return kBlue;
    case 2:
      return kRed;
    case 3:
      return kGreen;
    default:
      return std::nullopt;
  }
}

std::string CategorySection(int category) { return "BUNRUI" + std::to_string(category); }

SettingsFile::SettingsFile(FilePath path) : profile_(std::move(path)) {}

std::optional<std::int32_t> SettingsFile::readInteger(std::string_view section,
                                                      std::string_view key,
                                                      bool allowHexPrefix) const {
  return ParseInteger(profile_.lookup(section, key).value_or(""), allowHexPrefix);
}

WindowSettings SettingsFile::readWindowSettings() const {
  WindowSettings settings;
  settings.WinPosX = readInteger(kWindowSection, "WinPosX", true).value_or(settings.WinPosX);
  settings.WinPosY = readInteger(kWindowSection, "WinPosY", true).value_or(settings.WinPosY);
  settings.Index = readInteger(kWindowSection, "INDEX", true).value_or(settings.Index);
  settings.Page = readInteger(kWindowSection, "PAGE", true).value_or(settings.Page);
  settings.AutoClip = readInteger(kWindowSection, "AUTOCLIP", true).value_or(1) != 0;
  settings.Topmost = readInteger(kWindowSection, "TOPMOST", true).value_or(0) != 0;
  return settings;
}

void SettingsFile::loadCategories(CategoryTable& table) const {
  for (int n = 1; n <= kCategoryCount; ++n) {
    if (n == kTemperatureCategory || n == kNumberBaseCategory) continue;
    const std::string section = CategorySection(n);
    CategoryRecord& category = table[n];
    if (const auto name = profile_.lookup(section, "NAME")) SetCategoryName(category, *name);
    // ICON picks a picture; a value that is no picture kind means the standard one.
    const std::int32_t icon = readInteger(section, "ICON", true).value_or(0);
    category.IconKind = static_cast<std::uint8_t>(icon >= 0 && icon <= 255 ? icon : 0);
    for (int u = 1; u <= kUnitsPerCategory; ++u) LoadUnit(profile_, section, u, category.unit(u));
    if (!IsMoneyCategory(n)) continue;
    const std::optional<std::string_view> date = profile_.lookup(section, "DATE");
    if (date && IsDateText(*date)) category.RateDate = std::string(*date);
  }
}

void SettingsFile::writeWindowSettings(std::int32_t left, std::int32_t top, std::int32_t index,
                                       std::int32_t page) {
  profile_.write(kWindowSection, "WinPosX", std::to_string(left));
  profile_.write(kWindowSection, "WinPosY", std::to_string(top));
  profile_.write(kWindowSection, "INDEX", std::to_string(index));
  profile_.write(kWindowSection, "PAGE", std::to_string(page));
}

void SettingsFile::writeAutoClip(bool on) {
  profile_.write(kWindowSection, "AUTOCLIP", on ? "1" : "0");
}

void SettingsFile::writeTopmost(bool on) {
  profile_.write(kWindowSection, "TOPMOST", on ? "1" : "0");
}

void SettingsFile::writeRate(int category, int unit, std::string_view text) {
  writeUnitValue(category, unit, text);
}

void SettingsFile::writeCategoryName(int category, std::string_view name) {
  profile_.write(CategorySection(category), "NAME", QuotedIfNeeded(name));
}

void SettingsFile::writeIconKind(int category, int iconKind) {
  profile_.write(CategorySection(category), "ICON", std::to_string(iconKind));
}

void SettingsFile::writeUnit(int category, int unit, std::string_view name,
                             std::string_view valueText, std::int32_t decimals,
                             std::int32_t colourIndex) {
  writeUnitName(category, unit, name);
  writeUnitValue(category, unit, valueText);
  writeUnitDecimals(category, unit, decimals);
  writeUnitColour(category, unit, colourIndex);
}

void SettingsFile::writeUnitName(int category, int unit, std::string_view name) {
  profile_.write(CategorySection(category), KeyOf(KeysOfUnits().button, unit),
                 QuotedIfNeeded(name));
}

void SettingsFile::writeUnitValue(int category, int unit, std::string_view valueText) {
  const std::string section = CategorySection(category);
  const std::string& key = KeyOf(KeysOfUnits().data, unit);
  bool rateChanges = false;
  if (IsMoneyCategory(category)) {
    static const CategoryTable builtIn = CategoryTable::BuiltIn();
    const Real48 builtInFactor = builtIn[category].unit(unit).Factor;
    std::optional<Real48> before;
    if (const auto text = NumberText(profile_, section, key)) before = StoredFactor(*text);
    const Real48 after = StoredFactor(valueText).value_or(builtInFactor);
    rateChanges = after.bytes() != before.value_or(builtInFactor).bytes();
  }
  profile_.write(section, key, valueText);
  if (rateChanges) changedRates_.insert(category);
}

bool SettingsFile::writeRateDateIfChanged(int category, std::string_view date) {
  if (changedRates_.count(category) == 0) return false;
  profile_.write(CategorySection(category), "DATE", date);
  changedRates_.erase(category);
  return true;
}

void SettingsFile::writeUnitDecimals(int category, int unit, std::int32_t decimals) {
  profile_.write(CategorySection(category), KeyOf(KeysOfUnits().point, unit),
                 std::to_string(decimals));
}

void SettingsFile::writeUnitColour(int category, int unit, std::int32_t colourIndex) {
  profile_.write(CategorySection(category), KeyOf(KeysOfUnits().colour, unit),
                 std::to_string(colourIndex));
}

}  // namespace hk
