// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_rows.h"

#include <gtest/gtest.h>

#include "lines/line_test_support.h"

namespace kirrup {
namespace {

TEST(DemoRows, StartTakesASnapshotOfEveryRow) {
  MessageRows rows(kLed11);
  rows[0].line.InsertRecord(testing::MakeRecord('A', 9, 11, [](int i, int j) { return i == j; }));
  rows[0].openOption = 4;
  rows[0].middleOption = 2;
  rows[0].closeOption = 5;
  rows[1].enabled = true;  // enabled but empty
  rows[2].line.InsertRecord(testing::MakeRecord('B', 3, 11, [](int, int) { return true; }));
  rows[2].enabled = false;

  const std::vector<DemoRowInput> in = DemoRowsFrom(rows);
  ASSERT_EQ(in.size(), 12u);
  EXPECT_TRUE(in[0].enabled);
  EXPECT_EQ(in[0].itemCount, 1);
  EXPECT_EQ(in[0].width, 9);
  EXPECT_EQ(in[0].height, 11);
  EXPECT_EQ(in[0].maxWidth, LedTypeRow(kLed11).maxWidth);
  EXPECT_EQ(in[0].ledType, kLed11);
  EXPECT_EQ(in[0].open, 4);
  EXPECT_EQ(in[0].middle, 2);
  EXPECT_EQ(in[0].close, 5);
  for (int x = 0; x < 9; ++x)
    for (int y = 0; y < 11; ++y) EXPECT_EQ(in[0].strip.Lit(x, y), x == y) << x << "," << y;
  EXPECT_EQ(in[1].width, 0);
  EXPECT_FALSE(in[2].enabled);

  // Later edits of a row do not reach the snapshot already taken.
  rows[0].line.ClearLine();
  EXPECT_TRUE(in[0].strip.Lit(3, 3));

  const std::vector<DemoScene> scenes = BuildPlayList(in, true);
  ASSERT_EQ(scenes.size(), 1u);
  EXPECT_EQ(scenes[0].trackLength, DemoTrackLength(LedTypeRow(kLed11).maxWidth, kLed11));
}

}  // namespace
}  // namespace kirrup
