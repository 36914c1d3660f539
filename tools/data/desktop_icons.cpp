// Both icons are designed on a 64-unit square and drawn at each size from there, so that a
// small icon is the same picture as a large one, only with fewer pixels.
#include "tools/data/desktop_icons.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace zandrel::data {
namespace {

using icons::Contour;
using icons::Grid;
using icons::IconCanvas;
using icons::Point;
using icons::Rgb;
using interface::Ellipse;
using interface::Hex;
using interface::Polygon;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDesign = 64;

struct Shade {
  Rgb Top, Bottom;
};

// An icon drawn in design units.
class Sketch {
 public:
  // From 128 pixels on, 4 x 4 samples a pixel smooth the edges as well as 8 x 8 do at 64.
  explicit Sketch(int side)
      : icon_(side, side >= 128 ? icons::kFine / 2 : icons::kFine), scale_(static_cast<float>(side) / kDesign) {}

  Grid Mask(const std::vector<Contour>& contours) const {
    std::vector<Contour> scaled = contours;
    for (Contour& contour : scaled) {
      for (Point& p : contour) p = {p.X * scale_, p.Y * scale_};
    }
    return icon_.Mask(scaled);
  }
  // The outline keeps a visible width at the smallest sizes.
  void Solid(const std::vector<Contour>& contours, const Shade& shade, float outline) {
    icon_.Solid(Mask(contours), shade.Top, shade.Bottom, std::max(outline * scale_, 0.6f));
  }
  void Fill(const std::vector<Contour>& contours, Rgb colour) { icon_.Fill(Mask(contours), colour); }

  IconCanvas Done() && { return std::move(icon_); }

 private:
  IconCanvas icon_;
  float scale_;
};

// The rounded square both icons stand on.
Contour Tile() {
  Contour tile;
  constexpr float r = 10, lo = 2.5f, hi = kDesign - 2.5f;
  const std::array<std::array<float, 3>, 4> corners{
      {{hi - r, lo + r, -kPi / 2}, {hi - r, hi - r, 0}, {lo + r, hi - r, kPi / 2}, {lo + r, lo + r, kPi}}};
  for (const auto& corner : corners) {
    for (int i = 0; i <= 8; ++i) {
      const float a = corner[2] + kPi / 2 * static_cast<float>(i) / 8;
      tile.push_back({corner[0] + r * std::cos(a), corner[1] + r * std::sin(a)});
    }
  }
  return tile;
}

// A four-pointed glint centred on c.
Contour Glint(Point c, float reach, float waist) {
  Contour star;
  for (int k = 0; k < 8; ++k) {
    const float a = static_cast<float>(k) * kPi / 4 - kPi / 2;
    const float r = k % 2 == 0 ? reach : waist;
    star.push_back({c.X + r * std::cos(a), c.Y + r * std::sin(a)});
  }
  return star;
}

// A point of the ingot's box seen from above and in front: x runs to the lower right, y to
// the lower left, z up.
Point Ingot(float x, float y, float z) {
  constexpr float kUnit = 14.8f, cx = 32, cy = 33;
  return {cx + (x - y) * kUnit * 0.866f, cy + (x + y) * kUnit * 0.5f - z * kUnit};
}

}  // namespace

// The game's icon: a gold ingot, the thing the hero collects, under a glint on a dusk tile.
IconCanvas DrawGameIcon(int side) {
  Sketch icon(side);
  icon.Solid({Tile()}, {Hex(0x6A56B0), Hex(0x1C1438)}, 1.5f);
  constexpr float length = 2.4f, width = 1.2f, height = 0.75f, inset = 0.28f;
  constexpr float x0 = -length / 2, x1 = length / 2, y0 = -width / 2, y1 = width / 2;
  constexpr float tx0 = x0 + inset, tx1 = x1 - inset, ty0 = y0 + inset, ty1 = y1 - inset;
  icon.Solid({Polygon({Ingot(x0, y1, 0), Ingot(x1, y1, 0), Ingot(tx1, ty1, height), Ingot(tx0, ty1, height)})},
             {Hex(0xF6C440), Hex(0xB27812)}, 1.4f);
  icon.Solid({Polygon({Ingot(x1, y1, 0), Ingot(x1, y0, 0), Ingot(tx1, ty0, height), Ingot(tx1, ty1, height)})},
             {Hex(0xC08A22), Hex(0x7A4E0C)}, 1.4f);
  icon.Solid(
      {Polygon({Ingot(tx0, ty0, height), Ingot(tx1, ty0, height), Ingot(tx1, ty1, height), Ingot(tx0, ty1, height)})},
      {Hex(0xFFF4B0), Hex(0xF4C84A)}, 1.4f);
  icon.Solid({Glint({48, 15}, 9, 2.2f)}, {Hex(0xFFFFFF), Hex(0xFFF0B8)}, 1);
  return std::move(icon).Done();
}

// The editor's icon: a brick cube of the level, and a gold Z.
IconCanvas DrawEditorIcon(int side) {
  Sketch icon(side);
  icon.Solid({Tile()}, {Hex(0x46587E), Hex(0x161D2E)}, 1.5f);
  const Point top{26, 10}, left{8, 20}, right{44, 20}, middle{26, 30}, bottomLeft{8, 42}, bottomRight{44, 42},
      bottom{26, 52};
  icon.Solid({Polygon({top, right, middle, left})}, {Hex(0xFFB890), Hex(0xE88A5A)}, 1.4f);
  icon.Solid({Polygon({left, middle, bottom, bottomLeft})}, {Hex(0xD86A3C), Hex(0xA8421E)}, 1.4f);
  icon.Solid({Polygon({middle, right, bottomRight, bottom})}, {Hex(0xA44424), Hex(0x6E2410)}, 1.4f);
  constexpr Point badge{45, 45};
  icon.Solid({Ellipse(badge.X, badge.Y, 14, 14)}, {Hex(0xFFE88A), Hex(0xD69A14)}, 1.4f);
  icon.Fill({Polygon({{badge.X - 7, badge.Y - 8},
                      {badge.X + 7, badge.Y - 8},
                      {badge.X + 7, badge.Y - 5},
                      {badge.X - 2.4f, badge.Y + 5},
                      {badge.X + 7, badge.Y + 5},
                      {badge.X + 7, badge.Y + 8},
                      {badge.X - 7, badge.Y + 8},
                      {badge.X - 7, badge.Y + 5},
                      {badge.X + 2.4f, badge.Y - 5},
                      {badge.X - 7, badge.Y - 5}})},
            Hex(0x4A2A08));
  return std::move(icon).Done();
}

void GenerateDesktopIcons(DataTree& tree) {
  for (const int side : kDesktopIconSides) {
    const std::string folder = "hicolor/" + std::to_string(side) + "x" + std::to_string(side) + "/apps/";
    tree.Add(folder + "zandrel.png", icons::EncodePng(DrawGameIcon(side)));
    tree.Add(folder + "zandrel-editor.png", icons::EncodePng(DrawEditorIcon(side)));
  }
}

}  // namespace zandrel::data
