// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/demo_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kirrup {
namespace {

using platform::Color;
using platform::RgbImage;

constexpr int kMaxScenes = 12;
constexpr int kColumnStep = 2;  // columns per tick
constexpr int kRowStep = 1;     // rows per tick
constexpr int kTurnStep = 3;    // degrees per tick in the rotating middle effects
constexpr int kHoldTicks = 25;  // ticks a finished opening is held
constexpr double kPi = 3.1415927;
constexpr double kDegree = 3.14159265358979323846 / 180.0;

int InRange(int v, int hi) { return (v >= 0 && v <= hi) ? v : 0; }

}  // namespace

int DemoTrackLength(int maxWidth, int ledType) {
  const int l = maxWidth + maxWidth / 4;
  return ledType == 0 ? l * 7 / 5 : l;
}

bool HasDemoData(std::span<const DemoRowInput> rows) {
  return std::any_of(rows.begin(), rows.end(),
                     [](const DemoRowInput& r) { return r.enabled && r.itemCount > 0; });
}

std::vector<DemoScene> BuildPlayList(std::span<const DemoRowInput> rows, bool useMiddleOption) {
  std::vector<DemoScene> scenes;
  for (const DemoRowInput& r : rows) {
    if (!r.enabled || r.width <= 0 || r.height <= 0) continue;
    if (static_cast<int>(scenes.size()) == kMaxScenes) break;
    DemoScene s;
    s.row = r.row;
    s.strip = r.strip;
    s.trackLength = DemoTrackLength(r.maxWidth, r.ledType);
    s.width = r.width;
    s.height = r.height;
    s.open = InRange(r.open, 8);
    s.middle = useMiddleOption ? InRange(r.middle, 3) : -1;
    s.close = InRange(r.close, 6);
    scenes.push_back(std::move(s));
  }
  return scenes;
}

bool StartDemo(DemoEngine& engine, std::span<const DemoRowInput> rows, bool useMiddleOption,
               platform::MessageSink& messages) {
  if (!HasDemoData(rows)) {
    platform::WarningBox(messages, "No data!");
    return false;
  }
  engine.Start(BuildPlayList(rows, useMiddleOption));
  return true;
}

DemoEngine::DemoEngine(RgbImage background) : background_(std::move(background)) {}

bool DemoEngine::Start(std::vector<DemoScene> scenes) {
  if (scenes.empty()) return false;
  scenes_ = std::move(scenes);
  pausing_ = false;
  Load(0);
  running_ = true;
  return true;
}

void DemoEngine::Stop() {
  current_ = -1;
  pausing_ = false;
}

void DemoEngine::Load(int k) {
  current_ = k;
  const DemoScene& s = scenes_[k];
  const int w = s.width, h = s.height;
  st_ = State{};
  st_.ce = w;
  st_.re = h;
  // A line longer than its circle still gets a positive arc; the track length only
  // ever exceeds the width for lines the table allows.
  const int l = std::max(s.trackLength, 1);
  st_.arc = static_cast<int>(std::trunc((background_.width() - h) * kPi / l * h));
  switch (s.open) {
    case 0: st_.ce = 0; break;
    case 1: st_.cs = w; break;
    case 2: st_.re = 0; break;
    case 3: st_.rs = h; break;
    case 4: st_.cs = st_.ce = w / 2; break;
    case 5: st_.hb = w / 2; break;
    case 6: break;
    case 7: st_.ce = 0; st_.angle = 2 * w; break;
    case 8: st_.cs = w; st_.angle = 360 - 2 * w; break;
  }
}

DemoEngine::TickResult DemoEngine::Tick() {
  if (current_ < 0 || pausing_) return TickResult::kIdle;
  if (st_.nextScene) {
    st_.nextScene = false;
    pausing_ = true;
    return TickResult::kPause;
  }
  switch (st_.phase) {
    case 0: StepOpen(); break;
    case 1: StepMiddle(); break;
    default: StepClose(); break;
  }
  return TickResult::kFrame;
}

void DemoEngine::EndPause() {
  if (!pausing_ || current_ < 0) return;
  pausing_ = false;
  Load((current_ + 1) % static_cast<int>(scenes_.size()));
}

void DemoEngine::StepOpen() {
  const DemoScene& s = scenes_[current_];
  const int w = s.width, h = s.height;
  State& t = st_;
  bool finished = false;
  switch (s.open) {
    case 0:
      t.ce += kColumnStep;
      if (t.ce >= w) t.ce = w, finished = true;
      break;
    case 1:
      t.cs -= kColumnStep;
      if (t.cs <= 0) t.cs = 0, finished = true;
      break;
    case 2:
      t.re += kRowStep;
      if (t.re >= h) t.re = h, finished = true;
      break;
    case 3:
      t.rs -= kRowStep;
      if (t.rs <= 0) t.rs = 0, finished = true;
      break;
    case 4:
      t.cs -= kColumnStep;
      t.ce += kColumnStep;
      t.hb = 0;
      if (t.cs < 0 || t.ce >= w) t.cs = 0, t.ce = w, finished = true;
      break;
    case 5:
      t.hb -= kColumnStep;
      if (t.hb <= 0) t.hb = 0, finished = true;
      break;
    case 6:
      if (++t.counter > 10) t.counter = 0, finished = true;
      break;
    case 7:
      t.ce = std::min(t.ce + kColumnStep, w);
      t.angle -= 4;
      if (t.angle <= 0) t.angle = 0, finished = true;
      break;
    case 8:
      t.cs = std::max(t.cs - kColumnStep, 0);
      t.angle += 4;
      if (t.angle > 360) t.angle = 360, finished = true;
      break;
  }
  if (!finished) return;
  ++t.hold;
  if (t.hold <= kHoldTicks) return;
  if (s.middle < 0) {
    t.phase = 2;
  } else {
    t.phase = 1;
    t.angle = s.middle == 0 ? 360 : 0;
  }
}

void DemoEngine::StepMiddle() {
  const DemoScene& s = scenes_[current_];
  State& t = st_;
  bool done = false;
  switch (s.middle) {
    case 0:
      t.angle -= kTurnStep;
      if (t.angle <= 0) t.angle = 0, done = true;
      break;
    case 1:
      t.angle += kTurnStep;
      if (t.angle > 360) t.angle = 360, done = true;
      break;
    case 2: {
      const int c = t.counter;
      if (c < 4) t.ce = 0;
      else if (c < 8) t.ce = s.width;
      else if (c < 12) t.ce = 0;
      else if (c < 16) t.ce = s.width;
      if (++t.counter > 20) t.counter = 0, done = true;
      break;
    }
    default:
      if (++t.counter > 10) t.counter = 0, done = true;
      break;
  }
  if (done) t.phase = 2;
}

void DemoEngine::StepClose() {
  const DemoScene& s = scenes_[current_];
  const int w = s.width, h = s.height;
  State& t = st_;
  bool done = false;
  switch (s.close) {
    case 0:
      t.ce -= kColumnStep;
      if (t.ce <= 0) t.ce = 0, done = true;
      break;
    case 1:
      t.cs += kColumnStep;
      if (t.cs >= w) t.cs = w, done = true;
      break;
    case 2:
      t.re -= kRowStep;
      if (t.re <= 0) t.re = 0, done = true;
      break;
    case 3:
      t.rs += kRowStep;
      if (t.rs >= h) t.rs = h, done = true;
      break;
    case 4:
      t.cs += kColumnStep;
      t.ce -= kColumnStep;
      t.hb = 0;
      if (t.cs >= w / 2 || t.ce <= w / 2) t.cs = t.ce = w / 2, done = true;
      break;
    case 5:
      t.hb += kColumnStep;
      if (t.hb >= w / 2) t.hb = 0, t.cs = t.ce = 0, done = true;
      break;
    default:
      t.cs = t.ce = 0;
      if (++t.counter > 10) t.counter = 0, done = true;
      break;
  }
  if (done) t.nextScene = true;
}

void DemoEngine::Paint(RgbImage& out, Color dotColor) const {
  out = background_;
  if (!running_ || current_ < 0) return;
  const DemoScene& s = scenes_[current_];
  const State& t = st_;
  const int w = out.width(), h = out.height();
  const int W = s.width, H = s.height;
  const double L = std::max(s.trackLength, 1);
  const double radius = (w - 16) / 2;
  const double cx = w / 2, cy = h / 2;
  const double k = H <= 14 ? 0.2857143 / H : 0.4047619 / H;
  const double rowStep = H <= 8 ? 0.25 : 0.4;
  const double q = std::trunc(10.0 * t.arc / H) / 10.0;
  if (q <= 0) return;  // no room on the ring for a single column
  const double colStep = 0.5 / q;
  const int hideLo = std::clamp(W / 2 - t.hb, 0, W);
  const int hideHi = std::clamp(W / 2 + t.hb, 0, W);
  const double offset = (L - W) / 2.0;

  // Sample positions are computed from their index rather than summed up, so the
  // same dot always lands on the same pixels whatever the visible range.
  for (int i = 0;; ++i) {
    const double x = t.cs + i * colStep;
    if (x >= t.ce) break;
    if (x >= hideLo && x < hideHi) continue;
    const int sx = static_cast<int>(x);
    const double theta = (90.0 + t.angle + 360.0 * (x + offset) / L) * kDegree;
    const double cosT = std::cos(theta), sinT = std::sin(theta);
    for (int j = 0;; ++j) {
      const double y = t.rs + j * rowStep;
      if (y >= t.re) break;
      if (H <= 8 && y == std::trunc(y)) continue;  // dark ring between the rows
      if (!s.strip.Lit(sx, static_cast<int>(y))) continue;
      const double r = radius * (1.0 - y * k);
      out.SetPixel(static_cast<int>(std::trunc(cx + r * cosT)),
                   static_cast<int>(std::trunc(cy + r * sinT)), dotColor);
    }
  }
}

void StretchTransparent(const RgbImage& src, RgbImage& dst, Color transparent) {
  const int sw = src.width(), sh = src.height(), dw = dst.width(), dh = dst.height();
  if (sw <= 0 || sh <= 0) return;
  transparent &= 0xFFFFFF;
  for (int y = 0; y < dh; ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y) * sh / dh);
    for (int x = 0; x < dw; ++x) {
      const Color c = src.Pixel(static_cast<int>(static_cast<int64_t>(x) * sw / dw), sy);
      if (c != transparent) dst.SetPixel(x, y, c);
    }
  }
}

}  // namespace kirrup
