// The play screen's overlays: the bottom bar with its symbols and the sunken fields the
// game writes its counters into, the radar scope and the two sentry dots.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/data/interface_art.h"
#include "tools/data/interface_fonts.h"

namespace zandrel::data::interface {
namespace {

constexpr int kBarWidth = 320, kBarHeight = 14;

// The fields the game fills, in bar pixels: it writes small-font digits from x 0.13
// (time, 5 characters), 0.625 (ingots, 2), 0.787 (lives, 2) and 0.8937 (level, 7) of the
// screen, their capitals on bar rows 4 to 10.
struct Field {
  int Left, Right;  // the sunken box, both columns included
};
constexpr std::array<Field, 4> kFields = {{{39, 63}, {197, 210}, {249, 261}, {283, 316}}};
constexpr int kFieldTop = 3, kFieldBottom = 11;

// Small symbols drawn pixel by pixel; each letter names a colour, '.' leaves the bar.
struct Sprite {
  int X, Y;
  std::array<std::string_view, 9> Rows;
};

Rgb SpriteColour(char c) {
  switch (c) {
    case 'o': return Hex(0x1A0E04);  // outline
    case 'G': return Hex(0xFFE27A);  // light gold
    case 'g': return Hex(0xE8A630);  // gold
    case 'd': return Hex(0xA0600E);  // dark gold
    case 'w': return Hex(0xFFF8E8);  // white
    case 'k': return Hex(0x201810);  // black
    case 'R': return Hex(0xFF8A80);  // light red
    case 'r': return Hex(0xE02A22);  // red
    case 'm': return Hex(0x8A1010);  // dark red
    case 'p': return Hex(0xB8B0A8);  // grey pole
    default: return {};
  }
}

const std::array<Sprite, 4> kSprites = {{
    // A clock before the time.
    {28,
     3,
     {"..ddddd..", ".dGwwwGd.", "dGwwkwwGd", "dwwwkwwwd", "dwwwkkkwd", "dwwwwwwwd", "dGwwwwwGd", ".dGwwwGd.",
      "..ddddd.."}},
    // An ingot before the ingot count.
    {183,
     4,
     {"..oooooooo..", ".oGwGGGGGGo.", "oGGGGGGGGGGo", "ogggggggggdo", "ogggggggggdo", "oddddddddddo", "oooooooooooo",
      "", ""}},
    // A heart before the lives.
    {238,
     3,
     {".rr...rr.", "rRRr.rrrr", "rRrrrrrrr", "rrrrrrrrm", ".rrrrrrm.", "..rrrrm..", "...rrm...", "....m....", ""}},
    // A chequered flag before the level.
    {273,
     2,
     {"pwkwkw..", "pkwkwkw.", "pwkwkw..", "pkwkwkw.", "p.......", "p.......", "p.......", "p.......", "p......."}},
}};

// The bar's body: dark blue slate under a gold trim, like the menu panel.
Rgb BarBody(int x, int y) {
  const float grain = Fractal(static_cast<float>(x) / 6, static_cast<float>(y) / 2, 61, 3);
  const Rgb body = Mix(Hex(0x1C2640), Hex(0x0C1120), static_cast<float>(y - 3) / 10);
  return body * (0.8f + 0.4f * grain);
}

}  // namespace

Canvas MakeBar() {
  Canvas bar(kBarWidth, kBarHeight);
  for (int y = 0; y < kBarHeight; ++y) {
    for (int x = 0; x < kBarWidth; ++x) {
      Rgb colour;
      switch (y) {
        case 0: colour = Hex(0x140A04); break;
        case 1: colour = Gold(1.3f); break;
        case 2: colour = Gold(0.8f); break;
        case 3: colour = Gold(0.35f); break;
        case kBarHeight - 1: colour = Hex(0x05070C); break;
        default: colour = BarBody(x, y); break;
      }
      bar.Set(x, y, colour);
    }
  }
  // Sunken fields: dark inside, shadowed along the top and left, lit along the bottom and
  // right.
  for (const Field& field : kFields) {
    for (int y = kFieldTop; y <= kFieldBottom; ++y) {
      for (int x = field.Left; x <= field.Right; ++x) {
        Rgb colour = Hex(0x04060C);
        if (y == kFieldTop || x == field.Left) colour = Hex(0x000000);
        if (y == kFieldBottom || x == field.Right) colour = Hex(0x4A5A7C);
        bar.Set(x, y, colour);
      }
    }
  }
  // Grooves between the sections.
  for (const int x : {22, 178, 229, 268}) {
    for (int y = kFieldTop; y <= kFieldBottom; ++y) {
      bar.Set(x, y, Hex(0x03050A));
      bar.Set(x + 1, y, Hex(0x3A4866));
    }
  }
  for (const Sprite& sprite : kSprites) {
    for (int row = 0; row < static_cast<int>(sprite.Rows.size()); ++row) {
      const std::string_view line = sprite.Rows[static_cast<std::size_t>(row)];
      for (int column = 0; column < static_cast<int>(line.size()); ++column) {
        const char c = line[static_cast<std::size_t>(column)];
        if (c != '.') bar.Set(sprite.X + column, sprite.Y + row, SpriteColour(c));
      }
    }
  }
  // The game's name in the free middle, between two gold rules.
  constexpr std::string_view kName = "ZANDREL";
  const int nameX = 121 - TextWidth(Font::Small, kName) / 2;
  DrawText(bar, Font::Small, nameX, 5, kName);
  for (const auto& [from, to] : {std::pair{72, nameX - 5}, std::pair{nameX + TextWidth(Font::Small, kName) + 4, 170}}) {
    for (int x = from; x <= to; ++x) {
      bar.Set(x, 7, Gold(1.05f));
      bar.Set(x, 8, Gold(0.5f));
    }
  }
  // A gold diamond at the left end.
  for (int dy = -3; dy <= 3; ++dy) {
    for (int dx = -3 + std::abs(dy); dx <= 3 - std::abs(dy); ++dx) {
      bar.Set(11 + dx, 7 + dy, Gold(1.0f - 0.12f * static_cast<float>(dx + dy)));
    }
  }
  return bar;
}

Canvas MakeRadar() {
  // Drawn 0.15625 x 0.2083 of the screen: 100 x 100 pixels at 640 x 480.
  constexpr int kSize = 100, kFine = 2;
  constexpr float kCentre = kSize / 2.0f, kRadius = 50, kScope = 43.5f;
  constexpr float kPi = std::numbers::pi_v<float>;
  const int side = kSize * kFine;
  Canvas fine(side, side);
  const Grid disc =
      Coverage(side, side, {Ellipse(kCentre * kFine, kCentre * kFine, kRadius * kFine, kRadius * kFine, 96)}, 3);
  const Grid glass =
      Coverage(side, side, {Ellipse(kCentre * kFine, kCentre * kFine, kScope * kFine, kScope * kFine, 96)}, 3);
  Grid bezel(side, side);
  for (std::size_t i = 0; i < bezel.Values.size(); ++i)
    bezel.Values[i] = std::max(0.0f, disc.Values[i] - glass.Values[i]);
  const BevelLighting bezelLit = LightBevel(bezel, 3.2f * kFine);
  Fill(fine, disc, [&](int, int) { return Hex(0x0A0604); });
  // The scope: dark green phosphor, brighter toward the middle, with range rings every
  // quarter of its reach, a cross, and the fading trail of the sweep.
  Fill(fine, glass, [&](int x, int y) {
    const float dx = (static_cast<float>(x) + 0.5f) / kFine - kCentre,
                dy = (static_cast<float>(y) + 0.5f) / kFine - kCentre;
    const float r = std::hypot(dx, dy);
    Rgb colour = Mix(Hex(0x0C4A2E), Hex(0x021610), r / kScope);
    const float ring = std::fmod(r, kScope / 4);
    const bool line = (ring < 0.9f && r > 2) || std::abs(dx) < 0.5f || std::abs(dy) < 0.5f;
    if (line) colour = Mix(colour, Hex(0x3CC07A), 0.55f);
    // The sweep has just passed the top going clockwise: bright on its edge, fading behind.
    float behind = std::atan2(dx, -dy);  // 0 straight up, growing clockwise
    if (behind < 0) behind += 2 * kPi;
    behind = 2 * kPi - behind;
    colour = colour + Hex(0x2AFF8A) * (0.35f * std::exp(-behind / 0.7f));
    // Glare on the glass toward the upper left.
    const float glare = std::exp(-((dx + 14) * (dx + 14) + (dy + 16) * (dy + 16)) / 220.0f);
    return Mix(colour, Hex(0xD8FFE8), 0.16f * glare);
  });
  Fill(fine, bezel, [&](int x, int y) {
    return Gold(0.1f + 0.95f * bezelLit.Light.At(x, y)) + Hex(0xFFFFFF) * (0.8f * bezelLit.Shine.At(x, y));
  });
  // Gold ticks around the rim and a small arrow in the middle: the hero, facing up.
  std::vector<Contour> marks;
  for (int i = 0; i < 12; ++i) {
    const float a = static_cast<float>(i) * kPi / 6, c = std::cos(a), s = std::sin(a);
    const float inner = i % 3 == 0 ? kScope - 5 : kScope - 3, half = 0.6f;
    marks.push_back(Polygon({{(kCentre + c * inner - s * half) * kFine, (kCentre + s * inner + c * half) * kFine},
                             {(kCentre + c * kScope - s * half) * kFine, (kCentre + s * kScope + c * half) * kFine},
                             {(kCentre + c * kScope + s * half) * kFine, (kCentre + s * kScope - c * half) * kFine},
                             {(kCentre + c * inner + s * half) * kFine, (kCentre + s * inner - c * half) * kFine}}));
  }
  marks.push_back(Polygon({{kCentre * kFine, (kCentre - 4) * kFine},
                           {(kCentre + 3) * kFine, (kCentre + 3) * kFine},
                           {kCentre * kFine, (kCentre + 1.5f) * kFine},
                           {(kCentre - 3) * kFine, (kCentre + 3) * kFine}}));
  const Grid markCover = Coverage(side, side, marks, 3);
  Fill(fine, markCover, [](int, int) { return Gold(1.3f); });
  return fine.Downsample(kFine);
}

Canvas MakeRadarDot(bool chase) {
  // 8 x 8: a round light in a dark ring, white-hot in the middle.
  constexpr int kSize = 8, kFine = 4;
  Canvas fine(kSize * kFine, kSize * kFine);
  const float c = kSize * kFine / 2.0f;
  const Rgb hue = chase ? Hex(0xFF3020) : Hex(0x50FF50);
  for (int y = 0; y < fine.Height(); ++y) {
    for (int x = 0; x < fine.Width(); ++x) {
      const float r = std::hypot(static_cast<float>(x) + 0.5f - c, static_cast<float>(y) + 0.5f - c) / kFine;
      if (r > 3.7f) continue;
      const float hx = (static_cast<float>(x) + 0.5f - c) / kFine + 0.8f,
                  hy = (static_cast<float>(y) + 0.5f - c) / kFine + 0.8f;
      const Rgb light = Mix(Hex(0xFFFFF0), hue, SmoothStep(0, 2.2f, std::hypot(hx, hy)));
      fine.Set(x, y, r > 2.9f ? hue * 0.25f : light);
    }
  }
  return fine.Downsample(kFine);
}

}  // namespace zandrel::data::interface
