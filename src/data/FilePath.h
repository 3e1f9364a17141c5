#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace hk {

// A file's path, spelt as the system spells it: UTF-16 on Windows, bytes
// elsewhere. The program asks no more of a path than a name joined to a
// folder, the folder of a file and another extension; the standard library's
// path would bring its locales and streams into the program for that, most of
// the executable's size.
//
// A std::filesystem::path converts to and from it (anything with native() of
// the same spelling does), so code around the program, such as the tests,
// keeps using the standard one.
class FilePath {
 public:
#ifdef _WIN32
  using value_type = wchar_t;
#else
  using value_type = char;
#endif
  using string_type = std::basic_string<value_type>;

  FilePath() = default;
  FilePath(string_type native) : native_(std::move(native)) {}
  FilePath(const value_type* native) : native_(native) {}
#ifdef _WIN32
  // A name in the program's own text, Shift-JIS, as the name it spells:
  // converted from code page 932, never byte by byte. Explicit, so that no
  // byte string becomes a path unseen. Elsewhere the system takes a name as
  // bytes, and the same FilePath(text) keeps the text's bytes as they are:
  // the program finds again what it named.
  explicit FilePath(std::string_view text);
#endif
  template <class Path, class = std::enable_if_t<!std::is_same_v<Path, FilePath>>,
            class = decltype(string_type(std::declval<const Path&>().native()))>
  FilePath(const Path& path) : native_(path.native()) {}
  template <class Path, class = std::enable_if_t<!std::is_same_v<Path, FilePath>>,
            class = decltype(std::declval<const Path&>().native())>
  operator Path() const {
    return Path(native_);
  }

  const string_type& native() const noexcept { return native_; }
  const value_type* c_str() const noexcept { return native_.c_str(); }
  bool empty() const noexcept { return native_.empty(); }
  // Outside Windows the bytes themselves; on Windows the ASCII characters,
  // every other one as '?' (the program shows paths in its own spelling).
  std::string string() const;

  // The folder that holds the file: empty for a bare name.
  FilePath parent_path() const;
  // The last part: the file's name.
  FilePath filename() const;
  // The name's extension (from its last dot, the dot included) replaced by
  // extension, or extension added where the name has none.
  FilePath& replace_extension(const FilePath& extension);
  // name added to the folder, with one separator between them.
  FilePath& operator/=(const FilePath& name);
  // text added to the name as it is.
  FilePath& operator+=(const FilePath& text);

  friend FilePath operator/(FilePath folder, const FilePath& name) { return folder /= name; }
  friend bool operator==(const FilePath& a, const FilePath& b) { return a.native_ == b.native_; }
  friend bool operator!=(const FilePath& a, const FilePath& b) { return !(a == b); }
  friend bool operator<(const FilePath& a, const FilePath& b) { return a.native_ < b.native_; }
  // Against a standard path as it is spelt, so that neither side converts.
  template <class Path, class = std::enable_if_t<!std::is_same_v<Path, FilePath>>,
            class = decltype(std::declval<const Path&>().native())>
  friend bool operator==(const FilePath& a, const Path& b) {
    return a.native_ == b.native();
  }
  template <class Path, class = std::enable_if_t<!std::is_same_v<Path, FilePath>>,
            class = decltype(std::declval<const Path&>().native())>
  friend bool operator==(const Path& a, const FilePath& b) {
    return a.native() == b.native_;
  }

 private:
  // The end of the folder part: where the last separator starts, or npos.
  std::size_t lastSeparator() const;

  string_type native_;
};

}  // namespace hk
