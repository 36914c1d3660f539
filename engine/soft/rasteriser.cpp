#include "engine/soft/rasteriser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "engine/mesh.h"
#include "engine/soft/colour_tables.h"

namespace zandrel::engine::soft {
namespace {

constexpr std::int64_t kSlopeScale = 32768;

// Texture coordinates are 8.8 fixed point over the 128-texel side of an image block.
constexpr int kTexelShift = 8;
constexpr std::int32_t kTextureSide = kImageBlockSide << kTexelShift;
constexpr std::int32_t kLastTexel = kTextureSide - 1;

struct Corner {
  std::int64_t X = 0, Y = 0;
};

// An edge from its upper corner down: x on a row is x0 + ((row - y0) x slope) / 32768.
// On the rows between its corners the product stays below |x1 - x0| x 32768, so it
// fits in 64 bits whatever the corners are.
class Edge {
 public:
  Edge(Corner from, Corner to)
      : x0_(from.X), y0_(from.Y), slope_(to.Y != from.Y ? (to.X - from.X) * kSlopeScale / (to.Y - from.Y) : 0) {}
  std::int64_t At(std::int64_t row) const { return x0_ + (row - y0_) * slope_ / kSlopeScale; }

 private:
  std::int64_t x0_, y0_, slope_;
};

// The part of the buffer a polygon may write: columns 0..Right, rows 0..Bottom.
struct Target {
  std::uint8_t* Pixels = nullptr;
  std::int64_t Stride = 0;
  std::int64_t Right = 0, Bottom = 0;
};

// Scans the triangle row by row and hands each clipped span [x, xEnd) to `paint`.
template <class Painter>
void ScanTriangle(std::array<Corner, 3> c, const Target& target, Painter& paint) {
  std::sort(c.begin(), c.end(), [](const Corner& a, const Corner& b) { return a.Y < b.Y; });
  if (c[0].Y == c[2].Y) return;
  const auto [minX, maxX] = std::minmax({c[0].X, c[1].X, c[2].X});
  if (maxX < 0 || minX > target.Right) return;
  const std::int64_t first = std::max<std::int64_t>(c[0].Y, 0);
  const std::int64_t end = std::min(c[2].Y, target.Bottom + 1);
  if (first >= end) return;

  const Edge longEdge(c[0], c[2]), upper(c[0], c[1]), lower(c[1], c[2]);
  const auto span = [&](std::int64_t row, std::int64_t a, std::int64_t b) {
    const std::int64_t x = std::max<std::int64_t>(std::min(a, b), 0);
    const std::int64_t xEnd = std::min(std::max(a, b), target.Right + 1);
    if (x < xEnd) {
      paint(target.Pixels + row * target.Stride, static_cast<int>(row), static_cast<int>(x), static_cast<int>(xEnd));
    }
  };
  const std::int64_t middle = std::clamp(c[1].Y, first, end);
  for (std::int64_t row = first; row < middle; ++row) span(row, longEdge.At(row), upper.At(row));
  for (std::int64_t row = middle; row < end; ++row) span(row, longEdge.At(row), lower.At(row));
}

class FlatPainter {
 public:
  explicit FlatPainter(std::uint8_t colour) : colour_(colour) {}
  void operator()(std::uint8_t* line, int, int x, int xEnd) const {
    std::memset(line + x, colour_, static_cast<std::size_t>(xEnd - x));
  }

 private:
  std::uint8_t colour_;
};

// a·x + b·y + c over screen pixels.
struct Linear {
  double A = 0, B = 0, C = 0;
  double At(int x, int y) const { return A * x + B * y + C; }
};

// Texture coordinates over the screen: u = U / W and v = V / W, each a linear function
// of the pixel, in 8.8 texels.
struct TextureMap {
  Linear U, V, W;
};

using Vec3 = std::array<double, 3>;

Vec3 Minus(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Scaled(double s, const Vec3& a) { return {s * a[0], s * a[1], s * a[2]}; }
Vec3 Combine(double s, const Vec3& a, double t, const Vec3& b) {
  return {s * a[0] + t * b[0], s * a[1] + t * b[1], s * a[2] + t * b[2]};
}

// Where each corner sits on the image block, in 8.8 texels (column, row). These are the
// texture corners of the face's orientation rule, (256,0) (0,0) (0,256) for orientation
// 0 and (0,256) (256,256) (256,0) for orientation 1, read across a left-to-right
// mirrored image as the hardware back end stores its textures; orientation 1 is
// orientation 0 turned half round. So a face whose corners run clockwise from its top
// left shows the image upright in both back ends.
std::array<std::array<double, 2>, 3> CornerTexels(std::int32_t orientation) {
  constexpr double s = kTextureSide;
  if (orientation == 1) return {{{s, s}, {0, s}, {0, 0}}};
  return {{{0, 0}, {s, 0}, {s, s}}};
}

// Takes each screen point back onto the triangle's plane and measures it against the
// corners, folded into three linear functions of the pixel. The ray through the centre
// of pixel (x, y) runs along r = (x + 0.5 - centre x, centre y - y - 0.5, 2^ViewShift)
// and meets the plane n·p = d at p = r·d / (n·r). In the coordinate plane across the
// normal's largest component, p - corner 1 = b2·e1 + b3·e2 gives the weights of corners
// 2 and 3, and both are linear in r once multiplied by n·r. No plane (a degenerate
// triangle) or one through the camera (d = 0) gives nothing.
std::optional<TextureMap> MapTexture(const ScreenPolygon& p, const RenderView& view) {
  const Vec3 v1{double(p.VX[0]), double(p.VY[0]), double(p.VZ[0])};
  const Vec3 e1 = Minus({double(p.VX[1]), double(p.VY[1]), double(p.VZ[1])}, v1);
  const Vec3 e2 = Minus({double(p.VX[2]), double(p.VY[2]), double(p.VZ[2])}, v1);
  const Vec3 n = Cross(e1, e2);  // any scale of the normal cancels out below
  const double d = Dot(n, v1);
  if (d == 0) return std::nullopt;

  int k = 0;
  for (int a = 1; a < 3; ++a) {
    if (std::fabs(n[static_cast<std::size_t>(a)]) > std::fabs(n[static_cast<std::size_t>(k)])) k = a;
  }
  const auto ks = static_cast<std::size_t>(k), i = (ks + 1) % 3, j = (ks + 2) % 3;
  // Two-dimensional cross products in the (i, j) plane, as functions of r where needed.
  Vec3 rCrossE2{}, e1CrossR{};
  rCrossE2[i] = e2[j], rCrossE2[j] = -e2[i];
  e1CrossR[i] = -e1[j], e1CrossR[j] = e1[i];
  const double v1CrossE2 = v1[i] * e2[j] - v1[j] * e2[i];
  const double e1CrossV1 = e1[i] * v1[j] - e1[j] * v1[i];
  // b2 = B2·r / W·r, b3 = B3·r / W·r.
  const Vec3 w = Scaled(n[ks], n);
  const Vec3 b2 = Combine(d, rCrossE2, -v1CrossE2, n);
  const Vec3 b3 = Combine(d, e1CrossR, -e1CrossV1, n);

  const auto texels = CornerTexels(p.Orientation);
  const auto along = [&](std::size_t axis) {
    const double t1 = texels[0][axis];
    const Vec3 t = Combine(t1, w, texels[1][axis] - t1, b2);
    return Combine(1, t, texels[2][axis] - t1, b3);
  };
  const double focal = std::ldexp(1.0, std::min<int>(view.ViewShift, 30));
  const double cx = view.CentreX - 0.5, cy = view.CentreY - 0.5;
  const auto onScreen = [&](const Vec3& g) { return Linear{g[0], -g[1], g[2] * focal - g[0] * cx + g[1] * cy}; };
  return TextureMap{onScreen(along(0)), onScreen(along(1)), onScreen(w)};
}

struct Texel {
  std::int32_t U = 0, V = 0;
};

std::int32_t Limit(double t) {
  if (!(t > 0)) return 0;  // also a point on no plane
  if (t > kLastTexel) return kLastTexel;
  return static_cast<std::int32_t>(t);
}

Texel Exact(double u, double v, double w) {
  if (w == 0) return {};
  const double inverse = 1 / w;
  return {Limit(u * inverse), Limit(v * inverse)};
}

// Perspective-correct spans: exact texture coordinates at the start and every
// `spanLength` pixels, 8.8 steps in between. Both ends of a run lie in 0..kLastTexel and
// the steps truncate toward zero, so every texel read stays in the block.
template <bool kSkipZero>
class TexturePainter {
 public:
  TexturePainter(const TextureMap& map, const std::uint8_t* block, const std::uint8_t* shade, int spanLength)
      : map_(map), block_(block), shade_(shade), spanLength_(spanLength) {}

  void operator()(std::uint8_t* line, int y, int x, int xEnd) const {
    double u = map_.U.At(x, y), v = map_.V.At(x, y), w = map_.W.At(x, y);
    Texel at = Exact(u, v, w);
    while (x < xEnd) {
      const int run = std::min(spanLength_, xEnd - x);
      u += map_.U.A * run, v += map_.V.A * run, w += map_.W.A * run;
      const Texel next = Exact(u, v, w);
      Run(line + x, run, at, (next.U - at.U) / run, (next.V - at.V) / run);
      at = next;
      x += run;
    }
  }

 private:
  void Run(std::uint8_t* out, int run, Texel at, std::int32_t du, std::int32_t dv) const {
    // Locals: a byte store could alias the members, which would be read again per pixel.
    const std::uint8_t* const block = block_;
    const std::uint8_t* const shade = shade_;
    // Unsigned, so the index needs no sign extension: both stay in 0..kLastTexel, and a
    // negative step wraps round to the same sum.
    auto u = static_cast<std::uint32_t>(at.U), v = static_cast<std::uint32_t>(at.V);
    const auto stepU = static_cast<std::uint32_t>(du), stepV = static_cast<std::uint32_t>(dv);
    for (int i = 0; i < run; ++i) {
      const std::uint8_t texel = block[((v >> kTexelShift) << 7) | (u >> kTexelShift)];
      if (!kSkipZero || texel != 0) out[i] = shade[texel];
      u += stepU, v += stepV;
    }
  }

  TextureMap map_;
  const std::uint8_t* block_;
  const std::uint8_t* shade_;
  int spanLength_;
};

const ImageBlock* BlockOf(const ScreenPolygon& p, const RenderView& view) {
  std::int64_t image = p.Texture;
  if (p.Sprite == 0) {
    if (p.Texture < 0 || static_cast<std::size_t>(p.Texture) >= view.Textures.size()) return nullptr;
    image = view.Textures[static_cast<std::size_t>(p.Texture)].Current;
  }
  if (image < 0 || static_cast<std::size_t>(image) >= view.ImageBlocks.size()) return nullptr;
  return view.ImageBlocks[static_cast<std::size_t>(image)].get();
}

}  // namespace

void DrawScreenPolygon(const ScreenPolygon& p, RenderView& view) {
  ScreenBuffer& screen = view.Screen;
  if (p.Kind < 0 || view.ShadingTables.size() != kShadingTableSize) return;
  if (screen.Width <= 0 || screen.Height <= 0 ||
      screen.Pixels.size() < static_cast<std::size_t>(screen.Width) * static_cast<std::size_t>(screen.Height)) {
    return;
  }
  const Target target{screen.Pixels.data(), screen.Width, std::min<std::int64_t>(view.RightLimit, screen.Width - 1),
                      std::min<std::int64_t>(view.BottomLimit, screen.Height - 1)};
  const std::array<Corner, 3> corners{{{p.SX[0], p.SY[0]}, {p.SX[1], p.SY[1]}, {p.SX[2], p.SY[2]}}};

  const std::int64_t light =
      std::clamp<std::int64_t>((std::int64_t{p.Light1} + p.Light2 + p.Light3) / 3, 0, kShadingLevels - 1);
  const std::uint8_t* shade = view.ShadingTables.data() + light * 256;

  if (p.Kind >= kFlatColour) {
    if (p.Texture < 0 || p.Texture > 255) return;
    FlatPainter paint(shade[p.Texture]);
    ScanTriangle(corners, target, paint);
    return;
  }
  const ImageBlock* block = BlockOf(p, view);
  if (block == nullptr) return;
  const std::optional<TextureMap> map = MapTexture(p, view);
  if (!map) return;
  const int spanLength = std::clamp(view.SpanLength, 1, 1024);
  if (p.Kind == kOpaqueTextured && p.Sprite == 0) {
    TexturePainter<false> paint(*map, block->data(), shade, spanLength);
    ScanTriangle(corners, target, paint);
  } else {
    TexturePainter<true> paint(*map, block->data(), shade, spanLength);
    ScanTriangle(corners, target, paint);
  }
}

}  // namespace zandrel::engine::soft
