// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/editor_frame_size.h"

#include <gtest/gtest.h>

namespace kirrup {
namespace {

// Three runs: each opens the editor with what the last one stored, the window system reports
// its frame (none without a window manager), the user may size the window in the first.
TEST(EditorFrameSize, ThreeStartsGiveTheSameWindow) {
  struct Case {
    const char* what;
    WindowSize stored, frame;
    std::optional<WindowSize> userClient;
    WindowSize expect;  // stored after every run
  } cases[] = {
      {"xfwm4's frame", {540, 360}, {10, 34}, std::nullopt, {540, 360}},
      {"no window manager", {540, 360}, {0, 0}, std::nullopt, {540, 360}},
      {"no window manager, sized", {540, 360}, {0, 0}, WindowSize{610, 330}, {610, 330}},
      {"framed, sized past what the settings keep", {540, 1000}, {10, 34}, WindowSize{600, 1100}, {610, 1024}},
  };
  for (const Case& c : cases) {
    WindowSize stored = c.stored;
    for (int start = 1; start <= 3; ++start) {
      EditorFrameSize size(stored);
      WindowSize client = size.initialClient();
      if (const std::optional<WindowSize> fitted = size.FrameReported(c.frame)) client = *fitted;
      if (c.userClient && start == 1) size.ClientResized(client = *c.userClient);
      stored = size.ToStore(client, c.frame);
      EXPECT_EQ(stored, c.expect) << c.what << ", start " << start;
    }
  }
}

}  // namespace
}  // namespace kirrup
