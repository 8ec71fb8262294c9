// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The display simulation without a window: the play list taken at Start, the effect
// steps of each 100 ms tick, and the painting of the lit dots onto a ring around the
// picture of the toy. CDemoWnd drives it with its timer; the GIF export drives it
// with a frame counter.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/message_box.h"
#include "platform/raster.h"

namespace kirrup {

// What Start reads from one row of the dialog. strip/width/height are what the line's
// GetLineBitmap returned (width 0 when the line is empty).
struct DemoRowInput {
  int row = 0;
  bool enabled = false;
  int itemCount = 0;        // characters in the line
  platform::Bitmap1 strip;  // snapshot, row 0 at the top, lit = not white
  int width = 0;            // LineEnd
  int height = 0;           // LED count
  int maxWidth = 0;         // the line's maxWidth
  int ledType = 0;          // 0 = 7, 1 = 11, 2 = 16 LEDs
  int open = 0;             // OpenOption 0..8
  int middle = 0;           // MiddleOption 0..3
  int close = 0;            // CloseOption 0..6
};

// One line taking part in the simulation.
struct DemoScene {
  int row = 0;
  platform::Bitmap1 strip;
  int trackLength = 0;  // L: columns that make up the full circle
  int width = 0;        // W
  int height = 0;       // H
  int open = 0;
  int middle = -1;      // -1 when middle options were off at Start
  int close = 0;
};

// L for a line of the given maxWidth and LED type (189 for 7 LEDs, 180 for 16 LEDs).
int DemoTrackLength(int maxWidth, int ledType);

// True when some enabled row holds a character (else Start says "No data!").
bool HasDemoData(std::span<const DemoRowInput> rows);

// The enabled rows with a used width above 0, in row order, at most 12. Effect indices
// outside their lists are taken as 0 so that every scene plays through.
std::vector<DemoScene> BuildPlayList(std::span<const DemoRowInput> rows, bool useMiddleOption);

inline constexpr int kDemoTickMs = 100;
inline constexpr int kDemoPauseMs = 500;
inline constexpr int kDemoPictureSize = 192;

class DemoEngine {
 public:
  enum class TickResult {
    kIdle,   // stopped (or inside a pause): nothing changed
    kFrame,  // state advanced; repaint
    kPause,  // a scene has ended: wait kDemoPauseMs without ticking, then call EndPause()
  };

  // The picture is the background of every frame; its width enters the arc value.
  explicit DemoEngine(platform::RgbImage background);

  // Takes the play list; when it holds a scene, loads scene 0 (restarting a running
  // simulation) and returns true. An empty list changes nothing.
  bool Start(std::vector<DemoScene> scenes);
  void Stop();

  // One timer tick. When a scene's closing effect has ended, the following tick
  // returns kPause; the caller shows the unchanged picture for kDemoPauseMs and then
  // calls EndPause, which loads the next scene (back to the first after the last).
  TickResult Tick();
  void EndPause();

  // out becomes the picture with the lit dots of the visible part of the current scene
  // in dotColor; the picture alone when stopped.
  void Paint(platform::RgbImage& out, platform::Color dotColor) const;

  const platform::RgbImage& background() const { return background_; }
  bool running() const { return running_; }      // set by the first Start, never cleared
  bool playing() const { return current_ >= 0; }
  bool pausing() const { return pausing_; }
  int currentScene() const { return current_; }  // -1 = stopped
  const std::vector<DemoScene>& playList() const { return scenes_; }

  // The state of the moment, for tests and diagnostics.
  struct State {
    int cs = 0, ce = 0, rs = 0, re = 0, hb = 0;
    int angle = 0;
    int phase = 0;
    int counter = 0;
    uint8_t hold = 0;
    int arc = 0;
    bool nextScene = false;
  };
  const State& state() const { return st_; }

 private:
  void Load(int k);
  void StepOpen();
  void StepMiddle();
  void StepClose();

  platform::RgbImage background_;
  std::vector<DemoScene> scenes_;
  int current_ = -1;
  bool running_ = false;
  bool pausing_ = false;
  State st_;
};

// How Start acts on the engine: "No data!" (warning) when no enabled row holds a
// character, else the play list of the rows. Returns true when the simulation plays
// now (the dialog then enables Stop).
bool StartDemo(DemoEngine& engine, std::span<const DemoRowInput> rows, bool useMiddleOption,
               platform::MessageSink& messages);

// Copies src onto dst, stretched to dst's size (nearest pixel), leaving dst unchanged
// where src holds the transparent colour.
void StretchTransparent(const platform::RgbImage& src, platform::RgbImage& dst,
                        platform::Color transparent);

}  // namespace kirrup
