// The hero in his eleven poses, his shadow and the sentry.
//
// The hero is a jointed figure 480 units tall centred on the origin, facing -z; every
// pose builds the same parts in the same order, so that only vertex positions differ
// and any two poses blend.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "tools/data/meshes_parts.h"

namespace zandrel::data::meshes {
namespace {

// Palette colours of the explorer.
constexpr std::uint16_t kSkin = 182, kSkinShade = 180, kEyes = 2;
constexpr std::uint16_t kTunic = 33;  // cloth texture
constexpr std::uint16_t kTrousers = 151, kBelt = 130, kBoots = 132, kSoles = 129, kPack = 137;
constexpr std::uint16_t kHat = 139, kHatBrim = 137, kHatBand = 131;

constexpr double kFeet = -240;

// One limb's joint angles in degrees: Swing turns it forward (toward -z) at the shoulder
// or hip, Spread away from the body sideways, Bend folds the elbow forward or the knee
// backward.
struct Limb {
  double Swing = 0, Spread = 0, Bend = 0;
};

struct Pose {
  Limb LeftArm, RightArm, LeftLeg, RightLeg;
  double Lean = 0;       // the upper body forward, about the hips
  double Nod = 0;        // the head forward
  double Recline = 0;    // the whole figure tipped onto its back
  bool Grounded = true;  // the lowest point rests at the feet line
};

// The same pose with the left and right limbs exchanged.
Pose Mirrored(Pose pose) {
  std::swap(pose.LeftArm, pose.RightArm);
  std::swap(pose.LeftLeg, pose.RightLeg);
  return pose;
}

// The hero's left is +x (he faces -z). side: +1 left, -1 right.
void AddArm(MeshBuilder& mesh, const Affine& chest, const Limb& limb, double side) {
  const Affine upper =
      chest * Affine::Translate(side * 64, 126, 0) * Affine::RotateZ(side * limb.Spread) * Affine::RotateX(limb.Swing);
  mesh.Place(upper);
  mesh.Box({-15, -88, -14}, {15, 6, 14}, Textured(kTunic));
  const Affine fore = upper * Affine::Translate(0, -86, 0) * Affine::RotateX(limb.Bend);
  mesh.Place(fore);
  mesh.Box({-11, -74, -11}, {11, 4, 11}, Shaded(kSkin));
  mesh.Place(fore * Affine::Translate(0, -74, 0));
  mesh.Box({-8, -26, -10}, {8, 2, 10}, Shaded(kSkinShade));
}

void AddLeg(MeshBuilder& mesh, const Affine& root, const Limb& limb, double side) {
  const Affine thigh =
      root * Affine::Translate(side * 24, 0, 0) * Affine::RotateZ(side * limb.Spread) * Affine::RotateX(limb.Swing);
  mesh.Place(thigh);
  mesh.Box({-19, -112, -20}, {19, 8, 20}, Shaded(kTrousers));
  const Affine shin = thigh * Affine::Translate(0, -110, 0) * Affine::RotateX(-limb.Bend);
  mesh.Place(shin);
  mesh.Box({-16, -106, -17}, {16, 4, 17}, Shaded(kBoots));
  // The foot stays level with the hips whatever the hip and knee do.
  mesh.Place(shin * Affine::Translate(0, -106, 0) * Affine::RotateX(limb.Bend - limb.Swing));
  mesh.Box({-15, -20, -46}, {15, 2, 14}, SolidPaint(Shaded(kBoots), Shaded(kBoots), Shaded(kSoles)));
}

void AddHead(MeshBuilder& mesh, const Affine& head) {
  mesh.Place(head);
  mesh.Box({-12, -4, -12}, {12, 16, 12}, Shaded(kSkinShade));  // neck
  const std::array<Ring, 4> skull{
      {{22, 12, Shaded(kSkin)}, {32, 30, Shaded(kSkin)}, {31, 60, Shaded(kSkin)}, {26, 74, {}}}};
  mesh.Lathe(skull, 8, Shaded(kSkin), Shaded(kSkin), 22.5);  // a flat side faces the front
  // Nose: a small pyramid on the face.
  const std::uint16_t tip = mesh.Vertex({0, 40, -39});
  const std::uint16_t tl = mesh.Vertex({-6, 48, -27}), tr = mesh.Vertex({6, 48, -27});
  const std::uint16_t br = mesh.Vertex({6, 35, -27}), bl = mesh.Vertex({-6, 35, -27});
  mesh.Triangle(tl, tr, tip, Shaded(kSkin));
  mesh.Triangle(tr, br, tip, Shaded(kSkinShade));
  mesh.Triangle(br, bl, tip, Shaded(kSkinShade));
  mesh.Triangle(bl, tl, tip, Shaded(kSkin));
  mesh.Quad(tr, tl, bl, br, Shaded(kSkin));  // the base, facing into the head
  for (const double x : {-12.0, 12.0}) {
    mesh.Quad(Vec3{x - 5, 54, -30.5}, Vec3{x + 5, 54, -30.5}, Vec3{x + 5, 48, -30.5}, Vec3{x - 5, 48, -30.5},
              Flat(kEyes));
  }
  // The explorer's hat: a wide brim and a crown with a dark band.
  const std::array<Ring, 2> brim{{{60, 64, Shaded(kHatBrim)}, {60, 70, {}}}};
  mesh.Lathe(brim, 10, Shaded(kHatBand), Shaded(kHatBrim));
  const std::array<Ring, 4> crown{
      {{33, 69, Shaded(kHatBand)}, {33, 80, Shaded(kHat)}, {31, 86, Shaded(kHat)}, {25, 102, {}}}};
  mesh.Lathe(crown, 10, Shaded(kHat), Shaded(kHat));
}

MeshBuilder Hero(const Pose& pose) {
  MeshBuilder mesh;
  // The root sits between the hip joints, 238 units above the soles when standing.
  const Affine root = Affine::Translate(0, kFeet + 238, 0) * Affine::RotateX(pose.Recline);
  mesh.Place(root);
  mesh.Box({-44, -28, -26}, {44, 10, 26}, Shaded(kTrousers));  // hips
  const Affine torso = root * Affine::RotateX(-pose.Lean);
  mesh.Place(torso);
  mesh.Box({-46, 10, -27}, {46, 24, 27}, Shaded(kBelt));
  mesh.Block({Vec3{-40, 24, -24},
              {40, 24, -24},
              {-54, 138, -28},
              {54, 138, -28},  //
              {-40, 24, 24},
              {40, 24, 24},
              {-54, 138, 26},
              {54, 138, 26}},
             Textured(kTunic));
  mesh.Box({-32, 40, 26}, {32, 118, 56}, Shaded(kPack));
  AddHead(mesh, torso * Affine::Translate(0, 138, 0) * Affine::RotateX(-pose.Nod));
  AddArm(mesh, torso, pose.LeftArm, 1);
  AddArm(mesh, torso, pose.RightArm, -1);
  AddLeg(mesh, root, pose.LeftLeg, 1);
  AddLeg(mesh, root, pose.RightLeg, -1);

  // A grounded pose rests its lowest point on the feet line; a lying one is also centred
  // along its length.
  if (pose.Grounded) {
    double lowest = std::numeric_limits<double>::max(), nearZ = lowest, farZ = -lowest;
    for (const Vec3& p : mesh.Positions()) {
      lowest = std::min(lowest, p.Y);
      nearZ = std::min(nearZ, p.Z);
      farZ = std::max(farZ, p.Z);
    }
    mesh.Shift({0, kFeet - lowest, pose.Recline != 0 ? -(nearZ + farZ) / 2 : 0});
  }
  return mesh;
}

struct NamedPose {
  const char* Name;
  Pose Shape;
};

std::array<NamedPose, 11> HeroPoses() {
  Pose stand;
  stand.LeftArm = stand.RightArm = {3, 7, 8};
  stand.LeftLeg = stand.RightLeg = {0, 2, 2};

  Pose contact;  // left foot forward, right arm forward
  contact.Lean = 5;
  contact.LeftArm = {-22, 7, 10};
  contact.RightArm = {24, 7, 26};
  contact.LeftLeg = {26, 2, 4};
  contact.RightLeg = {-24, 2, 14};

  Pose pass;  // standing on the left foot, the right one swinging through
  pass.Lean = 4;
  pass.LeftArm = {-4, 7, 12};
  pass.RightArm = {6, 7, 18};
  pass.LeftLeg = {2, 2, 4};
  pass.RightLeg = {18, 2, 48};

  Pose fall;  // arms flung up, legs apart
  fall.Grounded = false;
  fall.Nod = -10;
  fall.LeftArm = {18, 140, 20};
  fall.RightArm = {24, 128, 32};
  fall.LeftLeg = {12, 16, 22};
  fall.RightLeg = {-8, 14, 32};

  Pose crouch;  // knees deep after a hard landing, arms out for balance
  crouch.Lean = 28;
  crouch.Nod = -18;
  crouch.LeftArm = crouch.RightArm = {36, 16, 40};
  crouch.LeftLeg = crouch.RightLeg = {75, 8, 115};

  Pose dead;  // flat on his back, limbs spread
  dead.Recline = 90;
  dead.LeftArm = dead.RightArm = {0, 60, 14};
  dead.LeftLeg = {0, 10, 4};
  dead.RightLeg = {0, 14, 8};

  Pose climb;  // on the ladder: left hand high, right knee raised
  climb.LeftArm = {160, 12, 24};
  climb.RightArm = {95, 10, 64};
  climb.LeftLeg = {4, 4, 8};
  climb.RightLeg = {55, 4, 90};

  Pose action;  // leaning into a dig or a pull, both arms forward
  action.Lean = 22;
  action.Nod = 12;
  action.LeftArm = {70, 4, 28};
  action.RightArm = {86, 4, 20};
  action.LeftLeg = {18, 4, 20};
  action.RightLeg = {-14, 4, 12};

  return {{{"HERO", stand},
           {"HEROWLK1", contact},
           {"HEROWLK2", pass},
           {"HEROWLK3", Mirrored(contact)},
           {"HEROWLK4", Mirrored(pass)},
           {"HEROFALL", fall},
           {"HEROCRCH", crouch},
           {"HERODEAD", dead},
           {"HEROLAD1", climb},
           {"HEROLAD2", Mirrored(climb)},
           {"HEROSHOT", action}}};
}

// A dark oval on the ground, seen from above.
MeshBuilder Shadow() {
  MeshBuilder mesh;
  constexpr int kSides = 16;
  std::array<std::uint16_t, kSides> rim{};
  for (int i = 0; i < kSides; ++i) {
    const double angle = -2 * std::numbers::pi * i / kSides;  // clockwise from above
    rim[static_cast<std::size_t>(i)] = mesh.Vertex({100 * std::cos(angle), 0, 122 * std::sin(angle)});
  }
  mesh.Polygon(rim, Flat(1));
  return mesh;
}

// A floating armoured orb: spikes round its middle, four blades, one red eye toward -z.
MeshBuilder Sentry() {
  constexpr std::uint16_t kShell = 34;  // sentry texture
  constexpr std::uint16_t kBlade = 105, kSpike = 106, kEyeRim = 72, kEye = 78, kPupil = 94;
  MeshBuilder mesh;
  std::vector<Ring> orb;
  for (const double latitude : {-90.0, -54.0, -18.0, 18.0, 54.0, 90.0}) {
    const double r = 130 * std::cos(latitude * std::numbers::pi / 180);
    orb.push_back({latitude == 90 || latitude == -90 ? 0 : r, 130 * std::sin(latitude * std::numbers::pi / 180),
                   Textured(kShell)});
  }
  mesh.Lathe(orb, 8, {}, {}, 22.5);

  // The eye bulges out of the front.
  mesh.Place(Affine::Translate(0, 0, -112) * Affine::RotateX(-90));
  const std::array<Ring, 3> eye{{{46, 0, Shaded(kEyeRim)}, {30, 20, Shaded(kEye)}, {13, 27, {}}}};
  mesh.Lathe(eye, 8, Shaded(kEyeRim), Shaded(kPupil), 22.5);

  // Five spikes around the middle, leaving the eye's side free.
  for (int i = 1; i <= 5; ++i) {
    mesh.Place(Affine::RotateY(270 + 60.0 * i) * Affine::Translate(104, 0, 0) * Affine::RotateZ(-90));
    const std::array<Ring, 2> spike{{{22, 0, Shaded(kSpike)}, {0, 84, {}}}};
    mesh.Lathe(spike, 4, Shaded(kSpike), {}, 45);
  }

  // Four swept blades, two above and two below, seen from both sides.
  for (int i = 0; i < 4; ++i) {
    const double up = i < 2 ? 1 : -1;
    mesh.Place(Affine::RotateY(i % 2 == 0 ? 0 : 180));
    mesh.Triangle(Vec3{90, up * 90, 10}, Vec3{200, up * 190, 60}, Vec3{110, up * 40, 30}, BothSides(Flat(kBlade)));
  }
  return mesh;
}

}  // namespace

void AddActorMeshes(DataTree& tree) {
  for (const NamedPose& pose : HeroPoses()) AddMeshFile(tree, pose.Name, Hero(pose.Shape));
  AddMeshFile(tree, "SHADOW", Shadow());
  AddMeshFile(tree, "SENTRY", Sentry());
}

}  // namespace zandrel::data::meshes
