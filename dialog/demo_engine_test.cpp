// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "res/demo_picture.h"

namespace kirrup {
namespace {

using platform::Bitmap1;
using platform::Color;
using platform::RgbImage;
using Result = DemoEngine::TickResult;
using Pixels = std::set<std::pair<int, int>>;

constexpr Color kRed = 0x0000FF;

DemoRowInput Row(int row, int width, int ledType, int open, int middle, int close) {
  static const int kHeight[] = {7, 11, 16};
  static const int kMaxWidth[] = {108, 156, 144};
  DemoRowInput r;
  r.row = row;
  r.enabled = true;
  r.itemCount = width > 0 ? 1 : 0;
  r.width = width;
  r.height = width > 0 ? kHeight[ledType] : 0;
  r.maxWidth = kMaxWidth[ledType];
  r.ledType = ledType;
  r.strip = Bitmap1(156, 16);
  r.strip.FillRect({0, 0, width, kHeight[ledType]}, true);
  r.open = open;
  r.middle = middle;
  r.close = close;
  return r;
}

DemoEngine Started(std::vector<DemoRowInput> rows, bool useMiddle = true) {
  DemoEngine e(RgbImage(kDemoPictureSize, kDemoPictureSize, 0x202020));
  e.Start(BuildPlayList(rows, useMiddle));
  return e;
}

// Ticks until the phase differs from the one at the start; returns the ticks taken.
int TicksInPhase(DemoEngine& e) {
  const int phase = e.state().phase;
  int n = 0;
  while (e.state().phase == phase && !e.state().nextScene && n < 10000) {
    EXPECT_EQ(e.Tick(), Result::kFrame);
    ++n;
  }
  return n;
}

// Pixels that differ from the background.
Pixels Lit(const DemoEngine& e) {
  RgbImage img;
  e.Paint(img, kRed);
  Pixels out;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.Pixel(x, y) != e.background().Pixel(x, y)) {
        EXPECT_EQ(img.Pixel(x, y), kRed);
        out.emplace(x, y);
      }
  return out;
}

class RecordingSink : public platform::MessageSink {
 public:
  void Show(platform::MessageIcon icon, const std::string&, const std::string& text) override {
    shown.emplace_back(icon, text);
  }
  std::vector<std::pair<platform::MessageIcon, std::string>> shown;
};

TEST(DemoPlayList, TrackLengthFollowsLineWidthAndType) {
  EXPECT_EQ(DemoTrackLength(108, 0), 189);
  EXPECT_EQ(DemoTrackLength(144, 2), 180);
  EXPECT_EQ(DemoTrackLength(156, 1), 195);
  EXPECT_EQ(DemoTrackLength(142, 1), 177);
}

TEST(DemoPlayList, TakesEnabledRowsWithWidthInOrder) {
  std::vector<DemoRowInput> rows = {Row(0, 10, 0, 1, 2, 3), Row(1, 0, 0, 0, 0, 0),
                                    Row(2, 12, 0, 9, 4, 7), Row(3, 8, 0, 0, 0, 0)};
  rows[3].enabled = false;
  const auto withMiddle = BuildPlayList(rows, true);
  ASSERT_EQ(withMiddle.size(), 2u);
  EXPECT_EQ(withMiddle[0].row, 0);
  EXPECT_EQ(withMiddle[0].width, 10);
  EXPECT_EQ(withMiddle[0].height, 7);
  EXPECT_EQ(withMiddle[0].trackLength, 189);
  EXPECT_EQ(withMiddle[0].middle, 2);
  // Indices beyond their lists would never finish; they play as the first effect.
  EXPECT_EQ(withMiddle[1].row, 2);
  EXPECT_EQ(withMiddle[1].open, 0);
  EXPECT_EQ(withMiddle[1].middle, 0);
  EXPECT_EQ(withMiddle[1].close, 0);
  EXPECT_EQ(BuildPlayList(rows, false)[0].middle, -1);

  std::vector<DemoRowInput> many;
  for (int i = 0; i < 14; ++i) many.push_back(Row(i, 6, 2, 0, 0, 0));
  EXPECT_EQ(BuildPlayList(many, false).size(), 12u);
}

TEST(DemoStart, EmptyRowsSayNoDataAndChangeNothing) {
  DemoEngine e(DrawDemoPicture());
  RecordingSink sink;
  std::vector<DemoRowInput> rows = {Row(0, 0, 0, 0, 0, 0), Row(1, 0, 0, 0, 0, 0)};
  rows.push_back(Row(2, 10, 0, 0, 0, 0));
  rows[2].enabled = false;  // a disabled row does not count
  EXPECT_FALSE(StartDemo(e, rows, false, sink));
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].first, platform::MessageIcon::Warning);
  EXPECT_EQ(sink.shown[0].second, "No data!");
  EXPECT_FALSE(e.running());
  EXPECT_FALSE(e.playing());

  rows[1] = Row(1, 10, 0, 0, 0, 0);
  EXPECT_TRUE(StartDemo(e, rows, false, sink));
  EXPECT_EQ(sink.shown.size(), 1u);
  EXPECT_TRUE(e.running());
  EXPECT_EQ(e.currentScene(), 0);
  EXPECT_EQ(e.playList().size(), 1u);
}

TEST(DemoOpening, EveryEffectStartsFromItsOwnState) {
  struct Want { int cs, ce, rs, re, hb, angle; };
  const Want want[] = {
      {0, 0, 0, 7, 0, 0},   {40, 40, 0, 7, 0, 0}, {0, 40, 0, 0, 0, 0},
      {0, 40, 7, 7, 0, 0},  {20, 20, 0, 7, 0, 0}, {0, 40, 0, 7, 20, 0},
      {0, 40, 0, 7, 0, 0},  {0, 0, 0, 7, 0, 80},  {40, 40, 0, 7, 0, 280},
  };
  for (int open = 0; open < 9; ++open) {
    SCOPED_TRACE(open);
    DemoEngine e = Started({Row(0, 40, 0, open, 0, 0)});
    const auto& s = e.state();
    EXPECT_EQ(s.cs, want[open].cs);
    EXPECT_EQ(s.ce, want[open].ce);
    EXPECT_EQ(s.rs, want[open].rs);
    EXPECT_EQ(s.re, want[open].re);
    EXPECT_EQ(s.hb, want[open].hb);
    EXPECT_EQ(s.angle, want[open].angle);
    EXPECT_EQ(s.phase, 0);
    EXPECT_EQ(s.counter, 0);
    EXPECT_EQ(s.hold, 0);
    EXPECT_EQ(s.arc, 21);  // trunc((192 - 7) * pi / 189 * 7)
  }
}

TEST(DemoOpening, EachEffectFinishesThenHoldsFor25Ticks) {
  // Ticks until the opening has finished, for a 7-LED line 40 columns wide.
  const int finish[] = {20, 20, 7, 7, 10, 10, 0, 20, 21};
  for (int open = 0; open < 9; ++open) {
    if (open == 6) continue;
    SCOPED_TRACE(open);
    DemoEngine e = Started({Row(0, 40, 0, open, -1, 0)}, false);
    for (int t = 0; t < finish[open] - 1; ++t) e.Tick();
    EXPECT_EQ(e.state().hold, 0);
    e.Tick();
    EXPECT_EQ(e.state().hold, 1);
    EXPECT_EQ(e.state().cs, 0);
    EXPECT_EQ(e.state().ce, 40);
    EXPECT_EQ(e.state().rs, 0);
    EXPECT_EQ(e.state().re, 7);
    EXPECT_EQ(e.state().hb, 0);
    EXPECT_EQ(e.state().angle % 360, 0);
    EXPECT_EQ(TicksInPhase(e), 25);
    EXPECT_EQ(e.state().phase, 2);  // no middle options
  }
}

TEST(DemoOpening, LeftToRightRevealsTwoColumnsPerTick) {
  DemoEngine e = Started({Row(0, 40, 0, 0, 3, 0)});
  for (int t = 1; t <= 20; ++t) {
    e.Tick();
    EXPECT_EQ(e.state().ce, 2 * t);
  }
  EXPECT_EQ(TicksInPhase(e), 25);
  EXPECT_EQ(e.state().phase, 1);
}

TEST(DemoOpening, OddWidthsAndAllDisplay) {
  DemoEngine spread = Started({Row(0, 41, 0, 4, -1, 0)}, false);
  EXPECT_EQ(TicksInPhase(spread), 11 + 25);  // cs passes 0 only on the eleventh tick
  DemoEngine all = Started({Row(0, 41, 0, 6, -1, 0)}, false);
  EXPECT_EQ(TicksInPhase(all), 26 * 11);
}

TEST(DemoMiddle, RotationsTurnOnceAndRemainWaits) {
  const int ticks[] = {120, 121, 21, 11};
  const int startAngle[] = {360, 0, 0, 0};
  for (int middle = 0; middle < 4; ++middle) {
    SCOPED_TRACE(middle);
    DemoEngine e = Started({Row(0, 40, 0, 2, middle, 0)});
    TicksInPhase(e);
    ASSERT_EQ(e.state().phase, 1);
    EXPECT_EQ(e.state().angle, startAngle[middle]);
    EXPECT_EQ(TicksInPhase(e), ticks[middle]);
    EXPECT_EQ(e.state().phase, 2);
    EXPECT_EQ(e.state().counter, 0);
  }
}

TEST(DemoMiddle, FlashHidesFourShowsFourHidesFourShowsNine) {
  DemoEngine e = Started({Row(0, 40, 0, 6, 2, 0)});
  TicksInPhase(e);
  ASSERT_EQ(e.state().phase, 1);
  std::vector<int> shown;
  while (e.state().phase == 1) {
    e.Tick();
    shown.push_back(e.state().ce);
  }
  std::vector<int> want(4, 0);
  want.insert(want.end(), 4, 40);
  want.insert(want.end(), 4, 0);
  want.insert(want.end(), 9, 40);
  EXPECT_EQ(shown, want);
}

TEST(DemoClosing, EachEffectEndsAndRaisesTheNextSceneFlag) {
  const int ticks[] = {20, 20, 7, 7, 10, 10, 11};
  for (int close = 0; close < 7; ++close) {
    SCOPED_TRACE(close);
    DemoEngine e = Started({Row(0, 40, 0, 2, -1, close)}, false);
    TicksInPhase(e);
    ASSERT_EQ(e.state().phase, 2);
    EXPECT_EQ(TicksInPhase(e), ticks[close]);
    EXPECT_TRUE(e.state().nextScene);
  }
  DemoEngine middleOut = Started({Row(0, 40, 0, 2, -1, 5)}, false);
  TicksInPhase(middleOut);
  for (int t = 1; t < 10; ++t) {
    middleOut.Tick();
    EXPECT_EQ(middleOut.state().hb, 2 * t);
  }
  middleOut.Tick();
  EXPECT_EQ(middleOut.state().hb, 0);
  EXPECT_EQ(middleOut.state().ce, 0);
  EXPECT_TRUE(Lit(middleOut).empty());
}

TEST(DemoScenes, OneSceneRepeatsAfterAPause) {
  DemoEngine e = Started({Row(3, 10, 2, 2, -1, 2)}, false);
  const int ticks = 16 + 25 + 16;
  for (int t = 0; t < ticks; ++t) ASSERT_EQ(e.Tick(), Result::kFrame) << t;
  EXPECT_TRUE(e.state().nextScene);
  const Pixels ended = Lit(e);
  EXPECT_EQ(e.Tick(), Result::kPause);
  // During the pause nothing moves and the ended picture stays.
  EXPECT_TRUE(e.pausing());
  EXPECT_EQ(e.Tick(), Result::kIdle);
  EXPECT_EQ(Lit(e), ended);
  e.EndPause();
  EXPECT_FALSE(e.pausing());
  EXPECT_EQ(e.currentScene(), 0);
  EXPECT_EQ(e.state().phase, 0);
  EXPECT_EQ(e.state().re, 0);
  EXPECT_FALSE(e.state().nextScene);
  EXPECT_EQ(e.Tick(), Result::kFrame);
  EXPECT_EQ(e.state().re, 1);
}

TEST(DemoScenes, ListPlaysInOrderAndWrapsAround) {
  DemoEngine e = Started({Row(0, 10, 0, 2, -1, 2), Row(5, 20, 0, 3, -1, 3)}, false);
  std::vector<int> order = {e.currentScene()};
  for (int t = 0; t < 500 && order.size() < 4; ++t) {
    if (e.Tick() == Result::kPause) {
      e.EndPause();
      order.push_back(e.currentScene());
    }
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(e.playList()[e.currentScene()].row, 5);
}

TEST(DemoScenes, StopLeavesThePictureAloneAndStartRestarts) {
  DemoEngine e = Started({Row(0, 40, 0, 6, -1, 0), Row(1, 10, 0, 6, -1, 0)}, false);
  for (int t = 0; t < 400; ++t)
    if (e.Tick() == Result::kPause) e.EndPause();
  EXPECT_EQ(e.currentScene(), 1);
  EXPECT_FALSE(Lit(e).empty());
  e.Stop();
  EXPECT_FALSE(e.playing());
  EXPECT_TRUE(e.running());
  EXPECT_TRUE(Lit(e).empty());
  EXPECT_EQ(e.Tick(), Result::kIdle);
  EXPECT_TRUE(e.Start(BuildPlayList(std::vector<DemoRowInput>{Row(0, 40, 0, 6, -1, 0)}, false)));
  EXPECT_EQ(e.currentScene(), 0);
  EXPECT_EQ(e.state().counter, 0);
  EXPECT_FALSE(e.Start({}));  // an empty list changes nothing
  EXPECT_TRUE(e.playing());
}

// Screen pixels of one lit dot, worked out from the ring geometry by hand.
TEST(DemoPaint, SingleDotLandsOnTheRing) {
  {
    // 7 LEDs, one column: the dot stands at the top of the ring, its three half rows
    // (y = 0.25, 0.5, 0.75) between radius 87.1 and 85.3.
    DemoRowInput r = Row(0, 1, 0, 6, -1, 0);
    r.strip.Fill(false);
    r.strip.Set(0, 0, true);
    EXPECT_EQ(Lit(Started({r})),
              (Pixels{{94, 8}, {94, 9}, {94, 10}, {95, 8}, {95, 9}, {95, 10}, {96, 8}, {96, 9}, {96, 10}}));
  }
  {
    // 7 LEDs, 40 columns, dot (20, 3): just right of the top, radius 76.3 down to 74.8;
    // the whole row y = 3 (radius 77.2, screen row 18) is left dark.
    DemoRowInput r = Row(0, 40, 0, 6, -1, 0);
    r.strip.Fill(false);
    r.strip.Set(20, 3, true);
    EXPECT_EQ(Lit(Started({r})), (Pixels{{95, 19}, {95, 20}, {95, 21}, {96, 19}, {96, 20}, {96, 21},
                                         {97, 19}, {97, 20}, {97, 21}, {98, 19}, {98, 20}, {98, 21}}));
  }
  {
    // 16 LEDs, 40 columns, dot (5, 15): bottom row innermost, at 240 degrees (upper left).
    DemoRowInput r = Row(0, 40, 2, 6, -1, 0);
    r.strip.Fill(false);
    r.strip.Set(5, 15, true);
    DemoEngine e = Started({r});
    EXPECT_EQ(e.state().arc, 49);
    EXPECT_EQ(Lit(e), (Pixels{{68, 49}, {69, 48}, {69, 49}, {70, 48}, {70, 49}}));
  }
}

TEST(DemoPaint, RowsFillTheOuterRing) {
  DemoEngine e = Started({Row(0, 108, 0, 6, -1, 0)});
  const Pixels lit = Lit(e);
  ASSERT_FALSE(lit.empty());
  for (const auto& [x, y] : lit) {
    const double d = std::hypot(x + 0.5 - 96, y + 0.5 - 96);
    EXPECT_LE(d, 88.0 + 1.5);
    EXPECT_GE(d, 88.0 * (1 - 0.2857143) - 1.5);
  }
  DemoEngine big = Started({Row(0, 144, 2, 6, -1, 0)});
  for (const auto& [x, y] : Lit(big)) {
    const double d = std::hypot(x + 0.5 - 96, y + 0.5 - 96);
    EXPECT_LE(d, 88.0 + 1.5);
    EXPECT_GE(d, 88.0 * (1 - 0.4047619) - 1.5);
  }
}

TEST(DemoPaint, ClockwiseRotationTurnsTheText) {
  // A dot in the middle column starts at the top; 30 ticks of the clockwise middle
  // effect (3 degrees each) carry it to the right-hand side of the ring.
  DemoRowInput r = Row(0, 41, 0, 6, 1, 0);
  r.strip.Fill(false);
  r.strip.Set(20, 0, true);
  DemoEngine e = Started({r});
  TicksInPhase(e);
  for (int t = 0; t < 30; ++t) e.Tick();
  EXPECT_EQ(e.state().angle, 90);
  for (const auto& [x, y] : Lit(e)) {
    EXPECT_GE(x, 96 + 84);
    EXPECT_NEAR(y, 96, 3);
  }
}

TEST(DemoPaint, HiddenBandAndVisibleColumnsClipTheStrip) {
  DemoEngine e = Started({Row(0, 40, 0, 5, -1, 0)});  // hb = 20 hides everything
  EXPECT_TRUE(Lit(e).empty());
  e.Tick();  // hb = 18: columns 0..1 and 38..39 show
  const Pixels lit = Lit(e);
  ASSERT_FALSE(lit.empty());
  for (const auto& [x, y] : lit) EXPECT_GT(std::abs(x - 96), 30);
}

TEST(DemoCopy, WhiteIsTransparentAndTheCopyStretches) {
  RgbImage src(2, 2, platform::kPaper);
  src.SetPixel(1, 0, 0x123456);
  src.SetPixel(0, 1, 0x0000FF);
  RgbImage dst(4, 4, 0xABCDEF);
  StretchTransparent(src, dst, platform::kPaper);
  EXPECT_EQ(dst.Pixel(0, 0), 0xABCDEFu);
  EXPECT_EQ(dst.Pixel(1, 1), 0xABCDEFu);
  EXPECT_EQ(dst.Pixel(2, 0), 0x123456u);
  EXPECT_EQ(dst.Pixel(3, 1), 0x123456u);
  EXPECT_EQ(dst.Pixel(1, 3), 0x0000FFu);
  EXPECT_EQ(dst.Pixel(3, 3), 0xABCDEFu);
}

TEST(DemoPicture, TopViewOfTheToyWithoutLedColours) {
  const RgbImage pic = DrawDemoPicture();
  EXPECT_EQ(pic.width(), kDemoPictureSize);
  EXPECT_EQ(pic.height(), kDemoPictureSize);
  EXPECT_EQ(pic, DrawDemoPicture());
  EXPECT_EQ(pic.Pixel(0, 0), platform::kPaper);  // transparent corners
  EXPECT_EQ(pic.Pixel(191, 191), platform::kPaper);
  std::set<Color> colours;
  for (int y = 0; y < pic.height(); ++y)
    for (int x = 0; x < pic.width(); ++x) {
      const Color c = pic.Pixel(x, y);
      colours.insert(c);
      // Inside the toy nothing is white (it would turn transparent) and no pixel has
      // an LED colour (a dot could not be told from the picture).
      if (std::hypot(x + 0.5 - 96, y + 0.5 - 96) < 94) {
        EXPECT_NE(c, platform::kPaper);
      }
    }
  for (Color led : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0x00FFFFu}) EXPECT_EQ(colours.count(led), 0u);
  EXPECT_LT(colours.size(), 200u);
}

// The picture is drawn on every start with the edge pixels alone sampled; it must stay
// the picture that sampling every pixel gives (the GIF export and its tests see it).
TEST(DemoPicture, EdgeSamplingKeepsThePicture) {
  const RgbImage pic = DrawDemoPicture();
  uint64_t hash = 0xcbf29ce484222325u;
  for (Color c : pic.pixels()) hash = (hash ^ c) * 0x100000001b3u;
  EXPECT_EQ(hash, 0xe6c828d06bf3ad21u);
}

}  // namespace
}  // namespace kirrup
