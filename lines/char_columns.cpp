// SPDX-License-Identifier: GPL-2.0-or-later
#include "lines/char_columns.h"

#include <algorithm>

namespace kirrup {
namespace {

void PutI32(uint8_t* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  p[0] = u & 0xFF, p[1] = (u >> 8) & 0xFF, p[2] = (u >> 16) & 0xFF, p[3] = (u >> 24) & 0xFF;
}
int32_t GetI32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

}  // namespace

bool CharColumns::Dot(int col, int k) const {
  const int bpc = BytesPerColumn();
  if (col < 0 || k < 0 || bpc <= 0) return false;
  const int64_t bit = static_cast<int64_t>(col) * bpc * 8 + k;
  if (bit / 8 >= static_cast<int64_t>(kMaxBytes)) return false;
  return (columns[bit / 8] & (0x80 >> (bit % 8))) != 0;
}

void CharColumns::SetDot(int col, int k, bool lit) {
  const int bpc = BytesPerColumn();
  if (col < 0 || k < 0 || bpc <= 0) return;
  const int64_t bit = static_cast<int64_t>(col) * bpc * 8 + k;
  if (bit / 8 >= static_cast<int64_t>(kMaxBytes)) return;
  const auto mask = static_cast<uint8_t>(0x80 >> (bit % 8));
  if (lit)
    columns[bit / 8] |= mask;
  else
    columns[bit / 8] &= static_cast<uint8_t>(~mask);
}

void CharColumns::Write(std::span<uint8_t, kSize> out) const {
  out[0] = code & 0xFF;
  out[1] = code >> 8;
  PutI32(&out[2], width);
  PutI32(&out[6], height);
  out[10] = kind;
  out[11] = byteCount;
  std::copy(columns.begin(), columns.end(), out.begin() + 12);
}

bool CharColumns::Parse(std::span<const uint8_t> in, CharColumns& out) {
  if (in.size() < kSize) return false;
  out.code = static_cast<uint16_t>(in[0] | (in[1] << 8));
  out.width = GetI32(&in[2]);
  out.height = GetI32(&in[6]);
  out.kind = in[10];
  out.byteCount = in[11];
  std::copy_n(in.begin() + 12, kMaxBytes, out.columns.begin());
  return true;
}

std::vector<uint8_t> WriteRecords(std::span<const CharColumns> records) {
  std::vector<uint8_t> bytes(records.size() * CharColumns::kSize);
  for (size_t i = 0; i < records.size(); ++i)
    records[i].Write(std::span<uint8_t, CharColumns::kSize>(bytes.data() + i * CharColumns::kSize,
                                                            CharColumns::kSize));
  return bytes;
}

std::vector<CharColumns> ParseRecords(std::span<const uint8_t> bytes) {
  std::vector<CharColumns> out(bytes.size() / CharColumns::kSize);
  for (size_t i = 0; i < out.size(); ++i)
    CharColumns::Parse(bytes.subspan(i * CharColumns::kSize, CharColumns::kSize), out[i]);
  return out;
}

}  // namespace kirrup
