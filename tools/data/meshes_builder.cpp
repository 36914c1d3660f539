#include "tools/data/meshes_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace zandrel::data::meshes {
namespace {

constexpr std::size_t kMostEntries = 65536;  // a mesh file stores its counts less one in 16 bits

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

// The colour of a shaded face with this (unplaced) normal.
std::uint16_t ShadeColour(std::uint16_t colour, Vec3 normal) {
  const double length = std::sqrt(Dot(normal, normal));
  if (length == 0) return colour;
  const Vec3 light{-0.35, 0.85, -0.4};
  const double towardLight = Dot(normal, light) / (length * std::sqrt(Dot(light, light)));
  const long step = std::clamp<long>(std::lround(4 * towardLight), -3, 3);
  const long shade = std::clamp<long>((colour & 15) + step, 0, 15);
  return static_cast<std::uint16_t>((colour & ~15) | shade);
}

}  // namespace

Vec3 operator+(Vec3 a, Vec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec3 operator*(double s, Vec3 v) { return {s * v.X, s * v.Y, s * v.Z}; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }
double Dot(Vec3 a, Vec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

Affine::Affine() : m_{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}} {}

Affine Affine::Translate(double x, double y, double z) {
  Affine a;
  a.t_ = {x, y, z};
  return a;
}

Affine Affine::Scale(double x, double y, double z) {
  if (x == 0 || y == 0 || z == 0) throw std::logic_error("a mesh transform may not flatten");
  Affine a;
  a.m_ = {{{x, 0, 0}, {0, y, 0}, {0, 0, z}}};
  return a;
}

Affine Affine::RotateX(double degrees) {
  const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
  Affine a;
  a.m_ = {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
  return a;
}

Affine Affine::RotateY(double degrees) {
  const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
  Affine a;
  a.m_ = {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
  return a;
}

Affine Affine::RotateZ(double degrees) {
  const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
  Affine a;
  a.m_ = {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
  return a;
}

Affine Affine::operator*(const Affine& other) const {
  Affine result;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      double sum = 0;
      for (int k = 0; k < 3; ++k) sum += m_[r][k] * other.m_[k][c];
      result.m_[r][c] = sum;
    }
  }
  result.t_ = (*this)(other.t_);
  return result;
}

Vec3 Affine::operator()(Vec3 p) const {
  return {m_[0][0] * p.X + m_[0][1] * p.Y + m_[0][2] * p.Z + t_.X,
          m_[1][0] * p.X + m_[1][1] * p.Y + m_[1][2] * p.Z + t_.Y,
          m_[2][0] * p.X + m_[2][1] * p.Y + m_[2][2] * p.Z + t_.Z};
}

Paint Flat(std::uint16_t paletteIndex) { return {paletteIndex, engine::kFlatColour, false, false}; }
Paint Shaded(std::uint16_t paletteIndex) { return {paletteIndex, engine::kFlatColour, false, true}; }
Paint Textured(std::uint16_t texture) { return {texture, engine::kOpaqueTextured, false, false}; }
Paint SeeThrough(std::uint16_t texture) { return {texture, engine::kTransparentTextured, false, false}; }
Paint BothSides(Paint paint) {
  paint.TwoSided = true;
  return paint;
}

std::uint16_t MeshBuilder::Vertex(Vec3 local) {
  if (positions_.size() >= kMostEntries) throw std::logic_error("a mesh has more vertices than its file can hold");
  local_.push_back(local);
  positions_.push_back(place_(local));
  return static_cast<std::uint16_t>(positions_.size() - 1);
}

void MeshBuilder::Triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, const Paint& paint,
                           std::uint16_t orientation) {
  std::uint16_t texture = paint.Texture;
  if (paint.Shaded) texture = ShadeColour(texture, Cross(local_[b] - local_[a], local_[c] - local_[a]));
  faces_.push_back({a, b, c, texture, orientation, static_cast<std::uint16_t>(paint.TwoSided ? 1 : 0), paint.Kind});
}

void MeshBuilder::Triangle(Vec3 a, Vec3 b, Vec3 c, const Paint& paint, std::uint16_t orientation) {
  const std::uint16_t ia = Vertex(a), ib = Vertex(b), ic = Vertex(c);
  Triangle(ia, ib, ic, paint, orientation);
}

void MeshBuilder::Quad(std::uint16_t topLeft, std::uint16_t topRight, std::uint16_t bottomRight,
                       std::uint16_t bottomLeft, const Paint& paint) {
  Triangle(topLeft, topRight, bottomRight, paint, 0);
  Triangle(bottomRight, bottomLeft, topLeft, paint, 1);
}

void MeshBuilder::Quad(Vec3 topLeft, Vec3 topRight, Vec3 bottomRight, Vec3 bottomLeft, const Paint& paint) {
  const std::uint16_t tl = Vertex(topLeft), tr = Vertex(topRight), br = Vertex(bottomRight), bl = Vertex(bottomLeft);
  Quad(tl, tr, br, bl, paint);
}

void MeshBuilder::Polygon(std::span<const std::uint16_t> clockwise, const Paint& paint) {
  if (clockwise.size() == 4) {
    Quad(clockwise[0], clockwise[1], clockwise[2], clockwise[3], paint);
    return;
  }
  for (std::size_t i = 1; i + 1 < clockwise.size(); ++i) Triangle(clockwise[0], clockwise[i], clockwise[i + 1], paint);
}

void MeshBuilder::Block(const std::array<Vec3, 8>& corners, const SolidPaint& paint) {
  std::array<std::uint16_t, 8> v{};
  for (std::size_t i = 0; i < 8; ++i) v[i] = Vertex(corners[i]);
  Quad(v[2], v[3], v[1], v[0], paint.Side);    // -z, seen from the front: +x to the right
  Quad(v[3], v[7], v[5], v[1], paint.Side);    // +x: +z to the right
  Quad(v[7], v[6], v[4], v[5], paint.Side);    // +z: -x to the right
  Quad(v[6], v[2], v[0], v[4], paint.Side);    // -x: -z to the right
  Quad(v[6], v[7], v[3], v[2], paint.Top);     // seen from above, +z up the screen
  Quad(v[5], v[4], v[0], v[1], paint.Bottom);  // seen from below, +z up the screen
}

void MeshBuilder::Box(Vec3 low, Vec3 high, const SolidPaint& paint) {
  std::array<Vec3, 8> corners;
  for (std::size_t i = 0; i < 8; ++i) {
    corners[i] = {(i & 1) ? high.X : low.X, (i & 2) ? high.Y : low.Y, (i & 4) ? high.Z : low.Z};
  }
  Block(corners, paint);
}

void MeshBuilder::Loft(std::span<const Outline> rings, const Paint& bottomCap, const Paint& topCap) {
  if (rings.size() < 2) throw std::logic_error("a loft needs two rings");
  std::size_t n = 0;
  std::vector<std::vector<std::uint16_t>> ringVertices;
  for (const Outline& ring : rings) {
    if (ring.Points.size() > 1) {
      if (n != 0 && ring.Points.size() != n) throw std::logic_error("loft rings differ in size");
      n = ring.Points.size();
    }
    std::vector<std::uint16_t> vertices;
    for (const Vec3& p : ring.Points) vertices.push_back(Vertex(p));
    ringVertices.push_back(std::move(vertices));
  }
  if (n < 3) throw std::logic_error("a loft needs rings of three points");
  // Seen from outside, angles grow to the right.
  for (std::size_t k = 0; k + 1 < rings.size(); ++k) {
    const auto& low = ringVertices[k];
    const auto& high = ringVertices[k + 1];
    const Paint& band = rings[k].Band;
    if (low.size() == 1 && high.size() == 1) throw std::logic_error("a loft band between two apexes");
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t j = (i + 1) % n;
      if (low.size() == 1) {
        Triangle(high[i], high[j], low[0], band, 0);
      } else if (high.size() == 1) {
        Triangle(low[j], low[i], high[0], band, 1);
      } else {
        Quad(high[i], high[j], low[j], low[i], band);
      }
    }
  }
  // A cap seen from below runs clockwise by growing angle, one seen from above the other way.
  if (ringVertices.front().size() == n) Polygon(ringVertices.front(), bottomCap);
  if (ringVertices.back().size() == n) {
    const std::vector<std::uint16_t> top(ringVertices.back().rbegin(), ringVertices.back().rend());
    Polygon(top, topCap);
  }
}

void MeshBuilder::Lathe(std::span<const Ring> rings, int segments, const Paint& bottomCap, const Paint& topCap,
                        double phase) {
  if (segments < 3) throw std::logic_error("a lathe needs three segments");
  std::vector<Outline> outlines;
  for (const Ring& ring : rings) {
    Outline outline{{}, ring.Band};
    if (ring.Radius == 0) {
      outline.Points.push_back({0, ring.Y, 0});
    } else {
      for (int i = 0; i < segments; ++i) {
        const double angle = Radians(phase + ring.Turn + 360.0 * i / segments);
        outline.Points.push_back({ring.Radius * std::cos(angle), ring.Y, ring.Radius * std::sin(angle)});
      }
    }
    outlines.push_back(std::move(outline));
  }
  Loft(outlines, bottomCap, topCap);
}

void MeshBuilder::Prism(std::span<const std::array<double, 2>> outline, double y0, double y1, const SolidPaint& paint,
                        double bulge) {
  if (outline.size() < 3) throw std::logic_error("a prism needs three outline points");
  const std::size_t n = outline.size();
  double cx = 0, cz = 0;
  for (const auto& p : outline) cx += p[0], cz += p[1];
  cx /= static_cast<double>(n), cz /= static_cast<double>(n);
  std::vector<std::uint16_t> low, high;
  for (const auto& p : outline) low.push_back(Vertex({p[0], y0, p[1]}));
  for (const auto& p : outline) high.push_back(Vertex({p[0], y1, p[1]}));
  const std::uint16_t bottom = Vertex({cx, y0 - bulge, cz}), top = Vertex({cx, y1 + bulge, cz});
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    Quad(high[i], high[j], low[j], low[i], paint.Side);
    Triangle(bottom, low[i], low[j], paint.Bottom);
    Triangle(top, high[j], high[i], paint.Top);
  }
}

void MeshBuilder::Sprite(Vec3 centre, std::uint16_t width, std::uint16_t height, std::uint16_t texture) {
  faces_.push_back({Vertex(centre), width, height, texture, 0, 0, engine::kSprite});
}

void MeshBuilder::Shift(Vec3 offset) {
  for (Vec3& p : positions_) p = p + offset;
}

engine::Mesh MeshBuilder::Build() const {
  if (faces_.empty()) throw std::logic_error("a mesh without faces");
  if (faces_.size() > kMostEntries) throw std::logic_error("a mesh has more faces than its file can hold");
  engine::Mesh mesh;
  for (const Vec3& p : positions_) {
    mesh.X.push_back(static_cast<std::int32_t>(std::lround(p.X)));
    mesh.Y.push_back(static_cast<std::int32_t>(std::lround(p.Y)));
    mesh.Z.push_back(static_cast<std::int32_t>(std::lround(p.Z)));
  }
  mesh.Faces = faces_;
  return mesh;
}

}  // namespace zandrel::data::meshes
