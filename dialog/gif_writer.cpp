// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "platform/atomic_file.h"

namespace kirrup {
namespace {

using platform::Color;

struct MapDeleter {
  void operator()(ColorMapObject* m) const { GifFreeMapObject(m); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapDeleter>;

Color To332(Color c) {
  auto level = [](int v, int levels) { return (v * (levels - 1) + 127) / 255 * 255 / (levels - 1); };
  return platform::Rgb(static_cast<uint8_t>(level(platform::RedOf(c), 8)),
                       static_cast<uint8_t>(level(platform::GreenOf(c), 8)),
                       static_cast<uint8_t>(level(platform::BlueOf(c), 4)));
}

// The encoder writes into memory; the file is written whole when the animation is complete.
int AppendToBuffer(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

}  // namespace

void GifAnimationWriter::Closer::operator()(GifFileType* f) const {
  int err = 0;
  EGifCloseFile(f, &err);
}

GifAnimationWriter::GifAnimationWriter() = default;
GifAnimationWriter::~GifAnimationWriter() = default;

bool GifAnimationWriter::Fail(const std::string& what, int code) {
  failed_ = true;
  if (error_.empty()) {
    const char* text = GifErrorString(code);
    error_ = what + (text ? std::string(": ") + text : std::string());
  }
  return false;
}

bool GifAnimationWriter::Open(const std::string& path, int width, int height) {
  gif_.reset();
  frames_ = 0;
  failed_ = false;
  error_.clear();
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
    failed_ = true;
    error_ = "bad picture size";
    return false;
  }
  platform::FileError why;
  if (!platform::MayWriteFile(path, &why)) {
    failed_ = true;
    error_ = "cannot create " + path + ": " + why.reason;
    return false;
  }
  path_ = path;
  bytes_.clear();
  int err = 0;
  gif_.reset(EGifOpen(&bytes_, AppendToBuffer, &err));
  if (!gif_) return Fail("cannot create " + path, err);
  EGifSetGifVersion(gif_.get(), true);
  // No global colour table: every frame brings its own.
  if (EGifPutScreenDesc(gif_.get(), width, height, 8, 0, nullptr) == GIF_ERROR)
    return Fail("cannot write " + path, gif_->Error);
  static const char kApp[] = "NETSCAPE2.0";
  static const unsigned char kLoopForever[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif_.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_.get(), 11, kApp) == GIF_ERROR ||
      EGifPutExtensionBlock(gif_.get(), 3, kLoopForever) == GIF_ERROR ||
      EGifPutExtensionTrailer(gif_.get()) == GIF_ERROR)
    return Fail("cannot write " + path, gif_->Error);
  previous_ = platform::RgbImage();
  return true;
}

bool GifAnimationWriter::AddFrame(const platform::RgbImage& frame, int delayMs) {
  if (!gif_ || failed_) return false;
  const int w = gif_->SWidth, h = gif_->SHeight;
  if (frame.width() != w || frame.height() != h) {
    failed_ = true;
    error_ = "frame size differs from the picture size";
    return false;
  }
  // The changed rectangle; an unchanged frame still takes its place in time as one pixel.
  platform::Rect box{0, 0, w, h};
  if (previous_.width() == w && previous_.height() == h) {
    box = {w, h, 0, 0};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (frame.Pixel(x, y) != previous_.Pixel(x, y)) {
          box.left = std::min(box.left, x);
          box.top = std::min(box.top, y);
          box.right = std::max(box.right, x + 1);
          box.bottom = std::max(box.bottom, y + 1);
        }
    if (box.Empty()) box = {0, 0, 1, 1};
  }

  std::map<Color, int> index;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) index.emplace(frame.Pixel(x, y), 0);
  const bool reduce = index.size() > 256;
  if (reduce) {
    std::map<Color, int> reduced;
    for (const auto& [c, i] : index) reduced.emplace(To332(c), 0);
    index.swap(reduced);
  }
  const int bits = std::max(1, GifBitSize(static_cast<int>(index.size())));
  std::vector<GifColorType> colours(static_cast<size_t>(1) << bits, GifColorType{0, 0, 0});
  int n = 0;
  for (auto& [c, i] : index) {
    colours[n] = GifColorType{platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)};
    i = n++;
  }
  ColorMap map(GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
  if (!map) return Fail("out of memory", E_GIF_ERR_NOT_ENOUGH_MEM);

  GraphicsControlBlock gcb{};
  gcb.DisposalMode = DISPOSE_DO_NOT;
  gcb.UserInputFlag = false;
  gcb.DelayTime = std::clamp((delayMs + 5) / 10, 0, 0xFFFF);
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType ext[4];
  const size_t extLen = EGifGCBToExtension(&gcb, ext);
  if (EGifPutExtension(gif_.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extLen), ext) ==
      GIF_ERROR)
    return Fail("cannot write frame", gif_->Error);
  if (EGifPutImageDesc(gif_.get(), box.left, box.top, box.Width(), box.Height(), false,
                       map.get()) == GIF_ERROR)
    return Fail("cannot write frame", gif_->Error);
  std::vector<GifPixelType> line(static_cast<size_t>(box.Width()));
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const Color c = frame.Pixel(x, y);
      line[x - box.left] = static_cast<GifPixelType>(index.at(reduce ? To332(c) : c));
    }
    if (EGifPutLine(gif_.get(), line.data(), box.Width()) == GIF_ERROR)
      return Fail("cannot write frame", gif_->Error);
  }
  previous_ = frame;
  if (reduce) {  // what a viewer shows is the reduced picture
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) previous_.SetPixel(x, y, To332(frame.Pixel(x, y)));
  }
  ++frames_;
  return true;
}

bool GifAnimationWriter::Close() {
  if (!gif_) return !failed_;
  int err = 0;
  const int rc = EGifCloseFile(gif_.release(), &err);
  if (rc == GIF_ERROR) return Fail("cannot finish the file", err);
  if (failed_) return false;
  platform::FileError why;
  if (!platform::WriteFileAtomically(path_, bytes_, &why)) {
    failed_ = true;
    error_ = "cannot write " + path_ + ": " + why.reason;
  }
  bytes_ = {};
  return !failed_;
}

}  // namespace kirrup
