// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/read_file.h"
#include "platform/utf.h"

namespace kirrup::platform {
namespace {

// Space, tab, vertical tab and form feed.
bool IsBlank(char16_t c) { return c <= u' ' && ((1ull << c) & 0x100001A00ull) != 0; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// What a line means to the reader.
struct Parsed {
  enum Kind { Other, Header, Key } kind = Other;
  std::u16string_view name;   // section or key name, trimmed
  std::u16string_view value;  // raw value after '=' (keys only)
};

Parsed ParseLine(std::u16string_view text) {
  Parsed p;
  const std::u16string_view t = Trim(text);
  if (t.empty() || t.front() == u';') return p;
  if (t.front() == u'[') {
    std::u16string_view name = t.substr(1);
    const size_t close = name.find(u']');
    if (close != std::u16string_view::npos) name = name.substr(0, close);
    p.kind = Parsed::Header;
    p.name = Trim(name);
    return p;
  }
  const size_t eq = t.find(u'=');
  p.name = Trim(t.substr(0, eq));
  if (p.name.empty()) return p;
  p.kind = Parsed::Key;
  if (eq != std::u16string_view::npos) p.value = t.substr(eq + 1);
  return p;
}

std::u16string CleanValue(std::u16string_view v, size_t maxChars) {
  v = Trim(v);
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  const size_t nul = v.find(u'\0');
  if (nul != std::u16string_view::npos) v = v.substr(0, nul);
  if (v.size() > maxChars) {
    v = v.substr(0, maxChars);
    // Never keep half of a surrogate pair.
    if (!v.empty() && v.back() >= 0xD800 && v.back() <= 0xDBFF) v.remove_suffix(1);
  }
  return std::u16string(v);
}

size_t FoldedHash(std::u16string_view s) {
  size_t h = 14695981039346656037ull;
  for (char16_t c : s) h = (h ^ FoldCase(c)) * 1099511628211ull;
  return h;
}

bool FoldedEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

}  // namespace

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);  // Latin-1
  if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A: mostly upper/lower pairs
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
      return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    }
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c & 1) ? c : static_cast<char16_t>(c + 1);
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);  // Greek
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

bool ProfileFile::Load() {
  unreadable_ = false;
  dirty_ = false;
  loadError_ = FileError{};
  std::vector<uint8_t> bytes;
  if (!ReadRegularFile(path_, kMaxBytes, bytes, &loadError_)) {
    Parse({});
    unreadable_ = !loadError_.missing();
    return !unreadable_;
  }
  Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return true;
}

void ProfileFile::Parse(std::string_view input) {
  std::string_view bytes = input;
  lines_.clear();
  sections_.assign(1, Section{});
  sectionIndex_.clear();
  keys_.clear();
  dirty_ = false;

  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    encoding_ = Encoding::Utf16Le;
    bom_ = bytes.substr(0, 2);
    bytes.remove_prefix(2);
  } else if (bytes.empty()) {
    encoding_ = Encoding::Utf16Le;
    bom_ = "\xFF\xFE";
  } else {
    encoding_ = Encoding::Utf8;
    bom_.clear();
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
      bom_ = bytes.substr(0, 3);
      bytes.remove_prefix(3);
    }
  }

  // Lines refer to the bytes by position. A copy first: the input may be our own buffer.
  std::string own(bytes);
  bytes_ = std::move(own);
  bytes = bytes_;
  // Split into lines; a line's raw bytes keep its ending (CR LF, LF or CR).
  const size_t unit = encoding_ == Encoding::Utf16Le ? 2 : 1;
  // A lone trailing byte of a UTF-16 file is no character; it is dropped.
  const size_t end = bytes.size() - bytes.size() % unit;
  // UTF-16 text is the whole file at once, endings included, so a line's text lies at half
  // its bytes' position. UTF-8 lines are decoded one after the other into room for the
  // longest possible text (a unit per byte), cut to what they took at the end.
  text_.clear();
  if (unit == 2) {
    text_.resize(end / 2);
    if constexpr (std::endian::native == std::endian::little) {
      if (end != 0) std::memcpy(text_.data(), bytes.data(), end);
    } else {
      for (size_t k = 0; k < end / 2; ++k) {
        text_[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                         (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
      }
    }
  } else {
    text_.resize(end);
  }
  auto at = [&](size_t i) -> char16_t {
    if (unit == 1) return static_cast<unsigned char>(bytes[i]);
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  // The next CR or LF from i on, found by the library's byte search; a hit counts only as
  // a whole character (in UTF-16 a unit with a zero high byte). Each byte is searched once
  // for each of the two.
  auto find = [&](char ch, size_t from) {
    if (from >= end) return end;
    const void* p = std::memchr(bytes.data() + from, ch, end - from);
    return p ? static_cast<size_t>(static_cast<const char*>(p) - bytes.data()) : end;
  };
  size_t nextCr = find('\r', 0), nextLf = find('\n', 0);
  auto nextBreak = [&](size_t i) {
    for (;;) {
      if (nextCr < i) nextCr = find('\r', i);
      if (nextLf < i) nextLf = find('\n', i);
      const size_t k = std::min(nextCr, nextLf);
      if (k >= end) return end;
      if (k % unit == 0 && (unit == 1 || bytes[k + 1] == 0)) return k;
      i = k + 1;
    }
  };
  size_t start = 0;
  size_t i = 0;
  while ((i = nextBreak(i)) < end) {
    const char16_t c = at(i);
    const size_t content = i - start;
    i += unit;
    if (c == u'\r' && i < end && at(i) == u'\n') i += unit;
    AddLine(start, i - start, content);
    start = i;
  }
  if (start < end) AddLine(start, end - start, end - start);
  if (unit == 1) text_.resize(lines_.empty() ? 0 : lines_.back().textAt + lines_.back().textSize);
  // Entries were added in file order; sorted once here rather than kept sorted per line.
  std::sort(sectionIndex_.begin(), sectionIndex_.end());
  // Keys are in section order already: each section's run is sorted on its own.
  for (auto run = keys_.begin(); run != keys_.end();) {
    auto next = run + 1;
    while (next != keys_.end() && next->section == run->section) ++next;
    std::sort(run, next);
    run = next;
  }
}

void ProfileFile::AddLine(size_t at, size_t size, size_t contentBytes) {
  Line line;
  line.rawAt = at;
  line.rawSize = size;
  line.ended = size > contentBytes;
  if (encoding_ == Encoding::Utf16Le) {
    line.textAt = at / 2;
    line.textSize = contentBytes / 2;
  } else {
    line.textAt = lines_.empty() ? 0 : lines_.back().textAt + lines_.back().textSize;
    line.textSize = DecodeUtf8({bytes_.data() + at, contentBytes}, text_.data() + line.textAt);
  }
  lines_.push_back(line);

  const Parsed p = ParseLine(Text(line));
  const size_t nameAt = static_cast<size_t>(p.name.data() - text_.data());
  if (p.kind == Parsed::Header) {
    sectionIndex_.push_back(Entry(0, sections_.size(), nameAt, p.name.size()));
    sections_.push_back({lines_.size() - 1, 1});
    return;
  }
  Section& s = sections_.back();
  ++s.count;
  // Keys before the first header belong to no section and are never found.
  if (p.kind == Parsed::Key && sections_.size() > 1)
    keys_.push_back(Entry(sections_.size() - 1, s.count - 1, nameAt, p.name.size()));
}

ProfileFile::IndexEntry ProfileFile::Entry(size_t section, size_t at, size_t nameAt, size_t nameSize) const {
  return {section, FoldedHash(Text(nameAt, nameSize)), at, nameAt, nameSize};
}

std::optional<size_t> ProfileFile::Lookup(const NameIndex& index, size_t section, std::u16string_view name) const {
  const size_t h = FoldedHash(name);
  for (auto it = std::lower_bound(index.begin(), index.end(), IndexEntry{section, h, 0});
       it != index.end() && it->section == section && it->hash == h; ++it) {
    if (FoldedEqual(Text(it->nameAt, it->nameSize), name)) return it->at;
  }
  return std::nullopt;
}

std::optional<size_t> ProfileFile::FindSection(std::u16string_view section) const {
  return Lookup(sectionIndex_, 0, Trim(section));
}

std::optional<std::u16string> ProfileFile::Find(std::u16string_view section, std::u16string_view key,
                                                size_t maxChars) const {
  const auto s = FindSection(section);
  if (!s) return std::nullopt;
  const auto line = Lookup(keys_, *s, Trim(key));
  if (!line) return std::nullopt;
  return CleanValue(ParseLine(Text(lines_[sections_[*s].first + *line])).value, maxChars);
}

std::u16string ProfileFile::GetString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view def, size_t maxChars) const {
  if (auto v = Find(section, key, maxChars)) return std::move(*v);
  std::u16string d(def.substr(0, std::min(def.size(), maxChars)));
  return d;
}

int ProfileFile::GetInt(std::u16string_view section, std::u16string_view key, int def) const {
  const auto v = Find(section, key, SIZE_MAX);
  if (!v) return def;
  std::u16string_view s = *v;
  bool negative = false;
  if (!s.empty() && (s.front() == u'+' || s.front() == u'-')) {
    negative = s.front() == u'-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.front() < u'0' || s.front() > u'9') return def;
  long long n = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') break;
    n = n * 10 + (c - u'0');
    if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) n = -n;
  if (n > INT_MAX) n = INT_MAX;
  return static_cast<int>(n);
}

std::string ProfileFile::Encode(std::u16string_view text) const {
  if (encoding_ == Encoding::Utf8) return Utf16ToUtf8(text);
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

ProfileFile::Line ProfileFile::MakeLine(std::u16string_view text) {
  Line line;
  line.rawAt = bytes_.size();
  bytes_ += Encode(text);
  bytes_ += Encode(u"\r\n");
  line.rawSize = bytes_.size() - line.rawAt;
  line.textAt = text_.size();
  line.textSize = text.size();
  text_ += text;
  line.ended = true;
  return line;
}

void ProfileFile::EndLastLine() {
  if (lines_.empty() || lines_.back().ended) return;
  Line& last = lines_.back();
  // The ending goes right after the line's bytes, so they move to the end of the buffer.
  if (last.rawAt + last.rawSize != bytes_.size()) {
    const std::string raw(Raw(last));
    last.rawAt = bytes_.size();
    bytes_ += raw;
  }
  bytes_ += Encode(u"\r\n");
  last.rawSize = bytes_.size() - last.rawAt;
  last.ended = true;
}

void ProfileFile::WriteString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
  section = Trim(section);
  key = Trim(key);
  dirty_ = true;
  const auto found = FindSection(section);
  if (!found) {
    EndLastLine();
    // The names are found where the new lines spell them.
    const size_t number = sections_.size();
    sections_.push_back({lines_.size(), 2});
    lines_.push_back(MakeLine(u"[" + std::u16string(section) + u"]"));
    const IndexEntry header = Entry(0, number, lines_.back().textAt + 1, section.size());
    sectionIndex_.insert(std::upper_bound(sectionIndex_.begin(), sectionIndex_.end(), header), header);
    lines_.push_back(MakeLine(std::u16string(key) + u"=" + std::u16string(value)));
    keys_.push_back(Entry(number, 1, lines_.back().textAt, key.size()));  // the last section sorts last
    return;
  }
  const size_t number = *found;
  if (const auto at = Lookup(keys_, number, key)) {
    // Keep the key as the file spells it.
    const std::u16string name(ParseLine(Text(LineOf(number, *at))).name);
    const Line line = MakeLine(name + u"=" + std::u16string(value));
    LineOf(number, *at) = line;
    return;
  }
  // After the last non-blank line of the section; blank lines below it stay below.
  Section& s = sections_[number];
  size_t pos = s.count;
  while (pos > 1 && Trim(Text(LineOf(number, pos - 1))).empty()) --pos;
  if (pos == s.count && !LineOf(number, pos - 1).ended) {
    EndLastLine();  // the section's last line is the file's last line
  }
  // Only blank lines follow pos, so no indexed key moves; later sections start a line on.
  const Line line = MakeLine(std::u16string(key) + u"=" + std::u16string(value));
  lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(s.first + pos), line);
  ++s.count;
  for (size_t k = number + 1; k < sections_.size(); ++k) ++sections_[k].first;
  const IndexEntry e = Entry(number, pos, line.textAt, key.size());
  keys_.insert(std::upper_bound(keys_.begin(), keys_.end(), e), e);
}

void ProfileFile::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
  const std::string digits = std::to_string(value);
  WriteString(section, key, std::u16string(digits.begin(), digits.end()));
}

std::string ProfileFile::Serialize() const {
  size_t total = bom_.size();
  for (const Line& l : lines_) total += l.rawSize;
  std::string out;
  out.reserve(total);
  out += bom_;
  // Lines read from the file lie back to back in bytes_: a run of them is one append.
  for (size_t k = 0; k < lines_.size();) {
    const size_t from = lines_[k].rawAt;
    size_t to = from + lines_[k].rawSize;
    for (++k; k < lines_.size() && lines_[k].rawAt == to; ++k) to += lines_[k].rawSize;
    out.append(bytes_, from, to - from);
  }
  return out;
}

bool ProfileFile::Save() const {
  if (unreadable_ || path_.empty()) return false;
  const std::string bytes = Serialize();
  return WriteFileAtomically(
      path_, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace kirrup::platform
