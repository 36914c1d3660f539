// Meshes of the screens around the levels: the three fade transitions, the credits'
// podium and flag, and the editor's markers.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/data/meshes_parts.h"

namespace zandrel::data::meshes {
namespace {

// The fade draws a transition mesh 170 units in front of the camera with its
// coordinates doubled, adding its triangles one by one. These half extents cover the
// screen at 800 x 600 as well as at 640 x 480 (focal length 256 pixels in both).
constexpr double kHalfWidth = 140, kHalfHeight = 110;

const Paint kCurtain = BothSides(Flat(0));

struct Flat2 {
  double X, Y;
};

// A triangle on the transition plane, corners as the camera sees them.
void Curtain(MeshBuilder& mesh, Flat2 a, Flat2 b, Flat2 c) {
  // Wound clockwise on screen, although the curtain shows from either side.
  const double turn = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
  if (turn > 0) std::swap(b, c);
  mesh.Triangle(Vec3{a.X, a.Y, 0}, Vec3{b.X, b.Y, 0}, Vec3{c.X, c.Y, 0}, kCurtain);
}

// Eight upright strips swept in from the left, each strip top half first.
MeshBuilder WipeTransition() {
  MeshBuilder mesh;
  constexpr int kStrips = 8;
  const double width = 2 * kHalfWidth / kStrips;
  for (int i = 0; i < kStrips; ++i) {
    const double left = -kHalfWidth + width * i, right = left + width;
    Curtain(mesh, {left, kHalfHeight}, {right, kHalfHeight}, {left, -kHalfHeight});
    Curtain(mesh, {right, kHalfHeight}, {right, -kHalfHeight}, {left, -kHalfHeight});
  }
  return mesh;
}

// A spiral from the edges in: the outer frame clockwise from the top, then a fan
// around the centre clockwise from the top left.
MeshBuilder SpiralTransition() {
  MeshBuilder mesh;
  const double ox = kHalfWidth, oy = kHalfHeight, ix = kHalfWidth / 2, iy = kHalfHeight / 2;
  // Outer and inner corners clockwise from the top left.
  const std::array<Flat2, 4> outer{{{-ox, oy}, {ox, oy}, {ox, -oy}, {-ox, -oy}}};
  const std::array<Flat2, 4> inner{{{-ix, iy}, {ix, iy}, {ix, -iy}, {-ix, -iy}}};
  for (std::size_t side = 0; side < 4; ++side) {
    const std::size_t next = (side + 1) % 4;
    Curtain(mesh, outer[side], outer[next], inner[side]);
    Curtain(mesh, outer[next], inner[next], inner[side]);
  }
  const std::array<Flat2, 8> rim{{{-ix, iy}, {0, iy}, {ix, iy}, {ix, 0}, {ix, -iy}, {0, -iy}, {-ix, -iy}, {-ix, 0}}};
  for (std::size_t i = 0; i < rim.size(); ++i) Curtain(mesh, {0, 0}, rim[i], rim[(i + 1) % rim.size()]);
  return mesh;
}

// A diagonal sweep from the top left over a grid of four by two cells, each cut along
// its rising diagonal into an upper left and a lower right half.
MeshBuilder DiagonalTransition() {
  constexpr int kColumns = 4, kRows = 2;
  struct Piece {
    int Column, Row, Half;
  };
  std::vector<Piece> pieces;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      for (int half = 0; half < 2; ++half) pieces.push_back({column, row, half});
    }
  }
  std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& p, const Piece& q) {
    return 2 * (p.Column + p.Row) + p.Half < 2 * (q.Column + q.Row) + q.Half;
  });
  MeshBuilder mesh;
  const double width = 2 * kHalfWidth / kColumns, height = 2 * kHalfHeight / kRows;
  for (const Piece& p : pieces) {
    const double left = -kHalfWidth + width * p.Column, right = left + width;
    const double top = kHalfHeight - height * p.Row, bottom = top - height;
    if (p.Half == 0) {
      Curtain(mesh, {left, top}, {right, top}, {left, bottom});
    } else {
      Curtain(mesh, {right, top}, {right, bottom}, {left, bottom});
    }
  }
  return mesh;
}

// The credits show the hero standing on this with his body centre at y 150, so the top
// step is at his soles, 240 lower.
MeshBuilder Podium() {
  constexpr std::uint16_t kPodium = 41;
  MeshBuilder mesh;
  constexpr std::array<double, 4> kHeights{-400, -297, -193, -90};
  constexpr std::array<double, 3> kHalfSizes{380, 290, 200};
  for (std::size_t step = 0; step < 3; ++step) {
    const double h = kHalfSizes[step];
    mesh.Box({-h, kHeights[step], -h}, {h, kHeights[step + 1], h}, Textured(kPodium));
  }
  return mesh;
}

// A pole at the back corner of the podium's top with a banner bent by the wind.
MeshBuilder Flag() {
  constexpr std::uint16_t kBanner = 42, kPole = 104, kKnob = 214;
  MeshBuilder mesh;
  const Vec3 foot{-150, -90, 150};
  mesh.Place(Affine::Translate(foot));
  const std::array<Ring, 2> pole{{{9, 0, Shaded(kPole)}, {7, 740, {}}}};
  mesh.Lathe(pole, 6, Shaded(kPole), Shaded(kPole));
  const std::array<Ring, 5> knob{{{0, 736, Shaded(kKnob)},
                                  {14, 744, Shaded(kKnob)},
                                  {16, 756, Shaded(kKnob)},
                                  {11, 768, Shaded(kKnob)},
                                  {0, 772, {}}}};
  mesh.Lathe(knob, 6, {}, {});
  // Seen from the front (-z) the banner hangs to the right of the pole; its free end
  // swings back and droops a little, which folds it along its diagonal.
  mesh.Quad(Vec3{0, 720, 0}, Vec3{310, 700, 70}, Vec3{300, 500, 40}, Vec3{0, 520, 0}, BothSides(Textured(kBanner)));
  return mesh;
}

// Editor cursor: the twelve edges of a cube a little larger than a cell.
MeshBuilder SelectMarker() {
  constexpr double kHalf = 260, kBar = 8;
  MeshBuilder mesh;
  for (int axis = 0; axis < 3; ++axis) {
    for (const double u : {-kHalf, kHalf}) {
      for (const double v : {-kHalf, kHalf}) {
        std::array<double, 3> low{}, high{};
        low[static_cast<std::size_t>(axis)] = -kHalf - kBar;
        high[static_cast<std::size_t>(axis)] = kHalf + kBar;
        low[static_cast<std::size_t>((axis + 1) % 3)] = u - kBar;
        high[static_cast<std::size_t>((axis + 1) % 3)] = u + kBar;
        low[static_cast<std::size_t>((axis + 2) % 3)] = v - kBar;
        high[static_cast<std::size_t>((axis + 2) % 3)] = v + kBar;
        mesh.Box({low[0], low[1], low[2]}, {high[0], high[1], high[2]}, Flat(255));
      }
    }
  }
  return mesh;
}

// Start marker: a flat arrow pointing toward +z.
MeshBuilder StartMarker() {
  MeshBuilder mesh;
  mesh.Box({-24, -14, -150}, {24, 14, 30}, Flat(255));
  const std::array<std::array<double, 2>, 3> head{{{80, 30}, {0, 150}, {-80, 30}}};
  mesh.Prism(head, -14, 14, Flat(255));
  return mesh;
}

// Music marker: an eighth note standing in the x-y plane.
MeshBuilder SfxMarker() {
  MeshBuilder mesh;
  // The prism's axis turned onto -z: its outline lies in x-y.
  mesh.Place(Affine::Translate(-40, -110, 0) * Affine::RotateZ(20) * Affine::RotateX(-90));
  std::vector<std::array<double, 2>> head;
  for (int i = 0; i < 10; ++i) {
    const double angle = 2 * std::numbers::pi * i / 10;
    head.push_back({62 * std::cos(angle), 42 * std::sin(angle)});
  }
  mesh.Prism(head, -16, 16, Flat(255));
  mesh.Place({});
  mesh.Box({8, -110, -12}, {26, 150, 12}, Flat(255));  // stem
  mesh.Block({Vec3{26, 60, -12},
              {100, 0, -12},
              {26, 150, -12},
              {110, 60, -12},  //
              {26, 60, 12},
              {100, 0, 12},
              {26, 150, 12},
              {110, 60, 12}},
             Flat(255));  // flag
  return mesh;
}

// Exit marker: a small doorway.
MeshBuilder ExitMarker() {
  MeshBuilder mesh;
  for (const double x : {-130.0, 90.0}) mesh.Box({x, -230, -20}, {x + 40, 100, 20}, Flat(255));
  mesh.Box({-150, 100, -24}, {150, 140, 24}, Flat(255));
  mesh.Box({-90, -230, -6}, {90, -200, 6}, Flat(255));  // threshold
  return mesh;
}

}  // namespace

void AddScreenMeshes(DataTree& tree) {
  AddMeshFile(tree, "TRANSI1", WipeTransition());
  AddMeshFile(tree, "TRANSI2", SpiralTransition());
  AddMeshFile(tree, "TRANSI3", DiagonalTransition());
  AddMeshFile(tree, "PODIUM", Podium());
  AddMeshFile(tree, "FLAG", Flag());
  AddMeshFile(tree, "SELECT", SelectMarker(), "EDITOR");
  AddMeshFile(tree, "START", StartMarker(), "EDITOR");
  AddMeshFile(tree, "SFX", SfxMarker(), "EDITOR");
  AddMeshFile(tree, "EXIT", ExitMarker(), "EDITOR");
}

}  // namespace zandrel::data::meshes
