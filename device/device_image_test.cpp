// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/device_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;
using testing::MakeRecord;

class RecordingSink : public platform::MessageSink {
 public:
  std::vector<std::string> texts;
  void Show(platform::MessageIcon, const std::string&, const std::string& text) override { texts.push_back(text); }
};

void Append(MessageLine& line, const CharColumns& r) {
  line.MoveCaret(+100, false);
  ASSERT_TRUE(line.InsertRecord(r));
  line.MoveCaret(+1, false);
}

std::vector<uint8_t> Image(const MessageRows& rows) {
  DeviceImage image;
  image.Build(rows);
  return {image.bytes().begin(), image.bytes().end()};
}

TEST(DeviceImage, SevenLedsByteForByte) {
  auto rows = std::make_unique<MessageRows>(kLed7);
  // Left column only the top LED, right column only the bottom LED; then top and bottom.
  Append((*rows)[0].line, MakeRecord('A', 2, 7, [](int i, int j) { return (i == 0 && j == 0) || (i == 1 && j == 6); }));
  Append((*rows)[0].line, MakeRecord('B', 1, 7, [](int, int j) { return j == 0 || j == 6; }));
  EXPECT_EQ(Image(*rows), (std::vector<uint8_t>{0x01, 0x03, 0x22, 0x01, 0x80, 0x81}));
  EXPECT_EQ(TransformColumn7(0x82), 0x81);
  EXPECT_EQ(TransformColumn7(0xFE), 0xFF);
}

TEST(DeviceImage, ElevenLedsWithMiddleOptionsByteForByte) {
  auto rows = std::make_unique<MessageRows>(kLed11);
  rows->useMiddleOption = 1;
  // Columns: all eleven lit, only the top LED, only the bottom LED.
  Append((*rows)[0].line, MakeRecord('x', 3, 11, [](int i, int j) { return i == 0 || (i == 1 && j == 0) || (i == 2 && j == 10); }));
  EXPECT_EQ(Image(*rows), (std::vector<uint8_t>{0x00, 0x81, 0x03, 0x11, 0x01, 0x07, 0xFF, 0x00, 0x01, 0x04, 0x00}));
  uint8_t a = 0xFF, b = 0xE0;
  TransformColumn11(a, b);
  EXPECT_EQ(a, 0x07);
  EXPECT_EQ(b, 0xFF);
}

TEST(DeviceImage, HeadersCountTakingPartRowsOnly) {
  for (int type : {kLed11, kLed16}) {
    auto rows = std::make_unique<MessageRows>(type);
    const int h = LedTypeRow(type).height;
    for (int r = 0; r < 4; ++r) (*rows)[r].enabled = true;
    // Row 2 is enabled but empty: left out, rows 3 and 4 close up behind row 1.
    Append((*rows)[0].line, MakeRecord('a', 1, h, [](int, int j) { return j == 0; }));
    Append((*rows)[2].line, MakeRecord('b', 2, h, [](int, int) { return false; }));
    Append((*rows)[3].line, MakeRecord('c', 1, h, [](int, int) { return true; }));
    (*rows)[2].openOption = 8;
    (*rows)[2].closeOption = 1;
    const auto img = Image(*rows);
    if (type == kLed11) {
      EXPECT_EQ(img, (std::vector<uint8_t>{0x00, 0x83, 1, 0x22, 0x00, 0x01, 2, 0x81, 0, 0, 0, 0, 1, 0x22, 0x07, 0xFF}));
    } else {
      EXPECT_EQ(img, (std::vector<uint8_t>{0x03, 1, 0x22, 0x00, 0x01, 2, 0x81, 0, 0, 0, 0, 1, 0x22, 0xFF, 0xFF}));
    }
  }
}

TEST(DeviceImage, EffectByteRemapping) {
  const int nibbleFlag0[9] = {2, 1, 3, 4, 5, 6, 7, 9, 8};
  for (int o = 0; o < 9; ++o) {
    EXPECT_EQ(EffectByte(o, 0, 2, false) >> 4, nibbleFlag0[o]) << o;
    EXPECT_EQ(EffectByte(o, 0, 2, true) >> 4, o + 1) << o;
  }
  const int closeFlag0[7] = {2, 1, 3, 4, 5, 6, 7};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(EffectByte(2, 3, c, false) & 0x0F, closeFlag0[c]) << c;
  for (int m = 0; m < 4; ++m) EXPECT_EQ(EffectByte(2, m, 6, true) & 0x0F, m + 1) << m;
  EXPECT_EQ(EffectByte(0, 0, 0, false), 0x22);
  EXPECT_EQ(EffectByte(0, 0, 0, true), 0x11);
  EXPECT_EQ(EffectByte(8, 3, 6, true), 0x94);
}

TEST(DeviceImage, MiddleOptionMattersOnlyWithTheFlag) {
  auto rows = std::make_unique<MessageRows>(kLed16);
  Append((*rows)[0].line, MakeRecord('a', 3, 16, [](int i, int j) { return testing::PatternDot(7, i, j); }));
  (*rows)[0].openOption = 4;
  (*rows)[0].closeOption = 3;
  const auto before = Image(*rows);
  (*rows)[0].middleOption = 2;
  EXPECT_EQ(Image(*rows), before);
  rows->useMiddleOption = 1;
  const auto with = Image(*rows);
  ASSERT_EQ(with.size(), before.size() + 1);
  EXPECT_EQ(with[2], 0x53);
  EXPECT_EQ(with[3], 4);  // CloseOption + 1
  EXPECT_TRUE(std::equal(before.begin() + 3, before.end(), with.begin() + 4));
}

TEST(DeviceImage, TwelveFullLinesFitAndDeviceOrderIsLeftToRight) {
  auto rows = std::make_unique<MessageRows>(kLed16);
  for (int r = 0; r < 12; ++r) {
    (*rows)[r].enabled = true;
    for (int c = 0; c < 9; ++c)
      Append((*rows)[r].line, MakeRecord(static_cast<uint16_t>('a' + c), 16, 16, [r, c](int i, int j) { return testing::PatternDot(r * 16 + c, i, j); }));
  }
  DeviceImage image;
  EXPECT_EQ(image.Build(*rows), 12);
  EXPECT_EQ(image.length, 1 + 12 * (2 + 144 * 2));
  // Column x of row 5 holds its dots with the top LED in bit 0 of the big-endian value.
  const MessageLine& line = (*rows)[5].line;
  const size_t base = 1 + 5 * (2 + 288) + 2;
  for (int x = 0; x < 144; ++x) {
    const unsigned v = (image.buffer[base + 2 * x] << 8) | image.buffer[base + 2 * x + 1];
    for (int y = 0; y < 16; ++y) ASSERT_EQ(((v >> y) & 1) != 0, line.Lit(x, y)) << x << "," << y;
  }
}

// A character wider than the 72 bytes of a record (40 columns on 16 LEDs, 80 on 7): every
// column of the line is sent, so the column count byte matches the data that follows it
// and the next line starts where the toy expects it.
TEST(DeviceImage, CharactersWiderThanARecordSendEveryColumn) {
  for (int type : {kLed7, kLed16}) {
    auto rows = std::make_unique<MessageRows>(type);
    const int h = LedTypeRow(type).height;
    const int wide = type == kLed7 ? 80 : 40;
    (*rows)[1].enabled = true;
    Append((*rows)[0].line, MakeRecord('W', wide, h, [](int i, int j) { return testing::PatternDot(3, i, j); }));
    Append((*rows)[0].line, MakeRecord('i', 2, h, [](int, int j) { return j == 0; }));
    Append((*rows)[1].line, MakeRecord('z', 1, h, [](int, int) { return true; }));
    // Dots beyond the record's 72 bytes exist only in the strip (drawn in the editor).
    MessageLine& line = (*rows)[0].line;
    line.SetStripPixel(wide - 2, 0, platform::kInk);
    line.SetStripPixel(wide - 1, h - 1, platform::kInk);
    const auto img = Image(*rows);
    const size_t bpc = type == kLed7 ? 1 : 2;
    const size_t columns = static_cast<size_t>(wide + 2);
    ASSERT_EQ(img.size(), 1 + 2 + columns * bpc + 2 + bpc) << type;
    EXPECT_EQ(img[0], 2);
    EXPECT_EQ(img[1], columns);
    for (size_t x = 0; x < columns; ++x) {
      // Sent columns carry the top LED in bit 0 (7 LEDs: row 2 also in bit 3, which is skipped).
      const unsigned v = bpc == 1 ? img[3 + x] : (img[3 + 2 * x] << 8) | img[3 + 2 * x + 1];
      for (int y = 0; y < h; ++y) {
        const int bit = type == kLed7 ? (y < 3 ? y : y + 1) : y;
        ASSERT_EQ(((v >> bit) & 1) != 0, line.Lit(static_cast<int>(x), y)) << type << ": " << x << "," << y;
      }
    }
    EXPECT_TRUE(line.Lit(wide - 2, 0));
    // Row 2's record follows right behind: column count 1, effect byte, one all-lit column.
    const size_t next = 3 + columns * bpc;
    EXPECT_EQ(img[next], 1);
    EXPECT_EQ(img[next + 1], 0x22);
    EXPECT_EQ(img[next + 2], 0xFF);
  }
}

TEST(DeviceImage, NothingToSendAndTheImageFile) {
  const fs::path dir = fs::temp_directory_path() / ("kirrup-image-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path old = fs::current_path();
  fs::current_path(dir);

  auto rows = std::make_unique<MessageRows>(kLed7);
  (*rows)[1].enabled = true;  // enabled but empty
  RecordingSink sink;
  DeviceImage image;
  image.buffer[5] = 9;
  image.length = 6;
  EXPECT_EQ(BuildImageForSend(*rows, image, sink), 0);
  EXPECT_EQ(sink.texts, std::vector<std::string>{"No Data Send!"});
  EXPECT_EQ(image.length, 0);
  EXPECT_EQ(image.buffer[5], 0);
  EXPECT_FALSE(fs::exists(kDeviceImageFileName));

  Append((*rows)[1].line, MakeRecord('a', 1, 7, [](int, int) { return true; }));
  EXPECT_EQ(BuildImageForSend(*rows, image, sink), 1);
  std::ifstream in(kDeviceImageFileName, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(file, (std::vector<uint8_t>{0x01, 0x01, 0x22, 0xFF}));

  // A file that cannot be created is skipped without a word.
  fs::remove(kDeviceImageFileName);
  fs::create_directory(kDeviceImageFileName);
  sink.texts.clear();
  EXPECT_EQ(BuildImageForSend(*rows, image, sink), 1);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_EQ(image.length, 4);

  fs::current_path(old);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kirrup
