// Meshes of the level's shapes and decoration: ramps, the half step, crumbling earth
// and sand, pools, spikes, the torch, pillar, crystal, window, exit gate, tree and the
// sky. Cell objects are centred on the cell (-256..255 on each axis).
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "tools/data/meshes_parts.h"

namespace zandrel::data::meshes {
namespace {

constexpr double kFloor = -256, kCeiling = 255;
constexpr std::uint16_t kStone = 1, kMarble = 7, kTiles = 44, kDarkStone = 32;
constexpr std::uint16_t kSteel = 103, kSteelLight = 107;

// A wedge filling the cell's floor and rising to the ceiling at x = 255, or at z = 255
// when it faces north: a quarter turn about the cell's true centre (-0.5, -0.5) keeps
// its corners on whole cell coordinates.
MeshBuilder Ramp(bool north) {
  MeshBuilder mesh;
  if (north) mesh.Place(Affine::Translate(-0.5, 0, -0.5) * Affine::RotateY(90) * Affine::Translate(0.5, 0, 0.5));
  const std::uint16_t b0 = mesh.Vertex({kFloor, kFloor, kFloor}), b1 = mesh.Vertex({kCeiling, kFloor, kFloor});
  const std::uint16_t b2 = mesh.Vertex({kCeiling, kFloor, kCeiling}), b3 = mesh.Vertex({kFloor, kFloor, kCeiling});
  const std::uint16_t t1 = mesh.Vertex({kCeiling, kCeiling, kFloor}), t2 = mesh.Vertex({kCeiling, kCeiling, kCeiling});
  mesh.Quad(b3, t2, t1, b0, Textured(kTiles));  // the slope, seen from above
  mesh.Quad(t1, t2, b2, b1, Textured(kStone));  // the high end
  mesh.Quad(b2, b3, b0, b1, Textured(kStone));  // underneath
  // The sides show the lower half of the texture square, its top corner at the high end.
  mesh.Triangle(b1, b0, t1, Textured(kStone), 1);  // the -z side
  mesh.Triangle(b3, b2, t2, Textured(kStone), 1);  // the +z side
  return mesh;
}

MeshBuilder Step() {
  MeshBuilder mesh;
  mesh.Box({kFloor, kFloor, kFloor}, {kCeiling, 0, kCeiling},
           SolidPaint(Textured(kStone), Textured(kTiles), Textured(kStone)));
  return mesh;
}

// One frame of a block falling apart into eight lumps: Size scales each lump, Squash
// flattens it, Spread pushes the lumps apart, Fall (0..1) brings them down to rest,
// Turn (degrees) sets how far each lump is twisted. Stacked lumps settle on the lower
// ones; the others roll aside between them.
struct Crumble {
  double Size = 1, Squash = 1, Spread = 1, Fall = 0, Turn = 0;
};

MeshBuilder Rubble(std::uint16_t texture, const Crumble& c, bool stacked) {
  MeshBuilder mesh;
  for (int layer = 0; layer < 2; ++layer) {
    for (int row = 0; row < 2; ++row) {
      for (int column = 0; column < 2; ++column) {
        // The lumps of the whole block: [-256, 0] and [0, 255] on each axis.
        const auto low = [](int i) { return i == 0 ? kFloor : 0.0; };
        const auto high = [](int i) { return i == 0 ? 0.0 : kCeiling; };
        const auto half = [&](int i) { return (high(i) - low(i)) / 2 * c.Size; };
        const double halfHeight = half(layer) * c.Squash;
        const double homeY = (low(layer) + high(layer)) / 2;
        const double restY = kFloor + halfHeight + (stacked ? 2 * half(0) * c.Squash * layer : 0);
        // Unstacked upper lumps roll aside into the gaps between the lower ones.
        const double aside = (stacked ? 0 : 45 * layer * c.Fall) * std::numbers::pi / 180;
        const double awayX = (low(column) + high(column)) / 2 * c.Spread;
        const double awayZ = (low(row) + high(row)) / 2 * c.Spread;
        // A fixed twist per lump, different for each: a small hash of its place.
        const double turn = c.Turn * (((column * 5 + row * 3 + layer * 7) % 8) / 3.5 - 1);
        // Kept inside the cell however far it is turned.
        const double facing = aside + turn * std::numbers::pi / 180;
        const double cosine = std::abs(std::cos(facing)), sine = std::abs(std::sin(facing));
        const double reachX = half(column) * cosine + half(row) * sine;
        const double reachZ = half(column) * sine + half(row) * cosine;
        const auto inside = [](double v, double reach) { return std::clamp(v, kFloor + reach, kCeiling - reach); };
        const double x = inside(awayX * std::cos(aside) - awayZ * std::sin(aside), reachX);
        const double z = inside(awayX * std::sin(aside) + awayZ * std::cos(aside), reachZ);
        mesh.Place(Affine::Translate(x, homeY + (restY - homeY) * c.Fall, z) *
                   Affine::RotateY(turn + aside * 180 / std::numbers::pi));
        mesh.Box({-half(column), -halfHeight, -half(row)}, {half(column), halfHeight, half(row)}, Textured(texture));
      }
    }
  }
  return mesh;
}

// A pool filling the cell, its surface at y -180 inside short sloping banks.
MeshBuilder Pool(std::uint16_t surface, std::uint16_t bank) {
  constexpr double kInset = 48;
  const auto square = [](double from, double to, double y) {
    // By growing angle from +x toward +z, starting at the low x, low z corner, so that
    // the top reads upright from above with +z up the screen.
    return std::vector<Vec3>{{from, y, from}, {to, y, from}, {to, y, to}, {from, y, to}};
  };
  const std::array<Outline, 3> rings{{{square(kFloor, kCeiling, kFloor), Textured(bank)},
                                      {square(kFloor, kCeiling, -150), Textured(bank)},
                                      {square(kFloor + kInset, kCeiling - kInset, -180), {}}}};
  MeshBuilder mesh;
  mesh.Loft(rings, Textured(bank), Textured(surface));
  return mesh;
}

// A steel plate bristling with nine spikes up to y -100.
MeshBuilder Spikes() {
  MeshBuilder mesh;
  mesh.Box({kFloor, kFloor, kFloor}, {kCeiling, -226, kCeiling},
           SolidPaint(Shaded(kSteel), Textured(3), Shaded(kSteel)));
  const std::array<Ring, 2> spike{{{62, -226, Shaded(kSteelLight)}, {0, -100, {}}}};
  for (const double x : {-170.0, 0.0, 170.0}) {
    for (const double z : {-170.0, 0.0, 170.0}) {
      mesh.Place(Affine::Translate(x, 0, z));
      mesh.Lathe(spike, 4, Shaded(kSteel), {}, 45);
    }
  }
  return mesh;
}

// A flame on a stick, drawn as one picture that faces the camera; its texture holds a
// view from each of four sides.
MeshBuilder Torch() {
  MeshBuilder mesh;
  mesh.Sprite({0, 0, 0}, 160, 480, 37);
  return mesh;
}

// An octagonal marble column on a square base under a square capital.
MeshBuilder Pillar() {
  MeshBuilder mesh;
  mesh.Box({-124, kFloor, -124}, {124, -216, 124}, Textured(kStone));
  mesh.Box({-116, -216, -116}, {116, -200, 116}, Textured(kMarble));
  const std::array<Ring, 3> shaft{{{102, -200, Textured(kMarble)}, {102, 0, Textured(kMarble)}, {102, 200, {}}}};
  mesh.Lathe(shaft, 8, Textured(kMarble), Textured(kMarble), 22.5);
  mesh.Box({-116, 200, -116}, {116, 216, 116}, Textured(kMarble));
  mesh.Box({-124, 216, -124}, {124, kCeiling, 124}, Textured(kStone));
  return mesh;
}

// A floating crystal with three shards around it; `twist` (0..1) turns and stretches
// it, and swings the shards on.
MeshBuilder Crystal(double twist) {
  constexpr std::uint16_t kCrystal = 46;
  MeshBuilder mesh;
  const std::array<Ring, 4> body{{{0, -150 - 30 * twist, Textured(kCrystal)},
                                  {62, -70, Textured(kCrystal)},
                                  {70, 90 + 30 * twist, Textured(kCrystal), 25 * twist},
                                  {0, 200 + 50 * twist, {}, 40 * twist}}};
  mesh.Lathe(body, 6, {}, {});
  const std::array<Ring, 4> shard{
      {{0, -50, Textured(kCrystal)}, {20, -10, Textured(kCrystal)}, {20, 20, Textured(kCrystal)}, {0, 70, {}}}};
  for (int i = 0; i < 3; ++i) {
    mesh.Place(Affine::RotateY(30 + 120.0 * i + 40 * twist) * Affine::Translate(160, -60 + 40 * i, 0) *
               Affine::RotateZ(-15));
    mesh.Lathe(shard, 4, {}, {}, 45);
  }
  return mesh;
}

// A window in the plane z = 0: a steel frame round a see-through pane.
MeshBuilder Glass() {
  constexpr double kBar = 40, kDepth = 30;
  MeshBuilder mesh;
  const Paint frame = Shaded(kSteel);
  mesh.Box({kFloor, kCeiling - kBar, -kDepth}, {kCeiling, kCeiling, kDepth}, frame);
  mesh.Box({kFloor, kFloor, -kDepth}, {kCeiling, kFloor + kBar, kDepth}, frame);
  mesh.Box({kFloor, kFloor + kBar, -kDepth}, {kFloor + kBar, kCeiling - kBar, kDepth}, frame);
  mesh.Box({kCeiling - kBar, kFloor + kBar, -kDepth}, {kCeiling, kCeiling - kBar, kDepth}, frame);
  const double in = kFloor + kBar, out = kCeiling - kBar;
  mesh.Quad(Vec3{in, out, 0}, Vec3{out, out, 0}, Vec3{out, in, 0}, Vec3{in, in, 0}, BothSides(SeeThrough(17)));
  return mesh;
}

// The exit: a stone arch in the plane z = 0 holding a glowing swirl. `frame` (0..3)
// turns the swirl by half a segment; after four frames it has turned two segments,
// which looks the same, so the animation loops smoothly.
MeshBuilder Gate(int frame) {
  constexpr std::uint16_t kSwirl = 36, kGlow = 232;
  constexpr double kArchY = 20, kInner = 160, kOuter = 230, kDepth = 50;
  MeshBuilder mesh;
  for (const double x : {-kOuter, kInner}) {
    mesh.Box({x, kFloor, -kDepth}, {x + kOuter - kInner, kArchY, kDepth}, Textured(kStone));
  }
  // The arch in six stones, from the left end round to the right.
  constexpr int kStones = 6;
  for (int i = 0; i < kStones; ++i) {
    const double left = std::numbers::pi * (kStones - i) / kStones,
                 right = std::numbers::pi * (kStones - i - 1) / kStones;
    std::array<Vec3, 8> corners;
    for (std::size_t c = 0; c < 8; ++c) {
      const double angle = (c & 1) ? right : left;
      const double radius = (c & 2) ? kOuter : kInner;
      corners[c] = {radius * std::cos(angle), kArchY + radius * std::sin(angle), (c & 4) ? kDepth : -kDepth};
    }
    mesh.Block(corners, Textured(kStone));
  }
  // The swirl: an oval of three rings, each set half a segment on from the one inside
  // it, so that the bands run round as spiral arms of light and texture.
  constexpr int kSegments = 16;
  constexpr double kSwirlX = 150, kSwirlY = 196, kSwirlCentre = -44;
  const double segment = 2 * std::numbers::pi / kSegments;
  const std::uint16_t centre = mesh.Vertex({0, kSwirlCentre, 0});
  std::vector<std::vector<std::uint16_t>> rings;
  for (int ring = 1; ring <= 3; ++ring) {
    std::vector<std::uint16_t> points;
    for (int i = 0; i < kSegments; ++i) {
      // Clockwise on screen, seen from -z.
      const double angle = -segment * (i + 0.5 * ring + 0.5 * frame);
      points.push_back(
          mesh.Vertex({kSwirlX * ring / 3 * std::cos(angle), kSwirlCentre + kSwirlY * ring / 3 * std::sin(angle), 0}));
    }
    rings.push_back(std::move(points));
  }
  const auto paint = [&](int i) { return BothSides(i % 2 == 0 ? Textured(kSwirl) : Flat(kGlow)); };
  for (int i = 0; i < kSegments; ++i) {
    const auto j = static_cast<std::size_t>((i + 1) % kSegments), k = static_cast<std::size_t>(i);
    mesh.Triangle(centre, rings[0][k], rings[0][j], paint(i));
    for (std::size_t ring = 0; ring + 1 < rings.size(); ++ring) {
      mesh.Quad(rings[ring + 1][k], rings[ring + 1][j], rings[ring][j], rings[ring][k], paint(i + 1));
    }
  }
  return mesh;
}

// A trunk under crossed planes of see-through leaves.
MeshBuilder Tree() {
  constexpr std::uint16_t kBark = 48, kLeaves = 49;
  MeshBuilder mesh;
  const std::array<Ring, 3> trunk{{{46, kFloor, Textured(kBark)}, {34, 0, Textured(kBark)}, {24, 100, {}}}};
  mesh.Lathe(trunk, 6, Textured(kBark), Textured(kBark));
  const Paint leaves = BothSides(SeeThrough(kLeaves));
  for (const double turn : {0.0, 60.0, 120.0}) {
    mesh.Place(Affine::RotateY(turn));
    mesh.Quad(Vec3{-240, kCeiling, 0}, Vec3{240, kCeiling, 0}, Vec3{240, -60, 0}, Vec3{-240, -60, 0}, leaves);
  }
  // Two level layers, the upper one smaller and turned, round the crown off.
  for (const auto& [y, half, turn] : {std::tuple{60.0, 220.0, 0.0}, {190.0, 160.0, 45.0}}) {
    mesh.Place(Affine::RotateY(turn));
    mesh.Quad(Vec3{-half, y, half}, Vec3{half, y, half}, Vec3{half, y, -half}, Vec3{-half, y, -half}, leaves);
  }
  return mesh;
}

// The sky: a sphere seen from inside, the sky picture repeated round it from far below
// the horizon up to the top, closed underneath in a dark colour.
MeshBuilder Sky() {
  constexpr std::uint16_t kSky = 35, kDeep = 194;
  constexpr double kRadius = 6000;
  MeshBuilder mesh;
  mesh.Place(Affine::Scale(1, 1, -1));  // a mirror turns the sphere inside out
  std::vector<Ring> rings;
  for (const double latitude : {-90.0, -40.0, 0.0, 18.0, 40.0, 65.0, 90.0}) {
    const double radians = latitude * std::numbers::pi / 180;
    const bool pole = latitude == 90 || latitude == -90;
    rings.push_back({pole ? 0 : kRadius * std::cos(radians), kRadius * std::sin(radians),
                     latitude < -40 ? Flat(kDeep) : Textured(kSky)});
  }
  mesh.Lathe(rings, 16, {}, {});
  return mesh;
}

}  // namespace

void AddSceneryMeshes(DataTree& tree) {
  AddMeshFile(tree, "RAMPE", Ramp(false));
  AddMeshFile(tree, "RAMPN", Ramp(true));
  AddMeshFile(tree, "STEP", Step());
  const std::array<Crumble, 4> earth{
      {{}, {0.82, 1, 1.06, 0.35, 12}, {0.6, 0.9, 1.12, 0.8, 25}, {0.36, 0.8, 1.18, 1, 40}}};
  for (std::size_t i = 0; i < earth.size(); ++i)
    AddMeshFile(tree, "EARTHD" + std::to_string(i + 1), Rubble(5, earth[i], false));
  const std::array<Crumble, 3> sand{{{}, {0.92, 0.6, 1.03, 0.7, 6}, {0.98, 0.22, 1, 1, 0}}};
  for (std::size_t i = 0; i < sand.size(); ++i)
    AddMeshFile(tree, "SANDD" + std::to_string(i + 1), Rubble(8, sand[i], true));
  AddMeshFile(tree, "LAVA", Pool(9, kDarkStone));
  AddMeshFile(tree, "WATER", Pool(13, kStone));
  AddMeshFile(tree, "SPIKES", Spikes());
  AddMeshFile(tree, "TORCH", Torch());
  AddMeshFile(tree, "PILLAR", Pillar());
  AddMeshFile(tree, "CRYSTAL1", Crystal(0));
  AddMeshFile(tree, "CRYSTAL2", Crystal(1));
  AddMeshFile(tree, "GLASS", Glass());
  for (int i = 0; i < 4; ++i) AddMeshFile(tree, "GATE" + std::to_string(i + 1), Gate(i));
  AddMeshFile(tree, "TREE", Tree());
  AddMeshFile(tree, "SKY", Sky());
}

}  // namespace zandrel::data::meshes
