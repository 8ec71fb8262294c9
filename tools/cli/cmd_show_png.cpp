// SPDX-License-Identifier: GPL-2.0-or-later
// kirrup-cli show IN.LDAT --png OUT.png [--row N] [--scale K | --size N]: the lines' dots
// as a black-and-white picture, one pixel per dot (K x K with --scale, fitted into N x N
// with --size), the lines one under the other; a picture another program can take and
// the character editor can paste, and the thumbnail file managers show.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog/ldat_file.h"
#include "editor/board_transforms.h"
#include "fonts/font_engine.h"
#include "platform/atomic_file.h"
#include "platform/message_box.h"
#include "platform/raster.h"
#include "tools/cli/cli.h"
#include "tools/cli/file_messages.h"
#include "tools/cli/line_setup.h"

namespace kirrup::cli {

int RunShowPng(const std::vector<std::string>& args);

namespace {

constexpr int kMaxScale = 32;
constexpr int kMaxSize = 4096;  // thumbnails ask for 128 to 1024
constexpr int kMaxRows = 32;        // no line is taller
constexpr int kMaxColumns = 12 * 576;  // absurd records stay bounded

bool ParseInt(const std::string& s, int low, int high, int& out) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stoi(s);
  return out >= low && out <= high;
}

// The dots of one stored line, columns left to right, the top row first.
platform::Bitmap1 LineDots(const LdatData& data, int line) {
  const auto records = data.LineRecords(line);
  int width = 0, height = 0;
  for (const CharColumns& r : records) {
    width += std::clamp(r.width, 0, kMaxColumns);
    height = std::max(height, std::clamp(r.height, 0, kMaxRows));
  }
  platform::Bitmap1 dots(std::min(width, kMaxColumns), height);
  int x0 = 0;
  for (const CharColumns& r : records) {
    const int w = std::clamp(r.width, 0, kMaxColumns), h = std::clamp(r.height, 0, kMaxRows);
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < h; ++y)
        if (r.Dot(r.width - 1 - x, r.height - 1 - y)) dots.Set(x0 + x, y, true);
    x0 += w;
  }
  return dots;
}

struct PngSink {
  std::vector<uint8_t> bytes;
};

void Append(png_structp png, png_bytep data, png_size_t size) {
  auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
  sink->bytes.insert(sink->bytes.end(), data, data + size);
}

// libpng reports errors by a long jump: nothing here has a destructor to skip.
bool EncodeRows(PngSink* sink, int width, int height, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, sink, Append, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 1, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// One bit per pixel, 1 white: a lit dot is a black pixel.
std::vector<uint8_t> EncodePng(const platform::Bitmap1& dots, int scale) {
  const int width = dots.width() * scale, height = dots.height() * scale;
  const size_t stride = (static_cast<size_t>(width) + 7) / 8;
  std::vector<uint8_t> pixels(stride * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (!dots.Lit(x / scale, y / scale))
        pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = pixels.data() + static_cast<size_t>(y) * stride;
  PngSink sink;
  if (!EncodeRows(&sink, width, height, rows.data())) return {};
  return std::move(sink.bytes);
}

// Fits the picture into size x size pixels with its aspect and every pixel black or white:
// whole pixels per dot when it is smaller (the scale), whole dots per pixel when it is
// larger (a pixel is black when any of its dots is lit).
int FitInto(platform::Bitmap1& picture, int size) {
  const int longest = std::max(picture.width(), picture.height());
  if (longest <= size) return size / longest;
  const int merged = (longest + size - 1) / size;
  const int w = (picture.width() + merged - 1) / merged, h = (picture.height() + merged - 1) / merged;
  Scale(picture, picture.width(), picture.height(), w, h);
  platform::Bitmap1 fitted(w, h);
  fitted.CopyFrom(picture, 0, 0, w, h, 0, 0);
  picture = std::move(fitted);
  return 1;
}

}  // namespace

int RunShowPng(const std::vector<std::string>& args) {
  std::string in, out;
  int row = 0, scale = 0, size = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if ((a == "--png" || a == "--row" || a == "--scale" || a == "--size") && !hasValue) {
      return BadArguments("show", a + " needs a value");
    } else if (a == "--png" && out.empty()) {
      out = args[++i];
    } else if (a == "--row" && row == 0) {
      if (!ParseInt(args[++i], 1, MessageRows::kCount, row))
        return BadArguments("show", "--row takes a row from 1 to " + std::to_string(MessageRows::kCount) + ", not '" +
                                        args[i] + "'");
    } else if ((a == "--scale" && size != 0) || (a == "--size" && scale != 0)) {
      return BadArguments("show", "--scale and --size do not go together");
    } else if (a == "--scale" && scale == 0) {
      if (!ParseInt(args[++i], 1, kMaxScale, scale))
        return BadArguments("show", "--scale takes 1 to " + std::to_string(kMaxScale) + ", not '" + args[i] + "'");
    } else if (a == "--size" && size == 0) {
      if (!ParseInt(args[++i], 1, kMaxSize, size))
        return BadArguments("show", "--size takes 1 to " + std::to_string(kMaxSize) + ", not '" + args[i] + "'");
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      return BadArguments("show", a.empty() || a[0] != '-' ? "one IN.LDAT only, not also '" + a + "'"
                                                            : "'" + a + "' is unknown or given twice");
    }
  }
  if (in.empty()) return BadArguments("show", "IN.LDAT is missing");
  if (out.empty()) return BadArguments("show", "--png needs OUT.png");

  FontEngine fonts;
  LoadProgramSettings(fonts);
  LdatData data;
  platform::StderrMessageSink sink;
  if (!OpenLdatFile(in, data, sink)) return 1;
  // The rows Open fills, as the text form shows them.
  const int rows = std::min(data.lineCount(), MessageRows::kCount);
  if (row > rows) {
    std::fprintf(stderr, "kirrup-cli: %s has %d line(s), no line %d\n", in.c_str(), rows, row);
    return 1;
  }
  std::vector<platform::Bitmap1> lines;
  for (int i = 0; i < rows; ++i)
    if (row == 0 || i == row - 1) lines.push_back(LineDots(data, i));
  int width = 0, height = 0;
  for (const platform::Bitmap1& l : lines) {
    width = std::max(width, l.width());
    height += l.height();
  }
  if (width == 0 || height == 0) {
    std::fprintf(stderr, "kirrup-cli: %s: no dots to draw\n", in.c_str());
    return 1;
  }
  platform::Bitmap1 picture(width, height);
  int y = 0;
  for (const platform::Bitmap1& l : lines) {
    picture.CopyFrom(l, 0, 0, l.width(), l.height(), 0, y);
    y += l.height();
  }
  if (size != 0) scale = FitInto(picture, size);
  scale = std::max(scale, 1);
  width = picture.width() * scale;
  height = picture.height() * scale;
  if (static_cast<long long>(width) * height > 64LL * 1024 * 1024) {
    std::fprintf(stderr, "kirrup-cli: a picture of %d x %d pixels is too large\n", width, height);
    return 1;
  }
  const std::vector<uint8_t> png = EncodePng(picture, scale);
  platform::FileError why;
  if (png.empty()) why.reason = "the picture could not be encoded";
  if (png.empty() || !platform::WriteFileAtomically(out, png, &why)) {
    WriteFileError(sink, out, why);
    return 1;
  }
  std::printf("%s: %d x %d pixels\n", out.c_str(), width, height);
  return 0;
}

}  // namespace kirrup::cli
