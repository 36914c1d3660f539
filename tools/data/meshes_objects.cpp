// Meshes of the objects the hero uses: the ladder, the spring, the pickups, the lever
// and the opening doors. Coordinates are centred on the cell (-256..255 on each axis).
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tools/data/meshes_parts.h"

namespace zandrel::data::meshes {
namespace {

constexpr double kFloor = -256, kCeiling = 255;
constexpr std::uint16_t kMetal = 3, kGold = 18;
constexpr std::uint16_t kSteelDark = 99, kSteel = 103, kSteelLight = 108;

// A see-through picture of a ladder near the cell's -z side; thin along z, so the game
// takes it as lying along x.
MeshBuilder Ladder() {
  MeshBuilder mesh;
  mesh.Quad(Vec3{-200, kCeiling, -200}, Vec3{200, kCeiling, -200}, Vec3{200, kFloor, -200}, Vec3{-200, kFloor, -200},
            BothSides(SeeThrough(24)));
  return mesh;
}

// A coil between a floor plate and a round pad whose top is at `padTop`.
MeshBuilder Spring(double padTop) {
  constexpr std::uint16_t kPad = 25;
  constexpr int kTurns = 4, kStepsPerTurn = 8;
  constexpr double kCoilRadius = 110, kWire = 14;
  MeshBuilder mesh;
  mesh.Box({-170, kFloor, -170}, {170, kFloor + 20, 170},
           SolidPaint(Shaded(kSteelDark), Textured(kMetal), Shaded(kSteelDark)));
  const double coilBottom = kFloor + 20, coilTop = padTop - 24;
  // The coil: a ribbon of wire climbing in a helix, seen from both sides.
  const int steps = kTurns * kStepsPerTurn;
  std::vector<std::uint16_t> upper, lower;
  for (int i = 0; i <= steps; ++i) {
    const double angle = 2 * std::numbers::pi * i / kStepsPerTurn;
    const double y = coilBottom + (coilTop - coilBottom - kWire) * i / steps;
    const double x = kCoilRadius * std::cos(angle), z = kCoilRadius * std::sin(angle);
    upper.push_back(mesh.Vertex({x, y + kWire, z}));
    lower.push_back(mesh.Vertex({x, y, z}));
  }
  for (std::size_t i = 0; i + 1 < upper.size(); ++i) {
    mesh.Quad(upper[i], upper[i + 1], lower[i + 1], lower[i], BothSides(Flat(i % 2 == 0 ? kSteelLight : kSteel)));
  }
  const std::array<Ring, 2> pad{{{150, padTop - 24, Shaded(kSteel)}, {150, padTop, {}}}};
  mesh.Lathe(pad, 8, Shaded(kSteelDark), Textured(kPad), 22.5);
  return mesh;
}

// A gold bar lying on the floor, turned by `turn` degrees about the vertical.
MeshBuilder Ingot(double turn) {
  MeshBuilder mesh;
  mesh.Place(Affine::RotateY(turn));
  mesh.Block({Vec3{-130, kFloor, -62},
              {130, kFloor, -62},
              {-100, kFloor + 80, -40},
              {100, kFloor + 80, -40},  //
              {-130, kFloor, 62},
              {130, kFloor, 62},
              {-100, kFloor + 80, 40},
              {100, kFloor + 80, 40}},
             Textured(kGold));
  return mesh;
}

// A brass lantern standing on the floor: a foot, a glowing glass in three bars, a cap
// and a carrying ring.
MeshBuilder Lamp() {
  constexpr std::uint16_t kBrass = 47, kGlow = 236, kBrassFlat = 212;
  MeshBuilder mesh;
  const std::array<Ring, 2> foot{{{95, kFloor, Textured(kBrass)}, {70, kFloor + 44, {}}}};
  mesh.Lathe(foot, 6, Shaded(kBrassFlat), Textured(kBrass));
  const std::array<Ring, 3> glass{
      {{56, kFloor + 44, Flat(kGlow)}, {66, kFloor + 130, Flat(kGlow)}, {50, kFloor + 200, {}}}};
  mesh.Lathe(glass, 6, Flat(kGlow), Flat(kGlow));
  const std::array<Ring, 4> cap{{{76, kFloor + 196, Textured(kBrass)},
                                 {76, kFloor + 214, Shaded(kBrassFlat)},
                                 {30, kFloor + 270, Shaded(kBrassFlat)},
                                 {0, kFloor + 284, {}}}};
  mesh.Lathe(cap, 6, Shaded(kBrassFlat), {});
  for (int i = 0; i < 3; ++i) {
    mesh.Place(Affine::RotateY(90 + 120.0 * i));
    mesh.Box({62, kFloor + 40, -7}, {74, kFloor + 200, 7}, Shaded(kBrassFlat));
  }
  mesh.Place({});
  const double top = kFloor + 280;
  const Paint ring = BothSides(Flat(kBrassFlat));
  mesh.Quad(Vec3{-30, top + 60, 0}, Vec3{30, top + 60, 0}, Vec3{30, top + 48, 0}, Vec3{-30, top + 48, 0}, ring);
  mesh.Quad(Vec3{-36, top + 52, 0}, Vec3{-26, top + 52, 0}, Vec3{-14, top, 0}, Vec3{-24, top, 0}, ring);
  mesh.Quad(Vec3{26, top + 52, 0}, Vec3{36, top + 52, 0}, Vec3{24, top, 0}, Vec3{14, top, 0}, ring);
  return mesh;
}

// An hourglass: two plates joined by three posts around two glass bulbs, the lower one
// holding the sand.
MeshBuilder Timer() {
  constexpr std::uint16_t kFrame = 28, kGlass = 246, kSand = 186, kPost = 134;
  MeshBuilder mesh;
  const double bottom = kFloor, top = kFloor + 400;
  const std::array<Ring, 2> plate{{{120, 0, Textured(kFrame)}, {120, 30, {}}}};
  for (const double y : {bottom, top - 30}) {
    mesh.Place(Affine::Translate(0, y, 0));
    mesh.Lathe(plate, 6, Textured(kFrame), Textured(kFrame));
  }
  mesh.Place({});
  for (int i = 0; i < 3; ++i) {
    mesh.Place(Affine::RotateY(90 + 120.0 * i));
    mesh.Box({92, bottom + 30, -9}, {110, top - 30, 9}, Shaded(kPost));
  }
  mesh.Place({});
  const double middle = (bottom + top) / 2;
  const std::array<Ring, 5> bulbs{{{70, bottom + 30, Shaded(kSand)},
                                   {78, bottom + 90, Shaded(kSand)},
                                   {14, middle, Shaded(kGlass)},
                                   {78, top - 90, Shaded(kGlass)},
                                   {70, top - 30, {}}}};
  mesh.Lathe(bulbs, 6, Shaded(kSand), Shaded(kGlass));
  return mesh;
}

// A puffy heart floating at mid-height, facing -z, `size` times its base size.
MeshBuilder Heart(double size) {
  constexpr std::uint16_t kSide = 70, kFace = 76;
  MeshBuilder mesh;
  mesh.Place(Affine::Translate(0, -30, 0) * Affine::Scale(size, size, size) * Affine::RotateX(-90));
  // The classic heart curve, by growing angle seen from the front (x right, y up).
  std::vector<std::array<double, 2>> outline;
  constexpr int kPoints = 20;
  for (int i = 0; i < kPoints; ++i) {
    const double t = 2 * std::numbers::pi * i / kPoints - std::numbers::pi / 2;
    const double x = 16 * std::pow(std::sin(t), 3);
    const double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
    outline.push_back({-x * 6.5, y * 6.5 + 20});
  }
  mesh.Prism(outline, -28, 28, SolidPaint(Shaded(kSide), Shaded(kFace), Shaded(kFace)), 26);
  return mesh;
}

// A lever on a floor plate; the handle leans by `angle` degrees from upright toward +z.
MeshBuilder Lever(double angle) {
  constexpr std::uint16_t kBase = 31, kKnob = 77;
  MeshBuilder mesh;
  mesh.Box({-130, kFloor, -100}, {130, kFloor + 50, 100},
           SolidPaint(Textured(kBase), Textured(kBase), Shaded(kSteelDark)));
  mesh.Box({-70, kFloor + 50, -40}, {70, kFloor + 90, 40}, Shaded(kSteel));
  const Affine handle = Affine::Translate(0, kFloor + 80, 0) * Affine::RotateX(angle);
  mesh.Place(handle);
  mesh.Box({-12, 0, -12}, {12, 220, 12}, Shaded(kSteelLight));
  mesh.Place(handle * Affine::Translate(0, 232, 0));
  const std::array<Ring, 4> knob{
      {{0, -26, Shaded(kKnob)}, {24, -14, Shaded(kKnob)}, {24, 14, Shaded(kKnob)}, {0, 26, {}}}};
  mesh.Lathe(knob, 6, {}, {});
  return mesh;
}

// A door block sinking into the floor: its door picture on the sides, metal on top,
// the top at `top`.
MeshBuilder Door(std::uint16_t texture, double top) {
  MeshBuilder mesh;
  mesh.Box({kFloor, kFloor, kFloor}, {kCeiling, top, kCeiling},
           SolidPaint(Textured(texture), Textured(kMetal), Textured(kMetal)));
  return mesh;
}

}  // namespace

void AddObjectMeshes(DataTree& tree) {
  AddMeshFile(tree, "LADDER", Ladder());
  AddMeshFile(tree, "SPRING1", Spring(-128));
  AddMeshFile(tree, "SPRING2", Spring(-40));
  // A bar looks the same turned half round, so four steps of 45 degrees loop smoothly.
  for (int i = 0; i < 4; ++i) AddMeshFile(tree, "INGOT" + std::to_string(i + 1), Ingot(45.0 * i));
  AddMeshFile(tree, "LAMP", Lamp());
  AddMeshFile(tree, "TIMER", Timer());
  AddMeshFile(tree, "ONEUP1", Heart(0.8));
  AddMeshFile(tree, "ONEUP2", Heart(1.05));
  AddMeshFile(tree, "LEVER1", Lever(-35));
  AddMeshFile(tree, "LEVER2", Lever(15));
  AddMeshFile(tree, "LEVER3", Lever(65));
  // Each door sinks in four frames until a thin slab is left.
  constexpr std::array<double, 4> kDoorTops{kCeiling, 60, -120, -226};
  for (const auto& [prefix, texture] : {std::pair{"DOORG", 19}, {"DOORL", 20}, {"DOORK", 21}}) {
    for (std::size_t i = 0; i < kDoorTops.size(); ++i) {
      AddMeshFile(tree, prefix + std::to_string(i + 1), Door(static_cast<std::uint16_t>(texture), kDoorTops[i]));
    }
  }
}

}  // namespace zandrel::data::meshes
