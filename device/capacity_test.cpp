// SPDX-License-Identifier: GPL-2.0-or-later
#include "device/capacity.h"

#include <gtest/gtest.h>

#include <memory>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

// The meter's bytes against the image layout worked out by hand (header, line records,
// columns), for every LED type with and without middle options.
TEST(Capacity, MeterMatchesTheImageLayout) {
  const struct {
    int type;
    bool middle;
    std::vector<int> widths;  // columns of each taking-part row; 0: enabled but empty
  } cases[] = {
      {kLed7, false, {}},        {kLed7, true, {6, 0, 108}},  {kLed11, false, {3, 142}},
      {kLed11, true, {1}},       {kLed16, true, {144, 0, 16}}, {kLed16, false, {144, 144, 144, 144, 144, 144, 144, 144}},
  };
  for (const auto& c : cases) {
    auto rows = std::make_unique<MessageRows>(c.type);
    rows->useMiddleOption = c.middle ? 1 : 0;
    const int h = LedTypeRow(c.type).height;
    const auto dots = [](int i, int j) { return (i + j) % 3 == 0; };
    int expected = 0, lines = 0;
    for (size_t r = 0; r < c.widths.size(); ++r) {
      MessageRow& row = (*rows)[static_cast<int>(r)];
      row.enabled = true;
      // Characters of at most 16 columns until the width is reached.
      for (int left = c.widths[r]; left > 0; left -= 16) {
        ASSERT_TRUE(row.line.InsertRecord(testing::MakeRecord('x', std::min(left, 16), h, dots)));
        row.line.MoveCaret(+1, false);
      }
      if (c.widths[r] == 0) continue;
      ++lines;
      expected += (c.middle ? 3 : 2) + c.widths[r] * ((h + 7) / 8);
    }
    if (lines > 0) expected += c.type == kLed11 ? 2 : 1;

    EXPECT_EQ(CapacityMeter().Measure(*rows).bytes, expected) << c.type << " " << c.middle << " " << c.widths.size();
  }
}

// At the limit and one byte over: the meter's words.
TEST(Capacity, LimitAndTexts) {
  const struct {
    int bytes;
    const char* caption;
    const char* description;
  } cases[] = {
      {2047, "Toy memory", "2047 of 2047 bytes"},
      {2048, "Over by 1", "2048 of 2047 bytes, 1 byte over the limit"},
      {2210, "Over by 163", "2210 of 2047 bytes, 163 bytes over the limit"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Capacity{c.bytes}.Over(), c.bytes > 2047);
    EXPECT_EQ(CapacityCaption({c.bytes}, false), c.caption);
    EXPECT_EQ(CapacityDescription({c.bytes}, false), c.description);
  }
}

}  // namespace
}  // namespace kirrup
