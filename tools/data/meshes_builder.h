// Building meshes out of solids, sheets and sprites.
//
// The engine keeps a face whose corners a, b, c run clockwise on screen (x right, y up)
// and maps its texture square by the face's orientation: orientation 0 shows the top
// left, top right and bottom right of the image on a, b, c, orientation 1 the bottom
// right, bottom left and top left. Every primitive here names its corners as they are
// seen from the side that shows, so faces come out wound that way and textured upright.
// In mesh terms: the normal (b - a) x (c - a) of a kept face points toward the viewer.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/mesh.h"

namespace zandrel::data::meshes {

struct Vec3 {
  double X = 0, Y = 0, Z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(double s, Vec3 v);
Vec3 Cross(Vec3 a, Vec3 b);
double Dot(Vec3 a, Vec3 b);

// A turn, stretch and move of space: p -> M p + t. Angles are in degrees.
class Affine {
 public:
  Affine();  // the identity

  static Affine Translate(double x, double y, double z);
  static Affine Translate(Vec3 offset) { return Translate(offset.X, offset.Y, offset.Z); }
  // Factors must not be 0. A mirror (an odd number of negative factors) turns solids
  // inside out: their faces then show from within, their textures still upright.
  static Affine Scale(double x, double y, double z);
  static Affine RotateX(double degrees);  // +y toward +z: a limb hanging down swings toward -z
  static Affine RotateY(double degrees);  // +x toward +z
  static Affine RotateZ(double degrees);  // +x toward +y: a limb hanging down swings toward +x

  // (A * B)(p) = A(B(p)): B is applied first.
  Affine operator*(const Affine& other) const;
  Vec3 operator()(Vec3 p) const;

 private:
  std::array<std::array<double, 3>, 3> m_;
  Vec3 t_;
};

// How a face is filled.
struct Paint {
  std::uint16_t Texture = 0;  // texture number (kinds 0-2) or palette index (flat colour)
  std::uint16_t Kind = engine::kFlatColour;
  bool TwoSided = false;
  bool Shaded = false;  // flat colour: moved along its ramp by the face's direction
};

// A flat colour exactly as given.
Paint Flat(std::uint16_t paletteIndex);
// A flat colour that looks lit from above, the front (-z) and the left (-x): the engine
// lights by distance only, so a face's direction is baked into its colour, up to three
// steps lighter or darker within the colour's ramp of sixteen. The direction is taken
// before the builder's placement, so a part keeps its colours however it is posed.
Paint Shaded(std::uint16_t paletteIndex);
Paint Textured(std::uint16_t texture);
Paint SeeThrough(std::uint16_t texture);  // texel 0 is not drawn
Paint BothSides(Paint paint);

// The paints of a solid: its sides, its top (+y) and its bottom (-y).
struct SolidPaint {
  SolidPaint(Paint all) : Side(all), Top(all), Bottom(all) {}
  SolidPaint(Paint side, Paint top, Paint bottom) : Side(side), Top(top), Bottom(bottom) {}
  Paint Side, Top, Bottom;
};

// One ring of a lofted solid: its points by growing angle around the solid's axis (from
// +x toward +z when the axis is y), or a single point for an apex.
struct Outline {
  std::vector<Vec3> Points;
  Paint Band;  // the band from this ring up to the next
};

// One ring of a solid of revolution around the y axis.
struct Ring {
  double Radius = 0;  // 0 makes the ring a single point on the axis (first or last ring only)
  double Y = 0;
  Paint Band;       // the band from this ring up to the next
  double Turn = 0;  // degrees added to the ring's angles: a twist
};

class MeshBuilder {
 public:
  // Places every vertex added from now on (the identity at first).
  void Place(const Affine& transform) { place_ = transform; }

  std::uint16_t Vertex(Vec3 local);

  void Triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, const Paint& paint, std::uint16_t orientation = 0);
  void Triangle(Vec3 a, Vec3 b, Vec3 c, const Paint& paint, std::uint16_t orientation = 0);
  // Corners as seen from the side that shows; the whole texture square covers it.
  void Quad(std::uint16_t topLeft, std::uint16_t topRight, std::uint16_t bottomRight, std::uint16_t bottomLeft,
            const Paint& paint);
  void Quad(Vec3 topLeft, Vec3 topRight, Vec3 bottomRight, Vec3 bottomLeft, const Paint& paint);
  // A convex polygon, corners clockwise as seen from the side that shows; four corners
  // make a quad from the top left, showing the whole texture.
  void Polygon(std::span<const std::uint16_t> clockwise, const Paint& paint);

  // A closed six-sided solid. Corner i has x high when bit 0 is set, y high with bit 1,
  // z high with bit 2 (so a box from low to high is the cube's corners in that order).
  void Block(const std::array<Vec3, 8>& corners, const SolidPaint& paint);
  void Box(Vec3 low, Vec3 high, const SolidPaint& paint);
  // A closed solid through rings from bottom to top, all with the same number of points
  // except for apexes at the ends; an end ring of several points gets a flat cap, so
  // the end rings must be convex and flat.
  void Loft(std::span<const Outline> rings, const Paint& bottomCap, const Paint& topCap);
  // A closed solid of revolution, rings from bottom to top; an end ring of radius 0 is an
  // apex, any other end ring gets a flat cap. Ring angles start at `phase` degrees, going
  // from +x toward +z, in `segments` equal steps.
  void Lathe(std::span<const Ring> rings, int segments, const Paint& bottomCap, const Paint& topCap, double phase = 0);

  // A closed upright prism from y0 to y1 over an outline of (x, z) points given by
  // growing angle (from +x toward +z) around their centre, which every point must see
  // (a star-shaped outline). Each cap is a fan around the centre, which `bulge` lifts
  // out of the cap (a cushion) or, when negative, sinks into it.
  void Prism(std::span<const std::array<double, 2>> outline, double y0, double y1, const SolidPaint& paint,
             double bulge = 0);

  // A camera-facing picture centred on `centre`, `width` by `height` world units.
  void Sprite(Vec3 centre, std::uint16_t width, std::uint16_t height, std::uint16_t texture);

  std::span<const Vec3> Positions() const { return positions_; }
  // Moves every vertex added so far.
  void Shift(Vec3 offset);

  // The mesh with coordinates rounded to whole units. Throws std::logic_error when the
  // mesh has no face or more vertices or faces than a mesh file holds.
  engine::Mesh Build() const;

 private:
  Affine place_;
  std::vector<Vec3> local_;  // each vertex before placement, for shading
  std::vector<Vec3> positions_;
  std::vector<engine::MeshFace> faces_;
};

}  // namespace zandrel::data::meshes
