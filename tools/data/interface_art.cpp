#include "tools/data/interface_art.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zandrel::data::interface {
namespace {

struct Vector3 {
  float X, Y, Z;
};

Vector3 Normalised(Vector3 v) {
  const float length = std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
  return {v.X / length, v.Y / length, v.Z / length};
}

float Dot(Vector3 a, Vector3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

// From the upper left and in front (y grows downward).
const Vector3 kLight = Normalised({-0.55f, -0.75f, 1.0f});
const Vector3 kHalfway = Normalised({kLight.X, kLight.Y, kLight.Z + 1});
constexpr float kGlintPower = 24;

}  // namespace

BevelLighting LightBevel(const Grid& coverage, float bevel) {
  const Grid inside = DistanceInside(coverage);
  Grid height(coverage.Width, coverage.Height);
  for (std::size_t i = 0; i < height.Values.size(); ++i) {
    const float t = std::min(inside.Values[i] / bevel, 1.0f);
    height.Values[i] = (1 - (1 - t) * (1 - t)) * bevel;  // rounded off toward the edge
  }
  BevelLighting lighting{Grid(coverage.Width, coverage.Height), Grid(coverage.Width, coverage.Height)};
  const float flatGlint = std::pow(kHalfway.Z, kGlintPower);
  for (int y = 0; y < coverage.Height; ++y) {
    for (int x = 0; x < coverage.Width; ++x) {
      if (coverage.At(x, y) <= 0) continue;
      const float gx = (height.Sample(x + 1, y) - height.Sample(x - 1, y)) / 2;
      const float gy = (height.Sample(x, y + 1) - height.Sample(x, y - 1)) / 2;
      const Vector3 normal = Normalised({-gx, -gy, 1});
      lighting.Light.At(x, y) = std::max(0.0f, Dot(normal, kLight)) / kLight.Z;
      lighting.Shine.At(x, y) =
          std::max(0.0f, std::pow(std::max(0.0f, Dot(normal, kHalfway)), kGlintPower) - flatGlint);
    }
  }
  return lighting;
}

Rgb Gold(float light) {
  return Ramp({{0, Hex(0x1A0C02)},
               {0.35f, Hex(0x5C2E06)},
               {0.65f, Hex(0xA8620E)},
               {0.85f, Hex(0xD99A24)},
               {1.0f, Hex(0xF2BE3C)},
               {1.25f, Hex(0xFFE07C)},
               {1.6f, Hex(0xFFF8D8)}},
              light);
}

void AddSparkle(Canvas& canvas, float x, float y, float size) {
  const int reach = static_cast<int>(std::ceil(size));
  for (int py = static_cast<int>(y) - reach; py <= static_cast<int>(y) + reach; ++py) {
    for (int px = static_cast<int>(x) - reach; px <= static_cast<int>(x) + reach; ++px) {
      if (!canvas.Opaque(px, py)) continue;
      const float dx = static_cast<float>(px) + 0.5f - x, dy = static_cast<float>(py) + 0.5f - y;
      const float thin = size * 0.04f + 0.45f;
      auto ray = [&](float along, float across, float length) {
        const float fade = std::max(0.0f, 1 - std::abs(along) / length);
        return fade * std::sqrt(fade) * std::exp(-(across * across) / (thin * thin));
      };
      const float glow = std::exp(-(dx * dx + dy * dy) / (size * size * 0.04f));
      const float amount = std::max({ray(dx, dy, size), ray(dy, dx, size * 0.75f), glow});
      canvas.Blend(px, py, Hex(0xFFFFF4), amount);
    }
  }
}

Contour Rectangle(float x0, float y0, float x1, float y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

Contour Ellipse(float cx, float cy, float rx, float ry, int steps) {
  Contour contour;
  for (int i = 0; i < steps; ++i) {
    const float a = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(steps);
    contour.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return contour;
}

Contour Polygon(std::initializer_list<Point> points) { return Contour(points); }

Contour Arc(float cx, float cy, float inner, float outer, float from, float to) {
  Contour arc;
  constexpr int kSteps = 24;
  for (int i = 0; i <= kSteps; ++i) {
    const float a = from + (to - from) * static_cast<float>(i) / kSteps;
    arc.push_back({cx + outer * std::cos(a), cy + outer * std::sin(a)});
  }
  for (int i = kSteps; i >= 0; --i) {
    const float a = from + (to - from) * static_cast<float>(i) / kSteps;
    arc.push_back({cx + inner * std::cos(a), cy + inner * std::sin(a)});
  }
  return arc;
}

}  // namespace zandrel::data::interface
