#include "data/FilePath.h"

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
