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
#include <unordered_map>
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
  struct Line {
    std::string raw;       // the line's bytes as read, its ending included
    std::u16string text;   // decoded, without the ending
    bool ended = false;    // raw ends in a line break
  };
  // Names stored folded; a lookup folds as it hashes and compares, so it needs no copy.
  struct FoldedHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view s) const noexcept;
  };
  struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept;
  };
  using FoldedIndex = std::unordered_map<std::u16string, size_t, FoldedHash, FoldedEqual>;
  struct Section {
    std::u16string foldedName;  // empty for the lines before the first header
    std::vector<Line> lines;    // the header line first (except for the preamble)
    // Folded key -> index in lines of its first occurrence.
    FoldedIndex keys;
  };

  void AddLine(std::string raw, size_t contentBytes);
  const Section* FindSection(std::u16string_view section) const;
  Section* FindSection(std::u16string_view section);
  std::string Encode(std::u16string_view text) const;
  Line MakeLine(std::u16string text) const;
  void EndLastLine();

  std::string path_;
  Encoding encoding_ = Encoding::Utf16Le;
  std::string bom_ = "\xFF\xFE";
  std::vector<Section> sections_;  // sections_[0] is the preamble
  FoldedIndex sectionIndex_;  // folded name -> first section
  bool unreadable_ = false;
  FileError loadError_;
  bool dirty_ = false;
};

// Case folding used for section and key names (ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic letters).
char16_t FoldCase(char16_t c);

}  // namespace kirrup::platform
