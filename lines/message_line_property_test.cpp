// SPDX-License-Identifier: GPL-2.0-or-later
// Random edits against a plain reference model of a line: the invariants hold after every
// step, the strip shows exactly the reference dots, and export-then-insert reproduces them.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "lines/line_test_support.h"
#include "lines/message_line.h"

namespace kirrup {
namespace {

struct RefChar {
  uint16_t code;
  std::vector<std::vector<bool>> dots;  // [column from the left][row from the top]
  int width() const { return static_cast<int>(dots.size()); }
};

class LineProperty : public ::testing::TestWithParam<int> {
 protected:
  void ExpectMatches(const MessageLine& line, const std::vector<RefChar>& ref) {
    ASSERT_EQ(line.itemCount(), static_cast<int>(ref.size()));
    ASSERT_LE(line.itemCount(), MessageLine::kMaxItems);
    int x = 0;
    for (size_t i = 0; i < ref.size(); ++i) {
      const CharItem& it = line.item(static_cast<int>(i));
      ASSERT_EQ(it.x, x);
      ASSERT_EQ(it.width, ref[i].width());
      ASSERT_EQ(it.code, ref[i].code);
      for (int c = 0; c < it.width; ++c)
        for (int y = 0; y < line.height(); ++y)
          ASSERT_EQ(line.Lit(x + c, y), ref[i].dots[c][y]) << "char " << i << " col " << c << " row " << y;
      x += it.width;
    }
    ASSERT_EQ(line.LineEnd(), x);
    ASSERT_LE(x, line.maxWidth());
    ASSERT_GE(line.CaretIndex(), 0);
    ASSERT_LE(line.CaretIndex(), line.itemCount());
  }
};

TEST_P(LineProperty, RandomEditsKeepInvariantsAndDots) {
  const int type = GetParam() % 3;
  std::mt19937 rng(static_cast<uint32_t>(GetParam()) * 7919u + 1);
  auto uni = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  MessageLine line;
  line.SetLedType(type, false);
  const int h = line.height();
  std::vector<RefChar> ref;

  for (int step = 0; step < 400; ++step) {
    const int op = uni(0, 9);
    if (op < 6) {
      // Insert a random record at a random caret position.
      const int width = uni(0, 9) == 0 ? uni(-2, 0) : uni(1, 14);
      const int rh = uni(0, 3) == 0 ? uni(1, 20) : h;
      const uint32_t seed = static_cast<uint32_t>(rng());
      const auto code = static_cast<uint16_t>(uni(1, 0xFFFF));
      const CharColumns rec = testing::MakeRecord(code, width, rh, [seed](int i, int j) {
        return testing::PatternDot(seed, i, j);
      });
      const int p = uni(0, line.itemCount());
      line.firstVisible = uni(0, p);
      line.caretOffset = p - line.firstVisible;
      const bool fits = width > 0 && line.itemCount() < MessageLine::kMaxItems &&
                        line.LineEnd() + width <= line.maxWidth();
      ASSERT_EQ(line.InsertRecord(rec), fits);
      if (fits) {
        RefChar rc{code, std::vector<std::vector<bool>>(static_cast<size_t>(width), std::vector<bool>(h))};
        // Columns beyond the 72 record bytes read as unlit, rows below a shorter record too.
        const int bpc = (rh + 7) / 8;
        for (int i = 0; i < width; ++i)
          for (int j = 0; j < std::min(rh, h); ++j)
            rc.dots[i][j] = (width - 1 - i) * bpc < 72 && testing::PatternDot(seed, i, j);
        ref.insert(ref.begin() + p, rc);
      }
    } else if (op < 8) {
      const int a = uni(-3, line.itemCount() + 3), b = uni(-3, line.itemCount() + 3);
      line.DeleteRange(a, b, false);
      const int lo = std::max(std::min(a, b), 0);
      const int hi = std::min(std::max(a, b), static_cast<int>(ref.size()));
      if (hi > lo) {
        ref.erase(ref.begin() + lo, ref.begin() + hi);
        ASSERT_EQ(line.CaretIndex(), lo);
      }
    } else if (!ref.empty()) {
      // A dot changed in the character editor.
      const int i = uni(0, static_cast<int>(ref.size()) - 1);
      const int c = uni(0, ref[i].width() - 1), y = uni(0, h - 1);
      const bool lit = uni(0, 1) == 1;
      line.SetStripPixel(line.item(i).x + c, y, lit ? platform::kInk : platform::kPaper);
      ref[i].dots[c][y] = lit;
    }
    ExpectMatches(line, ref);
    if (HasFatalFailure()) return;

    if (step % 25 == 24 && !ref.empty()) {
      // Export a range in stored order and insert it into an empty line of the same type.
      const int start = uni(0, static_cast<int>(ref.size()) - 1);
      const int end = uni(start + 1, static_cast<int>(ref.size()));
      std::vector<CharColumns> stored(static_cast<size_t>(end - start)), device(stored.size());
      ASSERT_EQ(line.ExportRange(end, start, stored, true), end - start);
      ASSERT_EQ(line.ExportRange(end, start, device, false), end - start);
      MessageLine copy;
      copy.SetLedType(type, false);
      copy.ImportRecords(stored);
      std::vector<RefChar> want(ref.begin() + start, ref.begin() + end);
      // Columns beyond 72 bytes are not exported (only 16-LED characters wider than 36).
      const int bpc = (h + 7) / 8;
      for (RefChar& rc : want)
        for (int i = 0; i < rc.width(); ++i)
          if ((rc.width() - 1 - i) * bpc >= 72) rc.dots[i].assign(h, false);
      ExpectMatches(copy, want);
      // Device order: the same columns, the first column is the leftmost.
      for (size_t r = 0; r < stored.size(); ++r) {
        const int w = stored[r].width;
        ASSERT_EQ(device[r].byteCount, stored[r].byteCount);
        for (int c = 0; c < w; ++c) {
          if (c * bpc >= 72 || (w - 1 - c) * bpc >= 72) continue;
          for (int k = 0; k < h; ++k) ASSERT_EQ(device[r].Dot(c, k), stored[r].Dot(w - 1 - c, k));
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LineProperty, ::testing::Range(0, 12));

}  // namespace
}  // namespace kirrup
