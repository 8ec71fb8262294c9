// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli show --png: the lines' dots as a picture, read back with libpng.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialog/ldat_file.h"

namespace kirrup {
namespace {

namespace fs = std::filesystem;

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> grey;
  bool Black(int x, int y) const { return grey[static_cast<size_t>(y * width + x)] < 128; }
  std::string Row(int y) const {
    std::string r;
    for (int x = 0; x < width; ++x) r += Black(x, y) ? '#' : '.';
    return r;
  }
};

Picture ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Picture p;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return p;
  image.format = PNG_FORMAT_GRAY;
  p.grey.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, p.grey.data(), 0, nullptr)) return {};
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  return p;
}

// Two 7-LED lines: "A" two columns (top-left and bottom-right dots) and "B" one column
// (top and bottom); the second line one column with only its bottom dot.
std::vector<uint8_t> TwoLines() {
  LdatHeader h;
  h.ledType = 0, h.maxWidth = 108, h.height = 7, h.lineCount = 2;
  h.counts[0] = 2;
  h.counts[1] = 1;
  std::vector<uint8_t> bytes(140);
  h.Write(std::span<uint8_t, 140>(bytes.data(), 140));
  CharColumns a{}, b{}, c{};
  a.code = 'A', a.width = 2, a.height = 7, a.byteCount = 2, a.columns[0] = 0x80, a.columns[1] = 0x02;
  b.code = 'B', b.width = 1, b.height = 7, b.byteCount = 1, b.columns[0] = 0x82;
  c.code = 'C', c.width = 1, c.height = 7, c.byteCount = 1, c.columns[0] = 0x80;
  const CharColumns recs[] = {a, b, c};
  const auto r = WriteRecords(recs);
  bytes.insert(bytes.end(), r.begin(), r.end());
  return bytes;
}

class ShowPng : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kirrup-cli-png-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    const std::vector<uint8_t> bytes = TwoLines();
    std::ofstream(dir_ / "two.LDAT", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  void TearDown() override { fs::remove_all(dir_); }
  int Run(const std::string& args) {
    const std::string cmd = "cd '" + dir_.string() + "' && '" + KIRRUP_BIN_DIR + "/kirrup-cli' show " + args +
                            " >/dev/null 2>&1";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  fs::path dir_;
};

TEST_F(ShowPng, EveryLineOneDotAPixelOrOneRowScaled) {
  ASSERT_EQ(Run("two.LDAT --png all.png"), 0);
  const Picture all = ReadPng(dir_ / "all.png");
  ASSERT_EQ(all.width, 3);
  ASSERT_EQ(all.height, 14);
  EXPECT_EQ(all.Row(0), "#.#");
  EXPECT_EQ(all.Row(1), "...");
  EXPECT_EQ(all.Row(6), ".##");
  EXPECT_EQ(all.Row(7), "...");  // line 2 below line 1
  EXPECT_EQ(all.Row(13), "#..");

  ASSERT_EQ(Run("two.LDAT --row 1 --scale 3 --png one.png"), 0);
  const Picture one = ReadPng(dir_ / "one.png");
  ASSERT_EQ(one.width, 9);
  ASSERT_EQ(one.height, 21);
  EXPECT_EQ(one.Row(0), "###...###");
  EXPECT_EQ(one.Row(2), "###...###");
  EXPECT_EQ(one.Row(3), ".........");
  EXPECT_EQ(one.Row(20), "...######");
}

// The thumbnail's size: whole pixels per dot while the picture fits, whole dots merged
// into a pixel (black when any is lit) when it does not.
TEST_F(ShowPng, SizeFitsThePictureKeepingItsAspect) {
  const struct {
    const char* size;
    int width, height;
    const char *top, *fourth;  // rows 0 and 3
  } cases[] = {{"14", 3, 14, "#.#", "..."}, {"29", 6, 28, "##..##", "......"}, {"7", 2, 7, "##", ".#"}};
  for (const auto& c : cases) {
    ASSERT_EQ(Run(std::string("two.LDAT --png fit.png --size ") + c.size), 0) << c.size;
    const Picture p = ReadPng(dir_ / "fit.png");
    ASSERT_EQ(p.width * 100 + p.height, c.width * 100 + c.height) << c.size;
    EXPECT_EQ(p.Row(0) + " " + p.Row(3), std::string(c.top) + " " + c.fourth) << c.size;
  }
}

TEST_F(ShowPng, RefusesBadOptionsAndMissingLines) {
  const struct {
    const char* args;
    int status;
  } cases[] = {
      {"two.LDAT --png x.png --row 3", 1}, {"two.LDAT --png x.png --row 0", 2}, {"two.LDAT --png x.png --scale 0", 2},
      {"two.LDAT --png", 2},               {"missing.LDAT --png x.png", 1},     {"two.LDAT --png x.png --size 0", 2},
      {"two.LDAT --png x.png --size 4097", 2}, {"two.LDAT --png x.png --scale 2 --size 8", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.args), c.status) << c.args;
  EXPECT_FALSE(fs::exists(dir_ / "x.png"));
}

}  // namespace
}  // namespace kirrup
