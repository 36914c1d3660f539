// The in-game menu: a gold-framed slate panel with the six entries in the big font, each
// with a small gold symbol at its right, and the arrow that marks the chosen entry.
// Everything outside the panel is index 0, so the game's view stays visible around it.
// The network lobby's panel is of the same make.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/data/interface_art.h"
#include "tools/data/interface_fonts.h"

namespace zandrel::data::interface {
namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr int kFine = 2;
constexpr float kPi = std::numbers::pi_v<float>;

// The panel and its gold frame, in pixels of the final picture.
constexpr float kLeft = 40, kTop = 34, kRight = 280, kBottom = 204, kCorner = 9, kFrame = 6;

constexpr std::array<std::string_view, 6> kEntries = {"RESTART LEVEL", "LOAD GAME", "SAVE GAME",
                                                      "CHANGE VIEW",   "QUIT",      "RESUME"};

// The game draws the marker of entry i from y = 0.366 + 0.072 i (fractions of the
// screen), 0.0708 high, at x 0.2 to 0.275; each entry is centred on the marker and starts
// just right of x 0.28.
float EntryCentre(int entry) { return (0.366f + 0.072f * static_cast<float>(entry) + 0.035f) * kHeight; }
constexpr int kEntryX = 90;
constexpr int kIconX = 248;  // centre of the symbols

Contour Chamfered(float x0, float y0, float x1, float y1, float cut) {
  return Polygon({{x0 + cut, y0},
                  {x1 - cut, y0},
                  {x1, y0 + cut},
                  {x1, y1 - cut},
                  {x1 - cut, y1},
                  {x0 + cut, y1},
                  {x0, y1 - cut},
                  {x0, y0 + cut}});
}

Contour Scaled(const Contour& contour) {
  Contour fine;
  for (const Point p : contour) fine.push_back({p.X * kFine, p.Y * kFine});
  return fine;
}

// The symbol of each entry, about 14 pixels across, centred on (x, y).
std::vector<Contour> Symbol(int entry, float x, float y) {
  switch (entry) {
    case 0: {  // restart: a ring running clockwise into an arrowhead at its top
      const float start = -0.25f * kPi, end = 1.42f * kPi;
      const Point out{std::cos(end), std::sin(end)}, along{-out.Y, out.X};
      return {Arc(x, y, 3.2f, 6.3f, start, end),
              Polygon({{x + 1.5f * out.X, y + 1.5f * out.Y},
                       {x + 9.5f * out.X, y + 9.5f * out.Y},
                       {x + 5.5f * out.X + 5.5f * along.X, y + 5.5f * out.Y + 5.5f * along.Y}})};
    }
    case 1:    // load: an arrow rising out of a tray
    case 2: {  // save: an arrow sinking into it
      const Contour tray = Polygon({{x - 7, y + 1},
                                    {x - 4.5f, y + 1},
                                    {x - 4.5f, y + 4.5f},
                                    {x + 4.5f, y + 4.5f},
                                    {x + 4.5f, y + 1},
                                    {x + 7, y + 1},
                                    {x + 7, y + 7},
                                    {x - 7, y + 7}});
      const float tip = entry == 1 ? -7.5f : 3.0f, tail = entry == 1 ? 2.5f : -7.5f, barb = entry == 1 ? -3 : -1.5f;
      return {tray, Polygon({{x, y + tip},
                             {x + 4.5f, y + barb},
                             {x + 1.6f, y + barb},
                             {x + 1.6f, y + tail},
                             {x - 1.6f, y + tail},
                             {x - 1.6f, y + barb},
                             {x - 4.5f, y + barb}})};
    }
    case 3: {  // change view: an eye
      Contour eye;
      for (int i = 0; i <= 16; ++i) {
        const float t = static_cast<float>(i) / 16;
        eye.push_back({x - 8 + 16 * t, y - 5.5f * std::sin(t * kPi)});
      }
      for (int i = 15; i > 0; --i) {
        const float t = static_cast<float>(i) / 16;
        eye.push_back({x - 8 + 16 * t, y + 5.5f * std::sin(t * kPi)});
      }
      return {eye, Ellipse(x, y, 3.6f, 3.6f), Ellipse(x, y, 1.6f, 1.6f)};
    }
    case 4:  // quit: a door with an arrow leaving it
      return {Polygon({{x - 7, y - 7},
                       {x + 2, y - 7},
                       {x + 2, y - 3},
                       {x - 0.5f, y - 3},
                       {x - 0.5f, y - 4.5f},
                       {x - 4.5f, y - 4.5f},
                       {x - 4.5f, y + 4.5f},
                       {x - 0.5f, y + 4.5f},
                       {x - 0.5f, y + 3},
                       {x + 2, y + 3},
                       {x + 2, y + 7},
                       {x - 7, y + 7}}),
              Polygon({{x + 8, y},
                       {x + 3.5f, y - 4.5f},
                       {x + 3.5f, y - 1.6f},
                       {x - 2.5f, y - 1.6f},
                       {x - 2.5f, y + 1.6f},
                       {x + 3.5f, y + 1.6f},
                       {x + 3.5f, y + 4.5f}})};
    default:  // resume: play
      return {Polygon({{x - 5, y - 7}, {x + 7, y}, {x - 5, y + 7}})};
  }
}

// Bevelled gold in a dark rim `rim` pixels wide over the fine canvas, the shapes given in
// final pixels.
void PaintGold(Canvas& fine, const std::vector<Contour>& shapes, float bevel, float brightness, float rim = 1.2f) {
  std::vector<Contour> scaled;
  for (const Contour& c : shapes) scaled.push_back(Scaled(c));
  const Grid cover = Coverage(fine.Width(), fine.Height(), scaled, 3);
  const Grid outside = DistanceOutside(cover);
  for (int y = 0; y < fine.Height(); ++y) {
    for (int x = 0; x < fine.Width(); ++x) {
      if (outside.At(x, y) > 0 && outside.At(x, y) <= rim * kFine) fine.Blend(x, y, Hex(0x0A0604), 0.85f);
    }
  }
  const BevelLighting lit = LightBevel(cover, bevel * kFine);
  Fill(fine, cover, [&](int x, int y) {
    return Gold(brightness * (0.15f + 0.9f * lit.Light.At(x, y))) + Hex(0xFFFFFF) * (0.7f * lit.Shine.At(x, y));
  });
}

// A slate panel in a rounded gold frame over the fine canvas, the box given in final pixels,
// with a rivet in each corner. The slate is deep blue, lighter toward the middle (fading out
// `reachX` pixels across and `reachY` down from it), with a faint grain of its own seed,
// sunk under the frame's shadow.
void PaintPanel(Canvas& fine, float left, float top, float right, float bottom, float reachX, float reachY,
                std::uint32_t grainSeed) {
  const int w = fine.Width(), h = fine.Height();
  const Grid panel = Coverage(w, h, {Scaled(Chamfered(left, top, right, bottom, kCorner))}, 2);
  const Grid inner =
      Coverage(w, h, {Scaled(Chamfered(left + kFrame, top + kFrame, right - kFrame, bottom - kFrame, kCorner - 2))}, 2);
  const Grid fromEdge = DistanceInside(inner);
  Fill(fine, panel, [&](int x, int y) {
    const float px = static_cast<float>(x) / kFine, py = static_cast<float>(y) / kFine;
    const float middle = std::hypot((px - 160) / reachX, (py - 120) / reachY);
    const float grain = Fractal(px / 7, py / 3, grainSeed, 3);
    const float sunk = SmoothStep(0, 5.0f * kFine, fromEdge.At(x, y));
    return Mix(Hex(0x0E1322), Hex(0x24304A), (1 - 0.6f * middle) * (0.75f + 0.5f * grain)) * (0.45f + 0.55f * sunk);
  });
  Grid frame(w, h);
  for (std::size_t i = 0; i < frame.Values.size(); ++i)
    frame.Values[i] = std::max(0.0f, panel.Values[i] - inner.Values[i]);
  const BevelLighting frameLit = LightBevel(frame, 3.0f * kFine);
  Fill(fine, frame, [&](int x, int y) {
    return Gold(0.1f + 0.95f * frameLit.Light.At(x, y)) + Hex(0xFFFFFF) * (0.8f * frameLit.Shine.At(x, y));
  });
  for (const auto& [x, y] : {std::pair{left + 13, top + 13}, std::pair{right - 13, top + 13},
                             std::pair{left + 13, bottom - 13}, std::pair{right - 13, bottom - 13}}) {
    PaintGold(fine, {Ellipse(x, y, 3, 3, 24)}, 1.8f, 1.0f);
  }
}

}  // namespace

Canvas MakeMenu() {
  Canvas fine(kWidth * kFine, kHeight * kFine);
  PaintPanel(fine, kLeft, kTop, kRight, kBottom, 130, 95, 51);
  // A gold rule under the heading, a symbol for each entry.
  PaintGold(fine, {Chamfered(60, 68, 260, 71, 1.5f)}, 1.2f, 1.0f);
  for (int entry = 0; entry < static_cast<int>(kEntries.size()); ++entry) {
    PaintGold(fine, Symbol(entry, kIconX, EntryCentre(entry)), 1.5f, 0.95f);
  }
  Canvas menu = fine.Downsample(kFine);
  constexpr std::string_view kHeading = "OPTIONS";
  DrawText(menu, Font::Big, (kWidth - TextWidth(Font::Big, kHeading)) / 2, 48, kHeading);
  for (int entry = 0; entry < static_cast<int>(kEntries.size()); ++entry) {
    // A big capital's outlined body spans rows 0-12 of its cell: centre it on the entry.
    DrawText(menu, Font::Big, kEntryX, static_cast<int>(std::lround(EntryCentre(entry) - 6)),
             kEntries[static_cast<std::size_t>(entry)]);
  }
  return menu;
}

Canvas MakeLobby() {
  // The game writes the heading, the list, the status line and the two captions; their
  // places are these, as fractions of the screen: list well x 0.1-0.9, y 0.2-0.667;
  // buttons x 0.1-0.47 and 0.53-0.9, y 0.76-0.86.
  constexpr float left = 16, top = 12, right = 304, bottom = 228;
  Canvas fine(kWidth * kFine, kHeight * kFine);
  PaintPanel(fine, left, top, right, bottom, 150, 110, 53);
  const int w = fine.Width(), h = fine.Height();
  // The list's well: near-black, deepest at its upper edge, in a thin gold rim.
  PaintGold(fine, {Chamfered(30, 46, 290, 162, 3)}, 1.0f, 0.8f);
  const Grid well = Coverage(w, h, {Scaled(Chamfered(32, 48, 288, 160, 2))}, 2);
  Fill(fine, well, [&](int, int y) {
    const float py = static_cast<float>(y) / kFine;
    return Mix(Hex(0x03050A), Hex(0x0B1120), SmoothStep(48, 70, py));
  });
  PaintGold(fine, {Chamfered(60, 33, 260, 35.5f, 1)}, 1.2f, 1.0f);
  // The two button plates: slate raised in a gold rim.
  for (const auto& [x0, x1] : {std::pair{32.0f, 150.0f}, std::pair{170.0f, 288.0f}}) {
    PaintGold(fine, {Chamfered(x0, 182, x1, 206, 4)}, 1.5f, 0.95f);
    const Grid plate = Coverage(w, h, {Scaled(Chamfered(x0 + 3, 185, x1 - 3, 203, 3))}, 2);
    Fill(fine, plate, [&](int, int y) {
      const float py = static_cast<float>(y) / kFine;
      return Mix(Hex(0x2C3A58), Hex(0x121A2C), SmoothStep(185, 203, py));
    });
  }
  return fine.Downsample(kFine);
}

Canvas MakeMarker() {
  // Drawn 0.075 x 0.0708 of the screen: 48 x 34 keeps its pixels square at 640 x 480.
  constexpr int kMarkerWidth = 48, kMarkerHeight = 34;
  Canvas fine(kMarkerWidth * kFine, kMarkerHeight * kFine);
  const float cy = kMarkerHeight / 2.0f;
  PaintGold(
      fine,
      {Polygon(
          {{3, cy - 5.5f}, {22, cy - 5.5f}, {22, cy - 14}, {45, cy}, {22, cy + 14}, {22, cy + 5.5f}, {3, cy + 5.5f}})},
      3.5f, 1.05f, 2);
  Canvas marker = fine.Downsample(kFine);
  AddSparkle(marker, 26, cy - 8, 6);
  return marker;
}

}  // namespace zandrel::data::interface
