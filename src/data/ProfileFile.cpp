#include "data/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "data/ProfileStorage.h"
#include "data/ShiftJis.h"

namespace hk {

namespace {

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

// Up to eight bytes as one word, those from "A" to "Z" made "a" to "z" all
// at once: a byte's high bit tells whether it is at least "A" once 0x3F is
// added to its low seven bits, and beyond "Z" once 0x25 is.
std::uint64_t FoldedWord(const char* bytes, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  std::uint64_t word = 0;
  if (n == 8) {
    std::memcpy(&word, bytes, 8);
  } else {
    for (std::size_t k = 0; k < n; ++k) {
      word |= std::uint64_t{static_cast<unsigned char>(bytes[k])} << (8 * k);
    }
  }
  const std::uint64_t low = word & (0x7F * kOnes);
  const std::uint64_t fromA = low + (0x80 - 'A') * kOnes;
  const std::uint64_t beyondZ = low + (0x80 - 'Z' - 1) * kOnes;
  const std::uint64_t upper = fromA & ~beyondZ & ~word & (0x80 * kOnes);
  return word | upper >> 2;
}

// The name with every byte from "A" to "Z" folded, trail bytes too: names
// NamesEqual calls equal still hash alike, and the rare kana it tells apart
// only share a slot. Eight bytes go into each multiply, which keeps the short
// names of a settings file to one or two of them; the end mix makes the low
// bits, which pick the slot, depend on every byte.
std::uint32_t NameHash(std::string_view s, std::uint32_t seed) {
  std::uint64_t h = (seed ^ s.size()) * 0x9E3779B97F4A7C15ull;
  for (std::size_t i = 0; i < s.size(); i += 8) {
    const std::size_t n = s.size() - i < 8 ? s.size() - i : 8;
    h = (h ^ FoldedWord(s.data() + i, n)) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  h *= 0xC4CEB9FE1A85EC53ull;
  return static_cast<std::uint32_t>(h >> 32);
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

void AppendKeyLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key);
  out += '=';
  out.append(value);
  out += kLineEnd;
}

// One line of the file as the index and a write's search both see it.
struct Line {
  enum Kind { kOther, kHeader, kKey };
  Kind kind = kOther;
  std::size_t begin = 0, end = 0, next = 0;  // end before its line break, next after it
  std::string_view name;                     // a header's section, a key line's key
  std::size_t valueBegin = 0;                // a key line's value, up to end
};

Line ReadLine(std::string_view all, std::size_t pos) {
  Line line;
  line.begin = pos;
  while (pos < all.size() && all[pos] != '\r' && all[pos] != '\n') ++pos;
  line.end = pos;
  if (pos < all.size()) {
    pos += all[pos] == '\r' && pos + 1 < all.size() && all[pos + 1] == '\n' ? 2 : 1;
  }
  line.next = pos;
  std::size_t start = line.begin;
  while (start < line.end && IsBlank(all[start])) ++start;
  if (start == line.end || all[start] == ';') return line;  // blank or a comment
  const std::string_view text = all.substr(start, line.end - start);
  if (text[0] == '[') {
    line.kind = Line::kHeader;
    line.name = TrimBlanks(text.substr(1, FindClosingBracket(text, 1) - 1));
    return line;
  }
  const std::size_t eq = text.find('=');
  if (eq == text.npos) return line;
  line.kind = Line::kKey;
  line.name = TrimBlanks(text.substr(0, eq));
  line.valueBegin = start + eq + 1;
  return line;
}

// The file's bytes with key of section set to value, found the way reads find
// it: in the first block of the section, the first line of the key. Only that
// line changes, or one is added at the end of the block, or the section at the
// end of the file.
std::string WithValue(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value) {
  std::string out;
  out.reserve(bytes.size() + section.size() + key.size() + value.size() + 8);
  bool found = false;
  bool inside = false;
  std::size_t insertAt = 0;
  bool breakFirst = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const Line line = ReadLine(bytes, pos);
    pos = line.next;
    if (line.kind == Line::kHeader) {
      // A later block of the same section is never read, so never written.
      inside = !found && NamesEqual(line.name, section);
      if (inside) {
        found = true;
        insertAt = line.next;
        breakFirst = line.next == line.end;
      } else if (found) {
        break;
      }
    } else if (line.kind == Line::kKey && inside) {
      if (NamesEqual(line.name, key)) {
        // The name keeps the file's spelling.
        out.append(bytes.substr(0, line.begin));
        AppendKeyLine(out, line.name, value);
        out.append(bytes.substr(line.next));
        return out;
      }
      insertAt = line.next;
      breakFirst = line.next == line.end;
    }
  }
  if (!found) {
    out.append(bytes);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += kLineEnd;
    out += '[';
    out.append(section);
    out += ']';
    out += kLineEnd;
    AppendKeyLine(out, key, value);
    return out;
  }
  out.append(bytes.substr(0, insertAt));
  if (breakFirst) out += kLineEnd;
  AppendKeyLine(out, key, value);
  out.append(bytes.substr(insertAt));
  return out;
}

}  // namespace

ProfileWriteError::ProfileWriteError(const FilePath& path)
    : ProfileWriteError(path, path.string()) {}

ProfileWriteError::ProfileWriteError(const FilePath& path, const std::string& shownPath)
    : std::runtime_error("Unable to write to " + shownPath), path_(path) {}

// The file's bytes as last read or written, and an index of the first block
// of every section and of the first line of every key in it. Other lines need
// no record: they are never read, and a write copies them as they are.
struct ProfileFile::Content {
  struct Section {
    std::uint32_t nameBegin, nameSize;
  };
  struct Key {
    std::uint32_t section;
    std::uint32_t nameBegin, nameSize;
    std::uint32_t valueBegin, valueEnd;  // everything after the first "="
  };

  std::string bytes;
  bool parsed = false;
  std::string lastSectionName;  // the section the last lookup asked for, as spelt
  std::uint32_t lastSection = kNone;
  std::uint32_t lastKey = kNone;  // the entry the last lookup found
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
  // Start-up asks for the keys in the order the program writes them, so the
  // key after the one found last is tried before the index.
  std::uint32_t findNextKey(std::uint32_t section, std::string_view key) {
    const std::uint32_t next = lastKey + 1;
    if (lastKey != kNone && next < keys.size() && keys[next].section == section &&
        NamesEqual(name(keys[next]), key)) {
      return lastKey = next;
    }
    const std::uint32_t k = findKey(section, key, KeyHash(section, key));
    if (k != kNone) lastKey = k;
    return k;
  }
};

void ProfileFile::Content::parse() {
  parsed = true;
  const std::string_view all(bytes);
  // Room for a key on every line; only a file of lone CRs outgrows it.
  const std::size_t lines = 1 + static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n'));
  keys.reserve(lines);
  keyIndex.reserve(lines);
  const auto offset = [&](std::size_t at) { return static_cast<std::uint32_t>(at); };
  const auto offsetOf = [&](std::string_view part) { return offset(part.data() - all.data()); };
  const auto size = [](std::string_view part) { return static_cast<std::uint32_t>(part.size()); };
  // Lines before the first section and in a later block of a section are
  // never found, so nothing of them is kept.
  std::uint32_t current = kNone;
  for (std::size_t pos = 0; pos < all.size();) {
    const Line line = ReadLine(all, pos);
    pos = line.next;
    if (line.kind == Line::kHeader) {
      const std::uint32_t hash = NameHash(line.name, 0);
      current = kNone;
      if (findSection(line.name, hash) == kNone) {
        current = static_cast<std::uint32_t>(sections.size());
        sections.push_back({offsetOf(line.name), size(line.name)});
        sectionIndex.insert(hash, current);
      }
    } else if (line.kind == Line::kKey && current != kNone) {
      const std::uint32_t hash = KeyHash(current, line.name);
      if (findKey(current, line.name, hash) == kNone) {
        keyIndex.insert(hash, static_cast<std::uint32_t>(keys.size()));
        keys.push_back({current, offsetOf(line.name), size(line.name), offset(line.valueBegin),
                        offset(line.end)});
      }
    }
  }
}

ProfileFile::ProfileFile(FilePath path, ProfileStorage& storage)
    : path_(std::move(path)), storage_(storage), content_(std::make_unique<Content>()) {
  // A write replaces the file whole by a rename and retries one that this
  // read holds up, so the read needs no lock. A read that the system refuses
  // (a rename under way, a scanner holding the file) waits for the writers'
  // lock and tries again while it is refused; a lock not had in time costs
  // nothing but that.
  if (!storage_.read(path_, content_->bytes)) {
    const std::unique_ptr<ProfileStorage::Lock> lock = storage_.lock(path_);
    if (!storage_.readPatiently(path_, content_->bytes)) unreadable_ = true;
  }
  if (content_->bytes.size() > kMaxFileBytes) unreadable_ = true;
  if (unreadable_) {
    content_->bytes.clear();
    saves_ = false;
  }
}

ProfileFile::~ProfileFile() = default;

std::optional<std::string_view> ProfileFile::lookup(std::string_view section,
                                                    std::string_view key) const {
  key = TrimBlanks(FirstLine(key));
  if (key.empty()) return std::nullopt;
  if (!content_->parsed) content_->parse();
  // Start-up reads every key of a section one after the other: the name
  // asked for last time, spelt the same, needs neither trimming nor a search.
  std::uint32_t s = content_->lastSection;
  if (section.empty() || section != content_->lastSectionName) {
    section = TrimBlanks(FirstLine(section));
    if (section.empty()) return std::nullopt;
    s = content_->findSection(section, NameHash(section, 0));
    content_->lastSectionName.assign(section);
    content_->lastSection = s;
  }
  const std::uint32_t k = s == kNone ? kNone : content_->findNextKey(s, key);
  if (k == kNone) return std::nullopt;

  // A zero byte ends a value, as it ends the text a write is given.
  std::string_view value = TrimValue(content_->value(content_->keys[k]));
  value = value.substr(0, value.find('\0'));
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

  if (!saves_) {
    auto next = std::make_unique<Content>();
    next->bytes = WithValue(content_->bytes, section, key, value);
    content_ = std::move(next);
    return;
  }
  // The file as it is now, whoever changed it since it was last read here: no
  // other copy of the program writes between this read and the replace.
  const std::unique_ptr<ProfileStorage::Lock> lock = storage_.lock(path_);
  std::string onDisk;
  if (!lock || !storage_.readPatiently(path_, onDisk) || onDisk.size() > kMaxFileBytes) fail();
  auto next = std::make_unique<Content>();
  next->bytes = WithValue(onDisk, section, key, value);
  if (next->bytes.size() > kMaxFileBytes) fail();
  if (!storage_.replace(path_, next->bytes, beforeReplace_)) fail();
  // Read back only if something asks.
  content_ = std::move(next);
}

void ProfileFile::fail() const { throw ProfileWriteError(path_, storage_.displayName(path_)); }

void ProfileFile::setBeforeReplaceHookForTesting(ProfileStorage::BeforeReplace hook) {
  beforeReplace_ = std::move(hook);
}

}  // namespace hk
