// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A profile (INI) file: "[Section]" headers and "key=value" lines, stored as UTF-16
// little-endian text behind the byte order mark FF FE (a file without it is read as
// UTF-8 and keeps that encoding when written).
//
// The whole file is loaded once, reads and writes work on the loaded lines, and Save
// writes it back once. The result is the same as writing each key to the file in turn:
//   - section and key names match ignoring case and surrounding blanks;
//   - a read value is trimmed of blanks and of one pair of surrounding quotes;
//   - a write replaces the key's line where it stands, or adds the key after the last
//     non-blank line of its section, or adds the section at the end of the file;
//   - every line the program does not write keeps its bytes, line ending included;
//     lines the program writes end in CR LF.
// Save goes through a temporary file in the same folder and a rename, so a failed
// save (full disk, missing or read-only folder) leaves the old file whole. Failures
// are silent apart from the boolean results.
#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/read_file.h"

namespace kirrup::platform {

class ProfileFile {
 public:
  enum class Encoding { Utf16Le, Utf8 };

  // An empty profile that will be saved as UTF-16 with its byte order mark.
  ProfileFile() = default;
  explicit ProfileFile(std::string path);

  // Reads the file at path(). A missing or empty file gives an empty UTF-16 profile
  // (true). False when the file exists but cannot be read, is not a regular file or is
  // longer than kMaxBytes; Save then refuses to replace it, so such a file is never
  // overwritten with only our keys. loadError() says why.
  bool Load();
  const FileError& loadError() const { return loadError_; }
  // Parses bytes as the content of a file (used by Load, tests and the fuzzer).
  void Parse(std::string_view bytes);

  // The value of the key, trimmed and unquoted, cut to at most maxChars UTF-16 units
  // (never between the two halves of a surrogate pair) and at a NUL; nullopt when the
  // section or the key is missing.
  std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key,
                                     size_t maxChars = kDefaultMaxChars) const;
  // Find, or def when the key is missing.
  std::u16string GetString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view def, size_t maxChars = kDefaultMaxChars) const;
  // An optional sign and the leading decimal digits of the value (saturating at the
  // int range); def when the key is missing or the value has no leading digit.
  int GetInt(std::u16string_view section, std::u16string_view key, int def) const;

  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInt(std::u16string_view section, std::u16string_view key, int value);

  // Writes the file back (atomically). False when it could not be written.
  bool Save() const;
  // The bytes Save writes.
  std::string Serialize() const;

  const std::string& path() const { return path_; }
  Encoding encoding() const { return encoding_; }
  bool dirty() const { return dirty_; }

  static constexpr size_t kDefaultMaxChars = 158;
  // No settings file comes near this: sixteen languages of a few hundred texts each.
  static constexpr uint64_t kMaxBytes = 1 << 20;

 private:
  // Every line of the file lies in lines_, in file order; a line's bytes and text lie in
  // bytes_ and text_, one buffer each for the whole file. A section is a run of lines_.
  struct Line {
    size_t rawAt = 0;     // in bytes_: the line's bytes as read, its ending included
    size_t rawSize = 0;
    size_t textAt = 0;    // in text_: decoded, without the ending
    size_t textSize = 0;
    bool ended = false;   // raw ends in a line break
  };
  struct Section {
    size_t first = 0;  // its header line (the preamble has none)
    size_t count = 0;
  };
  // Names are found through their case-folded hash: entries sorted by section, hash and
  // position, so that of equal names the first comes first. A name is kept as where it
  // lies in text_, so an index costs no allocation per name.
  struct IndexEntry {
    size_t section = 0;  // 0 for the section index
    size_t hash = 0;
    size_t at = 0;  // line within its section (keys) or section number (sections)
    size_t nameAt = 0;
    size_t nameSize = 0;
    bool operator<(const IndexEntry& o) const {
      if (section != o.section) return section < o.section;
      return hash != o.hash ? hash < o.hash : at < o.at;
    }
  };
  using NameIndex = std::vector<IndexEntry>;

  // Adds the line at bytes_[at, at + size), of which contentBytes precede its ending.
  void AddLine(size_t at, size_t size, size_t contentBytes);
  // Positions are in range by construction: no checked substr on the hot path.
  std::string_view Raw(const Line& l) const { return {bytes_.data() + l.rawAt, l.rawSize}; }
  std::u16string_view Text(size_t at, size_t size) const { return {text_.data() + at, size}; }
  std::u16string_view Text(const Line& l) const { return Text(l.textAt, l.textSize); }
  Line& LineOf(size_t section, size_t at) { return lines_[sections_[section].first + at]; }
  // The `at` of the first entry of section's part of index named name; nullopt when none.
  std::optional<size_t> Lookup(const NameIndex& index, size_t section, std::u16string_view name) const;
  // An entry for the name lying in text_ at nameAt.
  IndexEntry Entry(size_t section, size_t at, size_t nameAt, size_t nameSize) const;
  std::optional<size_t> FindSection(std::u16string_view section) const;
  std::string Encode(std::u16string_view text) const;
  // A line the program writes; its bytes and text go to the ends of the buffers.
  Line MakeLine(std::u16string_view text);
  void EndLastLine();

  std::string path_;
  Encoding encoding_ = Encoding::Utf16Le;
  std::string bom_ = "\xFF\xFE";
  std::string bytes_;      // the file as read (after the byte order mark), then written lines
  std::u16string text_;    // the text of every line, back to back
  std::vector<Line> lines_;
  std::vector<Section> sections_;  // sections_[0] is the preamble
  NameIndex sectionIndex_;  // every section after the preamble
  NameIndex keys_;          // every key line of every section after the preamble
  bool unreadable_ = false;
  FileError loadError_;
  bool dirty_ = false;
};

// Case folding used for section and key names (ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic letters).
char16_t FoldCase(char16_t c);

}  // namespace kirrup::platform
