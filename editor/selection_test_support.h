// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A 20 x 8 board at 10 pixels per cell with sections of 6 x 8, driven like the view does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/board_commands.h"
#include "editor/char_editor.h"

namespace kirrup::testing_support {

constexpr int kCell = 10;

class FakeClipboard : public PictureClipboard {
 public:
  bool HasPicture() const override { return picture.has_value(); }
  void PutPicture(const platform::Bitmap1& p) override {
    put = p;
    platform::RgbImage rgb(p.width(), p.height());
    for (int y = 0; y < p.height(); ++y)
      for (int x = 0; x < p.width(); ++x) rgb.SetPixel(x, y, p.Pixel(x, y));
    picture = rgb;
  }
  std::optional<platform::RgbImage> Picture() const override { return picture; }

  std::optional<platform::RgbImage> picture;
  platform::Bitmap1 put;
};

class SelectionBoard : public ::testing::Test {
 protected:
  void SetUp() override {
    ed.geometry().sectionWidth = 6;
    ed.geometry().sectionHeight = 8;
    ASSERT_TRUE(ed.ResizeBoard(kCell, 20, 8));
    ed.image().Fill(false);
    ed.mutableSettings().tool = kToolSelect;
  }
  static Point At(int cx, int cy) { return {cx * kCell + kCell / 2, cy * kCell + kCell / 2}; }
  BoardEditor& board() { return ed.board(); }
  FloatingSelection& sel() { return ed.board().selection(); }

  void Drag(std::vector<Point> points, MouseButton b = MouseButton::Left) {
    board().Move(false, false, points.front());
    board().Press(b, points.front());
    for (size_t i = 1; i < points.size(); ++i) board().Move(b == MouseButton::Left, b == MouseButton::Right, points[i]);
    board().Release(b, points.back());
  }
  void Draw(const std::vector<std::string>& rows, int left = 0, int top = 0) {
    for (size_t y = 0; y < rows.size(); ++y)
      for (size_t x = 0; x < rows[y].size(); ++x)
        ed.image().Set(left + static_cast<int>(x), top + static_cast<int>(y), rows[y][x] == '#');
  }
  std::vector<std::string> Dots(int columns = 20, int rows = 8) const {
    std::vector<std::string> out;
    for (int y = 0; y < rows; ++y) {
      std::string r;
      for (int x = 0; x < columns; ++x) r += ed.image().Lit(x, y) ? '#' : '.';
      out.push_back(r);
    }
    return out;
  }

  CharEditor ed;
  FakeClipboard clipboard;
  BoardCommands commands{ed, &clipboard};
};

}  // namespace kirrup::testing_support
