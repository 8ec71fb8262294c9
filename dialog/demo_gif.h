// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The simulation as a sequence of timed frames, for the GIF export. A frame shows the
// picture as the window shows it for one 100 ms tick; the pause between two scenes is
// one frame of 500 ms that keeps the last picture of the ended scene.
#include <functional>
#include <optional>
#include <string>

#include "dialog/demo_engine.h"

namespace kirrup {

using DemoFrameSink = std::function<bool(const platform::RgbImage& frame, int delayMs)>;

// Plays a started engine: first the picture as Start left it, then one frame after each
// tick. With ticks, exactly that many timer ticks are played (a pause costs one tick and
// adds its 500 ms frame). Without, one full pass of the play list: every scene from its
// start to the pause after its closing effect, so that a looping GIF repeats the play
// list as the window does. Returns false when the engine is not playing or the sink
// refused a frame.
bool RecordDemo(DemoEngine& engine, platform::Color dotColor, std::optional<int> ticks,
                const DemoFrameSink& sink);

// RecordDemo into an animated GIF at path; on failure error holds the reason.
bool WriteDemoGif(DemoEngine& engine, platform::Color dotColor, std::optional<int> ticks,
                  const std::string& path, std::string& error);

}  // namespace kirrup
