// ProfileFile against the private-profile functions of the Windows API as
// Wine provides them (GetPrivateProfileStringA and WritePrivateProfileStringA
// only). Random files of the kinds people and the program write get the same
// random reads and writes on both sides, and every read must give the same
// text. The seed is fixed and printed; HK_PROFILE_SEED runs another.
//
// Wine rewrites the whole file on every write, in a form of its own: blank
// lines and the blanks around "=" go, blanks before a written value go, those
// after it go once Wine parses the file again, and names keep the blanks after
// them. So file bytes are compared only for files that writes made from
// nothing, without blanks in those places; everywhere else only what reads
// give is compared. Between writes the file is also changed from outside, as
// a user or another copy of the program would, on both sides alike.
//
// Where Wine is not Windows, ProfileFile keeps to Windows. Each corner below
// differs between the two, was found by running this test with it in, and is
// left out of the files and calls made here; HK_PROFILE_CORNERS puts them back
// (a comma-separated list of the names, or "all"), to check a newer Wine:
//
// - unclosed-header: Wine takes "[Name" without "]" for a key line, not a
//   section header.
// - second-bracket: Wine ends a section name at the last "]" of the line, so
//   "[Name] x]" is the section "Name] x".
// - comment-read: Wine keeps ";" lines as keys, so reading the name ";Button1"
//   finds ";Button1=old". The program never reads such a name.
// - bare-key-first: a line "Button1" without "=" is a key without a value to
//   Wine and hides a later "Button1=..." of the same section.
// - quoted-default: Wine takes the quotes off a quoted default as it does off
//   a value.
// - quoted-1023: a quoted value of exactly 1023 single-byte characters loses
//   its last one in Wine, which cuts the text to the buffer first and then
//   takes the last character for the closing quote.
// - sjis-through-unicode: Wine reads the file through Unicode, so a lead byte
//   without its trail byte or an unassigned code comes back as "・" (taking
//   the next byte with it), and a code of the NEC-selected rows (0xED, 0xEE)
//   as the IBM code of the same character (0xFA to 0xFC).
// - written-line-break: a value with a line break goes into Wine's file as it
//   is and makes lines of its own; ours keeps only its first line.
// - form-feed: Wine trims form feeds and Ctrl+Z at a value's ends like blanks.
//
// Wine 8 agrees on these, so they stay in: blanks inside the brackets of a
// header, files with lone CR line breaks, blanks around written names and
// values, ideographic spaces at a value's ends, full-width letters in names
// (no case folding), values over 1023 bytes with a double-byte character at
// the cut, "[]" headers, and kana whose trail byte is an ASCII letter.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "data/ProfileFile.h"
#include "data/ShiftJis.h"
#include "platform/win32/Win32ProfileStorage.h"
#include "support/TempFolder.h"

namespace hk {
namespace {

namespace fs = std::filesystem;

// Fixed, so that every run in CI is the same; HK_PROFILE_SEED picks another.
constexpr std::uint32_t kDefaultSeed = 20240607;
constexpr int kFiles = 200;
constexpr int kStepsPerFile = 20;
constexpr int kReportedDifferences = 12;
constexpr std::size_t kBufferBytes = 1024;

enum Corner : unsigned {
  kUnclosedHeader = 1u << 0,
  kSecondBracket = 1u << 1,
  kCommentRead = 1u << 2,
  kBareKeyFirst = 1u << 3,
  kQuotedDefault = 1u << 4,
  kQuoted1023 = 1u << 5,
  kSjisThroughUnicode = 1u << 6,
  kWrittenLineBreak = 1u << 7,
  kFormFeed = 1u << 8,
};

struct CornerName {
  Corner corner;
  const char* name;
};

const CornerName kCornerNames[] = {
    {kUnclosedHeader, "unclosed-header"},
    {kSecondBracket, "second-bracket"},
    {kCommentRead, "comment-read"},
    {kBareKeyFirst, "bare-key-first"},
    {kQuotedDefault, "quoted-default"},
    {kQuoted1023, "quoted-1023"},
    {kSjisThroughUnicode, "sjis-through-unicode"},
    {kWrittenLineBreak, "written-line-break"},
    {kFormFeed, "form-feed"},
};

const char* NameOf(Corner corner) {
  for (const CornerName& c : kCornerNames) {
    if (c.corner == corner) return c.name;
  }
  return "?";
}

unsigned CornersFromEnvironment() {
  const char* text = std::getenv("HK_PROFILE_CORNERS");
  if (!text) return 0;
  const std::string list = std::string(",") + text + ",";
  unsigned corners = 0;
  for (const CornerName& c : kCornerNames) {
    if (list == ",all," || list.find(std::string(",") + c.name + ",") != list.npos) {
      corners |= c.corner;
    }
  }
  return corners;
}

std::uint32_t SeedFromEnvironment() {
  const char* text = std::getenv("HK_PROFILE_SEED");
  return text && *text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : kDefaultSeed;
}

// Bytes as C escapes, so that a difference reads the same on any console.
std::string Escaped(const std::string& bytes) {
  std::string out;
  char hex[8];
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\' || c == '"') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out;
}

// Wine's side. Wine parses a file once and keeps it in memory until a write
// of null names lets it go; the next call then parses what is on disk.
std::string WineRead(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& defaultValue) {
  char buffer[kBufferBytes];
  std::memset(buffer, 0, sizeof buffer);
  GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                           sizeof buffer, path.c_str());
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

bool WineWrite(const std::string& path, const std::string& section, const std::string& key,
               const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

void WineForget(const std::string& path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::optional<std::string> BytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The first line where two files differ, from each, with its line break.
std::pair<std::string, std::string> FirstDifferentLines(const std::string& a,
                                                        const std::string& b) {
  std::size_t same = 0;
  while (same < a.size() && same < b.size() && a[same] == b[same]) ++same;
  const std::size_t begin = same == 0 ? 0 : a.find_last_of('\n', same - 1) + 1;
  const auto line = [&](const std::string& s) {
    const std::size_t end = s.find('\n', same);
    return s.substr(begin, end == s.npos ? s.npos : end + 1 - begin);
  };
  return {line(a), line(b)};
}

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// The parts of a braced list are made in order, unlike those of a chain of
// "+": so a seed gives the same files with every compiler.
std::string Join(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) out += part;
  return out;
}

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  std::size_t below(std::size_t n) { return engine_() % n; }
  bool percent(unsigned p) { return below(100) < p; }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[below(items.size())];
  }

 private:
  std::mt19937 engine_;
};

// Names as the program and its users spell them. "表示", "ソフト" and "ゾーン"
// have a backslash or a "]" as a trail byte; the keys "ア" and "ヂ" differ only
// in the case of an ASCII letter that is a trail byte, and the sections
// "ＺＯＶＡ" and "ｚｏｖａ" only in the case of full-width letters: both pairs
// are two names each.
const std::vector<std::string> kSections = {"ZOVA", "Category25", "Money3",   "長さ",
                                            "ﾃﾞｰﾀ", "Setting",    "s",        "Unit 1",
                                            "表示", "ゾーン",     "ＺＯＶＡ", "ｚｏｖａ"};

std::vector<std::string> MakeKeys() {
  std::vector<std::string> keys = {"WinPosX", "WinPosY", "INDEX",  "PAGE",   "AUTOCLIP", "Name",
                                   "単位",    "ｷｰ",      "Rate 2", "ソフト", "ア",       "ヂ"};
  for (int i = 1; i <= 9; ++i) keys.push_back("Button" + std::to_string(i));
  for (int i = 1; i <= 12; ++i) keys.push_back("DATA" + std::to_string(i));
  return keys;
}
const std::vector<std::string> kKeys = MakeKeys();

const std::vector<std::string> kValueWords = {
    "長さ1&L", "ﾒｰﾄﾙ", "1.05", "0.00062", "a b", "=",  ";", "'",     "\"",   "ソ表",
    "#",       "[x]",  "-12",  "ｷﾛｸﾞﾗﾑ",  "坪",  "\\", "]", "x=y;z", "ｍｍ", "1.0E+3"};

const std::vector<std::string> kWholeValues = {"長さ1&L", "\" ﾒｰﾄﾙ  \"", "   0.00062", "\"\"", "\"",
                                               "'a b'",   "\"a'",        "x\"y\"",     "''",   "'",
                                               "1",       " ﾒｰﾄﾙ  ",     "　\"a\"　"};

// Windows drops the trailing blanks of a default: these have none.
const std::vector<std::string> kDefaults = {"", "-", "既定", "def 1", " lead"};

class Generator {
 public:
  Generator(std::uint32_t seed, unsigned corners) : random_(seed), corners_(corners) {}

  Random& random() { return random_; }
  const std::set<std::string>& cornersUsed() const { return used_; }
  const std::vector<std::pair<std::string, std::string>>& pairs() const { return pairs_; }

  // The bytes of a new file, or nothing for no file at all.
  std::optional<std::string> file() {
    used_.clear();
    pairs_.clear();
    fresh_ = true;
    if (random_.percent(8)) return std::nullopt;
    if (random_.percent(5)) return std::string();
    fresh_ = false;
    const std::size_t ends = random_.below(100);
    lineEnd_ = ends < 75 ? "\r\n" : ends < 92 ? "\n" : "\r";
    std::string out;
    if (random_.percent(20)) {
      // Lines before the first header belong to no section.
      std::vector<std::string> keysHere;
      for (std::size_t n = random_.below(3) + 1; n > 0; --n) out += bodyLine(keysHere);
    }
    std::vector<std::string> blocks;
    for (std::size_t n = random_.below(6); n > 0; --n) {
      const std::string name =
          !blocks.empty() && random_.percent(20) ? random_.pick(blocks) : random_.pick(kSections);
      blocks.push_back(name);
      out += header(name);
      std::vector<std::string> keysHere;
      for (std::size_t lines = random_.below(9); lines > 0; --lines) out += bodyLine(keysHere);
      for (const std::string& key : keysHere) pairs_.emplace_back(name, key);
    }
    if (random_.percent(5)) out += "[]" + lineEnd();
    if (random_.percent(20)) {
      while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    }
    return out;
  }

  // Mostly a key the file or a write holds, else any name of the pools.
  std::pair<std::string, std::string> readNames() {
    std::pair<std::string, std::string> names;
    if (!pairs_.empty() && random_.percent(70)) {
      names = random_.pick(pairs_);
    } else {
      names = {random_.pick(kSections), random_.pick(kKeys)};
      if (random_.percent(7)) names.first = "Nothing";
      if (random_.percent(5)) names.second = "Absent";
    }
    return {padded(mixCase(names.first)), padded(mixCase(names.second))};
  }

  std::string defaultValue() {
    if (use(kQuotedDefault, 10)) return "\"q\"";
    return random_.pick(kDefaults);
  }

  // Mostly a key already there, else a new key or one in a new section.
  std::pair<std::string, std::string> writeNames() {
    std::pair<std::string, std::string> names;
    if (!pairs_.empty() && random_.percent(50)) {
      names = random_.pick(pairs_);
      if (names.second[0] == ';') names.second = "Button1";
    } else {
      names = {random_.pick(kSections), random_.pick(kKeys)};
      pairs_.push_back(names);
    }
    if (tidy() || random_.percent(70)) return {mixCase(names.first), mixCase(names.second)};
    return {padded(mixCase(names.first)), padded(mixCase(names.second))};
  }

  // A block that the user or another copy of the program puts into the file.
  std::string outsideBlock() {
    std::pair<std::string, std::string> names = {random_.pick(kSections), random_.pick(kKeys)};
    if (random_.percent(50)) names.first = "Outside";
    pairs_.push_back(names);
    return Join({"[", names.first, "]\r\n", names.second, "=", composed(), "\r\n"});
  }

  std::string writeValue() {
    std::string v = value();
    if (use(kWrittenLineBreak, 3)) v += "\r\nDATA1=x";
    if (random_.percent(10)) v += random_.percent(50) ? " " : "\t ";
    if (tidy()) {
      while (!v.empty() && IsBlankByte(v.front())) v.erase(0, 1);
    } else if (random_.percent(10)) {
      v = " " + v;
    }
    return v;
  }

 private:
  // Most writes to a file made from nothing are as tidy as the program's own,
  // so that Wine's file can be compared byte for byte.
  bool tidy() { return fresh_ && random_.percent(85); }

  bool use(Corner corner, unsigned percent) {
    if (!(corners_ & corner) || !random_.percent(percent)) return false;
    used_.insert(NameOf(corner));
    return true;
  }

  std::string blanks() {
    static const std::vector<std::string> kinds = {"", "", "", " ", "\t", "  ", " \t"};
    return random_.pick(kinds);
  }
  std::string valueBlanks() {
    static const std::vector<std::string> kinds = {"", "", "", " ", "\t", "  ", "\v", " \v ", "　"};
    if (use(kFormFeed, 10)) return random_.percent(50) ? "\f" : "\x1A";
    return random_.pick(kinds);
  }
  std::string padded(const std::string& name) { return Join({blanks(), name, blanks()}); }

  std::string mixCase(std::string name) {
    if (random_.percent(40)) return name;
    for (std::size_t i = 0; i < name.size(); ++i) {
      const auto c = static_cast<unsigned char>(name[i]);
      if (IsSjisLeadByte(c)) {
        ++i;  // a trail byte is no letter
      } else if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && random_.percent(50)) {
        name[i] = static_cast<char>(c ^ 0x20);
      }
    }
    return name;
  }

  std::string composed() {
    std::string out;
    for (std::size_t n = random_.below(3) + 1; n > 0; --n) {
      if (!out.empty() && random_.percent(40)) out += ' ';
      out += random_.pick(kValueWords);
    }
    return out;
  }

  // Around the 1023 bytes a read returns, some with double-byte characters
  // across the cut, some in quotes.
  std::string longValue() {
    std::string out;
    const std::size_t size = 1000 + random_.below(60);
    const bool doubleByte = random_.percent(40);
    while (out.size() < size) {
      if (doubleByte && random_.percent(50)) {
        out += "長";
      } else {
        out += static_cast<char>('a' + random_.below(26));
      }
    }
    if (random_.percent(40)) {
      if (use(kQuoted1023, 50)) {
        out = std::string(SjisCut(out, 1023));
        out.resize(1023, 'q');
      }
      if (out.size() == 1023 && !(corners_ & kQuoted1023)) out += 'z';
      out = "\"" + out + "\"";
    }
    return out;
  }

  std::string value() {
    switch (random_.below(10)) {
      case 0:
        return "";
      case 1:
        return random_.pick(kWholeValues);
      case 2: {
        const std::string quote = random_.percent(70) ? "\"" : "'";
        return Join({quote, random_.percent(40) ? " " : "", composed(),
                     random_.percent(40) ? "  " : "", quote});
      }
      case 3:
        return random_.percent(25) ? longValue() : composed();
      case 4:
        if (use(kSjisThroughUnicode, 30)) {
          static const std::vector<std::string> broken = {"end\x88", "\x81\x20z", "\xEB\x40",
                                                          "\x81\x7F", "\xED\x40"};
          return random_.pick(broken);
        }
        return composed();
      default:
        return composed();
    }
  }

  std::string header(const std::string& name) {
    std::string line = blanks();
    if (use(kUnclosedHeader, 8)) return Join({line, "[", mixCase(name), lineEnd()});
    line += "[";
    line += random_.percent(15) ? Join({blanks(), " ", mixCase(name), blanks()}) : mixCase(name);
    line += "]";
    if (use(kSecondBracket, 8)) line += " x]";
    if (random_.percent(10)) line += random_.percent(50) ? "  ; メモ" : " ";
    return line + lineEnd();
  }

  std::string bodyLine(std::vector<std::string>& keysHere) {
    const std::size_t kind = random_.below(100);
    if (kind < 10) {
      static const std::vector<std::string> comments = {";Button1=old", "; メモ", ";[ZOVA]", ";",
                                                        ";DATA1 = 2"};
      if (use(kCommentRead, 50)) keysHere.push_back(";Button1");
      return Join({blanks(), random_.pick(comments), lineEnd()});
    }
    if (kind < 20) return Join({random_.pick(std::vector<std::string>{"", " ", "\t"}), lineEnd()});
    if (kind < 25) {
      if (use(kBareKeyFirst, 60)) {
        // The bare name, then the key itself.
        keysHere.push_back(random_.pick(kKeys));
        return Join({mixCase(keysHere.back()), lineEnd(), keyLine(keysHere.back())});
      }
      return Join({random_.pick(std::vector<std::string>{"note", "メモ", "Button"}), lineEnd()});
    }
    if (kind < 28) return Join({"=", composed(), lineEnd()});
    std::string key =
        !keysHere.empty() && random_.percent(15) ? random_.pick(keysHere) : random_.pick(kKeys);
    if (key[0] == ';') key = "Button2";
    keysHere.push_back(key);
    return keyLine(key);
  }

  std::string keyLine(const std::string& key) {
    return Join(
        {blanks(), mixCase(key), blanks(), "=", valueBlanks(), value(), valueBlanks(), lineEnd()});
  }

  std::string lineEnd() {
    if (lineEnd_ != "\r" && random_.percent(8)) return lineEnd_ == "\n" ? "\r\n" : "\n";
    return lineEnd_;
  }

  Random random_;
  unsigned corners_;
  std::set<std::string> used_;
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::string lineEnd_ = "\r\n";
  bool fresh_ = false;
};

struct Totals {
  int reads = 0;
  int found = 0;  // reads of a key that is there
  int writes = 0;
  int reopens = 0;
  int outsideEdits = 0;
  int finalReads = 0;
  int bytesCompared = 0;
  int differences = 0;
  std::map<std::string, int> filesWithCorner;
  std::map<std::string, int> differencesWithCorner;
};

// One file on both sides: the same steps, and the first read that differs.
class Case {
 public:
  Case(Generator& generate, Totals& totals, const fs::path& folder, int number)
      : generate_(generate), totals_(totals), number_(number) {
    const std::string name = "case" + std::to_string(number);
    oursPath_ = folder / (name + "-ours.ini");
    winePath_ = (folder / (name + "-wine.ini")).string();
    bytes_ = generate_.file();
    if (bytes_) {
      Put(oursPath_, *bytes_);
      Put(winePath_, *bytes_);
    }
    // Wine keeps the bytes of a file it wrote from nothing.
    sameBytes_ = !bytes_ || bytes_->empty();
    ours_ = std::make_unique<ProfileFile>(oursPath_);
  }

  ~Case() { WineForget(winePath_); }

  void run() {
    for (int step = 0; step < kStepsPerFile && !differed_; ++step) {
      const std::size_t kind = generate_.random().below(100);
      if (kind < 8) {
        reopen();
      } else if (kind < 14) {
        editFromOutside();
      } else if (kind < 33) {
        write();
      } else {
        ++totals_.reads;
        const auto [section, key] = generate_.readNames();
        if (ours_->lookup(section, key)) ++totals_.found;
        compare(section, key, generate_.defaultValue());
      }
    }
    // Both sides parse their files again, and every key seen must agree.
    reopen();
    for (const auto& [section, key] : generate_.pairs()) {
      if (differed_) break;
      ++totals_.finalReads;
      compare(section, key, "-");
    }
    if (!differed_ && sameBytes_) {
      ++totals_.bytesCompared;
      const std::optional<std::string> mine = BytesOf(oursPath_);
      const std::optional<std::string> wine = BytesOf(winePath_);
      if (mine != wine) {
        const auto [ourLine, wineLine] = FirstDifferentLines(mine.value_or(""), wine.value_or(""));
        differ("file bytes (first line that differs)", Escaped(ourLine), Escaped(wineLine));
      }
    }
    for (const std::string& corner : generate_.cornersUsed()) ++totals_.filesWithCorner[corner];
  }

 private:
  void reopen() {
    ++totals_.reopens;
    log_ += "  reopen\n";
    ours_ = std::make_unique<ProfileFile>(oursPath_);
    WineForget(winePath_);
  }

  // The file changes on disk between two writes, the same way on both sides:
  // a block before or after everything, or the file deleted. Both sides must
  // build their next write on it; reads of this object see it only through
  // that write, so the write follows at once.
  void editFromOutside() {
    ++totals_.outsideEdits;
    const std::size_t how = generate_.random().below(10);
    const std::string block = generate_.outsideBlock();
    log_ += how == 0 ? "  outside: delete\n"
                     : "  outside: " + std::string(how < 4 ? "before" : "after") + " \"" +
                           Escaped(block) + "\"\n";
    for (const fs::path& path : {oursPath_, fs::path(winePath_)}) {
      if (how == 0) {
        std::error_code ignored;
        fs::remove(path, ignored);
        continue;
      }
      std::string bytes = BytesOf(path).value_or("");
      if (how < 4) {
        bytes = block + bytes;
      } else {
        if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
        bytes += block;
      }
      Put(path, bytes);
    }
    WineForget(winePath_);
    sameBytes_ = false;
    write();
  }

  void write() {
    ++totals_.writes;
    const auto [section, key] = generate_.writeNames();
    const std::string value = generate_.writeValue();
    log_ +=
        "  write [" + Escaped(section) + "] " + Escaped(key) + " = \"" + Escaped(value) + "\"\n";
    // Wine keeps blanks after a name it writes, drops those before a value,
    // and those after a value once it parses its own file again.
    if (!value.empty() && (IsBlankByte(value.front()) || IsBlankByte(value.back()))) {
      sameBytes_ = false;
    }
    if (IsBlankByte(section.back()) || IsBlankByte(key.back())) sameBytes_ = false;
    ours_->write(section, key, value);
    if (!WineWrite(winePath_, section, key, value)) differ("write", "done", "failed");
  }

  void compare(const std::string& section, const std::string& key,
               const std::string& defaultValue) {
    const std::string mine = ours_->read(section, key, defaultValue);
    const std::string wine = WineRead(winePath_, section, key, defaultValue);
    log_ += "  read [" + Escaped(section) + "] " + Escaped(key) + " (default \"" +
            Escaped(defaultValue) + "\") -> \"" + Escaped(mine) + "\"\n";
    if (mine != wine) differ("read", Escaped(mine), Escaped(wine));
  }

  // Records the difference; the rest of this file would only repeat it.
  void differ(const char* what, const std::string& mine, const std::string& wine) {
    differed_ = true;
    ++totals_.differences;
    std::string corners;
    for (const std::string& corner : generate_.cornersUsed()) {
      ++totals_.differencesWithCorner[corner];
      corners += " " + corner;
    }
    if (totals_.differences <= kReportedDifferences) {
      ADD_FAILURE() << what << " differs in file " << number_ << " (corners:" << corners
                    << ")\n  bytes \"" << (bytes_ ? Escaped(*bytes_) : std::string("(no file)"))
                    << "\"\n"
                    << log_ << "  ours: \"" << mine << "\"\n  Wine: \"" << wine << "\"";
    }
  }

  Generator& generate_;
  Totals& totals_;
  int number_;
  fs::path oursPath_;
  std::string winePath_;
  std::optional<std::string> bytes_;
  bool sameBytes_ = false;
  bool differed_ = false;
  std::unique_ptr<ProfileFile> ours_;
  std::string log_;
};

TEST(ProfileDifferential, ReadsAndWritesAgreeWithTheWindowsFunctions) {
  const std::uint32_t seed = SeedFromEnvironment();
  const unsigned corners = CornersFromEnvironment();
  std::printf("seed %u (HK_PROFILE_SEED picks another), corners 0x%X\n", seed, corners);
  const auto started = std::chrono::steady_clock::now();

  // Ours writes through the storage the program installs.
  Win32ProfileStorage storage;
  InstallProfileStorage(&storage);
  TempFolder folder;
  Generator generate(seed, corners);
  Totals totals;
  for (int n = 0; n < kFiles; ++n) Case(generate, totals, folder.path(), n).run();

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "%d files: %d reads (%d of a key that is there), %d writes, %d reopens, "
      "%d edits from outside, %d final reads, %d files compared byte for byte: "
      "%d differences in %.1f s\n",
      kFiles, totals.reads, totals.found, totals.writes, totals.reopens, totals.outsideEdits,
      totals.finalReads, totals.bytesCompared, totals.differences, seconds);
  for (const auto& [corner, files] : totals.filesWithCorner) {
    std::printf("  %-20s in %3d files, %3d of them differ\n", corner.c_str(), files,
                totals.differencesWithCorner[corner]);
  }
  InstallProfileStorage(nullptr);
  EXPECT_EQ(totals.differences, 0);
  EXPECT_GE(totals.reads + totals.writes, 2000);
  // A read that finds nothing agrees too easily: most must find their key.
  EXPECT_GE(totals.found * 2, totals.reads);
}

}  // namespace
}  // namespace hk
