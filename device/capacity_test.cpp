// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/capacity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;

class NoMessages : public platform::MessageSink {
 public:
  void Show(platform::MessageIcon, const std::string&, const std::string&) override {}
};

// The meter's bytes against the layout worked out by hand (header, line records, columns)
// and against the file Send writes, for every LED type with and without middle options.
TEST(Capacity, MeterMatchesTheLayoutAndTheFileSendWrites) {
  const struct {
    int type;
    bool middle;
    std::vector<int> widths;  // columns of each taking-part row; 0: enabled but empty
  } cases[] = {
      {kLed7, false, {}},           {kLed7, false, {6}},           {kLed7, true, {6, 0, 108}},
      {kLed11, false, {3, 142}},    {kLed11, true, {1}},           {kLed16, false, {144, 144, 144, 144, 144, 144, 144}},
      {kLed16, true, {144, 0, 16}}, {kLed16, false, {144, 144, 144, 144, 144, 144, 144, 144}},
  };
  const fs::path dir = fs::temp_directory_path() / ("kirrup_capacity_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  for (const auto& c : cases) {
    auto rows = std::make_unique<MessageRows>(c.type);
    rows->useMiddleOption = c.middle ? 1 : 0;
    const int h = LedTypeRow(c.type).height;
    int expected = 0, lines = 0;
    for (size_t r = 0; r < c.widths.size(); ++r) {
      MessageRow& row = (*rows)[static_cast<int>(r)];
      row.enabled = true;
      // Characters of at most 16 columns until the width is reached.
      for (int left = c.widths[r]; left > 0; left -= 16) {
        ASSERT_TRUE(row.line.InsertRecord(testing::MakeRecord('x', std::min(left, 16), h, [](int i, int j) {
          return (i + j) % 3 == 0;
        })));
        row.line.MoveCaret(+1, false);
      }
      if (c.widths[r] == 0) continue;
      ++lines;
      expected += (c.middle ? 3 : 2) + c.widths[r] * ((h + 7) / 8);
    }
    if (lines > 0) expected += c.type == kLed11 ? 2 : 1;

    const Capacity measured = CapacityMeter().Measure(*rows);
    EXPECT_EQ(measured.bytes, expected) << c.type << " " << c.middle << " " << c.widths.size();
    EXPECT_EQ(measured.Over(), expected > 2047);
    if (lines == 0) continue;
    DeviceImage image;
    NoMessages sink;
    const fs::path file = dir / "USBSendData.bin";
    ASSERT_GT(BuildImageForSend(*rows, image, sink, file.string()), 0);
    EXPECT_EQ(static_cast<int>(fs::file_size(file)), measured.bytes);
  }
  fs::remove_all(dir);
}

TEST(Capacity, LimitAndTexts) {
  const struct {
    int bytes;
    bool over;
    int percent;
    const char* caption;
    const char* numbers;
    const char* description;
  } cases[] = {
      {0, false, 0, "Toy memory", "0 / 2047 bytes", "0 of 2047 bytes"},
      {1532, false, 74, "Toy memory", "1532 / 2047 bytes", "1532 of 2047 bytes"},
      {2047, false, 100, "Toy memory", "2047 / 2047 bytes", "2047 of 2047 bytes"},
      {2048, true, 100, "Over by 1", "2048 / 2047 bytes", "2048 of 2047 bytes, 1 byte over the limit"},
      {2210, true, 100, "Over by 163", "2210 / 2047 bytes", "2210 of 2047 bytes, 163 bytes over the limit"},
  };
  for (const auto& c : cases) {
    const Capacity cap{c.bytes};
    EXPECT_EQ(cap.Over(), c.over) << c.bytes;
    EXPECT_EQ(cap.Percent(), c.percent) << c.bytes;
    EXPECT_EQ(CapacityCaption(cap, false), c.caption);
    EXPECT_EQ(CapacityNumbers(cap, false), c.numbers);
    EXPECT_EQ(CapacityDescription(cap, false), c.description);
  }
  EXPECT_EQ(CapacityCaption({2210}, true), "超出 163");
  EXPECT_EQ(RomOverText(2210), "IC ROM Over: 2210 bytes, the toy holds at most 2047");
}

}  // namespace
}  // namespace kirrup
