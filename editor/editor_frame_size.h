// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The character editor's size in the settings is its outer size, the window manager's frame
// included, so that the next start shows the same window. That frame becomes known only a
// while after the window is first shown (never without a window manager); until then the
// stored size waits, and a start neither adds the frame to the window again nor loses it.
#include <optional>

namespace kirrup {

struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize&) const = default;
};

class EditorFrameSize {
 public:
  explicit EditorFrameSize(WindowSize stored) : stored_(stored) {}

  // The client size to create the window with, while no frame is known.
  WindowSize initialClient() const { return stored_; }
  // True until a frame is known or the window is sized otherwise; without a window manager
  // it may last for the whole run, the window keeping the stored size.
  bool waiting() const { return waiting_; }

  // While waiting: the frame (outer less client size) the window system reports now. A
  // frame gives the client size that makes the outer size the stored one, and ends the wait.
  std::optional<WindowSize> FrameReported(WindowSize frame);
  // The client size changed (the user, or the window system, sized the window): while
  // waiting, a size other than the initial one ends the wait, the window's size counts.
  void ClientResized(WindowSize client);

  // The size to store at exit, within the range the settings accept: the window's outer
  // size once no longer waiting, else the stored size unchanged.
  WindowSize ToStore(WindowSize client, WindowSize frame) const;

 private:
  WindowSize stored_;
  bool waiting_ = true;
};

}  // namespace kirrup
