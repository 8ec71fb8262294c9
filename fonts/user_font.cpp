// SPDX-License-Identifier: GPL-2.0-or-later
#include "fonts/user_font.h"

#include <algorithm>

#include "platform/read_file.h"

namespace kirrup {
void UserFont::Load(std::span<const uint8_t> sizeTable, std::filesystem::path glyphFile) {
  Release();
  sizeTable_.clear();
  path_.clear();
  available_ = false;
  if (sizeTable.empty()) return;
  sizeTable_.assign(sizeTable.begin(), sizeTable.begin() + std::min<size_t>(sizeTable.size(), 131072));
  // Each slot's glyph follows the previous ones; every slot past the table has no size, so
  // from there on all offsets are the table's total and only the sized slots are stored.
  const size_t sized = std::min<size_t>(sizeTable_.size() / 2, 65535);
  offsets_.resize(sized + 1);
  uint32_t at = 0;
  for (size_t c = 0; c < sized; ++c) {
    at += uint32_t{sizeTable_[2 * c]} * ((uint32_t{sizeTable_[2 * c + 1]} + 7) / 8);
    offsets_[c + 1] = at;
  }
  path_ = std::move(glyphFile);
  std::error_code ec;
  available_ = std::filesystem::exists(path_, ec);
}

void UserFont::Release() {
  offsets_.clear();
  offsets_.shrink_to_fit();
}

int UserFont::Width(uint16_t slot) const {
  const size_t at = 2 * static_cast<size_t>(slot);
  return at < sizeTable_.size() ? sizeTable_[at] : 0;
}

int UserFont::Height(uint16_t slot) const {
  const size_t at = 2 * static_cast<size_t>(slot) + 1;
  return at < sizeTable_.size() ? sizeTable_[at] : 0;
}

uint64_t UserFont::GlyphBytes() const {
  if (offsets_.empty()) return 0;
  return uint64_t{Offset(65535)} + static_cast<uint64_t>(Width(65535)) * ((Height(65535) + 7) / 8);
}

bool UserFont::Read(uint16_t slot, int gap, CharColumns& record) const {
  if (offsets_.empty() || path_.empty()) return false;
  uint64_t size = 0;
  const platform::UniqueFd file = platform::OpenRegularFile(path_.string(), size);
  if (!file) return false;
  const int w = Width(slot), h = Height(slot);
  const int n = w * ((h + 7) / 8);
  gap = std::max(gap, 0);
  // A record holds 72 column bytes: whatever does not fit is dropped from the far end.
  const int lead = std::min(2 * gap, static_cast<int>(CharColumns::kMaxBytes));
  const int toRead = std::min(n, static_cast<int>(CharColumns::kMaxBytes) - lead);
  if (toRead > 0) {
    uint8_t buf[CharColumns::kMaxBytes];
    if (!platform::ReadAt(file.get(), Offset(slot), buf, static_cast<size_t>(toRead)))
      return false;  // the file is shorter than its table promises
    std::fill_n(record.columns.begin(), lead, 0);
    std::copy_n(buf, toRead, record.columns.begin() + lead);
  } else {
    std::fill_n(record.columns.begin(), lead, 0);
  }
  record.width = w + gap;
  record.height = h;
  record.byteCount = static_cast<uint8_t>(std::min(n + 2 * gap, static_cast<int>(CharColumns::kMaxBytes)));
  return true;
}

}  // namespace kirrup
