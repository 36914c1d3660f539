// Walls and floors: every one tiles both ways, since cube faces repeat them.
#include <utility>
#include <vector>

#include "base/random.h"
#include "tools/data/textures_images.h"

namespace zandrel::data::textures {
namespace {

// One course of blocks: its height, how far its joints are shifted to the right, and
// the widths of its blocks (adding up to the image width).
struct Course {
  float Height;
  float Offset;
  std::vector<float> Widths;
};

// Where a point lies in a wall of courses: which block, and how far from each edge.
struct Block {
  std::uint32_t Id = 0;
  float Left = 0, Right = 0, Top = 0, Bottom = 0;
  float Width = 0, Height = 0;
};

Block BlockAt(float x, float y, const std::vector<Course>& courses) {
  y = Wrap(y);
  float top = 0;
  std::size_t row = 0;
  while (row + 1 < courses.size() && y >= top + courses[row].Height) top += courses[row++].Height;
  const Course& course = courses[row];
  const float along = Wrap(x - course.Offset);
  float left = 0;
  std::size_t column = 0;
  while (column + 1 < course.Widths.size() && along >= left + course.Widths[column]) {
    left += course.Widths[column++];
  }
  Block block;
  block.Id = static_cast<std::uint32_t>(row * 32 + column);
  block.Width = course.Widths[column];
  block.Height = course.Height;
  block.Left = along - left;
  block.Right = block.Width - block.Left;
  block.Top = y - top;
  block.Bottom = course.Height - block.Top;
  return block;
}

float BlockRandom(const Block& block, std::uint32_t seed) { return Hash01(static_cast<int>(block.Id), 7, seed); }

// Mortar-filled joints between hand-cut blocks: the block edges wander and chip, the
// corners are rounded, the faces catch the light on their upper left edges.
Canvas Masonry(const std::vector<Course>& courses, Tone mortar, Ramp blockRamp, float blockLevel, float joint,
               std::uint32_t seed) {
  Canvas canvas;
  canvas.Paint([&](float x, float y) {
    const float wx = x + 1.3f * Noise(x, y, 8, 8, seed) + 0.5f * Noise(x, y, 32, 32, seed + 5);
    const float wy = y + 1.3f * Noise(x, y, 8, 8, seed + 1) + 0.5f * Noise(x, y, 32, 32, seed + 6);
    const Block block = BlockAt(wx, wy, courses);
    constexpr float kCorner = 3;
    const float dx = std::min(block.Left, block.Right), dy = std::min(block.Top, block.Bottom);
    const float edge =
        dx < kCorner && dy < kCorner ? kCorner - std::hypot(kCorner - dx, kCorner - dy) : std::min(dx, dy);
    const float grain = Fbm(x, y, 8, 5, seed + 2);
    const float fine = Noise(x, y, 64, 64, seed + 7);
    const Tone filling{mortar.RampOf, mortar.Level + 1.2f * grain + 0.6f * fine};
    const float inner = edge - joint;
    const float bevel = BevelLight(block.Left - joint, block.Right - joint, block.Top - joint, block.Bottom - joint,
                                   std::min(5.0f, block.Height / 5));
    const float pits = SmoothStep(0.5f, 0.8f, Fbm(x, y, 16, 3, seed + 3));
    const float speckle = Hash01(static_cast<int>(x), static_cast<int>(y), seed + 4) - 0.5f;
    // Each face bulges a little: lighter toward its top.
    const float bulge = 0.5f - block.Top / block.Height;
    const Tone face{blockRamp, blockLevel + 2.6f * (BlockRandom(block, seed) - 0.5f) + 2 * grain + 0.8f * fine +
                                   2.8f * bevel + 0.8f * bulge - 2.4f * pits + 0.5f * speckle};
    return BlendTones(filling, face, SmoothStep(-0.6f, 0.8f, inner), x, y);
  });
  return canvas;
}

}  // namespace

Canvas PaintStone() {
  const std::vector<Course> courses = {
      {30, 0, {44, 38, 46}},
      {34, 22, {52, 40, 36}},
      {28, 9, {36, 48, 44}},
      {36, 31, {42, 46, 40}},
  };
  return Masonry(courses, {Ramp::Slate, 5}, Ramp::Stone, 8, 1.4f, 101);
}

Canvas PaintDarkStone() {
  // Rough slate slabs: the cells of a jittered grid, split by dark cracks.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float wx = x + 3 * Noise(x, y, 8, 8, 201), wy = y + 3 * Noise(x, y, 8, 8, 202);
    const CellSample cell = Cells(wx, wy, 4, 203);
    const float seam = cell.F2 - cell.F1;
    const float grain = Fbm(x, y, 8, 4, 204);
    const float own = Hash01(static_cast<int>(cell.Id & 0xFFFF), 3, 205) - 0.5f;
    if (seam < 2.2f) return Tone{Ramp::Slate, 1.5f + seam * 0.6f + grain};
    // Each slab tilts a little toward the light.
    const float tilt = (cell.Dx * -0.5f + cell.Dy * -0.6f) / 24.0f;
    const float edge = seam < 5 ? 1.5f * (1 - (seam - 2.2f) / 2.8f) : 0;
    return Tone{Ramp::Slate, 7.5f + 2.5f * own + 2 * grain + 1.2f * tilt + edge};
  });
  return canvas;
}

Canvas PaintTiles() {
  // Square floor slabs of the wall's stone, laid in a grid.
  return Masonry({{64, 32, {64, 64}}, {64, 32, {64, 64}}}, {Ramp::Slate, 6}, Ramp::Stone, 10, 1.5f, 301);
}

Canvas PaintBrick() {
  std::vector<Course> courses;
  for (int row = 0; row < 8; ++row) courses.push_back({16, row % 2 ? 16.0f : 0.0f, {32, 32, 32, 32}});
  Canvas canvas = Masonry(courses, {Ramp::Grey, 10}, Ramp::Brick, 7.5f, 1.3f, 401);
  return canvas;
}

Canvas PaintMetal() {
  // Four riveted plates of brushed steel.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float lx = std::fmod(x, 64.0f), ly = std::fmod(y, 64.0f);
    const float edge = std::min({lx, 64 - lx, ly, 64 - ly});
    const float brushed = Noise(x, y, 2, 64, 501) * 0.7f + Noise(x, y, 4, 128, 502) * 0.5f;
    const float stain = Fbm(x, y, 4, 3, 503);
    if (edge < 1) return Tone{Ramp::Steel, 2};
    const float bevel = BevelLight(lx - 1, 63 - lx, ly - 1, 63 - ly, 3);
    const float plate = Hash01(static_cast<int>(x / 64), static_cast<int>(y / 64), 504) - 0.5f;
    return Tone{Ramp::Steel, 8 + 1.2f * brushed + 1.1f * stain + 2.8f * bevel + 1.4f * plate};
  });
  // Rivets along every plate edge, each a small lit dome with a shadow.
  for (int plate = 0; plate < 4; ++plate) {
    const float px = (plate % 2) * 64.0f, py = (plate / 2) * 64.0f;
    for (int k = 0; k < 4; ++k) {
      const float along = 8 + k * 16.0f;
      const float spots[4][2] = {{along, 6}, {along, 58}, {6, along}, {58, along}};
      for (const auto& spot : spots) {
        if ((spot[0] == 6 || spot[0] == 58) && (along == 8 || along == 56)) continue;
        const float cx = px + spot[0], cy = py + spot[1];
        DrawShape(
            canvas, cx - 3, cy - 3, cx + 4, cy + 4,
            [&](float x, float y) { return CircleDistance(x, y, cx + 1, cy + 1, 2.3f); },
            [&](float, float, float) {
              return Tone{Ramp::Steel, 3};
            });
        DrawStud(canvas, cx, cy, 2.3f, Ramp::Steel, 9, 5, 2.6f);
      }
    }
  }
  return canvas;
}

namespace {

// Wood grain along y for a board: long growth rings bent by noise, and fine fibres.
float Grain(float x, float y, float boardCentre, std::uint32_t seed) {
  const float bend = 6 * Noise(x, y, 2, 1, seed) + 2 * Noise(x, y, 8, 2, seed + 1);
  const float ring = std::sin((x - boardCentre + bend) * 0.7f + 0.4f * Noise(x, y, 16, 4, seed + 2));
  const float fibre = Noise(x, y, 64, 4, seed + 3);
  return 0.8f * ring * std::abs(ring) + 0.5f * fibre;
}

}  // namespace

Canvas PaintWood() {
  // Four vertical planks, each of boards end to end; the joints are staggered.
  Canvas canvas;
  const std::vector<float> joints[4] = {{10, 80}, {44, 112}, {26}, {62, 100}};
  canvas.Paint([&](float x, float y) {
    const int plank = static_cast<int>(x / 32);
    const float lx = std::fmod(x, 32.0f);
    // The board this point is on, and how far it is from the board's ends.
    const std::vector<float>& ends = joints[plank];
    int board = 0;
    float endEdge = 999;
    for (std::size_t j = 0; j < ends.size(); ++j) {
      if (y >= ends[j]) board = static_cast<int>(j) + 1;
      const float d = std::min(std::abs(y - ends[j]), kTextureSide - std::abs(y - ends[j]));
      endEdge = std::min(endEdge, d);
    }
    if (board == static_cast<int>(ends.size())) board = 0;  // the last board runs on past the bottom
    const int piece = plank * 4 + board;
    const float sideEdge = std::min(lx, 32 - lx);
    if (sideEdge < 1 || endEdge < 0.8f) return Tone{Ramp::Wood, 1.5f};
    const float bevel = BevelLight(lx - 1, 31 - lx, 99, 99, 2.5f) + (endEdge < 2.5f ? -0.8f : 0.0f);
    const float own = Hash01(piece, 3, 601) - 0.5f;
    const float g = Grain(x + 40.0f * piece, y, 16 + 32.0f * plank, 602 + piece);
    return Tone{Ramp::Wood, 8 + 2.4f * own + 2 * g + 2 * bevel};
  });
  // Two knots: a dark heart in rings of lighter wood.
  for (const auto& knot : {std::pair{50.0f, 70.0f}, std::pair{109.0f, 30.0f}}) {
    const float cx = knot.first, cy = knot.second;  // plain names: lambdas cannot capture bindings in C++20
    DrawShape(
        canvas, cx - 6, cy - 9, cx + 6, cy + 9,
        [&](float x, float y) { return EllipseDistance(x, y, cx, cy, 4.5f, 7.5f); },
        [&](float x, float y, float d) {
          const float heart = SmoothStep(1.5f, 2.5f, -d);
          return Tone{Ramp::Wood, 7 + std::sin(d * 1.8f) - 2.5f * heart + 0.3f * Noise(x, y, 64, 64, 604)};
        });
  }
  return canvas;
}

Canvas PaintCrate() {
  // A frame of four boards, horizontal planks inside and one diagonal brace, nailed at
  // the corners.
  Canvas canvas;
  constexpr float kFrame = 14;
  canvas.Paint([&](float x, float y) {
    const float ex = std::min(x, 128 - x), ey = std::min(y, 128 - y);
    if (ex < kFrame || ey < kFrame) {
      // Side boards run up and down, the top and bottom ones across, meeting mitred.
      const bool side = ex < ey;
      const float across = side ? x : y;
      const float start = across < 64 ? 0 : 128 - kFrame;
      const float near = across - start, far = start + kFrame - across;
      const float light = side ? BevelLight(near, far, 99, 99, 2.5f) : BevelLight(99, 99, near, far, 2.5f);
      const float g = side ? Grain(x, y, 7, 701) : Grain(y + 200, x, 7, 702);
      const float mitre = std::abs(ex - ey) < 0.8f ? -3.0f : 0.0f;
      return Tone{Ramp::Wood, 9 + 1.2f * g + 2 * light + mitre};
    }
    const float ly = std::fmod(y - kFrame, 25.0f);
    const int plank = static_cast<int>((y - kFrame) / 25);
    if (ly < 1.2f) return Tone{Ramp::Wood, 1.5f};
    const float g = Grain(y + 90.0f * plank, x, 12, 703 + plank);
    return Tone{Ramp::Wood,
                6.5f + 1.1f * g + 1.2f * (Hash01(plank, 1, 704) - 0.5f) + BevelLight(99, 99, ly - 1.2f, 25 - ly, 2)};
  });
  // The brace runs from the lower left to the upper right, casting a shadow.
  const auto brace = [](float x, float y, float shift) {
    return SegmentDistance(x, y, kFrame + shift, 128 - kFrame + shift, 128 - kFrame + shift, kFrame + shift, 7);
  };
  DrawShape(
      canvas, kFrame, kFrame, 128 - kFrame, 128 - kFrame,
      [&](float x, float y) {
        return std::max(brace(x, y, 2.5f), BoxDistance(x, y, 64, 64, 64 - kFrame, 64 - kFrame));
      },
      [](float, float, float) {
        return Tone{Ramp::Wood, 2.5f};
      });
  DrawShape(
      canvas, kFrame, kFrame, 128 - kFrame, 128 - kFrame,
      [&](float x, float y) { return std::max(brace(x, y, 0), BoxDistance(x, y, 64, 64, 64 - kFrame, 64 - kFrame)); },
      [&](float x, float y, float d) {
        const float g = Grain((x + y) * 0.7071f, (x - y) * 0.7071f + 300, 90, 705);
        return Tone{Ramp::Wood, 9 + 1.2f * g + (d > -1.5f ? ((x + y) < 128 ? 1.5f : -2.5f) : 0.0f)};
      });
  // Nails: dark heads with a bright spot.
  for (const float cx : {7.0f, 121.0f}) {
    for (const float cy : {7.0f, 121.0f, 64.0f}) DrawStud(canvas, cx, cy, 2.3f, Ramp::Steel, 5, 5, 2.5f);
  }
  return canvas;
}

namespace {

// Dark crumbly soil with small stones, shared by the earth block and the grass side.
Tone Soil(float x, float y) {
  const float clumps = Fbm(x, y, 8, 5, 801, 0.6f);
  const float crumbs = SmoothStep(0.3f, 0.6f, Noise(x, y, 64, 64, 802));
  const float speckle = Hash01(static_cast<int>(Wrap(x)), static_cast<int>(Wrap(y)), 803) - 0.5f;
  return Tone{Ramp::Earth, 6.5f + 2.6f * clumps + 1.3f * crumbs + 0.9f * speckle};
}

void Pebbles(Canvas& canvas, int count, float yMin, std::uint32_t seed) {
  base::Random random(static_cast<std::int32_t>(seed));
  for (int i = 0; i < count; ++i) {
    const float cx = random.Next(128), cy = yMin + random.Next(static_cast<int>(128 - yMin));
    const float rx = 1.6f + random.Next(30) / 10.0f, ry = rx * (0.6f + random.Next(40) / 100.0f);
    const int kind = random.Next(3);
    const Ramp ramp = kind == 0 ? Ramp::Slate : kind == 1 ? Ramp::Stone : Ramp::Sand;
    const float base = kind == 2 ? 5.5f : 7.5f;
    // Shadow below, then the stone, lit from the upper left.
    DrawShape(
        canvas, cx - rx - 2, cy - ry - 2, cx + rx + 2, cy + ry + 3,
        [&](float x, float y) { return EllipseDistance(x, y, cx + 0.8f, cy + 1.2f, rx, ry); },
        [&](float x, float y, float) {
          Tone soil = Soil(x, y);
          soil.Level -= 2.5f;
          return soil;
        });
    DrawShape(
        canvas, cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1,
        [&](float x, float y) { return EllipseDistance(x, y, cx, cy, rx, ry); },
        [&](float x, float y, float) {
          return Tone{
              ramp, base + 5 * DomeLight((x - cx) * ry / rx, y - cy, ry + 0.5f) + 0.6f * Noise(x, y, 64, 64, seed + 1)};
        });
  }
}

}  // namespace

Canvas PaintEarth() {
  Canvas canvas;
  canvas.Paint(Soil);
  Pebbles(canvas, 26, 0, 810);
  return canvas;
}

namespace {

// Short blades of grass, seen from above (direction random) or from the side (hanging
// down from the sod).
void Blades(Canvas& canvas, int count, bool fromAbove, std::uint32_t seed) {
  base::Random random(static_cast<std::int32_t>(seed));
  for (int i = 0; i < count; ++i) {
    const float x0 = static_cast<float>(random.Next(128)), y0 = static_cast<float>(random.Next(128));
    const float angle = fromAbove ? random.Next(628) / 100.0f : kPi / 2 + (random.Next(60) - 30) / 100.0f;
    const float length = 4 + random.Next(50) / 10.0f;
    const float x1 = x0 + std::cos(angle) * length, y1 = y0 + std::sin(angle) * length;
    const float level = 8 + random.Next(50) / 10.0f;
    DrawShape(
        canvas, std::min(x0, x1) - 1, std::min(y0, y1) - 1, std::max(x0, x1) + 1, std::max(y0, y1) + 1,
        [&](float x, float y) { return SegmentDistance(x, y, x0, y0, x1, y1, 0.55f); },
        [&](float x, float y, float) {
          // Lighter toward the tip.
          const float t = Clamp01(((x - x0) * (x1 - x0) + (y - y0) * (y1 - y0)) / (length * length));
          return Tone{Ramp::Grass, level + 1.5f * t};
        });
  }
}

}  // namespace

Canvas PaintGrass() {
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float clumps = Fbm(x, y, 8, 4, 901, 0.6f);
    return Tone{Ramp::Grass, 6 + 2.2f * clumps + 0.8f * (Hash01(static_cast<int>(x), static_cast<int>(y), 902) - 0.5f)};
  });
  Blades(canvas, 900, true, 903);
  // A few small flowers.
  base::Random random(904);
  for (int i = 0; i < 7; ++i) {
    const float cx = random.Next(128), cy = random.Next(128);
    const Ramp ramp = i % 3 == 0 ? Ramp::Marble : Ramp::Gold;
    for (int petal = 0; petal < 5; ++petal) {
      const float px = cx + 1.6f * std::cos(petal * 1.2566f), py = cy + 1.6f * std::sin(petal * 1.2566f);
      DrawShape(
          canvas, px - 2, py - 2, px + 2, py + 2, [&](float x, float y) { return CircleDistance(x, y, px, py, 1.1f); },
          [&](float x, float y, float) {
            return Tone{ramp, 12 + 3 * DomeLight(x - cx, y - cy, 3)};
          });
    }
    DrawShape(
        canvas, cx - 1, cy - 1, cx + 1, cy + 1, [&](float x, float y) { return CircleDistance(x, y, cx, cy, 0.8f); },
        [&](float, float, float) {
          return Tone{ramp == Ramp::Gold ? Ramp::Lava : Ramp::Gold, 10};
        });
  }
  return canvas;
}

Canvas PaintGrassSide() {
  Canvas canvas;
  canvas.Paint(Soil);
  Pebbles(canvas, 16, 24, 1001);
  // The sod along the top: its lower edge dips and rises; blades hang over the soil.
  canvas.Paint([&](float x, float y) {
    const float depth = 18 + 5 * Noise(x, 0, 8, 1, 1002) + 2.5f * Noise(x, 0, 32, 1, 1003);
    if (y > depth + 1.5f) return canvas.At(static_cast<int>(x), static_cast<int>(y));
    if (y > depth) return Tone{Ramp::Earth, 2.5f};
    const float clumps = Fbm(x, y, 16, 3, 1004);
    // Lit from above, darker toward the soil.
    return Tone{Ramp::Grass, 9 - 3.5f * (y / depth) + 2 * clumps};
  });
  base::Random random(1005);
  for (int i = 0; i < 170; ++i) {
    const float x0 = static_cast<float>(random.Next(128));
    const float depth = 18 + 5 * Noise(x0, 0, 8, 1, 1002) + 2.5f * Noise(x0, 0, 32, 1, 1003);
    const float y0 = depth - 4 + random.Next(30) / 10.0f;
    const float length = 3 + random.Next(90) / 10.0f;
    const float lean = (random.Next(100) - 50) / 60.0f;
    const float x1 = x0 + lean * length * 0.5f, y1 = y0 + length;
    const float level = 6 + random.Next(40) / 10.0f;
    DrawShape(
        canvas, std::min(x0, x1) - 2, y0 - 1, std::max(x0, x1) + 2, y1 + 1,
        [&](float x, float y) {
          // Blades taper to a point at the tip.
          const float t = Clamp01((y - y0) / length);
          return SegmentDistance(x, y, x0, y0, x1, y1, 0.9f * (1 - t) + 0.2f);
        },
        [&](float, float y, float) {
          return Tone{Ramp::Grass, level - 2 * Clamp01((y - y0) / length)};
        });
  }
  return canvas;
}

Canvas PaintMarble() {
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    // Veins run where warped noise crosses zero: a soft grey band round a darker thread.
    const float wx = x + 10 * Noise(x, y, 2, 2, 1101), wy = y + 10 * Noise(x, y, 2, 2, 1102);
    const float ridge = 1 - std::abs(Fbm(wx, wy, 2, 5, 1106, 0.55f)) * 2.2f;
    const float band = SmoothStep(0.75f, 1.0f, ridge);
    const float thread = SmoothStep(0.9f, 0.98f, ridge);
    const float fine = SmoothStep(0.92f, 1.0f, 1 - std::abs(Fbm(x, y, 8, 3, 1104)) * 3);
    const float cloud = Fbm(x, y, 4, 4, 1105);
    return Tone{Ramp::Marble, 12 + 1.6f * cloud - 3 * band - 3.5f * thread - 1.5f * fine};
  });
  return canvas;
}

Canvas PaintSand() {
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    // Wind ripples: a wave with whole periods across the image, bent by noise.
    const float bend = 6 * Fbm(x, y, 2, 3, 1201);
    const float ripple = std::sin(2 * kPi * (y * 6 + x) / kTextureSide + bend);
    const float crest = std::pow(0.5f + 0.5f * ripple, 3.0f);
    const float grains = Hash01(static_cast<int>(x), static_cast<int>(y), 1202) - 0.5f;
    const float patches = Fbm(x, y, 4, 4, 1203);
    return Tone{Ramp::Sand, 9.2f + 1.8f * crest - 1.0f * (0.5f - 0.5f * ripple) + 1.6f * grains + 1.2f * patches};
  });
  base::Random random(1204);
  for (int i = 0; i < 40; ++i) {
    const float cx = random.Next(128), cy = random.Next(128);
    const float r = 0.6f + random.Next(10) / 10.0f;
    const Ramp ramp = i % 4 == 0 ? Ramp::Marble : i % 4 == 1 ? Ramp::Earth : Ramp::Sand;
    const float level = ramp == Ramp::Marble ? 8.0f : ramp == Ramp::Earth ? 9.0f : 4.0f;
    DrawShape(
        canvas, cx - 2, cy - 2, cx + 2, cy + 2, [&](float x, float y) { return CircleDistance(x, y, cx, cy, r); },
        [&](float, float, float) {
          return Tone{ramp, level};
        });
  }
  return canvas;
}

Canvas PaintPodium() {
  // Pale stone blocks between two gold bands, top and bottom, each engraved with a row of
  // small diamonds.
  Canvas canvas =
      Masonry({{40, 0, {128}}, {48, 32, {64, 64}}, {40, 0, {128}}}, {Ramp::Slate, 5}, Ramp::Stone, 10, 1.2f, 1301);
  canvas.Paint([&](float x, float y) {
    const float band = y < 64 ? y : 128 - y;  // from the nearer of the top and bottom edges
    if (band >= 22) return canvas.At(static_cast<int>(x), static_cast<int>(y));
    const bool top = y < 64;
    const float across = top ? y : 127 - y;
    // A rounded moulding: bright where it faces up, dark below.
    const float profile = std::cos((across / 22.0f) * kPi);
    const float diamond = std::abs(std::fmod(x, 16.0f) - 8) + std::abs(across - 11) * 1.2f;
    const float engraved = diamond < 5 ? (diamond < 3.8f ? 1.5f : -3.5f) : 0.0f;
    const float edge = across < 1.5f || across > 20.5f ? -4.0f : 0.0f;
    return Tone{Ramp::Gold, 9 + 2.5f * (top ? profile : -profile) + engraved + edge + 0.6f * Noise(x, y, 32, 8, 1302)};
  });
  return canvas;
}

}  // namespace zandrel::data::textures
