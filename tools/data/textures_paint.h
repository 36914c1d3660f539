// Painting texture images: tileable noise, cellular patterns, shapes with soft edges, and
// a canvas that holds a ramp and a fractional brightness step per pixel until it is
// dithered onto the palette.
#pragma once

#include "tools/data/noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/image.h"
#include "tools/data/textures_palette.h"

namespace zandrel::data::textures {

constexpr int kTextureSide = 128;
constexpr float kPi = 3.14159265f;

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float SmoothStep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}
// A coordinate folded into 0 .. kTextureSide.
inline float Wrap(float v) {
  const float w = std::fmod(v, static_cast<float>(kTextureSide));
  return w < 0 ? w + kTextureSide : w;
}
inline int WrapPixel(int v) { return ((v % kTextureSide) + kTextureSide) % kTextureSide; }

// Gradient noise in about -1 .. 1 over pixel coordinates, with cellsX x cellsY lattice
// cells across the image, so that it repeats every kTextureSide pixels both ways.
float Noise(float x, float y, int cellsX, int cellsY, std::uint32_t seed);
// Octaves of Noise, the lattice doubling and the amplitude falling by `gain` each time;
// normalised to about -1 .. 1.
float Fbm(float x, float y, int cells, int octaves, std::uint32_t seed, float gain = 0.5f);

// The nearest and second-nearest points of a jittered grid of grid x grid cells that
// repeats across the image; the distances are in pixels.
struct CellSample {
  float F1 = 0, F2 = 0;
  std::uint32_t Id = 0;  // of the nearest point, for per-cell colours
  float Dx = 0, Dy = 0;  // from the nearest point to the sample
};
CellSample Cells(float x, float y, int grid, std::uint32_t seed, float jitter = 0.9f);
// The same with gridX x gridY cells, long where the counts differ; distances are then
// measured with y scaled by the cells' width over their height.
CellSample Cells(float x, float y, int gridX, int gridY, std::uint32_t seed, float jitter);

// The 4 x 4 ordered dither threshold of a pixel, in (0, 1).
float Bayer(int x, int y);

// A ramp and a fractional step on it (0 .. 15, rounded by dithering at the end).
struct Tone {
  Ramp RampOf = Ramp::Grey;
  float Level = 0;
};

// `over` laid on `under` by t (0 .. 1) at a pixel centre: the step blends, the ramp
// changes where t passes the pixel's dither threshold.
inline Tone BlendTones(Tone under, Tone over, float t, float x, float y) {
  const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
  return Tone{t > Bayer(px, py) ? over.RampOf : under.RampOf, Mix(under.Level, over.Level, Clamp01(t))};
}

// 128 x 128 pixels, each see-through or a tone; coordinates wrap around the edges, so
// whatever crosses one edge comes back at the other and tiles.
class Canvas {
 public:
  Canvas() { Fill({Ramp::Grey, 8}); }

  void Fill(Tone tone);
  // Sets every pixel from fn(x, y) called at pixel centres.
  template <class Fn>
  void Paint(Fn fn) {
    for (int y = 0; y < kTextureSide; ++y) {
      for (int x = 0; x < kTextureSide; ++x) Set(x, y, fn(x + 0.5f, y + 0.5f));
    }
  }

  const Tone& At(int x, int y) const { return tones_[Offset(x, y)]; }
  bool Opaque(int x, int y) const { return opaque_[Offset(x, y)]; }
  void Set(int x, int y, Tone tone) {
    tones_[Offset(x, y)] = tone;
    opaque_[Offset(x, y)] = true;
  }
  void MakeHole(int x, int y) { opaque_[Offset(x, y)] = false; }
  void MakeAllHoles() { opaque_.fill(false); }
  void AddLevel(int x, int y, float delta) { tones_[Offset(x, y)].Level += delta; }

  // Covers a pixel by `coverage` (0 .. 1) of `tone`: the step blends, the ramp changes
  // where the coverage passes the pixel's dither threshold. A see-through pixel becomes
  // solid from half coverage on, so that edges against holes stay clean.
  void Cover(int x, int y, Tone tone, float coverage);

  // The dithered palette indices with the shared palette. `dither` is the strength of
  // the ordered dither, in steps. A solid pixel never becomes index 0.
  engine::PcxImage ToImage(float dither = 0.7f) const;

 private:
  static int Offset(int x, int y) { return WrapPixel(y) * kTextureSide + WrapPixel(x); }

  std::array<Tone, kTextureSide * kTextureSide> tones_{};
  std::array<bool, kTextureSide * kTextureSide> opaque_{};
};

// Signed distances in pixels, negative inside.
inline float CircleDistance(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by, float r);
float BoxDistance(float x, float y, float cx, float cy, float halfW, float halfH, float corner = 0);
float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry);

// Draws a shape given by its signed distance over the pixels of a box (which may cross
// the edges), anti-aliased over one pixel; tone(x, y, distance) gives the colour.
template <class Distance, class ToneAt>
void DrawShape(Canvas& canvas, float x0, float y0, float x1, float y1, Distance distance, ToneAt tone) {
  for (int py = static_cast<int>(std::floor(y0)) - 1; py <= static_cast<int>(std::ceil(y1)); ++py) {
    for (int px = static_cast<int>(std::floor(x0)) - 1; px <= static_cast<int>(std::ceil(x1)); ++px) {
      const float x = px + 0.5f, y = py + 0.5f;
      const float d = distance(x, y);
      const float coverage = Clamp01(0.5f - d);
      if (coverage > 0) canvas.Cover(px, py, tone(x, y, d), coverage);
    }
  }
}

// Light falls from the upper left: the brightness of a surface facing (nx, ny, nz),
// about -1 .. 1.
inline float Lighting(float nx, float ny, float nz) {
  constexpr float lx = -0.5f, ly = -0.6f, lz = 0.62f;
  return nx * lx + ny * ly + nz * lz;
}

// Light on a dome of radius r at offset (dx, dy) from its centre.
inline float DomeLight(float dx, float dy, float r) {
  const float nx = dx / r, ny = dy / r;
  const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
  return Lighting(nx, ny, nz);
}

// A round stud (a rivet, a nail head) of radius r at (cx, cy): `level` steps up its ramp,
// `gain` more where the light falls on a dome of radius `domeRadius`.
inline void DrawStud(Canvas& canvas, float cx, float cy, float r, Ramp ramp, float level, float gain,
                     float domeRadius) {
  DrawShape(
      canvas, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1,
      [&](float x, float y) { return CircleDistance(x, y, cx, cy, r); },
      [&](float x, float y, float) {
        return Tone{ramp, level + gain * DomeLight(x - cx, y - cy, domeRadius)};
      });
}

// Raised-edge light of a rectangle at distances to its four sides: edges within `width`
// pixels catch the light on the top and left, fall into shadow on the bottom and right.
float BevelLight(float left, float right, float top, float bottom, float width);

}  // namespace zandrel::data::textures
