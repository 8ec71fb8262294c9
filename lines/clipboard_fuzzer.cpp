// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary "ZEQBinaryData" on the clipboard of a line: pasted, painted, copied, pasted
// again, undone and redone, and the device image built of the result. Nothing may crash,
// the line must stay tiled within its limits and what Copy puts out must paste back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "device/device_image.h"
#include "lines/line_editor.h"
#include "lines/message_rows.h"
#include "tests/fixtures/fuzz_check.h"

using namespace kirrup;

namespace {

class Clipboard final : public LineClipboard {
 public:
  bool Put(std::span<const uint8_t> records, std::span<const char16_t> text) override {
    records_.assign(records.begin(), records.end());
    text_.assign(text.begin(), text.end());
    return true;
  }
  bool HasRecords() const override { return true; }
  bool HasText() const override { return false; }
  std::optional<std::vector<uint8_t>> Records() const override { return records_; }
  std::optional<std::u16string> Text() const override { return text_; }

  std::vector<uint8_t> records_;
  std::u16string text_;
};

void CheckLine(const MessageLine& line) {
  CHECK(line.itemCount() <= MessageLine::kMaxItems && line.LineEnd() <= line.maxWidth());
  int x = 0;
  for (const CharItem& it : line.items()) {
    CHECK(it.x == x && it.width >= 1);
    x += it.width;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto rows = std::make_unique<MessageRows>(kLed7);
  static const auto image = std::make_unique<DeviceImage>();
  if (size < 1) return 0;
  const int type = data[0] % 3;
  const bool middle = data[0] & 0x80;
  rows->ApplyLedType(type, true);
  rows->useMiddleOption = middle ? 1 : 0;
  MessageRow& row = (*rows)[0];
  row.enabled = true;
  LineEditor editor(row.line);
  Clipboard clipboard;
  clipboard.records_.assign(data + 1, data + size);
  editor.SetClipboard(&clipboard);
  editor.Resize(600, 40);

  // Painting the whole window is the slow part and not what the clipboard is about: one
  // input in eight paints, after the paste and after the undo.
  const bool paint = fuzz::OneIn(data, size, 8);
  editor.Paste(1);
  CheckLine(row.line);
  static platform::RgbImage picture;  // painted over whole every time; kept to save its allocation
  if (paint) editor.Paint(picture, true, 0xC0C0C0, 0x808080);
  editor.SelectAll();
  if (editor.Copy()) {
    // Whatever a line puts out is sensible and pastes back whole.
    const int before = row.line.itemCount();
    for (const CharColumns& r : ParseRecords(clipboard.records_)) CHECK(SensibleRecord(r));
    editor.Paste(1);
    CHECK(row.line.itemCount() == before);
  }
  editor.Undo();
  editor.Redo();
  editor.Undo();
  CheckLine(row.line);
  if (paint) editor.Paint(picture, false, 0xC0C0C0, 0x808080);
  editor.Redo();
  CheckLine(row.line);
  const int lines = image->Build(*rows);
  CHECK(lines >= 0 && lines <= 1 && image->length >= 0 && image->length <= DeviceImage::kCapacity);
  return 0;
}
