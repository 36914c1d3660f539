// A true-colour surface with an alpha channel for small icons: shapes are laid down at a
// finer resolution and averaged down, so their edges come out antialiased over a transparent
// background. Coordinates are the icon's own pixels, x right and y down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/data/interface_art.h"

namespace zandrel::data::icons {

using interface::Contour;
using interface::Grid;
using interface::Point;
using interface::Rgb;

// Fine samples per icon pixel on each axis, unless a canvas asks for fewer.
inline constexpr int kFine = 8;

class IconCanvas {
 public:
  // side x side pixels, every one transparent, each of fine x fine samples. A large icon
  // needs fewer samples a pixel for edges as smooth.
  explicit IconCanvas(int side, int fine = kFine);

  int Side() const { return side_; }
  int Fine() const { return fine_; }

  // The fine samples inside `contours` (even-odd rule, so a contour within another cuts a
  // hole): 1 inside, 0 outside.
  Grid Mask(const std::vector<Contour>& contours) const;

  // Lays `colour` with weight `alpha` over every sample of the mask.
  void Fill(const Grid& mask, Rgb colour, float alpha = 1);

  // How every part of an icon is drawn: a dark outline `outline` pixels wide around the
  // shape, then the shape shaded from `top` at its highest sample to `bottom` at its lowest.
  void Solid(const Grid& mask, Rgb top, Rgb bottom, float outline = 1);

  // 8-bit red, green, blue, alpha, rows top-down, not premultiplied; fully transparent
  // pixels are 0, 0, 0, 0.
  std::vector<std::uint8_t> ToRgba() const;

 private:
  struct Sample {
    float R = 0, G = 0, B = 0, A = 0;  // premultiplied by A
  };
  void Blend(std::size_t sample, Rgb colour, float alpha);

  int side_, fine_;
  std::vector<Sample> samples_;
};

// The icon as an RGBA PNG file.
std::vector<std::uint8_t> EncodePng(const IconCanvas& icon);

// Samples in either mask; samples of `a` that are not in `b`.
Grid Union(Grid a, const Grid& b);
Grid Minus(Grid a, const Grid& b);

// The contour mirrored left to right within an icon `side` pixels wide.
Contour Mirrored(const Contour& contour, float side);
// The contour turned by quarter turns clockwise (on the screen) around `centre`.
Contour Turned(const Contour& contour, int quarterTurns, Point centre);
// A bar of `width` pixels from a to b, with square ends.
Contour Bar(Point a, Point b, float width);

}  // namespace zandrel::data::icons
