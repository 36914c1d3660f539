// The title logo: "ZANDREL" in heavy, slanted, bevelled gold letters on black.
#include <cmath>
#include <tuple>
#include <vector>

#include "tools/data/interface_art.h"

namespace zandrel::data::interface {
namespace {

// Letters are drawn in a box of 120 x 100 units (y downward): stems 28 units wide, bars
// 24 high, outer corners cut at 45 degrees. Holes are further contours (even-odd).
using Letter = std::vector<Contour>;

Letter LetterZ() {
  return {
      Polygon({{0, 0}, {120, 0}, {120, 24}, {48, 76}, {120, 76}, {120, 100}, {0, 100}, {0, 76}, {72, 24}, {0, 24}})};
}
Letter LetterA() {
  return {
      Polygon({{0, 100}, {0, 30}, {30, 0}, {90, 0}, {120, 30}, {120, 100}, {92, 100}, {92, 72}, {28, 72}, {28, 100}}),
      Polygon({{28, 48}, {28, 36}, {40, 24}, {80, 24}, {92, 36}, {92, 48}})};
}
Letter LetterN() {
  return {
      Polygon({{0, 0}, {28, 0}, {92, 62}, {92, 0}, {120, 0}, {120, 100}, {92, 100}, {28, 38}, {28, 100}, {0, 100}})};
}
Letter LetterD() {
  return {Polygon({{0, 0}, {90, 0}, {120, 30}, {120, 70}, {90, 100}, {0, 100}}),
          Polygon({{28, 24}, {80, 24}, {92, 36}, {92, 64}, {80, 76}, {28, 76}})};
}
Letter LetterR() {
  return {Polygon({{0, 0},
                   {92, 0},
                   {120, 28},
                   {120, 44},
                   {102, 60},
                   {120, 100},
                   {90, 100},
                   {75, 68},
                   {28, 68},
                   {28, 100},
                   {0, 100}}),
          Polygon({{28, 24}, {84, 24}, {92, 32}, {92, 36}, {84, 44}, {28, 44}})};
}
Letter LetterE() {
  return {Polygon({{0, 0},
                   {120, 0},
                   {120, 24},
                   {28, 24},
                   {28, 38},
                   {96, 38},
                   {96, 62},
                   {28, 62},
                   {28, 76},
                   {120, 76},
                   {120, 100},
                   {0, 100}})};
}
Letter LetterL() { return {Polygon({{0, 0}, {28, 0}, {28, 76}, {120, 76}, {120, 100}, {0, 100}})}; }

constexpr int kWidth = 600, kHeight = 80;
constexpr int kFine = 3;  // drawn three times larger, then reduced: smooth edges
constexpr float kLetterWidth = 120, kGap = 16, kSlant = 0.2f, kMargin = 16;
constexpr float kBevel = 4.5f;  // pixels of the final picture

// Where a letter's unit point lands in the fine picture.
struct Placement {
  float Unit, Left, Top;
  Point Map(int letter, Point p) const {
    return {Left + (static_cast<float>(letter) * (kLetterWidth + kGap) + p.X + (100 - p.Y) * kSlant) * Unit,
            Top + p.Y * Unit};
  }
};

// Gold polished like a mirror: pale sky above a dark horizon line, warm ground below.
Rgb Face(float v) {
  return Ramp({{0, Hex(0xFFF8C8)},
               {0.38f, Hex(0xFFD25A)},
               {0.49f, Hex(0xE8A02A)},
               {0.52f, Hex(0x8A480A)},
               {0.72f, Hex(0xC27A1C)},
               {1.0f, Hex(0xFFD466)}},
              v);
}

}  // namespace

Canvas MakeLogo() {
  const std::vector<Letter> letters = {LetterZ(), LetterA(), LetterN(), LetterD(), LetterR(), LetterE(), LetterL()};
  const float units =
      static_cast<float>(letters.size()) * kLetterWidth + static_cast<float>(letters.size() - 1) * kGap + 100 * kSlant;
  Placement place;
  place.Unit = (kWidth - 2 * kMargin) * kFine / units;
  place.Left = kMargin * kFine;
  place.Top = (kHeight * kFine - 100 * place.Unit) / 2;

  std::vector<Contour> shape;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    for (const Contour& contour : letters[i]) {
      Contour placed;
      for (const Point p : contour) placed.push_back(place.Map(static_cast<int>(i), p));
      shape.push_back(placed);
    }
  }
  const int w = kWidth * kFine, h = kHeight * kFine;
  const Grid cover = Coverage(w, h, shape, 2);
  const BevelLighting lit = LightBevel(cover, kBevel * kFine);
  const Grid outside = DistanceOutside(cover);

  Canvas fine(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // A dark rim hugs the letters, then a faint ember glow fades into black.
      const float away = outside.At(x, y) / kFine;
      const Rgb glow = Hex(0x6A2800) * (0.6f * std::exp(-std::max(0.0f, away - 2) / 2.5f));
      fine.Set(x, y, Mix(glow, Hex(0x120600), 1 - SmoothStep(1.6f, 2.6f, away)));
      const float v = (static_cast<float>(y) - place.Top) / (100 * place.Unit);
      const Rgb metal = Face(v) * (0.2f + 0.8f * lit.Light.At(x, y)) + Hex(0xFFFFFF) * (0.9f * lit.Shine.At(x, y));
      fine.Blend(x, y, metal, cover.At(x, y));
    }
  }
  Canvas logo = fine.Downsample(kFine);
  // Glints on the Z's upper corner, the A's top and the L's foot.
  for (const auto& [letter, point, size] :
       {std::tuple{0, Point{4, 4}, 14.0f}, std::tuple{1, Point{86, 5}, 9.0f}, std::tuple{6, Point{114, 80}, 11.0f}}) {
    const Point at = place.Map(letter, point);
    AddSparkle(logo, at.X / kFine, at.Y / kFine, size);
  }
  return logo;
}

}  // namespace zandrel::data::interface
