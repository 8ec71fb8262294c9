// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// LED data files ("*.LDAT"): a 140-byte header followed by the character records of
// every stored line, little-endian throughout.
//
//   0 magic u32 | 4 ledType i16 | 6 maxWidth i16 | 8 height i16 | 10 n i16
//   12 effect words u16[32] | 76 record counts i16[32]
//   140 records: line 0's count of CharColumns (84 bytes each), then line 1's, ...
//
// Records are in stored column order. The writer stores rows 1..n up to the first
// disabled row; the reader checks every count against the file before it touches
// anything, and applying a read file fills the twelve rows.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lines/char_columns.h"
#include "lines/message_rows.h"
#include "platform/message_box.h"
#include "platform/read_file.h"

namespace kirrup {

struct LdatHeader {
  static constexpr size_t kSize = 140;
  static constexpr int kMaxLines = 32;
  static constexpr uint32_t kMagic = 0x20112345;        // without middle options
  static constexpr uint32_t kMagicMiddle = 0x30112345;  // with middle options

  uint32_t magic = kMagic;
  int16_t ledType = 0;
  int16_t maxWidth = 0;  // not read back
  int16_t height = 0;    // not read back
  int16_t lineCount = 0;
  std::array<uint16_t, kMaxLines> effects{};
  std::array<int16_t, kMaxLines> counts{};

  void Write(std::span<uint8_t, kSize> out) const;
  static LdatHeader Parse(std::span<const uint8_t, kSize> in);
  bool operator==(const LdatHeader&) const = default;
};

// Effect word of a line: low byte OpenOption (with middle options: OpenOption in bits
// 0..3, MiddleOption in bits 4..7), high byte CloseOption.
uint16_t EffectWord(int openOption, int middleOption, int closeOption, bool useMiddle);

struct LineEffects {
  int openOption = 0;
  int middleOption = 0;  // only meaningful with middle options
  int closeOption = 0;
};
// Decodes an effect word. An index beyond its list (OpenOption above 8, MiddleOption
// above 3, CloseOption above 6) becomes 0, the first item, as on rows without a line.
LineEffects DecodeEffectWord(uint16_t word, bool useMiddle);

// What the dialog keeps of the last file it read.
struct LdatData {
  LdatHeader header;
  std::vector<CharColumns> records;              // all records of the file
  std::array<int32_t, LdatHeader::kMaxLines> firstRecord{};  // first record index per line

  bool useMiddle() const { return header.magic == LdatHeader::kMagicMiddle; }
  // Stored lines, the header's count limited to 0..32.
  int lineCount() const;
  std::span<const CharColumns> LineRecords(int line) const;
};

// The file image of the rows: rows 1..n up to the first disabled row, with the LED type
// and middle-option flag of the rows.
std::vector<uint8_t> SerializeLdat(const MessageRows& rows);

// No file the program writes comes near this (12 lines of 50 records: 50,540 bytes); the
// format's own limit (32 lines of 32767 records) is 88 MB.
inline constexpr uint64_t kMaxLdatFileBytes = 1 << 20;
inline constexpr const char* kNotLdat = "not an LED data file";

// Reads a file image. False when it is shorter than the header, has another magic, has a
// negative record count among its n lines, holds fewer records than the counts promise or
// holds a record wider or taller than CharColumns::kMaxExtent; out is then left as it was
// and reason says why ("not an LED data file (...)").
bool ParseLdat(std::span<const uint8_t> bytes, LdatData& out, std::string* reason = nullptr);

// Writes the file through a temporary file beside it, renamed over the target only once
// everything was written: a failed save leaves an existing file as it was.
bool WriteLdatFile(const std::string& path, const MessageRows& rows, platform::FileError* why = nullptr);
// Reads a regular file of at most kMaxLdatFileBytes. out untouched on failure; why then
// holds the system's reason or, for content that is refused, kNotLdat and the detail.
bool ReadLdatFile(const std::string& path, LdatData& out, platform::FileError* why = nullptr);

// Whether a file is taken for an LED data file where only its name and bytes tell, as the
// installed file type does: named *.LDAT in any case, or beginning with one of the two
// magics. Says nothing of whether it opens.
bool LooksLikeLdat(const std::string& path);

// The Save and Open commands' file parts: each shows its message ("Write file error!",
// "Open file error!", the latter with the path and the reason on a second line) when it
// fails.
bool SaveLdat(const std::string& path, const MessageRows& rows, platform::MessageSink& sink);
bool OpenLdat(const std::string& path, LdatData& out, platform::MessageSink& sink);

// Applies a read file to the rows: the middle-option flag, the LED type (outside 0..2: 0)
// with every line emptied, then the stored lines imported into rows 1..min(n, 12), each
// enabled with its effects; the rows from n on are disabled with their effects at 0.
// Returns true when the middle-option flag changed.
bool ApplyLdat(const LdatData& data, MessageRows& rows);

}  // namespace kirrup
