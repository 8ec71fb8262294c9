// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writes colour rasters as the frames of a looping animated GIF. Each frame carries
// only the rectangle that changed since the previous one, with its own colour table of
// the exact colours (reduced to 3-3-2 levels in the rare frame with more than 256).
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/raster.h"

struct GifFileType;

namespace kirrup {

class GifAnimationWriter {
 public:
  GifAnimationWriter();
  ~GifAnimationWriter();  // closes an open file
  GifAnimationWriter(const GifAnimationWriter&) = delete;
  GifAnimationWriter& operator=(const GifAnimationWriter&) = delete;

  // Starts an animation of frames of width x height for path; false when the file could
  // not be written there. The file is written (atomically) by Close.
  bool Open(const std::string& path, int width, int height);
  // frame must have the size given to Open; delayMs is rounded to hundredths of a second.
  bool AddFrame(const platform::RgbImage& frame, int delayMs);
  // Finishes the file; false when anything went wrong since Open.
  bool Close();

  int frameCount() const { return frames_; }
  const std::string& error() const { return error_; }

 private:
  struct Closer {
    void operator()(GifFileType* f) const;
  };
  bool Fail(const std::string& what, int code);

  std::unique_ptr<GifFileType, Closer> gif_;
  std::string path_;
  std::vector<uint8_t> bytes_;
  platform::RgbImage previous_;
  int frames_ = 0;
  bool failed_ = false;
  std::string error_;
};

}  // namespace kirrup
