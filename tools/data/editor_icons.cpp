// The editor's command icons and its own icon: plain pictures in one style (a dark outline,
// colours shaded lighter at the top, transparent around), so that a level designer reads each
// at a glance. Arrows in one blue move and turn the cursor; the view icons add a lens or an
// eye; the cell icons show what they put in the cell.
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

#include "editor/command_icons.h"
#include "tools/data/desktop_icons.h"
#include "tools/data/generators.h"
#include "tools/data/icon_canvas.h"

namespace zandrel::data {
namespace {

using icons::Bar;
using icons::Contour;
using icons::Grid;
using icons::IconCanvas;
using icons::Minus;
using icons::Mirrored;
using icons::Point;
using icons::Rgb;
using icons::Turned;
using icons::Union;
using interface::Ellipse;
using interface::Hex;
using interface::Polygon;
using interface::Rectangle;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kSide = editor::kCommandIconSide;
constexpr Point kCentre{kSide / 2.0f, kSide / 2.0f};

// The colours, each a top and a bottom shade.
struct Shade {
  Rgb Top, Bottom;
};
const Shade kMotion{Hex(0xA6D4FF), Hex(0x2569D0)};
const Shade kSteel{Hex(0xF2F4F8), Hex(0x7A8494)};
const Shade kWood{Hex(0xE6AE6E), Hex(0x8E5828)};
const Shade kDarkWood{Hex(0xB27A40), Hex(0x5A3616)};
const Shade kMusic{Hex(0xB0F8FF), Hex(0x0E9EB8)};
const Shade kSun{Hex(0xFFF7A8), Hex(0xFFAE12)};
const Shade kRays{Hex(0xFFE45A), Hex(0xF08A0C)};
const Shade kDimSun{Hex(0xB4AE9C), Hex(0x6A6558)};
const Shade kDimRays{Hex(0xA29C8C), Hex(0x66625A)};
const Shade kBrick{Hex(0xE8825A), Hex(0x9A3A1C)};
const Shade kGo{Hex(0x8CEC8E), Hex(0x1C9236)};
const Shade kStop{Hex(0xFF9482), Hex(0xC41E18)};
const Shade kDoorLight{Hex(0xFFFCE8), Hex(0xFFD446)};
const Shade kSclera{Hex(0xFFFFFF), Hex(0xD2D8E2)};
const Shade kIris{Hex(0x86C4FF), Hex(0x1E5AAA)};
const Shade kGold{Hex(0xFFE88A), Hex(0xD69A14)};
const Rgb kWhite = Hex(0xFFFFFF);
const Rgb kInk = Hex(0x12151A);

void Solid(IconCanvas& icon, const Grid& mask, const Shade& shade, float outline = 1) {
  icon.Solid(mask, shade.Top, shade.Bottom, outline);
}

// An arrow pointing up, centred on x = cx, its tip at tipY and its tail at tailY.
Contour ArrowUp(float cx, float tipY, float tailY, float shaft, float head, float headLength) {
  const float base = tipY + headLength;
  return Polygon({{cx, tipY},
                  {cx + head / 2, base},
                  {cx + shaft / 2, base},
                  {cx + shaft / 2, tailY},
                  {cx - shaft / 2, tailY},
                  {cx - shaft / 2, base},
                  {cx - head / 2, base}});
}

// An ellipse turned by `tilt` radians.
Contour TiltedEllipse(Point c, float rx, float ry, float tilt) {
  Contour ellipse;
  for (const Point p : Ellipse(0, 0, rx, ry)) {
    ellipse.push_back(
        {c.X + p.X * std::cos(tilt) - p.Y * std::sin(tilt), c.Y + p.X * std::sin(tilt) + p.Y * std::cos(tilt)});
  }
  return ellipse;
}

// Quarter turns clockwise from "up": 0 forward, 1 right, 2 backwards, 3 left.
IconCanvas Move(int quarterTurns) {
  IconCanvas icon(kSide);
  Solid(icon, icon.Mask({Turned(ArrowUp(12, 1.5f, 22.5f, 7, 19, 10), quarterTurns, kCentre)}), kMotion);
  return icon;
}

// Turning left: an arrow running over the top from the right and down at the left.
IconCanvas Rotate(bool right) {
  IconCanvas icon(kSide);
  constexpr float cx = 12, cy = 12.5f, inner = 5, outer = 9.2f;
  const Contour arc = interface::Arc(cx, cy, inner, outer, 0.2f * kPi, -kPi);
  const Contour head =
      Polygon({{cx - outer - 2.6f, cy}, {cx - inner + 2.6f, cy}, {cx - (inner + outer) / 2, cy + 8.5f}});
  auto side = [&](const Contour& c) { return right ? Mirrored(c, kSide) : c; };
  Solid(icon, Union(icon.Mask({side(arc)}), icon.Mask({side(head)})), kMotion);
  return icon;
}

IconCanvas Zoom(bool in) {
  IconCanvas icon(kSide);
  constexpr Point lens{9.5f, 9.5f};
  constexpr float outer = 8.3f, inner = 5.9f;
  Solid(icon, icon.Mask({Bar({15, 15}, {21.6f, 21.6f}, 4.6f)}), kDarkWood);
  icon.Fill(icon.Mask({Ellipse(lens.X, lens.Y, inner, inner)}), Hex(0xCDEBFF), 0.85f);
  Solid(icon, icon.Mask({Ellipse(lens.X, lens.Y, outer, outer), Ellipse(lens.X, lens.Y, inner, inner)}), kSteel);
  Grid sign = icon.Mask({Bar({lens.X - 3.6f, lens.Y}, {lens.X + 3.6f, lens.Y}, 2.3f)});
  if (in) sign = Union(sign, icon.Mask({Bar({lens.X, lens.Y - 3.6f}, {lens.X, lens.Y + 3.6f}, 2.3f)}));
  icon.Fill(sign, Hex(0x0C3470));
  return icon;
}

// An almond-shaped eye centred on (cx, cy).
void Eye(IconCanvas& icon, float cx, float cy) {
  Contour almond;
  constexpr int kSteps = 24;
  for (int i = 0; i <= kSteps; ++i) {
    const float t = static_cast<float>(i) / kSteps;
    almond.push_back({cx - 10.5f + 21 * t, cy - 5.8f * std::sin(t * kPi)});
  }
  for (int i = kSteps - 1; i > 0; --i) {
    const float t = static_cast<float>(i) / kSteps;
    almond.push_back({cx - 10.5f + 21 * t, cy + 5.8f * std::sin(t * kPi)});
  }
  const Grid white = icon.Mask({almond});
  Solid(icon, white, kSclera);
  // The iris stays inside the lids.
  Solid(icon, Minus(icon.Mask({Ellipse(cx, cy, 4, 4)}), Minus(icon.Mask({Ellipse(cx, cy, 4, 4)}), white)), kIris, 0.6f);
  icon.Fill(icon.Mask({Ellipse(cx, cy, 1.8f, 1.8f)}), kInk);
  icon.Fill(icon.Mask({Ellipse(cx + 1.4f, cy - 1.4f, 0.9f, 0.9f)}), kWhite);
}

// The top view raises the eye over the cursor, the down view lowers it.
IconCanvas Look(bool up) {
  IconCanvas icon(kSide);
  const Contour arrow = ArrowUp(12, 0.8f, 9.5f, 4, 11, 5.5f);
  Solid(icon, icon.Mask({up ? arrow : Turned(arrow, 2, kCentre)}), kMotion);
  Eye(icon, 12, up ? 16.8f : 7.2f);
  return icon;
}

IconCanvas Climb(bool up) {
  IconCanvas icon(kSide);
  Grid ladder = icon.Mask({Bar({3.5f, 1.5f}, {3.5f, 22.5f}, 2.2f)});
  ladder = Union(ladder, icon.Mask({Bar({10.5f, 1.5f}, {10.5f, 22.5f}, 2.2f)}));
  for (const float y : {5.0f, 10.0f, 15.0f, 20.0f})
    ladder = Union(ladder, icon.Mask({Bar({3.5f, y}, {10.5f, y}, 1.8f)}));
  Solid(icon, ladder, kWood);
  const Contour arrow = ArrowUp(17.8f, 1.5f, 22.5f, 4.6f, 11.4f, 8);
  Solid(icon, icon.Mask({up ? arrow : Turned(arrow, 2, {17.8f, 12})}), kMotion);
  return icon;
}

// Two beamed notes, in the colour the view gives music cells.
IconCanvas Music() {
  IconCanvas icon(kSide);
  Grid note = icon.Mask({TiltedEllipse({6.8f, 18.8f}, 3.6f, 2.6f, -0.38f)});
  note = Union(note, icon.Mask({TiltedEllipse({16.8f, 16.6f}, 3.6f, 2.6f, -0.38f)}));
  note = Union(note, icon.Mask({Rectangle(9.2f, 4.6f, 11, 18.4f)}));
  note = Union(note, icon.Mask({Rectangle(19.2f, 2.6f, 21, 16.2f)}));
  note = Union(note, icon.Mask({Polygon({{9.2f, 4.2f}, {21, 1.6f}, {21, 5.4f}, {9.2f, 8}})}));
  Solid(icon, note, kMusic);
  return icon;
}

IconCanvas Sun(bool bright) {
  IconCanvas icon(kSide);
  const float reach = bright ? 11.6f : 9.4f, width = bright ? 3.4f : 2.6f;
  Grid rays(kSide * icons::kFine, kSide * icons::kFine);
  for (int k = 0; k < 8; ++k) {
    const float a = static_cast<float>(k) * kPi / 4;
    const Point along{std::cos(a), std::sin(a)}, across{-along.Y, along.X};
    constexpr float from = 7.4f;
    rays =
        Union(rays, icon.Mask({Polygon(
                        {{12 + along.X * from + across.X * width / 2, 12 + along.Y * from + across.Y * width / 2},
                         {12 + along.X * reach, 12 + along.Y * reach},
                         {12 + along.X * from - across.X * width / 2, 12 + along.Y * from - across.Y * width / 2}})}));
  }
  Solid(icon, rays, bright ? kRays : kDimRays);
  Solid(icon, icon.Mask({Ellipse(12, 12, bright ? 5.4f : 4.8f, bright ? 5.4f : 4.8f)}), bright ? kSun : kDimSun);
  return icon;
}

// A brick of three courses with a badge in its lower right corner: a green plus to put the
// current object, a red cross to clear the cell.
IconCanvas Brick(bool put) {
  IconCanvas icon(kSide);
  constexpr float left = 1.5f, top = 3.5f, right = 20.5f, bottom = 18.5f;
  Solid(icon, icon.Mask({Rectangle(left, top, right, bottom)}), kBrick);
  constexpr float course = (bottom - top) / 3;
  Grid mortar = icon.Mask({Bar({left, top + course}, {right, top + course}, 1.1f)});
  mortar = Union(mortar, icon.Mask({Bar({left, top + 2 * course}, {right, top + 2 * course}, 1.1f)}));
  for (const auto& [x, row] : std::array<std::pair<float, int>, 4>{{{11, 0}, {6.2f, 1}, {15.8f, 1}, {11, 2}}}) {
    const float y0 = top + course * static_cast<float>(row);
    mortar = Union(mortar, icon.Mask({Bar({x, y0}, {x, y0 + course}, 1.1f)}));
  }
  icon.Fill(mortar, Hex(0xF2DEC4), 0.9f);
  constexpr Point badge{17.6f, 17.6f};
  Solid(icon, icon.Mask({Ellipse(badge.X, badge.Y, 5.8f, 5.8f)}), put ? kGo : kStop);
  constexpr float arm = 3.3f;
  const float turn = put ? 0 : kPi / 4;
  Grid sign(kSide * icons::kFine, kSide * icons::kFine);
  for (const float a : {turn, turn + kPi / 2}) {
    const Point d{arm * std::cos(a), arm * std::sin(a)};
    sign = Union(sign, icon.Mask({Bar({badge.X - d.X, badge.Y - d.Y}, {badge.X + d.X, badge.Y + d.Y}, 2.3f)}));
  }
  icon.Fill(sign, kWhite);
  return icon;
}

// A green flag on a pole.
IconCanvas StartFlag() {
  IconCanvas icon(kSide);
  Solid(icon, icon.Mask({Ellipse(5.4f, 22, 3.6f, 1.4f)}), kSteel);
  Solid(icon, icon.Mask({Rectangle(4.3f, 2.5f, 6.5f, 22)}), kSteel);
  Contour flag;
  constexpr int kSteps = 16;
  for (int i = 0; i <= kSteps; ++i) {
    const float t = static_cast<float>(i) / kSteps;
    flag.push_back({6.5f + 15.5f * t, 3.2f + 1.6f * std::sin(t * 2 * kPi)});
  }
  for (int i = kSteps; i >= 0; --i) {
    const float t = static_cast<float>(i) / kSteps;
    flag.push_back({6.5f + 15.5f * t, 13.2f + 1.6f * std::sin(t * 2 * kPi)});
  }
  Solid(icon, icon.Mask({flag}), kGo);
  Solid(icon, icon.Mask({Ellipse(5.4f, 2.2f, 1.8f, 1.8f)}), kGold, 0.8f);
  return icon;
}

// An open door with light beyond it.
IconCanvas ExitDoor() {
  IconCanvas icon(kSide);
  const Contour outer = Rectangle(2.5f, 1.5f, 16.5f, 22.5f), inner = Rectangle(5, 4, 14, 22.5f);
  Solid(icon, icon.Mask({outer}), kDarkWood);
  Solid(icon, icon.Mask({inner}), kDoorLight, 0);
  Solid(icon, icon.Mask({Polygon({{14, 4}, {21.5f, 1.2f}, {21.5f, 23.2f}, {14, 22.5f}})}), kWood);
  Solid(icon, icon.Mask({Ellipse(19.6f, 12.6f, 1, 1.2f)}), kGold, 0.6f);
  return icon;
}

IconCanvas Draw(std::string_view name) {
  if (name == "I_RotateLeft") return Rotate(false);
  if (name == "I_RotateRight") return Rotate(true);
  if (name == "I_MoveForward") return Move(0);
  if (name == "I_MoveRight") return Move(1);
  if (name == "I_MoveBack") return Move(2);
  if (name == "I_MoveLeft") return Move(3);
  if (name == "I_ZoomIn") return Zoom(true);
  if (name == "I_ZoomOut") return Zoom(false);
  if (name == "I_LookUp") return Look(true);
  if (name == "I_LookDown") return Look(false);
  if (name == "I_GoUp") return Climb(true);
  if (name == "I_GoDown") return Climb(false);
  if (name == "I_SFX") return Music();
  if (name == "I_Brighter") return Sun(true);
  if (name == "I_Darker") return Sun(false);
  if (name == "I_PutBlock") return Brick(true);
  if (name == "I_DelBlock") return Brick(false);
  if (name == "I_Start") return StartFlag();
  return ExitDoor();
}

}  // namespace

void GenerateEditorIcons(DataTree& tree) {
  for (const editor::CommandIcon& command : editor::kCommandIcons) {
    tree.Add(command.File, icons::EncodePng(Draw(command.Name)));
  }
  tree.Add(editor::kEditorIconFile, icons::EncodePng(DrawEditorIcon(editor::kEditorIconSide)));
}

}  // namespace zandrel::data
