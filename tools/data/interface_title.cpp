// The title picture: the entrance of a treasure vault, seen from inside the dark. A
// stone arch with a gold medallion on its keystone, torches on the walls and heaps of
// coins and ingots in the corners frame a transparent opening through which the walking
// hero (and the credits scene) is seen.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "tools/data/interface_art.h"

namespace zandrel::data::interface {
namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr int kFine = 2;  // painted at twice the size, then reduced
constexpr float kPi = std::numbers::pi_v<float>;

// The arch, in pixels of the final picture: a half circle on two straight jambs.
constexpr float kArchX = 160, kArchY = 130, kArchRadius = 96, kRing = 20;
constexpr float kSoffit = 7;    // the underside of the arch, seen inside the opening
constexpr int kVoussoirs = 13;  // odd: the middle one is the keystone
constexpr float kCourse = 14;   // height of a wall course

struct Torch {
  float X, Y;
};
constexpr Torch kTorches[] = {{24, 110}, {296, 110}};

// How far a point lies inside the opening's edge (negative outside it).
float IntoOpening(float x, float y) {
  const float dx = x - kArchX, dy = y - kArchY;
  return kArchRadius - (y >= kArchY ? std::abs(dx) : std::sqrt(dx * dx + dy * dy));
}

constexpr int kSoffitStones = 3000;

// The stone under a point: -1 in the opening, else a number shared by the points of one
// block (arch stones, jamb stones, wall blocks; the underside of an arch or jamb stone
// counts kSoffitStones more).
int StoneAt(float x, float y) {
  const float into = IntoOpening(x, y);
  if (into > kSoffit) return -1;
  const int underside = into > 0 ? kSoffitStones : 0;
  const float dx = x - kArchX, dy = y - kArchY;
  if (y < kArchY) {
    const float r = std::sqrt(dx * dx + dy * dy);
    const int k = std::clamp(static_cast<int>((std::atan2(dy, dx) + kPi) / kPi * kVoussoirs), 0, kVoussoirs - 1);
    const float reach = k == kVoussoirs / 2 ? kRing + 14 : kRing;  // the keystone stands out
    if (r <= kArchRadius + reach) return 1000 + k + underside;
  } else {
    // Jamb stones alternate long and short, like quoins.
    const int course = static_cast<int>((y - kArchY) / 18);
    const float reach = course % 2 == 0 ? kRing + 8 : kRing;
    if (std::abs(dx) <= kArchRadius + reach) return 2000 + (dx < 0 ? 0 : 100) + course + underside;
  }
  const int row = static_cast<int>(std::floor(y / kCourse));
  float left = -Hash01(row, 0, 11) * 30;
  for (int k = 0;; ++k) {
    const float right = left + 24 + Hash01(row, k, 12) * 18;
    if (x < right) return 10000 + row * 100 + k;
    left = right;
  }
}

Rgb StoneColour(int stone) {
  if (stone >= kSoffitStones && stone < 10000) stone -= kSoffitStones;
  const float pick = Hash01(stone, 1, 21), tint = Hash01(stone, 2, 22);
  if (stone >= 10000) return Mix(Mix(Hex(0x4E4842), Hex(0x6E6252), pick), Hex(0x6A4E3E), tint * 0.35f);
  if (stone == 1000 + kVoussoirs / 2) return Hex(0xC8B08A);
  return Mix(Mix(Hex(0x9A8870), Hex(0xB8A282), pick), Hex(0xA08066), tint * 0.3f);
}

// Warm torchlight over a dim cool ambient, fading toward the corners.
Rgb LightAt(float x, float y) {
  Rgb light = Hex(0x6C6870) * (1.0f / 255);
  for (const Torch& t : kTorches) {
    const float d = std::hypot(x - t.X, y - t.Y);
    light = light + Rgb{1.0f, 0.72f, 0.42f} * (1.5f / (1 + (d / 52) * (d / 52)));
  }
  const float corner = std::hypot((x - kWidth / 2.0f) / (kWidth / 2.0f), (y - kHeight / 2.0f) / (kHeight / 2.0f));
  return light * (1 - 0.7f * SmoothStep(0.6f, 1.4f, corner));
}

void PaintStones(Canvas& fine) {
  const int w = fine.Width(), h = fine.Height();
  std::vector<int> stones(Grid::Size(w, h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      stones[static_cast<std::size_t>(y * w + x)] =
          StoneAt((static_cast<float>(x) + 0.5f) / kFine, (static_cast<float>(y) + 0.5f) / kFine);
    }
  }
  // Mortar runs along every border between two stones; the lighting treats it and the
  // opening as the low ground the stones rise from.
  Grid raised(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int stone = stones[static_cast<std::size_t>(y * w + x)];
      bool joint = false;
      for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
        const int nx = std::clamp(x + dx, 0, w - 1), ny = std::clamp(y + dy, 0, h - 1);
        joint = joint || stones[static_cast<std::size_t>(ny * w + nx)] != stone;
      }
      raised.At(x, y) = stone >= 0 && !joint ? 1.0f : 0.0f;
    }
  }
  const BevelLighting lit = LightBevel(raised, 2.5f * kFine);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int stone = stones[static_cast<std::size_t>(y * w + x)];
      if (stone < 0) continue;
      const float px = (static_cast<float>(x) + 0.5f) / kFine, py = (static_cast<float>(y) + 0.5f) / kFine;
      const Rgb light = LightAt(px, py);
      if (raised.At(x, y) == 0) {
        fine.Set(x, y, Hex(0x2A231C) * light);
        continue;
      }
      const float grain = 0.8f + 0.4f * Fractal(px / 5, py / 5, static_cast<std::uint32_t>(stone), 3);
      const float pit = Hash01(x, y, 31) > 0.97f ? 0.78f : 1.0f;
      // The underside turns away from the light, darker the deeper it goes.
      const float deep = stone >= kSoffitStones && stone < 10000 ? 0.75f - 0.6f * IntoOpening(px, py) / kSoffit : 1.0f;
      const Rgb colour = StoneColour(stone) * (deep * grain * pit * (0.35f + 0.65f * lit.Light.At(x, y)));
      fine.Set(x, y, colour * light + Hex(0xFFE0B0) * (0.25f * lit.Shine.At(x, y)));
    }
  }
}

// An iron cup on a bracket with a flame whose glow warms the wall around it.
void PaintTorch(Canvas& fine, Torch torch) {
  const float k = kFine, x = torch.X * k, y = torch.Y * k;
  const int w = fine.Width(), h = fine.Height();
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      const float d = std::hypot(static_cast<float>(px) - x, static_cast<float>(py) - (y - 8 * k));
      const float glow = 0.6f * std::exp(-(d * d) / (2 * (18 * k) * (18 * k)));
      if (glow > 0.01f && fine.Opaque(px, py)) fine.Blend(px, py, Hex(0xFFB050), glow);
    }
  }
  const Grid iron = Coverage(
      w, h,
      {Polygon({{x - 2 * k, y}, {x + 2 * k, y}, {x + 1.2f * k, y + 18 * k}, {x - 1.2f * k, y + 18 * k}}),
       Polygon({{x - 6 * k, y - 3 * k}, {x + 6 * k, y - 3 * k}, {x + 3.5f * k, y + 3 * k}, {x - 3.5f * k, y + 3 * k}}),
       Rectangle(x - 4 * k, y + 14 * k, x + 4 * k, y + 17 * k)},
      2);
  const BevelLighting ironLit = LightBevel(iron, 1.5f * k);
  Fill(fine, iron, [&](int px, int py) { return Hex(0x3A3430) * (0.5f + 0.9f * ironLit.Light.At(px, py)); });
  // The flame: a drop pointing up, white-yellow at its heart, red at its edge.
  const float flameHeight = 21 * k, flameWidth = 6.5f * k;
  Contour flame;
  for (int i = 0; i < 40; ++i) {
    const float t = static_cast<float>(i) / 40 * 2 * kPi;
    const float up = (1 - std::cos(t)) / 2;  // 0 at the bottom, 1 at the tip
    const float side = std::sin(t) * flameWidth * std::pow(1 - up, 0.8f) * (0.6f + 0.4f * std::sin(up * kPi));
    flame.push_back({x + side + std::sin(up * 5) * k * up, y - 3 * k - up * flameHeight + (1 - up) * 1.5f * k});
  }
  const Grid fire = Coverage(w, h, {flame}, 3);
  const Grid depth = DistanceInside(fire);
  Fill(fine, fire, [&](int px, int py) {
    const float heart = std::min(1.0f, depth.At(px, py) / (3.2f * k));
    const float rise = std::clamp((y - static_cast<float>(py)) / flameHeight, 0.0f, 1.0f);
    return Ramp({{0, Hex(0xC8300C)}, {0.35f, Hex(0xFF8A1A)}, {0.7f, Hex(0xFFD860)}, {1, Hex(0xFFFBE0)}},
                heart * (1 - 0.5f * rise));
  });
}

// One coin lying in a heap, seen from above and in front: its edge shows below its face,
// a dark line rings it and a groove runs inside its rim.
void PaintCoin(Canvas& fine, float cx, float cy, float rx, float ry, float tilt) {
  const int x0 = static_cast<int>(cx - rx - 2), x1 = static_cast<int>(cx + rx + 2);
  const int y0 = static_cast<int>(cy - ry - 2), y1 = static_cast<int>(cy + ry + 4);
  const float edge = std::max(1.5f, ry * 0.4f);
  for (int py = y0; py <= y1; ++py) {
    for (int px = x0; px <= x1; ++px) {
      const float dx = (static_cast<float>(px) + 0.5f - cx) / rx;
      auto ellipse = [&](float offset) {
        const float dy = (static_cast<float>(py) + 0.5f - cy - offset) / ry;
        return std::sqrt(dx * dx + dy * dy);
      };
      const float side = ellipse(edge);
      // Gold stays gold under the torches: the light only moves it along its ramp.
      const Rgb room = LightAt(static_cast<float>(px) / kFine, static_cast<float>(py) / kFine);
      const float lit = std::clamp((room.R + room.G) * 0.8f, 0.7f, 1.15f);
      if (side < 1)
        fine.Blend(px, py, side > 0.8f ? Hex(0x2A1404) : Gold((0.45f + 0.2f * dx) * lit),
                   std::min(1.0f, (1 - side) * ry));
      const float face = ellipse(0);
      if (face >= 1) continue;
      const float dy = (static_cast<float>(py) + 0.5f - cy) / ry;
      float light = 1.0f + tilt - 0.4f * dx - 0.5f * dy;
      if (face > 0.8f)
        light *= 0.45f;
      else if (face > 0.55f && face < 0.68f)
        light *= 0.78f;
      fine.Blend(px, py, Gold(light * lit), std::min(1.0f, (1 - face) * ry));
    }
  }
}

// A heap of coins rising to `top` over a base from x0 to x1 on the bottom edge.
void PaintHeap(Canvas& fine, float x0, float x1, float peak, float top, std::uint32_t seed) {
  const float k = kFine;
  const float bottom = kHeight * k;
  auto surface = [&](float x) {
    const float t = (x - peak * k) / ((x < peak * k ? peak - x0 : x1 - peak) * k);
    return bottom - (bottom - top * k) * std::max(0.0f, 1 - t * t);
  };
  Contour mound;
  for (int i = 0; i <= 40; ++i) {
    const float x = (x0 + (x1 - x0) * static_cast<float>(i) / 40) * k;
    mound.push_back({x, surface(x) + 2 * k});
  }
  mound.push_back({x1 * k, bottom + 4});
  mound.push_back({x0 * k, bottom + 4});
  const Grid base = Coverage(fine.Width(), fine.Height(), {mound}, 2);
  Fill(fine, base, [&](int px, int py) {
    return Gold(0.2f + 0.35f * Fractal(static_cast<float>(px) / 5, static_cast<float>(py) / 3, seed, 2));
  });
  // Back to front: coins nearer the bottom are painted last.
  struct Coin {
    float X, Y, Size, Tilt;
  };
  std::vector<Coin> coins;
  const int count = static_cast<int>((x1 - x0) * 1.8f);
  for (int i = 0; i < count; ++i) {
    const float x = (x0 + 4 + (x1 - x0 - 8) * Hash01(i, 0, seed)) * k;
    const float y = surface(x) + 3 * k + (bottom - surface(x)) * std::pow(Hash01(i, 1, seed), 1.4f);
    coins.push_back({x, y, (5.5f + 2.5f * Hash01(i, 3, seed)) * k, 0.3f * (Hash01(i, 2, seed) - 0.5f)});
  }
  std::sort(coins.begin(), coins.end(), [](const Coin& a, const Coin& b) { return a.Y < b.Y; });
  for (const Coin& coin : coins) PaintCoin(fine, coin.X, coin.Y, coin.Size, coin.Size * 0.5f, coin.Tilt);
}

// A gold bar lying across the view: its top face, its front and its right end.
void PaintIngot(Canvas& fine, float x, float y) {
  const float k = kFine;
  const float length = 30, depth = 7, height = 8, slope = 4;  // pixels
  auto at = [&](float px, float py) { return Point{(x + px) * k, (y + py) * k}; };
  const Contour top = Polygon({at(slope, 0), at(length - slope, 0), at(length - slope + depth * 0.5f, depth * 0.4f),
                               at(slope + depth * 0.5f, depth * 0.4f)});
  const Contour front =
      Polygon({at(slope + depth * 0.5f, depth * 0.4f), at(length - slope + depth * 0.5f, depth * 0.4f),
               at(length + depth * 0.5f, depth * 0.4f + height), at(depth * 0.5f, depth * 0.4f + height)});
  const Contour end = Polygon({at(length - slope, 0), at(length - slope + depth * 0.5f, depth * 0.4f),
                               at(length + depth * 0.5f, depth * 0.4f + height), at(length, height)});
  const int w = fine.Width(), h = fine.Height();
  const Grid outline = DistanceOutside(Coverage(w, h, {top, front, end}, 1));
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      const float d = outline.At(px, py);
      if (d > 0 && d <= 1.5f * k) fine.Set(px, py, Hex(0x2A1404));
    }
  }
  for (const auto& [face, light] : {std::pair{end, 0.5f}, std::pair{front, 0.9f}, std::pair{top, 1.4f}}) {
    const Grid cover = Coverage(w, h, {face}, 3);
    const float l = light;
    Fill(fine, cover, [&](int px, int py) {
      const float shade = (static_cast<float>(py) / k - y) / (height + depth);
      return Gold(l - 0.25f * shade + 0.08f * (static_cast<float>(px) / k - x) / length);
    });
  }
}

// The keystone's medallion: a bevelled gold disc with the slanted Z of the logo.
void PaintMedallion(Canvas& fine, float cx, float cy, float radius) {
  const float k = kFine;
  const int w = fine.Width(), h = fine.Height();
  const Grid disc = Coverage(w, h, {Ellipse(cx * k, cy * k, radius * k, radius * k, 64)}, 3);
  const BevelLighting discLit = LightBevel(disc, 2.2f * k);
  Fill(fine, disc, [&](int x, int y) {
    return Gold(0.2f + 0.85f * discLit.Light.At(x, y)) + Hex(0xFFFFFF) * discLit.Shine.At(x, y);
  });
  const float s = radius * 0.9f / 60;  // the letter's units
  auto at = [&](float ux, float uy) {
    return Point{(cx - 33 * s + ux * s + (50 - uy) * 0.2f * s) * k, (cy + (uy - 50) * s) * k};
  };
  const Grid letter = Coverage(w, h,
                               {Polygon({at(0, 0), at(60, 0), at(60, 20), at(24, 80), at(60, 80), at(60, 100),
                                         at(0, 100), at(0, 80), at(36, 20), at(0, 20)})},
                               3);
  const BevelLighting letterLit = LightBevel(letter, 1.2f * k);
  Fill(fine, letter, [&](int x, int y) { return Gold(1.45f - 0.9f * (1 - letterLit.Light.At(x, y))); });
}

}  // namespace

Canvas MakeTitle() {
  Canvas fine(kWidth * kFine, kHeight * kFine);
  PaintStones(fine);
  for (const Torch& torch : kTorches) PaintTorch(fine, torch);
  PaintMedallion(fine, kArchX, kArchY - kArchRadius - 15, 11);
  PaintHeap(fine, -6, 92, 26, 198, 41);
  PaintHeap(fine, 226, 326, 300, 204, 42);
  for (const auto& [x, y] : {std::pair{262.0f, 222.0f}, std::pair{290.0f, 224.0f}, std::pair{276.0f, 212.0f}})
    PaintIngot(fine, x, y);
  Canvas title = fine.Downsample(kFine);
  for (const auto& [x, y, size] : {std::tuple{30.0f, 200.0f, 6.0f}, std::tuple{287.0f, 213.0f, 7.0f},
                                   std::tuple{153.0f, 12.0f, 5.0f}, std::tuple{62.0f, 222.0f, 4.0f}}) {
    AddSparkle(title, x, y, size);
  }
  return title;
}

}  // namespace zandrel::data::interface
