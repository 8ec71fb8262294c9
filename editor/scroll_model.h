// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The scrolling rules of the board's window: when each scroll bar is shown, its range and
// page, the positions, and the steps of the scroll commands and the wheel. The window
// applies the decisions; nothing here needs a display.
namespace kirrup {

struct ScrollSize {
  int width = 0;
  int height = 0;
  bool operator==(const ScrollSize&) const = default;
};

// Codes of a scroll command, one per axis.
enum ScrollCommand : int {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollTop = 6,
  kScrollBottom = 7,
  kScrollNone = 255,
};

class ScrollModel {
 public:
  // The drawing's size and line steps (0: a tenth of the page step); returns true on the
  // first call.
  bool SetContentSize(int totalWidth, int totalHeight, int lineWidth, int lineHeight);

  // Decides the bars for a window whose client area (without the bars shown now) is
  // clientWidth x clientHeight; barWidth / barHeight: the vertical bar's width and the
  // horizontal bar's height. Returns the scroll change (new - old position).
  ScrollSize UpdateScrollBars(int clientWidth, int clientHeight, int barWidth, int barHeight);

  // A scroll command: low byte horizontal, high byte vertical (255 leaves an axis alone).
  // Returns whether the position moved.
  bool ScrollByCode(int code, int thumb);
  // Moves by an offset on the axes whose bars are shown, limited to 0 .. the limit.
  bool ScrollByOffset(int dx, int dy);
  // A wheel rotation (120 per notch, positive away from the user). Returns whether it moved;
  // false also when Shift or Ctrl is held (the wheel is not handled then).
  bool Wheel(int delta, bool shift, bool ctrl);
  // Scrolls so that the point is the window's top-left corner, within the limits.
  void ScrollToPoint(int x, int y);

  bool sized() const { return sized_; }
  ScrollSize totalSize() const { return total_; }
  ScrollSize pageStep() const { return pageStep_; }
  ScrollSize lineStep() const { return lineStep_; }
  bool horzBarShown() const { return horzShown_; }
  bool vertBarShown() const { return vertShown_; }
  // The bars' pages: the client size left beside the other bar.
  ScrollSize page() const { return page_; }
  int x() const { return x_; }
  int y() const { return y_; }
  int LimitX() const { return horzShown_ ? total_.width - page_.width : 0; }
  int LimitY() const { return vertShown_ ? total_.height - page_.height : 0; }

 private:
  bool sized_ = false;
  ScrollSize total_{};
  ScrollSize pageStep_{};
  ScrollSize lineStep_{};
  ScrollSize page_{};
  bool horzShown_ = false;
  bool vertShown_ = false;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace kirrup
