// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the real kirrup-cli on LED data files written byte by byte.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Line {
  int width;        // columns of the line's one character (7 rows, all lit)
  uint16_t effect;  // OpenOption | CloseOption << 8
};

std::vector<uint8_t> Ldat7(const std::vector<Line>& lines) {
  std::vector<uint8_t> b(140, 0);
  auto put16 = [&](size_t at, int v) {
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
  };
  b[0] = 0x45, b[1] = 0x23, b[2] = 0x11, b[3] = 0x20;  // no middle options
  put16(4, 0);    // 7 LEDs
  put16(6, 108);
  put16(8, 7);
  put16(10, static_cast<int>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) {
    put16(12 + 2 * i, lines[i].effect);
    put16(76 + 2 * i, lines[i].width > 0 ? 1 : 0);
  }
  for (const Line& l : lines) {
    if (l.width <= 0) continue;
    std::vector<uint8_t> rec(84, 0);
    rec[0] = 'A';
    rec[2] = static_cast<uint8_t>(l.width);
    rec[6] = 7;
    rec[11] = static_cast<uint8_t>(l.width);
    for (int c = 0; c < l.width; ++c) rec[12 + c] = 0xFE;  // rows 6..0 lit
    b.insert(b.end(), rec.begin(), rec.end());
  }
  return b;
}

class SimulateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kirrup-simulate-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static int Run(const std::string& args) {
    const std::string cmd = std::string(KIRRUP_BIN_DIR) + "/kirrup-cli " + args + " 2>/dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
};

struct GifFrames {
  int count = 0;
  std::vector<int> delays;
  int litOffRing = 0;
  int lit = 0;
};

// Composes every frame and counts the pixels of the dot colour, and those off the ring.
bool ReadFrames(const std::string& path, uint8_t r, uint8_t g, uint8_t b, GifFrames& out) {
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  if (!gif) return false;
  if (DGifSlurp(gif) != GIF_OK) {
    DGifCloseFile(gif, &err);
    return false;
  }
  std::vector<GifColorType> canvas(static_cast<size_t>(gif->SWidth) * gif->SHeight);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& im = gif->SavedImages[i];
    const GifImageDesc& d = im.ImageDesc;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x)
        canvas[(d.Top + y) * gif->SWidth + d.Left + x] = map->Colors[im.RasterBits[y * d.Width + x]];
    for (int y = 0; y < gif->SHeight; ++y)
      for (int x = 0; x < gif->SWidth; ++x) {
        const GifColorType c = canvas[y * gif->SWidth + x];
        if (c.Red != r || c.Green != g || c.Blue != b) continue;
        ++out.lit;
        const double dist = std::hypot(x + 0.5 - 96, y + 0.5 - 96);
        if (dist > 88 + 1.5 || dist < 88 * (1 - 0.2857143) - 1.5) ++out.litOffRing;
      }
    GraphicsControlBlock gcb{};
    DGifSavedExtensionToGCB(gif, i, &gcb);
    out.delays.push_back(gcb.DelayTime * 10);
  }
  out.count = gif->ImageCount;
  DGifCloseFile(gif, &err);
  return true;
}

TEST_F(SimulateTest, OnePassOfTheFileInTheChosenColour) {
  // Line 1: "Left to Right" (20 ticks + 25 held), "From left to right" (20 ticks).
  // Line 2 is empty and stays out of the play list. Line 3: "All display" (26 x 11
  // ticks), "All extinguishes" (11 ticks).
  const std::string in =
      Write("three.LDAT", Ldat7({{40, 0x0100}, {0, 0}, {12, 0x0606}}));
  ASSERT_EQ(Run("simulate " + in + " -o " + Path("out.gif") + " --color blue"), 0);
  GifFrames f;
  ASSERT_TRUE(ReadFrames(Path("out.gif"), 0, 0, 255, f));
  const int scene1 = 1 + 65 + 1, scene2 = 1 + 297 + 1;
  EXPECT_EQ(f.count, scene1 + scene2);
  ASSERT_EQ(static_cast<int>(f.delays.size()), f.count);
  EXPECT_EQ(f.delays[scene1 - 1], 500);
  EXPECT_EQ(f.delays.back(), 500);
  EXPECT_EQ(f.delays[1], 100);
  EXPECT_GT(f.lit, 10000);
  EXPECT_EQ(f.litOffRing, 0);
}

TEST_F(SimulateTest, TicksLimitTheFrames) {
  const std::string in = Write("one.LDAT", Ldat7({{40, 0x0100}}));
  ASSERT_EQ(Run("simulate --ticks 30 --color yellow " + in + " -o " + Path("t.gif")), 0);
  GifFrames f;
  ASSERT_TRUE(ReadFrames(Path("t.gif"), 255, 255, 0, f));
  EXPECT_EQ(f.count, 31);
  EXPECT_GT(f.lit, 0);
  EXPECT_EQ(f.litOffRing, 0);
}

TEST_F(SimulateTest, NothingToPlayOrBadInputFails) {
  const std::string empty = Write("empty.LDAT", Ldat7({{0, 0}}));
  EXPECT_EQ(Run("simulate " + empty + " -o " + Path("e.gif")), 1);  // "No data!"
  EXPECT_FALSE(fs::exists(Path("e.gif")));
  std::vector<uint8_t> shortFile(100, 0);
  EXPECT_EQ(Run("simulate " + Write("bad.LDAT", shortFile) + " -o " + Path("b.gif")), 1);
  EXPECT_EQ(Run("simulate " + Path("missing.LDAT") + " -o " + Path("m.gif")), 1);
  const std::string one = Write("one.LDAT", Ldat7({{4, 0}}));
  EXPECT_EQ(Run("simulate " + one), 2);
  EXPECT_EQ(Run("simulate " + one + " -o x.gif --color purple"), 2);
  EXPECT_EQ(Run("simulate " + one + " -o x.gif --ticks -3"), 2);
  EXPECT_EQ(Run("simulate " + one + " -o x.gif --frobnicate"), 2);
  EXPECT_EQ(Run("simulate " + one + " -o " + Path("no/such/dir/x.gif")), 1);
}

}  // namespace
