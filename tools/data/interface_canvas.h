// A true-colour drawing surface for the interface pictures, the shape, distance and noise
// helpers they are painted with, and the conversion to a 256-colour PCX image with its
// own palette.
#pragma once

#include "tools/data/noise.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "engine/image.h"

namespace zandrel::data::interface {

struct Rgb {
  float R = 0, G = 0, B = 0;
};

// 0xRRGGBB as a colour.
constexpr Rgb Hex(std::uint32_t rgb) {
  return {static_cast<float>(rgb >> 16 & 0xFF), static_cast<float>(rgb >> 8 & 0xFF), static_cast<float>(rgb & 0xFF)};
}
inline Rgb operator*(Rgb c, float k) { return {c.R * k, c.G * k, c.B * k}; }
inline Rgb operator+(Rgb a, Rgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }
// Channel by channel: a colour under a coloured light.
inline Rgb operator*(Rgb a, Rgb b) { return {a.R * b.R, a.G * b.G, a.B * b.B}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }

// A colour ramp through stops placed at increasing positions; clamped at both ends.
struct Stop {
  float At;
  Rgb Colour;
};
Rgb Ramp(std::initializer_list<Stop> stops, float t);

float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

// A grid of numbers the size of a picture (coverage, distances, heights).
struct Grid {
  Grid(int width, int height, float value = 0) : Width(width), Height(height), Values(Size(width, height), value) {}
  float At(int x, int y) const { return Values[Index(x, y)]; }
  float& At(int x, int y) { return Values[Index(x, y)]; }
  // Clamped to the border.
  float Sample(int x, int y) const;
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x);
  }
  static std::size_t Size(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }

  int Width, Height;
  std::vector<float> Values;
};

class Canvas {
 public:
  // A width x height surface, every pixel transparent.
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  bool Opaque(int x, int y) const { return Contains(x, y) && opaque_[Index(x, y)] != 0; }
  Rgb At(int x, int y) const { return colours_[Index(x, y)]; }

  // Both do nothing outside the surface.
  void Set(int x, int y, Rgb colour);
  // Lays `colour` with weight `alpha` over what is there (black where transparent).
  void Blend(int x, int y, Rgb colour, float alpha);
  void Erase(int x, int y);

  // Every `factor` x `factor` block becomes one pixel: the mean of its opaque samples,
  // opaque when at least half of them are.
  Canvas Downsample(int factor) const;

  // Colours are reduced to the 5 bits per channel the game keeps and given palette
  // indices 1..255 (the most frequent colours merged by median cut when there are more);
  // transparent pixels are index 0, whose colour is black. `dither` spreads the 5-bit
  // rounding with an ordered pattern so that soft gradients do not band.
  engine::PcxImage ToPcx(bool dither = false) const;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_, height_;
  std::vector<Rgb> colours_;
  std::vector<std::uint8_t> opaque_;
};

struct Point {
  float X, Y;
};
using Contour = std::vector<Point>;

// How much of each pixel the closed contours cover (even-odd rule), from `samples` x
// `samples` points per pixel; pixel (x, y) spans x..x+1, y..y+1.
Grid Coverage(int width, int height, const std::vector<Contour>& shape, int samples);

// Euclidean distance from each pixel centre to the nearest pixel whose value is below 0.5
// (0 for such pixels themselves).
Grid DistanceInside(const Grid& coverage);
// The same for the complement: distance to the nearest pixel of 0.5 or more.
Grid DistanceOutside(const Grid& coverage);

// Noise in 0..1: per lattice point, smoothly interpolated, and summed over octaves.
float ValueNoise(float x, float y, std::uint32_t seed);
float Fractal(float x, float y, std::uint32_t seed, int octaves);

}  // namespace zandrel::data::interface
