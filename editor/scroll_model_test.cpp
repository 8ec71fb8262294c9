// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/scroll_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace kirrup {
namespace {

constexpr int kBar = 17;

TEST(ScrollModel, BarsAppearOnlyWhenNeededAndPullEachOtherIn) {
  struct Case {
    int totalW, totalH;
    bool horz, vert;
  };
  // A 400 x 300 client area with bars 17 pixels thick.
  for (const Case& c : std::vector<Case>{{390, 290, false, false},
                                         {395, 300, false, false},
                                         {410, 250, true, false},
                                         {410, 290, true, true},  // the horizontal bar takes height
                                         {390, 310, true, true},  // the vertical bar takes width
                                         {380, 310, false, true}}) {
    SCOPED_TRACE(::testing::Message() << c.totalW << "x" << c.totalH);
    ScrollModel m;
    m.SetContentSize(c.totalW, c.totalH, 6, 6);
    m.UpdateScrollBars(400, 300, kBar, kBar);
    EXPECT_EQ(m.horzBarShown(), c.horz);
    EXPECT_EQ(m.vertBarShown(), c.vert);
    EXPECT_EQ(m.page(), (ScrollSize{400 - (c.vert ? kBar : 0), 300 - (c.horz ? kBar : 0)}));
    // The next update sees the bars shown and must come to the same decision.
    m.UpdateScrollBars(m.page().width, m.page().height, kBar, kBar);
    EXPECT_EQ(m.horzBarShown(), c.horz);
    EXPECT_EQ(m.vertBarShown(), c.vert);
  }
}

TEST(ScrollModel, StepsOfABoardAndTheWheel) {
  ScrollModel m;
  EXPECT_TRUE(m.SetContentSize(873, 106, 6, 6));
  EXPECT_FALSE(m.SetContentSize(873, 106, 6, 6));
  m.UpdateScrollBars(400, 300, kBar, kBar);
  EXPECT_EQ(m.pageStep(), (ScrollSize{87, 10}));
  EXPECT_EQ(m.lineStep(), (ScrollSize{6, 6}));
  ASSERT_TRUE(m.horzBarShown());
  ASSERT_FALSE(m.vertBarShown());
  EXPECT_TRUE(m.Wheel(-120, false, false));  // towards the user: ten lines right
  EXPECT_EQ(m.x(), 60);
  EXPECT_FALSE(m.Wheel(-120, true, false));
  EXPECT_FALSE(m.Wheel(-120, false, true));
  EXPECT_EQ(m.x(), 60);

  // Both bars: the wheel scrolls vertically, at most a page down, ten lines up.
  ScrollModel v;
  v.SetContentSize(873, 600, 6, 6);
  v.UpdateScrollBars(400, 300, kBar, kBar);
  ASSERT_TRUE(v.vertBarShown());
  v.Wheel(-120, false, false);
  EXPECT_EQ(v.y(), 60);
  v.Wheel(-240, false, false);
  EXPECT_EQ(v.y(), 120);  // twenty lines asked, one page (60) given
  v.Wheel(120, false, false);
  EXPECT_EQ(v.y(), 60);
  v.Wheel(12, false, false);  // one line up counts as a page up
  EXPECT_EQ(v.y(), 0);
  EXPECT_EQ(v.x(), 0);
}

TEST(ScrollModel, CommandsStopAtBothEnds) {
  ScrollModel m;
  m.SetContentSize(873, 106, 6, 0);
  m.UpdateScrollBars(400, 300, kBar, kBar);
  const int limit = 873 - 400;
  struct Step {
    int code, thumb, x;
  };
  for (const Step& s : std::vector<Step>{{0xFF00 | kScrollLineUp, 0, 0},
                                         {0xFF00 | kScrollLineDown, 0, 6},
                                         {0xFF00 | kScrollPageDown, 0, 93},
                                         {0xFF00 | kScrollBottom, 0, limit},
                                         {0xFF00 | kScrollLineDown, 0, limit},
                                         {0xFF00 | kScrollThumbTrack, 100, 100},
                                         {0xFF00 | kScrollThumbPosition, 300, 100},
                                         {0xFF00 | kScrollPageUp, 0, 13},
                                         {0xFF00 | kScrollTop, 0, 0},
                                         {(kScrollBottom << 8) | 0xFF, 0, 0}}) {
    m.ScrollByCode(s.code, s.thumb);
    EXPECT_EQ(m.x(), s.x) << std::hex << s.code;
    EXPECT_EQ(m.y(), 0);
  }
  // Growing the window past the drawing takes the bar away and resets its axis.
  m.ScrollByCode(0xFF00 | kScrollBottom, 0);
  m.UpdateScrollBars(900, 300, kBar, kBar);
  EXPECT_FALSE(m.horzBarShown());
  EXPECT_EQ(m.x(), 0);
}

}  // namespace
}  // namespace kirrup
