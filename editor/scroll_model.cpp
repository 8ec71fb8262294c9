// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/scroll_model.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kirrup {

bool ScrollModel::SetContentSize(int totalWidth, int totalHeight, int lineWidth, int lineHeight) {
  total_ = {totalWidth, totalHeight};
  pageStep_ = {total_.width / 10, total_.height / 10};
  lineStep_ = {lineWidth != 0 ? lineWidth : pageStep_.width / 10, lineHeight != 0 ? lineHeight : pageStep_.height / 10};
  const bool first = !sized_;
  sized_ = true;
  return first;
}

ScrollSize ScrollModel::UpdateScrollBars(int clientWidth, int clientHeight, int barWidth, int barHeight) {
  const int oldX = x_, oldY = y_;
  int cw = clientWidth + (vertShown_ ? barWidth : 0);
  int ch = clientHeight + (horzShown_ ? barHeight : 0);
  if (cw <= barWidth && ch <= barHeight) {
    // Too small for anything: no bars (an empty client area keeps what it has).
    if (cw > 0 || ch > 0) {
      horzShown_ = vertShown_ = false;
      x_ = y_ = 0;
    }
    return {x_ - oldX, y_ - oldY};
  }
  int rangeW = total_.width - cw;
  int rangeH = total_.height - ch;
  int px = x_, py = y_;
  bool needH = rangeW > 0;
  if (!needH)
    px = 0;
  else
    rangeH += barHeight;
  const bool needV = rangeH > 0;
  if (!needV)
    py = 0;
  else
    rangeW += barWidth;
  if (needV && !needH && rangeW > 0) {
    needH = true;
    rangeH += barHeight;
  }
  if (rangeW > 0 && px >= rangeW) px = rangeW;
  if (rangeH > 0 && py >= rangeH) py = rangeH;
  if (needV) cw -= barWidth;
  if (needH) ch -= barHeight;
  horzShown_ = needH;
  vertShown_ = needV;
  page_ = {cw, ch};
  x_ = needH ? px : 0;
  y_ = needV ? py : 0;
  return {x_ - oldX, y_ - oldY};
}

bool ScrollModel::ScrollByCode(int code, int thumb) {
  auto next = [&](int byte, int pos, int line, int page) {
    switch (byte) {
      case kScrollLineUp:
        return pos - line;
      case kScrollLineDown:
        return pos + line;
      case kScrollPageUp:
        return pos - page;
      case kScrollPageDown:
        return pos + page;
      case kScrollThumbTrack:
        return thumb;
      case kScrollTop:
        return 0;
      case kScrollBottom:
        return INT_MAX;
      default:
        return pos;
    }
  };
  const int nx = next(code & 0xFF, x_, lineStep_.width, pageStep_.width);
  const int ny = next((code >> 8) & 0xFF, y_, lineStep_.height, pageStep_.height);
  // Differences of the largest integer are taken in 64 bits and clamped by the limits.
  const long long dx = static_cast<long long>(nx) - x_;
  const long long dy = static_cast<long long>(ny) - y_;
  return ScrollByOffset(static_cast<int>(std::clamp<long long>(dx, INT_MIN / 2, INT_MAX / 2)),
                        static_cast<int>(std::clamp<long long>(dy, INT_MIN / 2, INT_MAX / 2)));
}

bool ScrollModel::ScrollByOffset(int dx, int dy) {
  if (!horzShown_) dx = 0;
  if (!vertShown_) dy = 0;
  const int nx = std::clamp(x_ + dx, 0, std::max(LimitX(), 0));
  const int ny = std::clamp(y_ + dy, 0, std::max(LimitY(), 0));
  if (nx == x_ && ny == y_) return false;
  x_ = nx;
  y_ = ny;
  return true;
}

bool ScrollModel::Wheel(int delta, bool shift, bool ctrl) {
  if (shift || ctrl) return false;
  const int n = static_cast<int>(std::lround(-delta * 10.0 / 120.0));
  auto step = [&](int line, int page) { return n == -1 ? -page : std::min(n * line, page); };
  if (vertShown_) return ScrollByOffset(0, step(lineStep_.height, pageStep_.height));
  if (horzShown_) return ScrollByOffset(step(lineStep_.width, pageStep_.width), 0);
  return false;
}

void ScrollModel::ScrollToPoint(int x, int y) {
  x_ = horzShown_ ? std::clamp(x, 0, std::max(LimitX(), 0)) : 0;
  y_ = vertShown_ ? std::clamp(y, 0, std::max(LimitY(), 0)) : 0;
}

}  // namespace kirrup
