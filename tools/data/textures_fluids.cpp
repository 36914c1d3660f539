// Liquids, light and sky. The animated ones loop over four frames; the game shows one
// frame after the other at the frame rate, so frames differ gently.
#include "base/random.h"
#include "tools/data/textures_images.h"

namespace zandrel::data::textures {
namespace {

// The phase of an animation frame: a whole turn over the four frames.
float FramePhase(int frame) { return frame * (2 * kPi / 4); }

}  // namespace

Canvas PaintLava(int frame) {
  // Dark crust plates float on molten rock: the plates stay put, their edges glowing red,
  // while the melt between them drifts round a small circle and its hot spots pulse.
  const float phase = FramePhase(frame);
  const float driftX = 3 * std::cos(phase), driftY = 3 * std::sin(phase);
  Canvas canvas;
  canvas.Paint([&](float x, float y) {
    const float wx = x + 7 * Noise(x, y, 4, 4, 1401) + 2 * Noise(x, y, 16, 16, 1408);
    const float wy = y + 7 * Noise(x, y, 4, 4, 1402) + 2 * Noise(x, y, 16, 16, 1409);
    const CellSample plate = Cells(wx, wy, 4, 1403);
    const float seam = plate.F2 - plate.F1;
    const bool pool = Hash01(static_cast<int>(plate.Id & 0xFFFF), 0, 1404) < 0.35f;
    // Plates shrink toward their middles, leaving wide channels of melt.
    const float crust = pool ? 0 : SmoothStep(4, 6.5f, seam);
    const float flow = Fbm(x + driftX, y + driftY, 4, 4, 1405);
    const float hot = SmoothStep(
        0.2f, 0.7f, Fbm(x - driftY, y + driftX, 8, 3, 1406) + 0.25f * std::sin(phase + 5 * Noise(x, y, 2, 2, 1410)));
    const float molten = 7.5f + 3.5f * flow + 4 * hot;
    // Crust: rough and dark, red-hot toward its edges.
    const float rough = Fbm(x, y, 16, 3, 1407);
    const float rim = 1 - SmoothStep(3, 10, seam);
    const float cooled = 1.2f + 1.5f * rough + 5.5f * rim * rim;
    return Tone{Ramp::Lava, Mix(molten, cooled, crust)};
  });
  return canvas;
}

Canvas PaintWater(int frame) {
  // Deep blue with a net of bright caustic lines. Two nets are bent by waves that turn
  // a whole number of times over the four frames, so the ripples loop.
  const float phase = FramePhase(frame);
  Canvas canvas;
  canvas.Paint([&](float x, float y) {
    const float bendX = 3 * std::sin(2 * kPi * (2 * y + x) / kTextureSide + phase) +
                        1.5f * std::sin(2 * kPi * (3 * x - y) / kTextureSide - phase);
    const float bendY = 3 * std::cos(2 * kPi * (2 * x - y) / kTextureSide + phase) +
                        1.5f * std::cos(2 * kPi * (x + 3 * y) / kTextureSide + 2 * phase);
    const CellSample near = Cells(x + bendX, y + bendY, 5, 1501);
    const CellSample far = Cells(x - bendY, y + bendX, 3, 1502);
    const float lines = 1 - SmoothStep(0.3f, 2.8f, near.F2 - near.F1);
    const float broad = 1 - SmoothStep(0.5f, 6.0f, far.F2 - far.F1);
    const float depth = Fbm(x, y, 2, 3, 1503);
    return Tone{Ramp::Water, 6 + 1.5f * depth + 2 * broad + 4.5f * lines};
  });
  return canvas;
}

Canvas PaintSky() {
  // Deep blue overhead (the top row) paling toward the horizon (the bottom row), with
  // soft clouds lit from above; repeats left to right round the dome.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float height = y / kTextureSide;
    const Tone sky{Ramp::Water, 9.5f + 4 * height * height};
    const auto density = [](float px, float py) {
      const float h = py / kTextureSide;
      const float band = 1 - std::abs(h - 0.55f) * 2.5f;  // clouds gather mid-way down
      return Fbm(px, py, 4, 4, 1601, 0.45f) + 0.45f * band - 0.25f;
    };
    const float d = density(x, y);
    const float cloud = SmoothStep(0.0f, 0.35f, d);
    const float lit = density(x, y - 4) - d;  // thinner above: the sunny side
    const Tone white{Ramp::Light, 5 + 10 * cloud - 8 * lit};
    return BlendTones(sky, white, SmoothStep(0.05f, 0.07f, d), x, y);
  });
  return canvas;
}

Canvas PaintGate() {
  // A portal: arms of light swirl in toward a white-hot centre.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float dx = x - 64, dy = y - 64;
    const float r = std::hypot(dx, dy);
    const float angle = std::atan2(dy, dx);
    const float swirl = 0.5f + 0.5f * std::sin(5 * angle + 0.16f * r + 1.5f * Fbm(x, y, 4, 3, 1701));
    const float inner = Clamp01(1.15f - r / 60);
    const float energy = inner * (0.45f + 0.55f * swirl);
    const Tone outer{Ramp::Purple, 2 + 11 * energy + 1.5f * swirl * Clamp01(1.4f - r / 70)};
    const Tone core{Ramp::Glow, 6 + 10 * energy};
    return BlendTones(outer, core, SmoothStep(0.55f, 0.62f, energy), x, y);
  });
  return canvas;
}

Canvas PaintCrystal() {
  // Flat facets of cyan crystal, each turned its own way to the light, with bright
  // edges between them.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const CellSample facet = Cells(x, y, 4, 1801, 1.0f);
    const float nx = Hash01(static_cast<int>(facet.Id & 0xFFFF), 1, 1802) * 1.6f - 0.8f;
    const float ny = Hash01(static_cast<int>(facet.Id & 0xFFFF), 2, 1802) * 1.6f - 0.8f;
    const float light = Lighting(nx, ny, 1) / std::sqrt(1 + nx * nx + ny * ny);
    const float seam = facet.F2 - facet.F1;
    const float edge = 1 - SmoothStep(0.3f, 1.6f, seam);
    // Light inside a facet brightens toward the side that faces it.
    const float inside = (facet.Dx * nx + facet.Dy * ny) / 30;
    return Tone{Ramp::Glow, 1.5f + 9 * light + 1.5f * inside + 4 * edge};
  });
  base::Random random(1803);
  for (int i = 0; i < 6; ++i) {
    const float cx = random.Next(128), cy = random.Next(128);
    // A four-pointed glint: two thin crossed diamonds.
    DrawShape(
        canvas, cx - 5, cy - 5, cx + 5, cy + 5,
        [&](float x, float y) {
          const float ax = std::abs(x - cx), ay = std::abs(y - cy);
          return std::min(ax / 0.8f + ay / 4.5f, ax / 4.5f + ay / 0.8f) - 1;
        },
        [](float, float, float) {
          return Tone{Ramp::Glow, 15};
        });
  }
  return canvas;
}

Canvas PaintGlass() {
  // A pane in a metal frame: only the frame and a few light streaks are solid.
  constexpr float kFrame = 6;
  Canvas canvas;
  canvas.MakeAllHoles();
  DrawShape(
      canvas, 0, 0, 128, 128, [](float x, float y) { return -BoxDistance(x, y, 64, 64, 64 - kFrame, 64 - kFrame); },
      [](float x, float y, float) {
        const float left = std::min(x, 128 - x) == x ? x : kFrame - (128 - x);
        const float top = std::min(y, 128 - y) == y ? y : kFrame - (128 - y);
        const bool vertical = std::min(x, 128 - x) < std::min(y, 128 - y);
        const float across = vertical ? left : top;
        // Rounded bar: lit on the outer side of the top and left bars.
        const float profile = std::cos(across / kFrame * kPi);
        const bool outerLit = vertical ? x < 64 : y < 64;
        return Tone{Ramp::Steel, 8 + 3 * (outerLit ? profile : -profile)};
      });
  const struct Streak {
    float X0, Y0, X1, Y1, Width, Level;
  } streaks[] = {
      {22, 58, 58, 22, 3, 9},
      {30, 66, 66, 30, 1.6f, 7},
      {70, 104, 104, 70, 2.2f, 8},
  };
  for (const Streak& s : streaks) {
    DrawShape(
        canvas, std::min(s.X0, s.X1) - 3, std::min(s.Y0, s.Y1) - 3, std::max(s.X0, s.X1) + 3, std::max(s.Y0, s.Y1) + 3,
        [&](float x, float y) { return SegmentDistance(x, y, s.X0, s.Y0, s.X1, s.Y1, s.Width / 2); },
        [&](float x, float y, float) {
          // Brightest in the middle of the streak's length.
          const float t = ((x - s.X0) * (s.X1 - s.X0) + (y - s.Y0) * (s.Y1 - s.Y0)) /
                          ((s.X1 - s.X0) * (s.X1 - s.X0) + (s.Y1 - s.Y0) * (s.Y1 - s.Y0));
          return Tone{Ramp::Light, s.Level + 5 * std::sin(Clamp01(t) * kPi)};
        });
  }
  return canvas;
}

Canvas PaintLight(bool lit) {
  // A light panel: a steel frame with a screw in each corner round a ribbed lens,
  // glowing warm white when lit and dark glass when not.
  Canvas canvas;
  canvas.Paint([&](float x, float y) {
    const float frame = -BoxDistance(x, y, 64, 64, 64, 64);  // distance from the outer edge
    const float lens = BoxDistance(x, y, 64, 64, 48, 48, 10);
    if (lens > 0) {
      const float bevel = frame < 3 ? (x + y < 128 ? 2.5f : -2.5f) : 0;
      const float rim = lens < 2.5f ? (x + y < 128 ? -3.0f : 2.0f) : 0;
      return Tone{Ramp::Steel, 7.5f + bevel + rim + 0.8f * Noise(x, y, 4, 64, 1901)};
    }
    // A grille of thin bars over the glow.
    const float gx = std::abs(std::fmod(x - 16, 12.0f) - 6), gy = std::abs(std::fmod(y - 16, 12.0f) - 6);
    const float bar = 1 - SmoothStep(4.6f, 5.6f, std::max(gx, gy));
    const float centre = 1 - std::hypot(x - 64, y - 64) / 68;
    if (lit) {
      const float glow = centre - 0.15f * (1 - bar);
      const Tone warm{Ramp::Gold, 10 + 5 * glow};
      const Tone white{Ramp::Glow, 13 + 3 * glow};
      return BlendTones(warm, white, SmoothStep(0.5f, 0.56f, glow), x, y);
    }
    // Unlit: dark glass with a broad reflection across its upper left.
    const float reflection = SmoothStep(0.2f, 0, std::abs((x + y) / 128 - 0.8f)) * 0.8f;
    return Tone{Ramp::Slate, 4 + 2 * centre + 3 * reflection - 1.5f * (1 - bar)};
  });
  for (const float cx : {6.0f, 122.0f}) {
    for (const float cy : {6.0f, 122.0f}) {
      DrawShape(
          canvas, cx - 4, cy - 4, cx + 4, cy + 4, [&](float x, float y) { return CircleDistance(x, y, cx, cy, 3); },
          [&](float x, float y, float) {
            const float slot = std::abs((x - cx) - (y - cy)) < 1 ? -4.0f : 0.0f;
            return Tone{Ramp::Steel, 8 + 4 * DomeLight(x - cx, y - cy, 3.2f) + slot};
          });
    }
  }
  return canvas;
}

}  // namespace zandrel::data::textures
