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

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

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
  sections_.clear();
  sectionIndex_.clear();
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
  sections_.clear();
  sectionIndex_.clear();
  sections_.emplace_back();
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
  text_.clear();
  text_.reserve(encoding_ == Encoding::Utf16Le ? bytes.size() / 2 : bytes.size());

  // Split into lines; a line's raw bytes keep its ending (CR LF, LF or CR).
  const size_t unit = encoding_ == Encoding::Utf16Le ? 2 : 1;
  // A lone trailing byte of a UTF-16 file is no character; it is dropped.
  const size_t end = bytes.size() - bytes.size() % unit;
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
  // Entries were added in file order; sorted once here rather than kept sorted per line.
  std::sort(sectionIndex_.begin(), sectionIndex_.end());
  for (Section& s : sections_) std::sort(s.keys.begin(), s.keys.end());
}

void ProfileFile::AddLine(size_t at, size_t size, size_t contentBytes) {
  Line line;
  line.rawAt = at;
  line.rawSize = size;
  line.ended = size > contentBytes;
  line.textAt = text_.size();
  const std::string_view content = std::string_view(bytes_).substr(at, contentBytes);
  if (encoding_ == Encoding::Utf16Le) {
    line.textSize = contentBytes / 2;
    text_.resize(line.textAt + line.textSize);
    char16_t* out = text_.data() + line.textAt;
    if constexpr (std::endian::native == std::endian::little) {
      if (line.textSize != 0) std::memcpy(out, content.data(), line.textSize * 2);
    } else {
      for (size_t k = 0; k < line.textSize; ++k) {
        out[k] = static_cast<char16_t>(static_cast<unsigned char>(content[2 * k]) |
                                       (static_cast<unsigned char>(content[2 * k + 1]) << 8));
      }
    }
  } else {
    AppendUtf8AsUtf16(text_, content);
    line.textSize = text_.size() - line.textAt;
  }

  const Parsed p = ParseLine(Text(line));
  if (p.kind == Parsed::Header) {
    sectionIndex_.push_back(Entry(sections_.size(), static_cast<size_t>(p.name.data() - text_.data()), p.name.size()));
    sections_.emplace_back().lines.push_back(line);
    return;
  }
  Section& s = sections_.back();
  s.lines.push_back(line);
  // Keys before the first header belong to no section and are never found.
  if (p.kind == Parsed::Key && sections_.size() > 1)
    s.keys.push_back(Entry(s.lines.size() - 1, static_cast<size_t>(p.name.data() - text_.data()), p.name.size()));
}

ProfileFile::IndexEntry ProfileFile::Entry(size_t at, size_t nameAt, size_t nameSize) const {
  return {FoldedHash(std::u16string_view(text_).substr(nameAt, nameSize)), at, nameAt, nameSize};
}

std::optional<size_t> ProfileFile::Lookup(const NameIndex& index, std::u16string_view name) const {
  const size_t h = FoldedHash(name);
  for (auto it = std::lower_bound(index.begin(), index.end(), IndexEntry{h, 0}); it != index.end() && it->hash == h; ++it) {
    if (FoldedEqual(std::u16string_view(text_).substr(it->nameAt, it->nameSize), name)) return it->at;
  }
  return std::nullopt;
}

const ProfileFile::Section* ProfileFile::FindSection(std::u16string_view section) const {
  const auto k = Lookup(sectionIndex_, Trim(section));
  return k ? &sections_[*k] : nullptr;
}

ProfileFile::Section* ProfileFile::FindSection(std::u16string_view section) {
  return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

std::optional<std::u16string> ProfileFile::Find(std::u16string_view section, std::u16string_view key,
                                                size_t maxChars) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  const auto line = Lookup(s->keys, Trim(key));
  if (!line) return std::nullopt;
  return CleanValue(ParseLine(Text(s->lines[*line])).value, maxChars);
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
  for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
    if (s->lines.empty()) continue;
    Line& last = s->lines.back();
    if (!last.ended) {
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
    return;
  }
}

void ProfileFile::WriteString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
  section = Trim(section);
  key = Trim(key);
  dirty_ = true;
  Section* s = FindSection(section);
  if (!s) {
    EndLastLine();
    Section fresh;
    // The names are found where the new lines spell them.
    fresh.lines.push_back(MakeLine(u"[" + std::u16string(section) + u"]"));
    const IndexEntry header = Entry(sections_.size(), fresh.lines.back().textAt + 1, section.size());
    sectionIndex_.insert(std::upper_bound(sectionIndex_.begin(), sectionIndex_.end(), header), header);
    fresh.lines.push_back(MakeLine(std::u16string(key) + u"=" + std::u16string(value)));
    fresh.keys.push_back(Entry(1, fresh.lines.back().textAt, key.size()));
    sections_.push_back(std::move(fresh));
    return;
  }
  if (const auto line = Lookup(s->keys, key)) {
    // Keep the key as the file spells it.
    const std::u16string name(ParseLine(Text(s->lines[*line])).name);
    s->lines[*line] = MakeLine(name + u"=" + std::u16string(value));
    return;
  }
  // After the last non-blank line of the section; blank lines below it stay below.
  size_t pos = s->lines.size();
  while (pos > 1 && Trim(Text(s->lines[pos - 1])).empty()) --pos;
  if (pos == s->lines.size() && !s->lines.back().ended) {
    EndLastLine();  // the section's last line is the file's last line
  }
  // Only blank lines follow pos, so no indexed key moves.
  s->lines.insert(s->lines.begin() + static_cast<ptrdiff_t>(pos),
                  MakeLine(std::u16string(key) + u"=" + std::u16string(value)));
  const IndexEntry e = Entry(pos, s->lines[pos].textAt, key.size());
  s->keys.insert(std::upper_bound(s->keys.begin(), s->keys.end(), e), e);
}

void ProfileFile::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
  const std::string digits = std::to_string(value);
  WriteString(section, key, std::u16string(digits.begin(), digits.end()));
}

std::string ProfileFile::Serialize() const {
  size_t total = bom_.size();
  for (const Section& s : sections_) {
    for (const Line& l : s.lines) total += l.rawSize;
  }
  std::string out;
  out.reserve(total);
  out += bom_;
  for (const Section& s : sections_) {
    for (const Line& l : s.lines) out += Raw(l);
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
