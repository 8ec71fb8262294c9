// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/editor_frame_size.h"

#include <gtest/gtest.h>

#include <vector>

namespace kirrup {
namespace {

// One run of the program: the window opens with what the settings hold, the window system
// reports a frame (none without a window manager), the user may size the window; the size
// stored at exit is what the next run starts with.
WindowSize OneRun(WindowSize stored, WindowSize frame, std::optional<WindowSize> userClient) {
  EditorFrameSize size(stored);
  WindowSize client = size.initialClient();
  size.ClientResized(client);  // the window's first size is its own
  if (const std::optional<WindowSize> fitted = size.FrameReported(frame)) {
    client = *fitted;
    size.ClientResized(client);
  }
  if (userClient) {
    client = *userClient;
    size.ClientResized(client);
  }
  return size.ToStore(client, frame);
}

TEST(EditorFrameSize, ThreeStartsGiveTheSameWindow) {
  struct Case {
    const char* what;
    WindowSize stored, frame;
    std::optional<WindowSize> userClient;  // sized by the user in the first run
    WindowSize expect;                     // stored after every run
  };
  const std::vector<Case> cases = {
      {"xfwm4 frame", {540, 360}, {10, 34}, std::nullopt, {540, 360}},
      {"its frame at twice the scale", {540, 360}, {6, 18}, std::nullopt, {540, 360}},
      {"no window manager", {540, 360}, {0, 0}, std::nullopt, {540, 360}},
      {"no window manager, sized", {540, 360}, {0, 0}, WindowSize{610, 330}, {610, 330}},
      {"framed, sized", {540, 360}, {10, 34}, WindowSize{600, 300}, {610, 334}},
      {"sized past what the settings keep", {540, 1000}, {10, 34}, WindowSize{600, 1100}, {610, 1024}},
  };
  for (const Case& c : cases) {
    WindowSize stored = OneRun(c.stored, c.frame, c.userClient);
    EXPECT_EQ(stored, c.expect) << c.what;
    for (int start = 2; start <= 3; ++start) {
      stored = OneRun(stored, c.frame, std::nullopt);
      EXPECT_EQ(stored, c.expect) << c.what << ", start " << start;
    }
  }
}

TEST(EditorFrameSize, AFrameReportedAfterTheUserSizedTheWindowChangesNothing) {
  EditorFrameSize size({540, 360});
  size.ClientResized({700, 400});
  EXPECT_FALSE(size.waiting());
  EXPECT_EQ(size.FrameReported({10, 34}), std::nullopt);
  EXPECT_EQ(size.ToStore({700, 400}, {10, 34}), (WindowSize{710, 434}));
}

}  // namespace
}  // namespace kirrup
