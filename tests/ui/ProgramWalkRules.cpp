#include "ui/ProgramWalkRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hk::walk {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// Walks a text in a base from its last character, each place worth the base
// times the one after it, in 32 bits: far places wrap away.
std::optional<std::uint32_t> WalkDigits(const std::string& text, const std::string& digits) {
  std::uint32_t value = 0;
  std::uint32_t weight = 1;
  for (auto c = text.rbegin(); c != text.rend(); ++c) {
    const std::size_t place = digits.find(*c);
    if (place == std::string::npos) return std::nullopt;
    value += static_cast<std::uint32_t>(place) * weight;
    weight *= static_cast<std::uint32_t>(digits.size());
  }
  return value;
}

std::string Hex(std::uint32_t value) {
  std::string text;
  do {
    text.insert(text.begin(), "0123456789ABCDEF"[value % 16]);
    value /= 16;
  } while (value != 0);
  return text;
}

}  // namespace

Fits FitsStore(long double value) {
  const long double magnitude = std::fabs(value);
  if (magnitude <= kLargest * (1 - 1e-9L)) return Fits::Yes;
  if (magnitude > kLargest * (1 + 1e-9L)) return Fits::No;
  return Fits::Unsure;
}

std::optional<long double> ReadReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return std::nullopt;
  std::string number;
  if (text[i] == '+' || text[i] == '-') {
    number.push_back(text[i++]);
    if (i == text.size()) return std::nullopt;
  }
  std::string digits = "0";
  while (i < text.size() && IsDigit(text[i])) digits.push_back(text[i++]);
  std::string fraction;
  if (i < text.size() && text[i] == '.') {
    if (++i == text.size()) return std::nullopt;
    while (i < text.size() && IsDigit(text[i])) fraction.push_back(text[i++]);
  }
  std::string exponent = "0";
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    exponent.clear();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent.push_back(text[i++]);
    if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
    while (i < text.size() && IsDigit(text[i])) exponent.push_back(text[i++]);
    // Beyond this the value is 0 or endless whatever the digits.
    if (exponent.size() > 7) exponent = exponent[0] == '-' ? "-99999" : "99999";
  }
  if (i != text.size()) return std::nullopt;
  number += digits + "." + fraction + "0e" + exponent;
  return std::strtold(number.c_str(), nullptr);
}

std::optional<std::int32_t> ReadWhole(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return std::nullopt;
  if (text[i] == '$') {
    const std::string_view hex = text.substr(i + 1);
    if (hex.empty() || hex.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : hex) {
      if (HexDigit(c) < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint32_t>(HexDigit(c));
    }
    return static_cast<std::int32_t>(value);
  }
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::string CutToBytes(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return std::string(text.substr(0, std::min(end, text.size())));
}

std::optional<long double> RawRateOfRow(std::string_view integerText, std::string_view decimalText,
                                        int decimals) {
  const std::optional<std::int32_t> i = ReadWhole(integerText);
  const std::optional<std::int32_t> d = ReadWhole(decimalText);
  if (!i || !d) return std::nullopt;
  long double scale = 1;
  for (int k = 0; k < decimals; ++k) scale *= 10;
  return static_cast<long double>(*i) + static_cast<long double>(*d) / scale;
}

std::optional<long double> RateOfRow(std::string_view integerText, std::string_view decimalText,
                                     int decimals) {
  const std::optional<long double> rate = RawRateOfRow(integerText, decimalText, decimals);
  // A rate that would be stored as 0 would read back as an empty unit.
  if (rate && std::fabs(*rate) < 0x1p-128L) return std::nullopt;
  return rate;
}

long double PartsOfRow(std::string_view integerText, std::string_view decimalText, int decimals) {
  const long double i = std::fabs(static_cast<long double>(ReadWhole(integerText).value_or(0)));
  const long double d = std::fabs(static_cast<long double>(ReadWhole(decimalText).value_or(0)));
  return i + d / std::pow(10.0L, decimals);
}

bool Near(long double a, long double b, long double scale) {
  return std::fabs(a - b) <= (std::fmax(std::fabs(a), std::fabs(b)) + scale) * 0x1p-34L;
}

std::string PaddedName(const std::string& name) {
  std::string padded = CutToBytes(name, 15);
  if (padded.size() < 8) padded.append(8 - padded.size(), ' ');
  return padded;
}

std::uint32_t ColourOfIndex(int index) {
  const std::uint32_t colours[] = {0x00000000, 0x00FF0000, 0x000000FF, 0x0000FF00};
  return colours[index];
}

std::string WithoutCommas(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c != ',') kept.push_back(c);
  }
  return kept;
}

std::string WithoutBlanks(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c != ' ') kept.push_back(c);
  }
  return kept;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

BaseResult ConvertBase(const std::string& cleaned, int from, int to) {
  BaseResult result;
  if (from == to) {
    result.ok = true;
    result.text = cleaned;
    return result;
  }
  std::optional<std::uint32_t> value;
  switch (from) {
    case 1:
      if (const auto whole = ReadWhole(cleaned)) value = static_cast<std::uint32_t>(*whole);
      break;
    case 2:
      value = WalkDigits(cleaned, "0123456789ABCDEF");
      break;
    case 3:
      value = WalkDigits(cleaned, "01234567");
      break;
    default:
      value = WalkDigits(cleaned, "01");
      break;
  }
  if (!value) {
    result.failureTitle = "入力ｴﾗｰ";
    return result;
  }
  const auto signedValue = static_cast<std::int32_t>(*value);
  switch (to) {
    case 1: {
      const std::string digits = std::to_string(signedValue);
      result.text = std::string(digits.size() < 15 ? 15 - digits.size() : 0, ' ') + digits;
      break;
    }
    case 2:
      result.text = Hex(*value);
      break;
    case 3: {
      if (signedValue > 1073741824) {
        result.failureTitle = "ｵｰﾊﾞｰﾌﾛｰ";
        return result;
      }
      unsigned long long magnitude = static_cast<unsigned long long>(
          signedValue < 0 ? -static_cast<long long>(signedValue) : signedValue);
      std::string digits;
      do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 8));
        magnitude /= 8;
      } while (magnitude != 0);
      result.text = digits;
      break;
    }
    default: {
      if (signedValue > 262144) {
        result.failureTitle = "ｵｰﾊﾞｰﾌﾛｰ";
        return result;
      }
      for (char c : Hex(*value)) {
        const int nibble = HexDigit(c);
        for (int bit = 3; bit >= 0; --bit) result.text.push_back((nibble >> bit) & 1 ? '1' : '0');
        result.text.push_back(' ');
      }
      break;
    }
  }
  result.ok = true;
  return result;
}

long double ConvertTemperature(long double t, int from, int to) {
  if (from == to) return t;
  // Everything through Celsius.
  long double celsius = t;
  if (from == 2) celsius = (t - 32) * 5 / 9;
  if (from == 3) celsius = t - 273.15L;
  if (to == 1) return celsius;
  if (to == 2) return celsius * 9 / 5 + 32;
  return celsius + 273.15L;
}

std::optional<ShownNumber> ReadShownNumber(const std::string& text) {
  if (text.size() < 15) return std::nullopt;
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  const std::string number = text.substr(i);
  std::size_t k = number[0] == '-' ? 1 : 0;
  const std::size_t digitsFrom = k;
  while (k < number.size() && IsDigit(number[k])) ++k;
  if (k == digitsFrom) return std::nullopt;
  ShownNumber shown;
  if (k < number.size() && number[k] == '.') {
    const std::size_t point = k++;
    while (k < number.size() && IsDigit(number[k])) ++k;
    shown.decimals = static_cast<int>(k - point - 1);
    if (shown.decimals == 0) return std::nullopt;
  }
  if (k < number.size() && number[k] == 'E') {
    // One digit, six decimals, the exponent's sign and four digits.
    if (k + 6 != number.size() || (number[k + 1] != '+' && number[k + 1] != '-')) {
      return std::nullopt;
    }
    for (std::size_t e = k + 2; e < number.size(); ++e) {
      if (!IsDigit(number[e])) return std::nullopt;
    }
    if (text.size() != 15 || shown.decimals != 6) return std::nullopt;
    shown.decimals = -1;
    k = number.size();
  }
  if (k != number.size()) return std::nullopt;
  shown.value = std::strtold(number.c_str(), nullptr);
  return shown;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
  const auto found = keys.find({Upper(section), Upper(key)});
  if (found == keys.end()) return std::nullopt;
  return found->second.value;
}

IniFile ReadIni(const std::string& bytes) {
  IniFile file;
  std::string section;
  bool inSection = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 1;
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed[0] == '[') {
      section = Upper(trimmed.substr(1, trimmed.find(']') - 1));
      inSection = true;
      continue;
    }
    const std::size_t equals = trimmed.find('=');
    if (!inSection || equals == std::string::npos) continue;
    const IniFile::Key key{section, Upper(Trimmed(trimmed.substr(0, equals)))};
    if (file.keys.count(key) != 0) continue;  // the first of two is the one read
    std::string value = Trimmed(trimmed.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    file.keys[key] = {line, value};
  }
  return file;
}

}  // namespace hk::walk
