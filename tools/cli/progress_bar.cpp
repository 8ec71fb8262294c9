// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/progress_bar.h"

#include <algorithm>
#include <string>

namespace kirrup::cli {

TransferProgress ProgressBar::Callbacks() {
  TransferProgress p;
  if (!out_) return p;
  p.SetRange = [this](int low, int high) {
    low_ = low;
    high_ = high;
    lastFilled_ = -1;
  };
  p.SetPosition = [this](int position) { Draw(position); };
  return p;
}

void ProgressBar::Draw(int position) {
  const int span = high_ - low_;
  const int done = position - low_;
  const int filled = span <= 0 ? kWidth : std::min(kWidth, std::max(0, done * kWidth / span));
  // Redraw only when the bar grows, so a long transfer does not flood a slow terminal.
  if (filled == lastFilled_ && position != high_) return;
  lastFilled_ = filled;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(out_, "\r[%s] %d/%d", bar.c_str(), position, high_);
  std::fflush(out_);
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (drawn_) std::fputc('\n', out_);
  drawn_ = false;
}

}  // namespace kirrup::cli
