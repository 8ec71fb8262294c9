// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_gif.h"

#include "dialog/gif_writer.h"

namespace kirrup {
namespace {

// Every scene ends by itself within a few hundred ticks; this only bounds a pass
// should that ever not hold.
constexpr long kMaxPassTicks = 1'000'000;

}  // namespace

bool RecordDemo(DemoEngine& engine, platform::Color dotColor, std::optional<int> ticks,
                const DemoFrameSink& sink) {
  if (!engine.playing() || engine.pausing()) return false;
  platform::RgbImage frame;
  engine.Paint(frame, dotColor);
  if (!sink(frame, kDemoTickMs)) return false;
  const int last = static_cast<int>(engine.playList().size()) - 1;
  for (long n = 0; ticks ? n < *ticks : n < kMaxPassTicks; ++n) {
    const DemoEngine::TickResult r = engine.Tick();
    if (r == DemoEngine::TickResult::kPause) {
      const bool endOfPass = engine.currentScene() == last;
      if (!sink(frame, kDemoPauseMs)) return false;  // the ended scene's last picture
      if (!ticks && endOfPass) return true;
      engine.EndPause();
    }
    engine.Paint(frame, dotColor);
    if (!sink(frame, kDemoTickMs)) return false;
  }
  return ticks.has_value();
}

bool WriteDemoGif(DemoEngine& engine, platform::Color dotColor, std::optional<int> ticks,
                  const std::string& path, std::string& error) {
  GifAnimationWriter gif;
  const platform::RgbImage& picture = engine.background();
  if (!gif.Open(path, picture.width(), picture.height())) {
    error = gif.error();
    return false;
  }
  const bool played = RecordDemo(engine, dotColor, ticks, [&](const platform::RgbImage& f, int ms) {
    return gif.AddFrame(f, ms);
  });
  const bool closed = gif.Close();
  if (!played || !closed) {
    error = !gif.error().empty() ? gif.error() : "the simulation is not playing";
    return false;
  }
  return true;
}

}  // namespace kirrup
