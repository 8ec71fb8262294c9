// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_gif.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "dialog/gif_writer.h"
#include "res/demo_picture.h"

namespace kirrup {
namespace {

using platform::Color;
using platform::RgbImage;

struct Frame {
  RgbImage image;
  int delayMs;
};

// Reads every frame of a GIF back as a whole picture (frames draw over the previous one).
bool ReadGif(const std::string& path, std::vector<Frame>& frames, bool& loops) {
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  if (!gif) return false;
  const bool ok = DGifSlurp(gif) == GIF_OK;
  loops = false;
  RgbImage canvas(gif->SWidth, gif->SHeight, 0);
  for (int i = 0; ok && i < gif->ImageCount; ++i) {
    const SavedImage& im = gif->SavedImages[i];
    for (int e = 0; e < im.ExtensionBlockCount; ++e) {
      const ExtensionBlock& b = im.ExtensionBlocks[e];
      if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
          std::string(reinterpret_cast<char*>(b.Bytes), 11) == "NETSCAPE2.0")
        loops = true;
    }
    const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& d = im.ImageDesc;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        const GifColorType c = map->Colors[im.RasterBits[y * d.Width + x]];
        canvas.SetPixel(d.Left + x, d.Top + y, platform::Rgb(c.Red, c.Green, c.Blue));
      }
    GraphicsControlBlock gcb{};
    DGifSavedExtensionToGCB(gif, i, &gcb);
    frames.push_back({canvas, gcb.DelayTime * 10});
  }
  DGifCloseFile(gif, &err);
  return ok;
}

class TempFile {
 public:
  explicit TempFile(const std::string& name)
      : path_((std::filesystem::temp_directory_path() /
               (name + "-" + std::to_string(::getpid()) + ".gif")).string()) {}
  ~TempFile() { std::filesystem::remove(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

DemoScene Scene(int width, int open, int close) {
  DemoScene s;
  s.strip = platform::Bitmap1(156, 16);
  s.strip.FillRect({0, 0, width, 7}, true);
  s.width = width;
  s.height = 7;
  s.trackLength = DemoTrackLength(108, 0);
  s.open = open;
  s.close = close;
  return s;
}

TEST(GifWriter, FramesComeBackExactlyWithTheirDelays) {
  TempFile file("gif-writer");
  std::vector<RgbImage> sent;
  RgbImage a(20, 10, 0x102030);
  sent.push_back(a);
  a.SetPixel(3, 4, 0x0000FF);
  sent.push_back(a);
  sent.push_back(a);  // unchanged frames still count
  RgbImage many(20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) many.SetPixel(x, y, static_cast<Color>(y * 20 + x) * 0x010203);
  sent.push_back(many);

  GifAnimationWriter gif;
  ASSERT_TRUE(gif.Open(file.path(), 20, 10)) << gif.error();
  for (size_t i = 0; i < sent.size(); ++i) ASSERT_TRUE(gif.AddFrame(sent[i], i == 1 ? 500 : 100));
  EXPECT_FALSE(gif.AddFrame(RgbImage(5, 5), 100));
  EXPECT_FALSE(gif.Close());  // the refused frame spoils the file

  ASSERT_TRUE(gif.Open(file.path(), 20, 10));
  for (size_t i = 0; i < sent.size(); ++i) ASSERT_TRUE(gif.AddFrame(sent[i], i == 1 ? 500 : 100));
  ASSERT_TRUE(gif.Close()) << gif.error();
  EXPECT_EQ(gif.frameCount(), 4);

  std::vector<Frame> back;
  bool loops = false;
  ASSERT_TRUE(ReadGif(file.path(), back, loops));
  EXPECT_TRUE(loops);
  ASSERT_EQ(back.size(), 4u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(back[i].image, sent[i]) << i;
  EXPECT_EQ(back[1].delayMs, 500);
  EXPECT_EQ(back[2].delayMs, 100);
  // 200 colours fit a table exactly.
  EXPECT_EQ(back[3].image, sent[3]);
}

TEST(GifWriter, TooManyColoursAreReducedNotRefused) {
  TempFile file("gif-colours");
  RgbImage img(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) img.SetPixel(x, y, platform::Rgb(x * 8, y * 8, (x ^ y) * 8));
  GifAnimationWriter gif;
  ASSERT_TRUE(gif.Open(file.path(), 32, 32));
  ASSERT_TRUE(gif.AddFrame(img, 100));
  ASSERT_TRUE(gif.Close());
  std::vector<Frame> back;
  bool loops = false;
  ASSERT_TRUE(ReadGif(file.path(), back, loops));
  ASSERT_EQ(back.size(), 1u);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const Color a = img.Pixel(x, y), b = back[0].image.Pixel(x, y);
      EXPECT_NEAR(platform::RedOf(a), platform::RedOf(b), 19);
      EXPECT_NEAR(platform::BlueOf(a), platform::BlueOf(b), 43);
    }
}

TEST(GifWriter, UnwritablePathIsReported) {
  GifAnimationWriter gif;
  EXPECT_FALSE(gif.Open("/nonexistent-dir/x.gif", 10, 10));
  EXPECT_FALSE(gif.error().empty());
  EXPECT_FALSE(gif.AddFrame(RgbImage(10, 10), 100));
}

TEST(DemoRecording, OnePassIsEveryTickOfEverySceneAndItsPause) {
  // Scene 0: "Up to Down" 7 + 25 ticks, "From down to up" 7 ticks. Scene 1: "All
  // display" 286 ticks, "All extinguishes" 11 ticks.
  DemoEngine e(DrawDemoPicture());
  ASSERT_TRUE(e.Start({Scene(10, 2, 2), Scene(30, 6, 6)}));
  std::vector<int> delays;
  std::vector<RgbImage> frames;
  ASSERT_TRUE(RecordDemo(e, 0x00FF00, std::nullopt, [&](const RgbImage& f, int ms) {
    delays.push_back(ms);
    frames.push_back(f);
    return true;
  }));
  const size_t scene0 = 1 + 39 + 1, scene1 = 1 + 297 + 1;
  ASSERT_EQ(delays.size(), scene0 + scene1);
  for (size_t i = 0; i < delays.size(); ++i) {
    const bool pause = i == scene0 - 1 || i == scene0 + scene1 - 1;
    EXPECT_EQ(delays[i], pause ? 500 : 100) << i;
  }
  // The pause keeps the ended (empty) picture; the next scene starts from its opening
  // state, which for "All display" is the whole line.
  EXPECT_EQ(frames[scene0 - 1], frames[scene0 - 2]);
  EXPECT_EQ(frames[scene0 - 1], DrawDemoPicture());
  EXPECT_NE(frames[scene0], DrawDemoPicture());
  EXPECT_EQ(frames[scene0], frames[scene0 + 1]);
}

TEST(DemoRecording, TickCountIncludesThePauseTick) {
  DemoEngine e(DrawDemoPicture());
  ASSERT_TRUE(e.Start({Scene(10, 2, 2)}));
  std::vector<int> delays;
  ASSERT_TRUE(RecordDemo(e, 0x0000FF, 45, [&](const RgbImage&, int ms) {
    delays.push_back(ms);
    return true;
  }));
  // Start, ticks 1..39, the pause tick (500 ms + the reloaded scene), ticks 41..45.
  ASSERT_EQ(delays.size(), 1u + 45 + 1);
  EXPECT_EQ(delays[40], 500);
  EXPECT_EQ(e.currentScene(), 0);
  EXPECT_EQ(e.state().re, 5);

  DemoEngine stopped(DrawDemoPicture());
  EXPECT_FALSE(RecordDemo(stopped, 0x0000FF, 3, [](const RgbImage&, int) { return true; }));
}

TEST(DemoRecording, GifOfAPassHasItsFramesAndLitPixelsOnTheRing) {
  TempFile file("demo-pass");
  DemoEngine e(DrawDemoPicture());
  ASSERT_TRUE(e.Start({Scene(40, 0, 1)}));
  std::string error;
  ASSERT_TRUE(WriteDemoGif(e, 0x00FFFF, std::nullopt, file.path(), error)) << error;
  std::vector<Frame> back;
  bool loops = false;
  ASSERT_TRUE(ReadGif(file.path(), back, loops));
  ASSERT_EQ(back.size(), 1u + (20 + 25 + 20) + 1);
  int lit = 0;
  for (const Frame& f : back)
    for (int y = 0; y < f.image.height(); ++y)
      for (int x = 0; x < f.image.width(); ++x) {
        if (f.image.Pixel(x, y) != 0x00FFFF) continue;
        ++lit;
        const double d = std::hypot(x + 0.5 - 96, y + 0.5 - 96);
        EXPECT_GT(d, 88 * (1 - 0.2857143) - 1.5);
        EXPECT_LT(d, 88 + 1.5);
      }
  EXPECT_GT(lit, 1000);
  EXPECT_EQ(back.back().delayMs, 500);
  EXPECT_EQ(back.front().image, DrawDemoPicture());  // "Left to Right" starts empty
}

}  // namespace
}  // namespace kirrup
