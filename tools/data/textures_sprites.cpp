// Sprites (drawn on see-through index 0), plants and creatures.
#include <utility>
#include <vector>

#include "base/random.h"
#include "tools/data/textures_images.h"

namespace zandrel::data::textures {

Canvas PaintLadder() {
  // Two round wooden rails and four rungs, repeating every 128 pixels upward.
  Canvas canvas;
  canvas.MakeAllHoles();
  for (const float cy : {16.0f, 48.0f, 80.0f, 112.0f}) {
    DrawShape(
        canvas, 16, cy - 5, 112, cy + 5, [&](float x, float y) { return BoxDistance(x, y, 64, cy, 44, 3.5f, 1.5f); },
        [&](float x, float y, float) {
          const float ny = (y - cy) / 4;
          return Tone{Ramp::Wood, 8 + 4 * Lighting(0, ny, std::sqrt(std::max(0.0f, 1 - ny * ny))) +
                                      0.8f * Noise(x, y, 32, 8, 3001)};
        });
  }
  for (const float cx : {20.0f, 108.0f}) {
    DrawShape(
        canvas, cx - 6, -2, cx + 6, 130, [&](float x, float) { return std::abs(x - cx) - 5; },
        [&](float x, float y, float) {
          const float nx = (x - cx) / 5.5f;
          const float g = Noise(x, y, 64, 4, 3002) + 0.5f * Noise(x, y, 32, 2, 3003);
          return Tone{Ramp::Wood, 7.5f + 4 * Lighting(nx, 0, std::sqrt(std::max(0.0f, 1 - nx * nx))) + g};
        });
    for (const float cy : {16.0f, 48.0f, 80.0f, 112.0f}) DrawStud(canvas, cx, cy, 1.6f, Ramp::Steel, 6, 5, 2);
  }
  return canvas;
}

namespace {

// The half width of a flame at height t (0 at the tip, 1 at the round bottom).
float FlameWidth(float t, float radius) {
  if (t <= 0 || t >= 1) return -1;
  return radius * std::sin(kPi * std::pow(t, 1.94f));
}

}  // namespace

Canvas PaintTorch(int view) {
  // A standing torch: a wooden pole, an iron cup and a flame. The four views go round the
  // torch: the bracket's hook turns, and the flame sways and flickers a little.
  Canvas canvas;
  canvas.MakeAllHoles();
  const float turn = view * kPi / 2 + kPi / 4;
  const float hookX = 13 * std::sin(turn);
  const bool hookInFront = std::cos(turn) > 0;
  constexpr float kRingY = 80;
  const auto drawHook = [&] {
    DrawShape(
        canvas, 64 + std::min(0.0f, hookX) - 3, kRingY - 10, 64 + std::max(0.0f, hookX) + 3, kRingY + 4,
        [&](float x, float y) {
          return std::min(SegmentDistance(x, y, 64, kRingY, 64 + hookX, kRingY, 1.6f),
                          SegmentDistance(x, y, 64 + hookX, kRingY, 64 + hookX, kRingY - 7, 1.6f));
        },
        [&](float, float, float) {
          return Tone{Ramp::Slate, hookInFront ? 8.0f : 4.5f};
        });
  };
  if (!hookInFront) drawHook();
  // The pole, lit from the left.
  DrawShape(
      canvas, 58, 54, 70, 127, [](float x, float y) { return BoxDistance(x, y, 64, 92, 4.5f, 38); },
      [](float x, float y, float) {
        const float nx = (x - 64) / 5;
        return Tone{Ramp::Wood, 7 + 4.5f * Lighting(nx, 0, std::sqrt(std::max(0.0f, 1 - nx * nx))) +
                                    0.8f * Noise(x, y, 64, 8, 3101)};
      });
  // The ring of the bracket round the pole.
  DrawShape(
      canvas, 56, kRingY - 4, 72, kRingY + 4,
      [](float x, float y) { return BoxDistance(x, y, 64, kRingY, 5.5f, 2.2f, 1); },
      [](float x, float, float) {
        return Tone{Ramp::Slate, 7 - 0.5f * (x - 64)};
      });
  if (hookInFront) drawHook();
  // The cup: wider at the top, with a rim.
  DrawShape(
      canvas, 48, 40, 80, 60,
      [](float x, float y) {
        const float t = Clamp01((y - 44) / 14);
        const float half = Mix(13, 5, t);
        return std::max(std::abs(x - 64) - half, std::abs(y - 51) - 7);
      },
      [](float x, float y, float) {
        const float half = Mix(13, 5, Clamp01((y - 44) / 14));
        const float nx = (x - 64) / (half + 0.5f);
        return Tone{Ramp::Slate, 7 + 5 * Lighting(nx, 0.2f, std::sqrt(std::max(0.0f, 1 - nx * nx)))};
      });
  DrawShape(
      canvas, 48, 40, 80, 48, [](float x, float y) { return BoxDistance(x, y, 64, 44.5f, 14, 2, 1); },
      [](float x, float, float) {
        return Tone{Ramp::Slate, 10 - 0.3f * (x - 64)};
      });
  // The flame: three nested tongues, red outside, yellow, then a white-hot core.
  const float sway = std::sin(turn * 2 + 0.5f) * 3;
  const float top = 6 + std::cos(turn * 3) * 2;
  struct Tongue {
    float Top, Bottom, Radius;
    Tone Colour;
  };
  const Tongue tongues[] = {
      {top, 46, 13, {Ramp::Lava, 8}},
      {top + 9, 46, 9, {Ramp::Lava, 12}},
      {top + 19, 45, 5, {Ramp::Glow, 14.5f}},
  };
  for (const Tongue& tongue : tongues) {
    DrawShape(
        canvas, 44, tongue.Top - 1, 84, tongue.Bottom + 1,
        [&](float x, float y) {
          const float t = (y - tongue.Top) / (tongue.Bottom - tongue.Top);
          const float centre = 64 + sway * (1 - t) * (1 - t);
          const float half = FlameWidth(t, tongue.Radius);
          return half < 0 ? 99.0f : std::abs(x - centre) - half;
        },
        [&](float x, float y, float) {
          Tone t = tongue.Colour;
          t.Level += 0.8f * Noise(x, y + view * 11.0f, 16, 16, 3102);
          return t;
        });
  }
  // Sparks rising from the flame.
  base::Random random(3103 + view);
  for (int i = 0; i < 3; ++i) {
    const float sx = 54 + random.Next(20), sy = 2 + random.Next(14);
    DrawShape(
        canvas, sx - 2, sy - 2, sx + 2, sy + 2, [&](float x, float y) { return CircleDistance(x, y, sx, sy, 0.9f); },
        [](float, float, float) {
          return Tone{Ramp::Lava, 13};
        });
  }
  return canvas;
}

Canvas PaintSpikes() {
  // Four steel spikes on a bolted base, repeating left to right.
  Canvas canvas;
  canvas.MakeAllHoles();
  constexpr float kBase = 116;
  const float tips[] = {14, 22, 10, 18};
  for (int i = 0; i < 4; ++i) {
    const float cx = 16 + 32.0f * i, tip = tips[i];
    DrawShape(
        canvas, cx - 15, tip - 1, cx + 15, kBase + 1,
        [&](float x, float y) {
          const float t = (y - tip) / (kBase - tip);
          return std::max(std::abs(x - cx) - 13 * Clamp01(t), std::max(tip - y, y - kBase));
        },
        [&](float x, float y, float) {
          const float t = Clamp01((y - tip) / (kBase - tip));
          const float u = std::clamp((x - cx) / (13 * t + 0.5f), -1.0f, 1.0f);
          const float light = Lighting(u, -0.3f, std::sqrt(1 - u * u));
          const float glint = std::pow(Clamp01(light), 10.0f);
          return Tone{Ramp::Steel, 6 + 5 * light + 4 * glint + 2 * (1 - t) + 0.6f * Noise(x, y, 32, 32, 3201)};
        });
  }
  DrawShape(
      canvas, -1, kBase - 2, 129, 129, [](float, float y) { return std::abs(y - 122) - 6; },
      [](float x, float y, float) {
        const float light = y < 118 ? 2.5f : y > 126 ? -2.0f : 0.0f;
        return Tone{Ramp::Slate, 6 + light + 0.8f * Noise(x, y, 32, 8, 3202)};
      });
  for (float bx = 32; bx <= 128; bx += 32) {
    DrawShape(
        canvas, bx - 3, 119, bx + 3, 125, [&](float x, float y) { return CircleDistance(x, y, bx, 122, 2); },
        [&](float x, float y, float) {
          return Tone{Ramp::Slate, 8 + 4 * DomeLight(x - bx, y - 122, 2.2f)};
        });
  }
  return canvas;
}

Canvas PaintBark() {
  // Rough bark: long raised plates running up the trunk, split by dark furrows.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float wx = x + 3 * Noise(x, y, 4, 2, 3301), wy = y + 6 * Noise(x, y, 4, 4, 3302);
    const CellSample plate = Cells(wx, wy, 12, 2, 3303, 0.9f);
    const float seam = plate.F2 - plate.F1;
    const float furrow = 1 - SmoothStep(0.5f, 3.5f, seam);
    // Each plate is rounded across: lit on its left side.
    const float across = Clamp01(seam / 7);
    const float relief = plate.Dx < 0 ? 1.2f * across : -0.8f * across;
    const float cracks = SmoothStep(0.7f, 0.85f, Noise(x, y, 8, 32, 3304)) * SmoothStep(2, 5, seam);
    const float fine = Noise(x, y, 64, 16, 3305);
    const float own = Hash01(static_cast<int>(plate.Id & 0xFFFF), 0, 3306) - 0.5f;
    return Tone{Ramp::Earth, 9 + 1.5f * own - 7 * furrow + relief - 2.5f * cracks + 1.2f * fine};
  });
  return canvas;
}

Canvas PaintLeaves() {
  // Overlapping pointed leaves with gaps of sky between them; leaves drawn later lie on
  // top and catch more light.
  Canvas canvas;
  canvas.MakeAllHoles();
  base::Random random(3401);
  constexpr int kCount = 150;
  for (int i = 0; i < kCount; ++i) {
    const float cx = random.Next(128), cy = random.Next(128);
    const float angle = random.Next(628) / 100.0f;
    const float length = 6 + random.Next(40) / 10.0f, width = 2.4f + random.Next(15) / 10.0f;
    const float c = std::cos(angle), s = std::sin(angle);
    const float level = 4 + 5.0f * i / kCount + random.Next(30) / 10.0f;
    DrawShape(
        canvas, cx - length - 1, cy - length - 1, cx + length + 1, cy + length + 1,
        [&](float x, float y) {
          const float u = ((x - cx) * c + (y - cy) * s) / length;
          const float v = -(x - cx) * s + (y - cy) * c;
          if (std::abs(u) >= 1) return (std::abs(u) - 1) * length + std::abs(v);
          return std::abs(v) - width * std::pow(1 - u * u, 0.8f);
        },
        [&](float x, float y, float) {
          const float v = -(x - cx) * s + (y - cy) * c;
          const float rib = std::abs(v) < 0.5f ? -1.5f : 0.0f;
          // The side toward the upper left catches the light.
          const float side = v * (-s * -0.5f + c * -0.6f) > 0 ? 1.0f : -0.5f;
          return Tone{Ramp::Grass, level + side + rib};
        });
  }
  return canvas;
}

Canvas PaintHero() {
  // The hero's tunic: a bright red twill with a faint darker check, stitched in gold
  // round its edges and along the diagonal where a triangle of the mesh ends.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float twill = std::sin(2 * kPi * (x + y) / 4) * 0.6f;
    const float weft = (static_cast<int>(x) + static_cast<int>(y / 2)) % 2 ? 0.3f : -0.3f;
    const float stripeX = std::abs(std::fmod(x, 32.0f) - 16), stripeY = std::abs(std::fmod(y, 32.0f) - 16);
    const float check = (stripeX < 2 ? -0.8f : 0.0f) + (stripeY < 2 ? -0.8f : 0.0f);
    const float fold = 0.8f * Noise(x, y, 4, 4, 3501);
    return Tone{Ramp::Brick, 9 + twill + weft + check + fold};
  });
  // Stitches: gold dashes 5 pixels inside the edges and on both sides of the diagonal.
  const auto stitch = [](float x, float y) {
    const float edgeLine = std::abs(std::min({x, 128 - x, y, 128 - y}) - 5);
    const float diagonalLine = std::abs(std::abs(x + y - 128) * 0.7071f - 5);
    // The position along the nearest seam: side seams run down, the others across.
    float along = (x - y) * 0.7071f;
    if (edgeLine < diagonalLine) along = std::min(x, 128 - x) < std::min(y, 128 - y) ? y : x;
    const bool dash = std::fmod(Wrap(along), 6.0f) < 3.5f;
    return dash ? std::min(edgeLine, diagonalLine) - 0.7f : 99.0f;
  };
  DrawShape(
      canvas, 0, 0, 128, 128, [&](float x, float y) { return stitch(x - 0.7f, y - 0.7f); },
      [&](float x, float y, float) {
        Tone t = canvas.At(static_cast<int>(x), static_cast<int>(y));
        t.Level -= 2.5f;
        return t;
      });
  DrawShape(canvas, 0, 0, 128, 128, stitch, [](float, float, float) { return Tone{Ramp::Gold, 12}; });
  return canvas;
}

Canvas PaintSentry() {
  // Dark armour plates, bolted, with red lines of light running through the seams.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float lx = std::fmod(x + 16, 32.0f), ly = std::fmod(y, 64.0f);
    const float bevel = BevelLight(lx, 32 - lx, ly, 64 - ly, 3);
    const float seam = std::min({lx, 32 - lx, ly, 64 - ly}) < 1 ? -2.5f : 0.0f;
    const float scratches = SmoothStep(0.85f, 0.95f, Noise(x, y, 64, 4, 3601)) * 1.2f;
    return Tone{Ramp::Slate, 7 + 2 * bevel + seam + 1.2f * Fbm(x, y, 8, 3, 3602) + scratches};
  });
  const std::vector<std::vector<std::pair<float, float>>> lines = {
      {{-4, 20}, {30, 20}, {44, 34}, {84, 34}, {98, 20}, {132, 20}},
      {{64, 34}, {64, 60}, {50, 74}, {50, 132}},
      {{-4, 96}, {20, 96}, {36, 112}, {50, 112}},
      {{84, 34}, {84, 70}, {100, 86}, {132, 86}},
      {{50, 112}, {90, 112}, {100, 122}},
  };
  const auto distance = [&](float x, float y) {
    float d = 1e9f;
    for (const auto& line : lines) {
      for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        d = std::min(d, SegmentDistance(x, y, line[i].first, line[i].second, line[i + 1].first, line[i + 1].second, 0));
      }
    }
    return d;
  };
  // The glow spills over the plates, then the hot line itself.
  DrawShape(
      canvas, -6, -6, 134, 134, [&](float x, float y) { return distance(x, y) - 3.5f; },
      [&](float x, float y, float d) {
        const float glow = Clamp01(1 - (d + 3.5f) / 4);
        return Tone{Ramp::Lava, 1 + 4 * glow * glow + 0.3f * Noise(x, y, 32, 32, 3604)};
      });
  DrawShape(
      canvas, -6, -6, 134, 134, [&](float x, float y) { return distance(x, y) - 1.6f; },
      [&](float x, float y, float d) {
        return Tone{Ramp::Lava, 9 + 4 * Clamp01(-d) + 0.3f * Noise(x, y, 32, 32, 3603)};
      });
  // Nodes where the lines end or branch.
  for (const auto& node :
       std::vector<std::pair<float, float>>{{64, 34}, {84, 34}, {50, 112}, {100, 122}, {50, 74}, {100, 86}}) {
    const float nx = node.first, ny = node.second;  // plain names: lambdas cannot capture bindings in C++20
    DrawShape(
        canvas, nx - 5, ny - 5, nx + 5, ny + 5, [&](float x, float y) { return CircleDistance(x, y, nx, ny, 3.5f); },
        [&](float x, float y, float) {
          return Tone{Ramp::Lava, 11 + 3 * DomeLight(x - nx, y - ny, 4)};
        });
  }
  return canvas;
}

}  // namespace zandrel::data::textures
