#include "data/ProfileFile.h"

#include <cstdint>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

#include "data/ShiftJis.h"

namespace hk {

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Offsets into the file are 32-bit, which no settings file comes near.
constexpr std::uintmax_t kMaxFileBytes = 0xFFFFFFF0u;

// What a 1024-byte buffer holds once its terminating zero is counted.
constexpr std::size_t kMaxValueBytes = 1023;

constexpr const char* kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimValue(std::string_view s) {
  const auto blank = [](char c) { return IsBlank(c) || c == '\v'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// A name or value ends at its first line break: written, anything after it
// would become a line of its own and break the file's structure. A zero byte
// ends it too, as it ends the C strings the file always held. Reads cut names
// the same way so that they find what a write stored.
std::string_view FirstLine(std::string_view s) {
  std::size_t n = 0;
  while (n < s.size() && s[n] != '\r' && s[n] != '\n' && s[n] != '\0') ++n;
  return s.substr(0, n);
}

std::size_t CharWidth(std::string_view s, std::size_t i) {
  return IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names match ignoring the case of ASCII letters only. A trail byte is never
// folded: 0x41 after a lead byte is half of a kana, not an "A".
bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;
  for (std::size_t i = 0; i < a.size();) {
    if (CharWidth(a, i) == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
      ++i;
    }
  }
  return true;
}

// FNV-1a over the name with every byte from "A" to "Z" folded, trail bytes
// too: names NamesEqual calls equal still hash alike, and the rare kana it
// tells apart only share a slot. The end mix makes the low bits, which pick
// the slot, depend on every byte.
std::uint32_t NameHash(std::string_view s, std::uint32_t seed) {
  std::uint32_t h = 2166136261u ^ seed;
  for (const char c : s) h = (h ^ static_cast<unsigned char>(FoldAscii(c))) * 16777619u;
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  return h ^ (h >> 16);
}

std::uint32_t KeyHash(std::uint32_t section, std::string_view key) {
  return NameHash(key, (section + 1) * 0x9E3779B9u);
}

// The first "]" that is a character of its own; 0x5D is also the trail byte
// of some kanji and kana.
std::size_t FindClosingBracket(std::string_view s, std::size_t from) {
  for (std::size_t i = from; i < s.size(); i += CharWidth(s, i)) {
    if (s[i] == ']') return i;
  }
  return s.size();
}

// Open addressing from a name's hash to the number of its entry.
class HashIndex {
 public:
  void reserve(std::size_t entries) {
    if (entries * 2 > slots_.size()) rebuild(entries * 2);
  }

  template <typename Match>
  std::uint32_t find(std::uint32_t hash, Match&& match) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.entry == 0) return kNone;
      if (slot.hash == hash && match(slot.entry - 1)) return slot.entry - 1;
    }
  }

  void insert(std::uint32_t hash, std::uint32_t entry) {
    if ((count_ + 1) * 2 > slots_.size()) rebuild((count_ + 1) * 2);
    place({hash, entry + 1});
    ++count_;
  }

 private:
  struct Slot {
    std::uint32_t hash;
    std::uint32_t entry;  // its number + 1; 0 marks a free slot
  };

  void place(Slot slot) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots_[i].entry != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }

  void rebuild(std::size_t atLeast) {
    std::size_t size = 16;
    while (size < atLeast) size *= 2;
    std::vector<Slot> old(size, Slot{0, 0});
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.entry != 0) place(slot);
    }
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

// Reads the whole file. A file that is not there is an empty one; one that is
// there but cannot be read gives false, so that no write replaces it.
bool LoadBytes(const fs::path& path, std::string& bytes) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return true;
  if (ec || fs::is_directory(status)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (!ec && size > kMaxFileBytes) return false;
  if (!ec) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  }
  char chunk[4096];  // whatever the size did not announce
  while (in.read(chunk, sizeof chunk), in.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  return !in.bad() && bytes.size() <= kMaxFileBytes;
}

void Discard(const fs::path& temp) {
  std::error_code ignored;
  fs::remove(temp, ignored);
}

// Writes bytes beside the file and renames them over it, so that the file is
// always either all old or all new, whenever the program stops.
void ReplaceFile(const fs::path& path, const std::string& bytes,
                 const std::function<void(const fs::path&)>& beforeReplace) {
  fs::path temp = path;
  temp += ".tmp";
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  if (!out) throw ProfileWriteError(path);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    Discard(temp);
    throw ProfileWriteError(path);
  }
  try {
    if (beforeReplace) beforeReplace(temp);
  } catch (...) {
    Discard(temp);
    throw ProfileWriteError(path);
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    Discard(temp);
    throw ProfileWriteError(path);
  }
}

void AppendKeyLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key);
  out += '=';
  out.append(value);
  out += kLineEnd;
}

}  // namespace

ProfileWriteError::ProfileWriteError(const std::filesystem::path& path)
    : std::runtime_error("Unable to write to " + path.string()), path_(path) {}

// The file's bytes and an index of the first block of every section and of
// the first line of every key in it. Other lines need no record: they are
// never read and a write copies them as they are.
struct ProfileFile::Content {
  struct Section {
    std::uint32_t nameBegin, nameSize;
    std::uint32_t insertAt;  // after its last key line, or its header while it has none
    bool breakFirst;         // that line is the file's last and has no line break
  };
  struct Key {
    std::uint32_t section;
    std::uint32_t lineBegin, lineNext;  // the whole line with its line break
    std::uint32_t nameBegin, nameSize;
    std::uint32_t valueBegin, valueEnd;  // everything after the first "="
  };

  std::string bytes;
  bool unreadable = false;
  std::vector<Section> sections;
  std::vector<Key> keys;
  HashIndex sectionIndex;
  HashIndex keyIndex;

  std::string_view at(std::uint32_t begin, std::uint32_t size) const {
    return std::string_view(bytes).substr(begin, size);
  }
  std::string_view name(const Section& s) const { return at(s.nameBegin, s.nameSize); }
  std::string_view name(const Key& k) const { return at(k.nameBegin, k.nameSize); }
  std::string_view value(const Key& k) const { return at(k.valueBegin, k.valueEnd - k.valueBegin); }

  void parse();
  std::uint32_t findSection(std::string_view name, std::uint32_t hash) const {
    return sectionIndex.find(
        hash, [&](std::uint32_t s) { return NamesEqual(this->name(sections[s]), name); });
  }
  std::uint32_t findKey(std::uint32_t section, std::string_view key, std::uint32_t hash) const {
    return keyIndex.find(hash, [&](std::uint32_t k) {
      return keys[k].section == section && NamesEqual(name(keys[k]), key);
    });
  }
  std::string withValue(std::string_view section, std::string_view key,
                        std::string_view value) const;
};

void ProfileFile::Content::parse() {
  const std::string_view all(bytes);
  // Room for a key on every line; only a file of lone CRs outgrows it.
  std::size_t lines = 1;
  for (std::size_t at = all.find('\n'); at != all.npos; at = all.find('\n', at + 1)) ++lines;
  keys.reserve(lines);
  keyIndex.reserve(lines);
  // Lines before the first section and in a later block of a section are
  // never found, so nothing of them is kept.
  std::uint32_t current = kNone;
  for (std::size_t pos = 0; pos < all.size();) {
    const std::size_t begin = pos;
    while (pos < all.size() && all[pos] != '\r' && all[pos] != '\n') ++pos;
    const std::size_t end = pos;
    if (pos < all.size()) {
      pos += all[pos] == '\r' && pos + 1 < all.size() && all[pos + 1] == '\n' ? 2 : 1;
    }
    const auto offset = [&](std::string_view part) {
      return static_cast<std::uint32_t>(part.data() - all.data());
    };
    const auto size = [](std::string_view part) { return static_cast<std::uint32_t>(part.size()); };

    std::size_t start = begin;
    while (start < end && IsBlank(all[start])) ++start;
    if (start == end || all[start] == ';') continue;  // blank or a comment
    const std::string_view text = all.substr(start, end - start);
    if (text[0] == '[') {
      const std::string_view name = TrimBlanks(text.substr(1, FindClosingBracket(text, 1) - 1));
      const std::uint32_t hash = NameHash(name, 0);
      current = kNone;
      if (findSection(name, hash) == kNone) {
        current = static_cast<std::uint32_t>(sections.size());
        sections.push_back({offset(name), size(name), static_cast<std::uint32_t>(pos), pos == end});
        sectionIndex.insert(hash, current);
      }
      continue;
    }
    const std::size_t eq = text.find('=');
    if (current == kNone || eq == text.npos) continue;  // not a key
    sections[current].insertAt = static_cast<std::uint32_t>(pos);
    sections[current].breakFirst = pos == end;
    const std::string_view name = TrimBlanks(text.substr(0, eq));
    const std::uint32_t hash = KeyHash(current, name);
    if (findKey(current, name, hash) == kNone) {
      keyIndex.insert(hash, static_cast<std::uint32_t>(keys.size()));
      keys.push_back({current, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(pos),
                      offset(name), size(name), static_cast<std::uint32_t>(start + eq + 1),
                      static_cast<std::uint32_t>(end)});
    }
  }
}

std::string ProfileFile::Content::withValue(std::string_view section, std::string_view key,
                                            std::string_view value) const {
  std::string out;
  out.reserve(bytes.size() + section.size() + key.size() + value.size() + 8);
  const std::uint32_t s = findSection(section, NameHash(section, 0));
  if (s == kNone) {
    out = bytes;
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += kLineEnd;
    out += '[';
    out.append(section);
    out += ']';
    out += kLineEnd;
    AppendKeyLine(out, key, value);
    return out;
  }
  if (const std::uint32_t k = findKey(s, key, KeyHash(s, key)); k != kNone) {
    // Only this line changes; the name keeps the file's spelling.
    out.append(bytes, 0, keys[k].lineBegin);
    AppendKeyLine(out, name(keys[k]), value);
    out.append(bytes, keys[k].lineNext, std::string::npos);
    return out;
  }
  const Section& target = sections[s];
  out.append(bytes, 0, target.insertAt);
  if (target.breakFirst) out += kLineEnd;
  AppendKeyLine(out, key, value);
  out.append(bytes, target.insertAt, std::string::npos);
  return out;
}

ProfileFile::ProfileFile(std::filesystem::path path)
    : path_(std::move(path)), content_(std::make_unique<Content>()) {
  content_->unreadable = !LoadBytes(path_, content_->bytes);
  if (content_->unreadable) content_->bytes.clear();
  content_->parse();
}

ProfileFile::~ProfileFile() = default;

std::optional<std::string_view> ProfileFile::lookup(std::string_view section,
                                                    std::string_view key) const {
  section = TrimBlanks(FirstLine(section));
  key = TrimBlanks(FirstLine(key));
  if (section.empty() || key.empty()) return std::nullopt;
  const std::uint32_t s = content_->findSection(section, NameHash(section, 0));
  const std::uint32_t k = s == kNone ? kNone : content_->findKey(s, key, KeyHash(s, key));
  if (k == kNone) return std::nullopt;

  std::string_view value = TrimValue(content_->value(content_->keys[k]));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value.size() > kMaxValueBytes ? SjisCut(value, kMaxValueBytes) : value;
}

std::string ProfileFile::read(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
  return std::string(lookup(section, key).value_or(defaultValue));
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimBlanks(FirstLine(section));
  key = TrimBlanks(FirstLine(key));
  value = FirstLine(value);
  // Each of these would be written as a line that reads back as something
  // else, and every later write would add another such line.
  if (section.empty() || FindClosingBracket(section, 0) != section.size()) {
    throw std::invalid_argument("section name empty or with \"]\"");
  }
  if (key.empty() || key.find('=') != key.npos || key.front() == ';' || key.front() == '[') {
    throw std::invalid_argument("key name empty, with \"=\" or starting with \";\" or \"[\"");
  }
  if (content_->unreadable) throw ProfileWriteError(path_);

  auto next = std::make_unique<Content>();
  next->bytes = content_->withValue(section, key, value);
  if (next->bytes.size() > kMaxFileBytes) throw ProfileWriteError(path_);
  next->parse();
  ReplaceFile(path_, next->bytes, beforeReplace_);
  content_ = std::move(next);
}

void ProfileFile::setBeforeReplaceHookForTesting(
    std::function<void(const std::filesystem::path&)> hook) {
  beforeReplace_ = std::move(hook);
}

}  // namespace hk
