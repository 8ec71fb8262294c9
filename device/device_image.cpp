// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/device_image.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/atomic_file.h"

namespace kirrup {

uint8_t EffectByte(int openOption, int middleOption, int closeOption, bool useMiddle) {
  if (useMiddle) return static_cast<uint8_t>(openOption * 16 + middleOption + 17);
  auto swapPair = [](int v, int a, int b) { return v == a ? b : v == b ? a : v; };
  const int o = swapPair(swapPair(openOption, 0, 1), 7, 8);
  const int c = swapPair(closeOption, 0, 1);
  return static_cast<uint8_t>(o * 16 + c + 17);
}

uint8_t TransformColumn7(uint8_t b) { return static_cast<uint8_t>((b & 0xF8) | ((b >> 1) & 0x07)); }

void TransformColumn11(uint8_t& first, uint8_t& second) {
  const unsigned v = ((static_cast<unsigned>(first) << 8) | second) >> 5;
  first = static_cast<uint8_t>(v >> 8);
  second = static_cast<uint8_t>(v & 0xFF);
}

int DeviceImage::Build(const MessageRows& rows) {
  buffer.fill(0);
  length = 0;
  int n = 0;
  for (const MessageRow& row : rows.rows())
    if (row.enabled && row.line.itemCount() > 0) ++n;
  if (n == 0) return 0;

  const int type = rows.ledType();
  const bool middle = rows.useMiddleOption != 0;
  // Real lines stay far below the capacity; the guard only keeps odd input in bounds.
  auto append = [this](uint8_t b) {
    if (length >= kCapacity) return false;
    buffer[static_cast<size_t>(length++)] = b;
    return true;
  };
  if (type == kLed11) {
    append(0x00);
    append(static_cast<uint8_t>(n | 0x80));
  } else {
    append(static_cast<uint8_t>(n));
  }

  int written = 0;
  for (const MessageRow& row : rows.rows()) {
    if (written == n) break;
    const MessageLine& line = row.line;
    if (!row.enabled || line.itemCount() == 0 || line.LineEnd() == 0) continue;
    append(static_cast<uint8_t>(line.LineEnd() & 0xFF));
    append(EffectByte(row.openOption, row.middleOption, row.closeOption, middle));
    if (middle) append(static_cast<uint8_t>(row.closeOption + 1));
    // i: the byte's position within its character's bytes (odd = second byte of a column).
    auto appendColumnByte = [&](uint8_t b, int i) {
      if (type == kLed7) b = TransformColumn7(b);
      if (!append(b)) return false;
      if (type == kLed11 && (i & 1) == 1)
        TransformColumn11(buffer[static_cast<size_t>(length - 2)], buffer[static_cast<size_t>(length - 1)]);
      return true;
    };
    std::vector<CharColumns> records(static_cast<size_t>(line.itemCount()));
    line.ExportRange(line.itemCount(), 0, records, false);
    const int bpc = line.BytesPerColumn();
    for (size_t k = 0; k < records.size(); ++k) {
      const CharColumns& r = records[k];
      for (int i = 0; i < r.byteCount; ++i)
        if (!appendColumnByte(r.columns[static_cast<size_t>(i)], i)) return written;
      // A character wider than a record can hold (more than 72 bytes, e.g. a wide system-font
      // glyph on 16 LEDs) would otherwise leave the line short of the LineEnd columns its
      // first byte announces, and the toy would read every later line out of step. Its
      // remaining columns come straight from the strip, packed as a record packs them.
      const CharItem& item = line.item(static_cast<int>(k));
      for (int c = r.byteCount / bpc; c < item.width; ++c) {
        std::array<uint8_t, 2> column{};
        for (int row = 0; row < line.height(); ++row) {
          const int dot = line.height() - 1 - row;  // the bottom row is dot 0
          if (line.Lit(item.x + c, row)) column[static_cast<size_t>(dot / 8)] |= static_cast<uint8_t>(0x80 >> (dot % 8));
        }
        for (int i = 0; i < bpc; ++i)
          if (!appendColumnByte(column[static_cast<size_t>(i)], i)) return written;
      }
    }
    ++written;
  }
  return n;
}

bool WriteDeviceImageFile(const DeviceImage& image, const std::string& path, platform::FileError* why) {
  return platform::WriteFileAtomically(path, image.bytes(), why);
}

int BuildImageForSend(const MessageRows& rows, DeviceImage& image, platform::MessageSink& sink,
                      const std::string& path) {
  const int n = image.Build(rows);
  if (n == 0) {
    platform::ErrorBox(sink, "No Data Send!");
    return 0;
  }
  WriteDeviceImageFile(image, path);
  return n;
}

}  // namespace kirrup
