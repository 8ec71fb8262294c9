// SPDX-License-Identifier: GPL-2.0-or-later
#include "res/demo_picture.h"

#include <algorithm>
#include <cmath>

namespace kirrup {
namespace {

using platform::Color;
using platform::Rgb;
using platform::RgbImage;

constexpr int kSize = 192;
constexpr double kCentre = kSize / 2;  // the simulation's ring centre
constexpr double kPi = 3.14159265358979323846;

Color Mix(Color a, Color b, int num, int den) {
  auto ch = [&](int shift) {
    const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return static_cast<Color>((ca * (den - num) + cb * num + den / 2) / den) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

// The 4 x 4 samples of a pixel lie at most this far from its centre (0.375 * sqrt 2),
// with room for rounding: a pixel whose centre is farther than this from a shape's edge
// is wholly inside or wholly outside, and needs no samples.
constexpr double kSampleReach = 0.6;

enum class Cover { kOut, kIn, kEdge };

double Distance2(double dx, double dy) { return dx * dx + dy * dy; }

// A pixel whose centre lies d from a shape's centre point or line, for a shape that
// holds the points from inner to outer away from it.
Cover Classify(double d, double inner, double outer) {
  if (d + kSampleReach < inner || d - kSampleReach > outer) return Cover::kOut;
  if (d - kSampleReach >= inner && d + kSampleReach <= outer) return Cover::kIn;
  return Cover::kEdge;
}

struct Box {
  int x0, y0, x1, y1;  // pixels x0 <= x < x1, y0 <= y < y1
};

Box Around(double left, double top, double right, double bottom) {
  auto lo = [](double v) { return std::clamp(static_cast<int>(std::floor(v)) - 1, 0, kSize); };
  auto hi = [](double v) { return std::clamp(static_cast<int>(std::ceil(v)) + 1, 0, kSize); };
  return {lo(left), lo(top), hi(right), hi(bottom)};
}

// Each shape gives the pixels it may touch, whether a point lies inside, and how a
// pixel lies against its edge.
struct Disc {
  double cx, cy, r;
  Box Bounds() const { return Around(cx - r, cy - r, cx + r, cy + r); }
  bool Inside(double x, double y) const { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }
  Cover Of(double x, double y) const { return Classify(std::sqrt(Distance2(x - cx, y - cy)), -1.0, r); }
};

struct Ring {
  double cx, cy, r0, r1;
  Box Bounds() const { return Around(cx - r1, cy - r1, cx + r1, cy + r1); }
  bool Inside(double x, double y) const {
    const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d >= r0 * r0 && d <= r1 * r1;
  }
  Cover Of(double x, double y) const { return Classify(std::sqrt(Distance2(x - cx, y - cy)), r0, r1); }
};

// A bar with round ends from (x0, y0) to (x1, y1).
struct Capsule {
  double x0, y0, x1, y1, halfWidth;
  Box Bounds() const {
    return Around(std::min(x0, x1) - halfWidth, std::min(y0, y1) - halfWidth, std::max(x0, x1) + halfWidth,
                  std::max(y0, y1) + halfWidth);
  }
  double SegmentDistance2(double x, double y) const {
    const double dx = x1 - x0, dy = y1 - y0;
    const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    const double ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
    return ex * ex + ey * ey;
  }
  bool Inside(double x, double y) const { return SegmentDistance2(x, y) <= halfWidth * halfWidth; }
  Cover Of(double x, double y) const { return Classify(std::sqrt(SegmentDistance2(x, y)), -1.0, halfWidth); }
};

// Paints shape in colour with 4 x 4 samples per pixel; the coverage is kept to eighths
// so that the picture needs few colours (the GIF export has 256 per frame). Only the
// pixels on an edge are sampled: the picture is drawn on every start.
template <class Shape, class Colour>
void Fill(RgbImage& img, const Shape& shape, const Colour& colour) {
  const Box b = shape.Bounds();
  for (int py = b.y0; py < b.y1; ++py) {
    for (int px = b.x0; px < b.x1; ++px) {
      int eighths = 8;
      switch (shape.Of(px + 0.5, py + 0.5)) {
        case Cover::kOut:
          continue;
        case Cover::kIn:
          break;
        case Cover::kEdge: {
          int hits = 0;
          for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx)
              if (shape.Inside(px + (sx + 0.5) / 4, py + (sy + 0.5) / 4)) ++hits;
          if (hits == 0) continue;
          eighths = (hits + 1) / 2;
          break;
        }
      }
      const Color c = colour(px + 0.5, py + 0.5);
      img.SetPixel(px, py, eighths == 8 ? c : Mix(img.Pixel(px, py), c, eighths, 8));
    }
  }
}

template <class Shape>
void Fill(RgbImage& img, const Shape& shape, Color c) {
  Fill(img, shape, [c](double, double) { return c; });
}

// Light falls from the top left: a surface facing it is lighter, in four steps.
auto Lit(Color dark, Color light) {
  return [=](double x, double y) {
    const double a = std::atan2(y - kCentre, x - kCentre);
    const double facing = (1.0 - std::cos(a - (-3 * kPi / 4))) / 2;  // 0 facing the light
    const int step = std::clamp(static_cast<int>(facing * 4), 0, 3);
    return Mix(light, dark, step, 3);
  };
}

}  // namespace

RgbImage DrawDemoPicture() {
  RgbImage img(kSize, kSize, platform::kPaper);
  const double c = kCentre;
  // Housing: a rim lit from the top left around the rotor well.
  Fill(img, Disc{c, c, 95.5}, Rgb(0x3C, 0x41, 0x48));
  Fill(img, Ring{c, c, 92.0, 94.5}, Lit(Rgb(0x55, 0x5B, 0x63), Rgb(0xB4, 0xBA, 0xC1)));
  // Rotor disc, with two faint tracks where the LEDs sweep.
  Fill(img, Disc{c, c, 92.0}, Rgb(0x16, 0x18, 0x1C));
  Fill(img, Ring{c, c, 49.0, 50.0}, Rgb(0x22, 0x25, 0x2B));
  Fill(img, Ring{c, c, 89.5, 90.5}, Rgb(0x22, 0x25, 0x2B));
  // Blade pointing up with its row of LEDs, counterweight pointing down.
  Fill(img, Capsule{c, c, c, c - 89.0, 4.5}, Rgb(0x2E, 0x32, 0x39));
  Fill(img, Capsule{c, c, c, c + 44.0, 7.0}, Rgb(0x2E, 0x32, 0x39));
  for (int i = 0; i < 16; ++i)
    Fill(img, Disc{c, c - 54.0 - i * 2.2, 0.9}, Rgb(0x4A, 0x50, 0x59));
  Fill(img, Disc{c, c + 40.0, 2.5}, Rgb(0x45, 0x4B, 0x53));
  // Hub with its cap and screw.
  Fill(img, Disc{c, c, 20.0}, Lit(Rgb(0x4B, 0x51, 0x59), Rgb(0x9A, 0xA1, 0xA9)));
  Fill(img, Disc{c, c, 16.5}, Rgb(0x8E, 0x95, 0x9D));
  Fill(img, Disc{c, c, 9.0}, Lit(Rgb(0x9C, 0xA3, 0xAB), Rgb(0xE6, 0xE9, 0xEC)));
  Fill(img, Disc{c, c, 3.2}, Rgb(0x50, 0x56, 0x5E));
  Fill(img, Capsule{c - 2.4, c, c + 2.4, c, 0.6}, Rgb(0x2A, 0x2E, 0x34));
  return img;
}

}  // namespace kirrup
