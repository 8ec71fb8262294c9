// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/ldat_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string_view>

#include "platform/atomic_file.h"

namespace kirrup {
namespace {

void Put16(uint8_t* p, uint16_t v) { p[0] = v & 0xFF, p[1] = v >> 8; }
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (static_cast<uint32_t>(Get16(p + 2)) << 16); }

// Where each stored line's records start and how many records the file must hold.
// Refuses negative counts: summing them could point records outside the array.
struct RecordLayout {
  int lines = 0;
  int64_t total = 0;
  std::array<int32_t, LdatHeader::kMaxLines> first{};
};

bool Refuse(std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return false;
}

bool ValidHeader(const LdatHeader& h, RecordLayout& layout, std::string* reason) {
  if (h.magic != LdatHeader::kMagic && h.magic != LdatHeader::kMagicMiddle) return Refuse(reason, "unknown magic");
  layout.lines = std::clamp<int>(h.lineCount, 0, LdatHeader::kMaxLines);
  layout.total = 0;
  for (int i = 0; i < LdatHeader::kMaxLines; ++i) {
    layout.first[i] = static_cast<int32_t>(layout.total);
    if (i >= layout.lines) continue;
    if (h.counts[i] < 0) return Refuse(reason, "negative record count of line " + std::to_string(i + 1));
    layout.total += h.counts[i];
  }
  return true;
}

int64_t FileSizeFor(const RecordLayout& layout) {
  return static_cast<int64_t>(LdatHeader::kSize) + layout.total * static_cast<int64_t>(CharColumns::kSize);
}

}  // namespace

void LdatHeader::Write(std::span<uint8_t, kSize> out) const {
  std::fill(out.begin(), out.end(), 0);
  out[0] = magic & 0xFF, out[1] = (magic >> 8) & 0xFF, out[2] = (magic >> 16) & 0xFF, out[3] = magic >> 24;
  Put16(&out[4], static_cast<uint16_t>(ledType));
  Put16(&out[6], static_cast<uint16_t>(maxWidth));
  Put16(&out[8], static_cast<uint16_t>(height));
  Put16(&out[10], static_cast<uint16_t>(lineCount));
  for (int i = 0; i < kMaxLines; ++i) {
    Put16(&out[12 + 2 * i], effects[i]);
    Put16(&out[76 + 2 * i], static_cast<uint16_t>(counts[i]));
  }
}

LdatHeader LdatHeader::Parse(std::span<const uint8_t, kSize> in) {
  LdatHeader h;
  h.magic = Get32(&in[0]);
  h.ledType = static_cast<int16_t>(Get16(&in[4]));
  h.maxWidth = static_cast<int16_t>(Get16(&in[6]));
  h.height = static_cast<int16_t>(Get16(&in[8]));
  h.lineCount = static_cast<int16_t>(Get16(&in[10]));
  for (int i = 0; i < kMaxLines; ++i) {
    h.effects[i] = Get16(&in[12 + 2 * i]);
    h.counts[i] = static_cast<int16_t>(Get16(&in[76 + 2 * i]));
  }
  return h;
}

uint16_t EffectWord(int openOption, int middleOption, int closeOption, bool useMiddle) {
  const unsigned low = useMiddle ? ((openOption & 0x0F) | ((middleOption & 0x0F) << 4)) : (openOption & 0xFF);
  return static_cast<uint16_t>(low | ((closeOption & 0xFF) << 8));
}

LineEffects DecodeEffectWord(uint16_t word, bool useMiddle) {
  auto inRange = [](int v, int count) { return v < count ? v : 0; };
  LineEffects e;
  if (useMiddle) {
    e.openOption = inRange(word & 0x0F, kOpenOptionCount);
    e.middleOption = inRange((word >> 4) & 0x0F, kMiddleOptionCount);
  } else {
    e.openOption = inRange(word & 0xFF, kOpenOptionCount);
  }
  e.closeOption = inRange(word >> 8, kCloseOptionCount);
  return e;
}

int LdatData::lineCount() const { return std::clamp<int>(header.lineCount, 0, LdatHeader::kMaxLines); }

std::span<const CharColumns> LdatData::LineRecords(int line) const {
  if (line < 0 || line >= lineCount()) return {};
  const size_t first = static_cast<size_t>(firstRecord[line]);
  const size_t count = static_cast<size_t>(std::max<int>(header.counts[line], 0));
  if (first > records.size() || count > records.size() - first) return {};
  return {records.data() + first, count};
}

std::vector<uint8_t> SerializeLdat(const MessageRows& rows) {
  LdatHeader h;
  h.magic = rows.useMiddleOption ? LdatHeader::kMagicMiddle : LdatHeader::kMagic;
  h.ledType = static_cast<int16_t>(rows.ledType());
  const LedTypeInfo& type = LedTypeRow(rows.ledType());
  h.maxWidth = static_cast<int16_t>(type.maxWidth);
  h.height = static_cast<int16_t>(type.height);
  const int n = rows.EnabledPrefix();
  h.lineCount = static_cast<int16_t>(n);
  for (int i = 0; i < n; ++i) {
    const MessageRow& row = rows[i];
    h.counts[i] = static_cast<int16_t>(row.line.itemCount());
    h.effects[i] = EffectWord(row.openOption, row.middleOption, row.closeOption, rows.useMiddleOption != 0);
  }

  std::vector<uint8_t> bytes(LdatHeader::kSize);
  h.Write(std::span<uint8_t, LdatHeader::kSize>(bytes.data(), LdatHeader::kSize));
  for (int i = 0; i < n; ++i) {
    const MessageLine& line = rows[i].line;
    // A fresh zero-filled buffer per line keeps the bytes after each record's byteCount 0.
    std::vector<CharColumns> records(static_cast<size_t>(line.itemCount()));
    line.ExportRange(line.itemCount(), 0, records, true);
    const std::vector<uint8_t> part = WriteRecords(records);
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return bytes;
}

bool ParseLdat(std::span<const uint8_t> bytes, LdatData& out, std::string* reason) {
  const auto refuse = [reason](const std::string& why) { return Refuse(reason, kNotLdat + (" (" + why + ")")); };
  if (bytes.size() < LdatHeader::kSize) return refuse("shorter than its header");
  const LdatHeader h = LdatHeader::Parse(bytes.first<LdatHeader::kSize>());
  RecordLayout layout;
  std::string why;
  if (!ValidHeader(h, layout, &why)) return refuse(why);
  if (static_cast<int64_t>(bytes.size()) < FileSizeFor(layout)) return refuse("fewer records than its counts promise");
  std::vector<CharColumns> records =
      ParseRecords(bytes.subspan(LdatHeader::kSize, static_cast<size_t>(layout.total) * CharColumns::kSize));
  // The one place records enter from a file: no later arithmetic sees an absurd size.
  const auto bad = std::find_if_not(records.begin(), records.end(), [](const CharColumns& r) {
    return r.ExtentsInRange();
  });
  if (bad != records.end())
    return refuse("record " + std::to_string(bad - records.begin() + 1) + " is " + std::to_string(bad->width) +
                  " by " + std::to_string(bad->height) + " dots");
  out.header = h;
  out.firstRecord = layout.first;
  out.records = std::move(records);
  return true;
}

bool WriteLdatFile(const std::string& path, const MessageRows& rows, platform::FileError* why) {
  const std::vector<uint8_t> bytes = SerializeLdat(rows);
  return platform::WriteFileAtomically(path, bytes, why);
}

bool ReadLdatFile(const std::string& path, LdatData& out, platform::FileError* why) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadRegularFile(path, kMaxLdatFileBytes, bytes, why)) {
    if (why && why->code == EFBIG) why->reason = std::string(kNotLdat) + " (" + why->reason + ")";
    return false;
  }
  std::string reason;
  if (ParseLdat(bytes, out, &reason)) return true;
  if (why) *why = platform::FileError{0, reason};
  return false;
}

bool LooksLikeLdat(const std::string& path) {
  constexpr std::string_view kSuffix = ".ldat";
  if (path.size() > kSuffix.size() &&
      std::equal(kSuffix.rbegin(), kSuffix.rend(), path.rbegin(),
                 [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
    return true;
  uint64_t size = 0;
  const platform::UniqueFd fd = platform::OpenRegularFile(path, size);
  uint8_t magic[4];
  if (!fd || size < sizeof magic || !platform::ReadAt(fd.get(), 0, magic, sizeof magic)) return false;
  const uint32_t m = Get32(magic);
  return m == LdatHeader::kMagic || m == LdatHeader::kMagicMiddle;
}

bool SaveLdat(const std::string& path, const MessageRows& rows, platform::MessageSink& sink) {
  if (WriteLdatFile(path, rows)) return true;
  platform::ErrorBox(sink, "Write file error!");
  return false;
}

bool OpenLdat(const std::string& path, LdatData& out, platform::MessageSink& sink) {
  platform::FileError why;
  if (ReadLdatFile(path, out, &why)) return true;
  // The message stays the first line; which file and why go beneath it.
  platform::ErrorBox(sink, "Open file error!\n%s: %s", path.c_str(), why.reason.c_str());
  return false;
}

bool ApplyLdat(const LdatData& data, MessageRows& rows) {
  const int middle = data.useMiddle() ? 1 : 0;
  const bool changed = middle != rows.useMiddleOption;
  rows.useMiddleOption = middle;
  rows.ApplyLedType(data.header.ledType, false);
  const int n = data.lineCount();
  for (int i = 0; i < MessageRows::kCount; ++i) {
    MessageRow& row = rows[i];
    if (i < n) {
      row.line.ImportRecords(data.LineRecords(i));
      row.enabled = true;
      const LineEffects e = DecodeEffectWord(data.header.effects[i], middle != 0);
      row.openOption = e.openOption;
      if (middle) row.middleOption = e.middleOption;
      row.closeOption = e.closeOption;
    } else {
      row.ResetEffects();
      row.enabled = false;
    }
  }
  return changed;
}

}  // namespace kirrup
