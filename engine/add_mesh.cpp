// AddMesh: turning, view transform, facing test, depth keys, projection, near-plane
// clipping and sprite faces.
#include <algorithm>
#include <array>
#include <limits>

#include "engine/angles.h"
#include "engine/camera.h"
#include "engine/mesh_file.h"
#include "engine/scene.h"

namespace zandrel::engine {
namespace {

using Corners = std::array<Point3, 3>;
using ScreenCorners = std::array<ScreenPoint, 3>;

// g = N . centre with N = (b - a) x (c - b), each component shifted right by 8: a face
// with g >= 1 looks away. Seen with x right and y up, kept faces run clockwise. The
// products of view coordinates need more than 64 bits.
bool FacesAway(const Corners& p) {
  using Wide = __int128;
  const std::int64_t ux = std::int64_t{p[1].X} - p[0].X, uy = std::int64_t{p[1].Y} - p[0].Y,
                     uz = std::int64_t{p[1].Z} - p[0].Z;
  const std::int64_t vx = std::int64_t{p[2].X} - p[1].X, vy = std::int64_t{p[2].Y} - p[1].Y,
                     vz = std::int64_t{p[2].Z} - p[1].Z;
  const Wide nx = (Wide{uy} * vz - Wide{uz} * vy) >> 8;
  const Wide ny = (Wide{uz} * vx - Wide{ux} * vz) >> 8;
  const Wide nz = (Wide{ux} * vy - Wide{uy} * vx) >> 8;
  const std::int64_t mx = (std::int64_t{p[0].X} + p[1].X + p[2].X) / 3;
  const std::int64_t my = (std::int64_t{p[0].Y} + p[1].Y + p[2].Y) / 3;
  const std::int64_t mz = (std::int64_t{p[0].Z} + p[1].Z + p[2].Z) / 3;
  return nx * mx + ny * my + nz * mz >= 1;
}

// The smallest |z| of the corners.
std::int32_t NearestDepthKey(const Corners& p) {
  const auto depth = [](const Point3& v) { return v.Z < 0 ? -std::int64_t{v.Z} : std::int64_t{v.Z}; };
  return ClampToInt32(std::min({depth(p[0]), depth(p[1]), depth(p[2])}));
}

// The sum of the squares of the nine corner coordinates, stopping at the largest key.
std::int32_t SquaredDepthKey(const Corners& p) {
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  std::int64_t sum = 0;
  for (const Point3& v : p) {
    for (const std::int64_t c : {std::int64_t{v.X}, std::int64_t{v.Y}, std::int64_t{v.Z}}) {
      sum = std::min(sum + c * c, kLargest);
    }
  }
  return static_cast<std::int32_t>(sum);
}

bool OffScreen(const RenderView& view, const ScreenCorners& s) {
  const auto [minX, maxX] = std::minmax({s[0].X, s[1].X, s[2].X});
  const auto [minY, maxY] = std::minmax({s[0].Y, s[1].Y, s[2].Y});
  return minX > view.RightLimit || maxX < 0 || minY > view.BottomLimit || maxY < 0;
}

// The point at depth NearDepth on the edge from corner f toward corner p, the slope
// taken in 1/64 fixed point. f lies beyond the near plane and p at or before it, so
// the depths differ.
Point3 MoveToNearPlane(const Point3& f, const Point3& p, std::int32_t nearDepth) {
  const std::int64_t dz = std::int64_t{p.Z} - f.Z;
  const std::int64_t along = std::int64_t{nearDepth} - f.Z;
  const auto axis = [&](std::int32_t from, std::int32_t to) {
    return ClampToInt32(from + (64 * (std::int64_t{to} - from)) / dz * along / 64);
  };
  return {axis(f.X, p.X), axis(f.Y, p.Y), nearDepth};
}

class MeshAdder {
 public:
  MeshAdder(Engine& engine, RenderView& view, const Mesh& mesh, std::size_t vertexCount, std::int32_t x, std::int32_t z,
            std::int32_t yaw, std::int32_t light)
      : view_(view),
        scratch_(engine.Scratch),
        mesh_(mesh),
        vertexCount_(vertexCount),
        x_(x),
        z_(z),
        yaw_(yaw),
        light_(light),
        capacity_(static_cast<std::int32_t>(
            std::min({view.Polygons.size(), view.Sort.size(), static_cast<std::size_t>(kPolygonCapacity)}))) {}

  void AddFace(const MeshFace& face, std::int32_t faceIndex) {
    const bool sprite = face.Kind == kSprite;
    if (face.A >= vertexCount_ || (!sprite && (face.B >= vertexCount_ || face.C >= vertexCount_))) return;
    if (face.Kind <= kSprite ? face.Texture >= kTextureSlotCount : face.Texture > 255) return;
    const std::int32_t nearDepth = view_.NearDepth;
    if (sprite) {
      const Point3 a = Vertex(face.A);
      if (a.Z > nearDepth) AddSprite(face, a, faceIndex);
      return;
    }
    const Corners corners{Vertex(face.A), Vertex(face.B), Vertex(face.C)};
    if (corners[0].Z <= nearDepth && corners[1].Z <= nearDepth && corners[2].Z <= nearDepth) return;
    if (face.TwoSided == 0 && FacesAway(corners)) return;
    const std::int32_t key = view_.Rules.SquaredDepthKey ? SquaredDepthKey(corners) : NearestDepthKey(corners);
    const std::int32_t nearest = std::min({corners[0].Z, corners[1].Z, corners[2].Z});
    if (view_.Rules.ClipNearPlane && nearest <= nearDepth) {
      AddClipped(face, faceIndex, corners, key);
      return;
    }
    const auto raised = [&](const Point3& v) { return Project(view_, v.X, v.Y, std::max(v.Z, nearDepth)); };
    AddTriangle(face, faceIndex, corners, {raised(corners[0]), raised(corners[1]), raised(corners[2])}, key);
  }

 private:
  Point3 Vertex(std::size_t i) const { return {scratch_.X[i], scratch_.Y[i], scratch_.Z[i]}; }

  // The next entry of the list with its view and screen corners, or none when the list
  // is full: the frame's excess polygons are dropped.
  ScreenPolygon* Append(const Corners& corners, const ScreenCorners& screen) {
    if (view_.PolygonCount >= capacity_) return nullptr;
    ScreenPolygon& p = view_.Polygons[static_cast<std::size_t>(view_.PolygonCount++)];
    for (std::size_t k = 0; k < 3; ++k) {
      p.VX[k] = corners[k].X;
      p.VY[k] = corners[k].Y;
      p.VZ[k] = corners[k].Z;
      p.SX[k] = screen[k].X;
      p.SY[k] = screen[k].Y;
    }
    return &p;
  }

  void AddTriangle(const MeshFace& face, std::int32_t faceIndex, const Corners& corners, const ScreenCorners& screen,
                   std::int32_t key) {
    if (OffScreen(view_, screen)) return;
    ScreenPolygon* p = Append(corners, screen);
    if (p == nullptr) return;
    p->Texture = face.Texture;
    p->Orientation = face.Orientation;
    p->DepthKey = key;
    p->Kind = face.Kind;
    p->Sprite = 0;
    p->Light1 = light_;
    p->Face = faceIndex;
  }

  // The part of the triangle beyond the near plane: one triangle when two corners lie at
  // or before it, two when one does. Each keeps the face's corners for lighting and gets
  // its own screen corners, each corner in the slot of the one it came from.
  void AddClipped(const MeshFace& face, std::int32_t faceIndex, const Corners& corners, std::int32_t key) {
    const std::int32_t nearDepth = view_.NearDepth;
    std::array<std::size_t, 3> byDepth{0, 1, 2};
    std::sort(byDepth.begin(), byDepth.end(),
              [&](std::size_t l, std::size_t r) { return corners[l].Z > corners[r].Z; });
    const auto [far, middle, near] = byDepth;
    const auto project = [&](const Corners& clipped) {
      ScreenCorners s;
      for (std::size_t k = 0; k < 3; ++k) s[k] = Project(view_, clipped[k].X, clipped[k].Y, clipped[k].Z);
      return s;
    };
    Corners clipped = corners;
    clipped[near] = MoveToNearPlane(corners[far], corners[near], nearDepth);
    if (corners[middle].Z <= nearDepth) {
      clipped[middle] = MoveToNearPlane(corners[far], corners[middle], nearDepth);
      AddTriangle(face, faceIndex, corners, project(clipped), key);
      return;
    }
    AddTriangle(face, faceIndex, corners, project(clipped), key);
    // The rest of the quadrilateral, wound as the first triangle.
    Corners second;
    second[far] = clipped[near];
    second[middle] = corners[middle];
    second[near] = MoveToNearPlane(corners[middle], corners[near], nearDepth);
    AddTriangle(face, faceIndex, corners, project(second), key);
  }

  // A rectangle centred on vertex a that faces the camera, turned by the camera's roll,
  // as two polygons; its image is chosen by the direction it is seen from.
  void AddSprite(const MeshFace& face, const Point3& a, std::int32_t faceIndex) {
    if (face.Texture >= view_.Textures.size()) return;
    const TextureSlot& slot = view_.Textures[face.Texture];
    const std::int64_t images = std::int64_t{slot.Last} - slot.First + 1;
    if (images < 1) return;
    // The rectangle's sides turned by the roll: width and height times cosine and sine.
    const float c = view_.RollCos, s = view_.RollSin;
    const float width = face.B, height = face.C;
    const std::int64_t wc = Nearest(width * c), ws = Nearest(width * s);
    const std::int64_t hc = Nearest(height * c), hs = Nearest(height * s);
    const std::int64_t px = a.X - (wc - ws) / 2, py = a.Y - (hc + hs) / 2;  // the lower left corner

    // The same on screen, from the projected corner.
    const std::int64_t depth = std::max(a.Z, 1);
    const ScreenPoint corner = Project(view_, ClampToInt32(px), ClampToInt32(py), a.Z);
    const std::int64_t sx = corner.X, sy = corner.Y;
    const std::int64_t focal = std::int64_t{1} << view_.ViewShift;
    const float screenWidth = static_cast<float>(face.B * focal / depth);
    const float screenHeight = static_cast<float>(-(face.C * focal) / depth);
    const std::int64_t swc = Nearest(screenWidth * c), sws = Nearest(screenWidth * s);
    const std::int64_t shc = Nearest(screenHeight * c), shs = Nearest(screenHeight * s);

    const auto at = [&](std::int64_t x, std::int64_t y) { return Point3{ClampToInt32(x), ClampToInt32(y), a.Z}; };
    const auto on = [](std::int64_t x, std::int64_t y) { return ScreenPoint{ClampToInt32(x), ClampToInt32(y)}; };
    const std::int32_t image = ClampToInt32(slot.First + images * ViewDegrees(face, images) / 360);
    AddSpriteHalf(faceIndex, image, 1, {at(px + wc, py + hs), at(px, py), at(px - ws, py + hc)},
                  {on(sx - sws, sy + shc), on(sx, sy), on(sx + swc, sy + shs)});
    AddSpriteHalf(faceIndex, image, 0, {at(px - ws, py + hc), at(px + wc - hs, py + hc + ws), at(px + wc, py + hs)},
                  {on(sx - sws, sy + shc), on(sx + swc + shs, sy + shc - sws), on(sx + swc, sy + shs)});
  }

  // Degrees 0..359 of the direction the sprite is seen from, relative to the mesh's yaw,
  // offset by half an image so that each image covers the directions around its own.
  std::int64_t ViewDegrees(const MeshFace& face, std::int64_t images) const {
    const std::int32_t d = AngleToward(ClampToInt32(std::int64_t{x_} + mesh_.X[face.A] - view_.Cam.X),
                                       ClampToInt32(std::int64_t{z_} + mesh_.Z[face.A] - view_.Cam.Z));
    const std::int64_t q = (d + 160 / images - std::int64_t{yaw_} * 180 / kHalfTurn) % 360;
    return q < 0 ? q + 360 : q;
  }

  void AddSpriteHalf(std::int32_t faceIndex, std::int32_t image, std::int32_t orientation, const Corners& corners,
                     const ScreenCorners& screen) {
    ScreenPolygon* p = Append(corners, screen);
    if (p == nullptr) return;
    p->Texture = image;
    p->Orientation = orientation;
    p->DepthKey = view_.Rules.SquaredDepthKey ? SquaredDepthKey(corners) : NearestDepthKey(corners);
    p->Kind = kTransparentTextured;
    p->Sprite = 1;
    p->Light1 = light_;
    p->Face = faceIndex;
  }

  RenderView& view_;
  const Mesh& scratch_;
  const Mesh& mesh_;
  std::size_t vertexCount_;  // vertices in the scratch mesh
  std::int32_t x_, z_, yaw_, light_;
  std::int32_t capacity_;
};

}  // namespace

void AddMesh(Engine& engine, RenderView& view, const Mesh& mesh, std::int32_t x, std::int32_t y, std::int32_t z,
             std::int32_t yaw, std::int32_t pitch, std::int32_t roll, std::int32_t light) {
  if (mesh.Empty() || !WellFormed(mesh)) return;
  FitScratchMesh(engine, mesh);
  Mesh& scratch = engine.Scratch;
  // Faces name vertices by 16-bit numbers, and the scratch room holds 65536 of each at
  // most: what lies beyond cannot be drawn.
  const std::size_t vertexCount = std::min(mesh.VertexCount(), scratch.VertexCount());
  const std::size_t faceCount = std::min(mesh.FaceCount(), scratch.FaceCount());
  std::copy_n(mesh.Faces.begin(), faceCount, scratch.Faces.begin());

  const bool turned = yaw != 0 || pitch != 0 || roll != 0;
  const std::array<float, 9> turn = turned ? ViewMatrix(yaw, pitch, roll) : std::array<float, 9>{};
  for (std::size_t i = 0; i < vertexCount; ++i) {
    Point3 v{mesh.X[i], mesh.Y[i], mesh.Z[i]};
    if (turned) v = Turn(turn, static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z));
    const Point3 seen = ToView(view.Cam, std::int64_t{v.X} + x, std::int64_t{v.Y} + y, std::int64_t{v.Z} + z);
    scratch.X[i] = seen.X;
    scratch.Y[i] = seen.Y;
    scratch.Z[i] = seen.Z;
  }

  MeshAdder adder(engine, view, mesh, vertexCount, x, z, yaw, light);
  for (std::size_t f = 0; f < faceCount; ++f) adder.AddFace(scratch.Faces[f], static_cast<std::int32_t>(f));
}

}  // namespace zandrel::engine
