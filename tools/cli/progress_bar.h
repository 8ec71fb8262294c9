// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A one-line progress bar on standard error, drawn only when that is a terminal.
#include <cstdio>

#include "device/usb_transfer.h"

namespace kirrup::cli {

class ProgressBar {
 public:
  // `out` null: nothing is drawn.
  explicit ProgressBar(std::FILE* out) : out_(out) {}
  ~ProgressBar() { Finish(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  TransferProgress Callbacks();
  // Ends the line if anything was drawn.
  void Finish();

  static constexpr int kWidth = 40;

 private:
  void Draw(int position);

  std::FILE* out_;
  int low_ = 0;
  int high_ = 0;
  int lastFilled_ = -1;
  bool drawn_ = false;
};

}  // namespace kirrup::cli
