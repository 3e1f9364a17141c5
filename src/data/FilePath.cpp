#include "data/FilePath.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#endif

namespace hk {

namespace {

#ifdef _WIN32
constexpr FilePath::value_type kSeparator = L'\\';
constexpr const FilePath::value_type* kSeparators = L"\\/";
constexpr FilePath::value_type kDriveMark = L':';
#else
constexpr FilePath::value_type kSeparator = '/';
constexpr const FilePath::value_type* kSeparators = "/";
constexpr FilePath::value_type kDriveMark = '/';
#endif

bool IsSeparator(FilePath::value_type c) {
  for (const FilePath::value_type* s = kSeparators; *s; ++s) {
    if (c == *s) return true;
  }
  return false;
}

}  // namespace

#ifdef _WIN32
FilePath::FilePath(std::string_view text) {
  constexpr UINT kShiftJis = 932;
  const int length = text.size() <= INT_MAX ? static_cast<int>(text.size()) : 0;
  const int needed =
      MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed > 0) {
    native_.resize(static_cast<std::size_t>(needed));
    MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), length, native_.data(),
                        needed);
    return;
  }
  // Bytes that are no Shift-JIS must name no file, rather than a similar
  // one: '?' is in no file's name.
  for (const char c : text) native_.push_back(static_cast<unsigned char>(c) < 0x80 ? c : L'?');
}
#endif

std::string FilePath::string() const {
  std::string text;
  text.reserve(native_.size());
  for (const value_type c : native_) {
    const auto code = static_cast<std::make_unsigned_t<value_type>>(c);
    text.push_back(sizeof(value_type) == 1 || code < 0x80 ? static_cast<char>(c) : '?');
  }
  return text;
}

std::size_t FilePath::lastSeparator() const { return native_.find_last_of(kSeparators); }

FilePath FilePath::parent_path() const {
  const std::size_t at = lastSeparator();
  if (at == string_type::npos) return {};
  // The root keeps its separator: "/" and "C:\", not "" and "C:".
  if (at == 0 || native_[at - 1] == kDriveMark) return FilePath(native_.substr(0, at + 1));
  return FilePath(native_.substr(0, at));
}

FilePath FilePath::filename() const {
  const std::size_t at = lastSeparator();
  return FilePath(at == string_type::npos ? native_ : native_.substr(at + 1));
}

FilePath& FilePath::replace_extension(const FilePath& extension) {
  const std::size_t separator = lastSeparator();
  const std::size_t nameBegin = separator == string_type::npos ? 0 : separator + 1;
  const std::size_t dot = native_.find_last_of(value_type('.'));
  // A name that only starts with a dot (".KZN") has no extension.
  if (dot != string_type::npos && dot > nameBegin) native_.erase(dot);
  native_ += extension.native_;
  return *this;
}

FilePath& FilePath::operator/=(const FilePath& name) {
  if (!native_.empty() && !IsSeparator(native_.back())) native_ += kSeparator;
  native_ += name.native_;
  return *this;
}

FilePath& FilePath::operator+=(const FilePath& text) {
  native_ += text.native_;
  return *this;
}

}  // namespace hk
