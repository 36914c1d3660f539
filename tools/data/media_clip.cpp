// The vault clip: a round steel door in a stone wall. Its wheel spins, the door swings open on
// its hinge toward the viewer, warm light pours out over the stones and a pile of gold ingots
// glitters inside, while the view slowly closes in. 320 x 240, 25 frames a second, 8 s.
// The still parts (wall, door face, vault) are painted once at twice the size and sampled;
// each frame then places them, draws the wheel, the light and the sparkles.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/data/interface_canvas.h"
#include "tools/data/media.h"
#include "tools/data/media_video.h"
#include "tools/data/noise.h"

namespace zandrel::data::media {
namespace {

using interface::Clamp01;
using interface::Fractal;
using interface::Hex;
using interface::Mix;
using interface::Rgb;
using interface::SmoothStep;

constexpr int kWidth = 320, kHeight = 240, kFramesPerSecond = 25, kFrames = 200;
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kCx = 160, kCy = 112, kRadius = 80;  // the door and its opening
constexpr float kFrameWidth = 11;                    // the steel ring round the opening
constexpr float kWheelRadius = 32;
constexpr float kPileX = kCx + 14;  // right of the middle: the open door hides the left

// Frames of the story.
constexpr float kSpinFrom = 6, kSpinTo = 50, kSwingFrom = 52, kSwingTo = 128, kShineFrom = 112, kShineTo = 150;
constexpr float kMaxSwing = 66 * kPi / 180;
constexpr float kThickness = 12;  // of the door, seen on its edge as it swings
constexpr float kFocal = 420;     // of the perspective that the swinging door is seen in

float Ease(float from, float to, float t) { return SmoothStep(from, to, t); }

// The plain formula: the library's careful hypot is needlessly slow for every pixel of 200 frames.
float Length(float x, float y) { return std::sqrt(x * x + y * y); }

// A picture of part of the scene at twice the frame's resolution, sampled between pixels.
class Layer {
 public:
  template <class Paint>
  Layer(float x0, float y0, float width, float height, Paint&& paint)
      : x0_(x0),
        y0_(y0),
        width_(static_cast<int>(width * 2)),
        height_(static_cast<int>(height * 2)),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) pixels_[Index(x, y)] = paint(x0 + (x + 0.5f) / 2, y0 + (y + 0.5f) / 2);
    }
  }

  // Scene coordinates; clamped at the layer's edges.
  Rgb Sample(float x, float y) const {
    const float fx = std::clamp((x - x0_) * 2 - 0.5f, 0.0f, static_cast<float>(width_ - 1));
    const float fy = std::clamp((y - y0_) * 2 - 0.5f, 0.0f, static_cast<float>(height_ - 1));
    const int ix = std::min(static_cast<int>(fx), width_ - 2), iy = std::min(static_cast<int>(fy), height_ - 2);
    const float tx = fx - static_cast<float>(ix), ty = fy - static_cast<float>(iy);
    const Rgb top = Mix(pixels_[Index(ix, iy)], pixels_[Index(ix + 1, iy)], tx);
    const Rgb bottom = Mix(pixels_[Index(ix, iy + 1)], pixels_[Index(ix + 1, iy + 1)], tx);
    return Mix(top, bottom, ty);
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  float x0_, y0_;
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// How much a pixel-wide edge at signed distance `d` (negative inside) covers.
float Inside(float d, float pixel = 1) { return Clamp01(0.5f - d / pixel); }

// The light of a round boss or rivet: brighter toward the upper left.
float DomeLight(float dx, float dy, float radius) {
  const float nx = dx / radius, ny = dy / radius;
  const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
  return Clamp01(0.25f + 0.75f * (-0.5f * nx - 0.6f * ny + 0.62f * nz));
}

// ---- the wall ------------------------------------------------------------------------------

Rgb Stones(float x, float y) {
  constexpr float kRow = 22, kBlock = 46;
  const int row = static_cast<int>(std::floor(y / kRow));
  const float shifted = x + ((row & 1) != 0 ? kBlock / 2 : 0);
  const int column = static_cast<int>(std::floor(shifted / kBlock));
  const float fx = shifted - static_cast<float>(column) * kBlock, fy = y - static_cast<float>(row) * kRow;
  const float edge = std::min(std::min(fx, kBlock - fx), std::min(fy, kRow - fy));
  const float grain = Fractal(x * 0.09f, y * 0.09f, 5, 4);
  const float tone = 0.35f + 0.4f * Hash01(column, row, 11) + 0.5f * (grain - 0.5f);
  Rgb stone = Mix(Hex(0x34302b), Hex(0x6e6558), Clamp01(tone));
  // Block edges worn round: lit along the top, shaded along the bottom.
  stone = stone * (1 + 0.22f * (1 - SmoothStep(0, 3, fy)) - 0.25f * (1 - SmoothStep(0, 3, kRow - fy)));
  const Rgb mortar = Hex(0x1a1815) * (0.8f + 0.4f * grain);
  return Mix(mortar, stone, SmoothStep(0.6f, 1.8f, edge));
}

// The steel ring round the opening, with its rivets.
Rgb Ring(float x, float y, Rgb behind) {
  const float dx = x - kCx, dy = y - kCy, r = Length(dx, dy);
  const float across = (r - kRadius) / kFrameWidth;  // 0 inner edge .. 1 outer edge
  if (across < -0.1f || across > 1.1f) return behind;
  // A rounded profile: the normal leans inward on the inner half, outward on the outer.
  const float lean = (across - 0.5f) * 1.6f;
  const float facing = (-0.5f * dx - 0.6f * dy) / std::max(r, 1.0f);
  const float light = Clamp01(0.55f + 0.45f * lean * facing + 0.2f * (1 - std::abs(lean)));
  Rgb steel = Mix(Hex(0x3d4046), Hex(0xa9adb3), light);
  // Twenty-four rivets.
  const float angle = std::atan2(dy, dx);
  const float slot = std::round(angle / (2 * kPi / 24)) * (2 * kPi / 24);
  const float rx = kCx + (kRadius + kFrameWidth / 2) * std::cos(slot),
              ry = kCy + (kRadius + kFrameWidth / 2) * std::sin(slot);
  const float rd = Length(x - rx, y - ry);
  steel = Mix(steel, Mix(Hex(0x2e3035), Hex(0xd8dbe0), DomeLight(x - rx, y - ry, 2.6f)), Inside(rd - 2.6f, 0.8f));
  const float cover = Inside(-across * kFrameWidth, 0.8f) * Inside((across - 1) * kFrameWidth, 0.8f);
  // A dark seam where the ring meets the stone.
  return Mix(behind * (1 - 0.6f * Inside(std::abs(across - 1) * kFrameWidth - 1.5f, 1.5f)), steel, cover);
}

Rgb Wall(float x, float y) {
  // The torchlight of the hall falls from above the door.
  const float light = 0.35f + 0.8f * std::exp(-(std::pow(x - kCx, 2.0f) + std::pow(y - 40, 2.0f)) / (2 * 150 * 150));
  return Ring(x, y, Stones(x, y) * light);
}

// ---- the vault behind the door --------------------------------------------------------------

struct Ingot {
  float X, Y;  // the middle of its bottom edge
};

// A pyramid of ingots, six at the bottom.
std::vector<Ingot> Pile() {
  std::vector<Ingot> pile;
  constexpr float kPitch = 27, kHeight = 11;
  for (int row = 0; row < 6; ++row) {
    const int count = 6 - row;
    for (int i = 0; i < count; ++i) {
      pile.push_back({kPileX + (static_cast<float>(i) - static_cast<float>(count - 1) / 2) * kPitch,
                      kCy + 58 - kHeight * static_cast<float>(row)});
    }
  }
  return pile;
}

// One ingot: a trapezoid front face and a narrow lit top; false where it is not.
bool IngotColour(const Ingot& ingot, float x, float y, Rgb& colour) {
  constexpr float kFront = 8, kTop = 3, kBottomHalf = 13, kTopHalf = 10.5f, kCrownHalf = 8.5f;
  const float up = ingot.Y - y;  // height above the bottom edge
  if (up < 0 || up > kFront + kTop) return false;
  const float half = up <= kFront ? kBottomHalf + (kTopHalf - kBottomHalf) * up / kFront
                                  : kTopHalf + (kCrownHalf - kTopHalf) * (up - kFront) / kTop;
  const float from = std::abs(x - ingot.X);
  if (from > half) return false;
  const float shine = Fractal(x * 0.3f, y * 0.3f, 21, 2);
  if (up <= kFront) {
    const float t = up / kFront;
    colour = Mix(Hex(0x8c5a12), Hex(0xf0b93c), 0.35f + 0.55f * t + 0.2f * (shine - 0.5f));
  } else {
    colour = Mix(Hex(0xf6cf62), Hex(0xfff1b8), Clamp01(1 - from / kCrownHalf) * 0.8f);
  }
  // A dark rim on the outline, so that the bars read apart.
  const float rim = std::min(half - from, std::min(up, kFront + kTop - up));
  colour = colour * (0.55f + 0.45f * SmoothStep(0, 1.2f, rim));
  return true;
}

Rgb Vault(float x, float y, const std::vector<Ingot>& pile) {
  // The back of the vault: dark stone warmed by the gold's glow, a floor below.
  const float glow = std::exp(-(std::pow(x - kPileX, 2.0f) + std::pow(y - (kCy + 30), 2.0f)) / (2 * 55 * 55));
  const bool floor = y > kCy + 58;
  Rgb c = floor ? Mix(Hex(0x2a1e12), Hex(0x5e4420), glow)
                : Mix(Hex(0x120e0b), Hex(0x4a3318), glow * (0.6f + 0.4f * Fractal(x * 0.07f, y * 0.07f, 31, 3)));
  for (const Ingot& ingot : pile) {
    Rgb bar;
    if (IngotColour(ingot, x, y, bar)) c = bar;
  }
  // The thickness of the opening shades its edge.
  const float r = Length(x - kCx, y - kCy);
  return c * (0.35f + 0.65f * SmoothStep(kRadius, kRadius - 12, r));
}

// ---- the door ------------------------------------------------------------------------------

// The door's face in its own coordinates (0, 0 the middle), without the wheel.
Rgb DoorFace(float u, float v) {
  const float r = Length(u, v);
  const float angle = std::atan2(v, u);
  // Turned steel: fine rings of brightness round the middle.
  const float turned = Fractal(r * 1.2f, angle * 0.8f + 40, 41, 2);
  const float broad = -0.0045f * (u + 1.2f * v);  // lighter toward the upper left
  Rgb c = Mix(Hex(0x5c626b), Hex(0xa6adb7), Clamp01(0.5f + 0.35f * (turned - 0.5f) + broad));
  // The bevelled edge.
  const float edge = SmoothStep(kRadius - 6, kRadius, r);
  const float facing = (-0.5f * u - 0.6f * v) / std::max(r, 1.0f);
  c = c * (1 + edge * 0.6f * facing);
  // A groove ring, shaded above and lit below.
  const float groove = r - kRadius * 0.62f;
  c = c * (1 - 0.45f * Inside(std::abs(groove) - 1.0f, 0.8f) +
           0.25f * Inside(std::abs(groove - 1.8f) - 0.6f, 0.8f) * (v > 0 ? 1.0f : 0.3f));
  // Sixteen bolts near the rim.
  const float slot = std::round(angle / (2 * kPi / 16)) * (2 * kPi / 16);
  const float bx = (kRadius - 11) * std::cos(slot), by = (kRadius - 11) * std::sin(slot);
  const float bd = Length(u - bx, v - by);
  c = Mix(c, Mix(Hex(0x3a3d42), Hex(0xe4e7ea), DomeLight(u - bx, v - by, 4)), Inside(bd - 4, 0.8f));
  c = c *
      (1 - 0.35f * Inside(std::abs(Length(u - bx - 1, v - by - 1.5f) - 4.2f) - 0.5f, 1.0f) * (bd > 4 ? 1.0f : 0.0f));
  return c;
}

// The wheel at one turn: rim, six spokes, hub and grips, with a soft shadow cast down and to
// the right. The directions of the spokes are worked out once a frame.
class WheelPose {
 public:
  explicit WheelPose(float spin) {
    for (int k = 0; k < 6; ++k) {
      const float a = spin + static_cast<float>(k) * kPi / 3;
      cos_[k] = std::cos(a);
      sin_[k] = std::sin(a);
    }
  }

  // The wheel over the door face `under` at (u, v) of the door.
  Rgb Over(float u, float v, Rgb under) const {
    if (u * u + v * v > kReach * kReach) return under;
    float light = 0;
    under = under * (1 - 0.45f * Inside(Shape(u - 2.5f, v - 3.5f, light), 3.0f));
    const float d = Shape(u, v, light);
    return Mix(under, Mix(Hex(0x26292e), Hex(0xdfe3e8), light), Inside(d, 0.9f));
  }

 private:
  static constexpr float kGrip = 3.8f, kGripAt = kWheelRadius + 6;
  static constexpr float kReach = kGripAt + kGrip + 10;  // the grips, their shadow and its blur

  // The signed distance to the wheel's outline, and the light of the part nearest.
  float Shape(float x, float y, float& light) const {
    const float r = Length(x, y);
    float d = std::abs(r - kWheelRadius) - 2.6f;  // the rim, a tube
    light = Clamp01(0.7f - 0.6f * (r - kWheelRadius) / 2.6f * (-0.5f * x - 0.6f * y) / std::max(r, 1.0f));
    for (int k = 0; k < 3; ++k) {
      const float across = x * sin_[k] - y * cos_[k];
      const float spoke = std::max(std::abs(across) - 2.0f, r - kWheelRadius);
      if (spoke < d) {
        d = spoke;
        light = Clamp01(0.55f - 0.3f * across * (cos_[k] * 0.6f - sin_[k] * 0.5f));
      }
    }
    for (int k = 0; k < 6; ++k) {
      const float gx = x - kGripAt * cos_[k], gy = y - kGripAt * sin_[k];
      const float grip = Length(gx, gy) - kGrip;
      if (grip < d) {
        d = grip;
        light = DomeLight(gx, gy, kGrip);
      }
    }
    if (r - 9 < d) {
      d = r - 9;
      light = DomeLight(x, y, 9);
    }
    return d;
  }

  float cos_[6], sin_[6];
};

// ---- sparkles ------------------------------------------------------------------------------

struct Sparkle {
  float X, Y, Phase, Period, Size;
};

std::vector<Sparkle> Sparkles(const std::vector<Ingot>& pile) {
  std::vector<Sparkle> out;
  for (std::size_t i = 0; i < pile.size(); ++i) {
    if (Hash01(static_cast<int>(i), 0, 51) < 0.45f) continue;
    const float side = Hash01(static_cast<int>(i), 1, 51) * 16 - 8;
    out.push_back({pile[i].X + side, pile[i].Y - 10, Hash01(static_cast<int>(i), 2, 51),
                   14 + 16 * Hash01(static_cast<int>(i), 3, 51), 6 + 6 * Hash01(static_cast<int>(i), 4, 51)});
  }
  return out;
}

// A four-pointed star with a round core, as bright as `strength`.
float Star(float dx, float dy, float size) {
  const float ax = std::abs(dx), ay = std::abs(dy);
  const float arms =
      std::exp(-ay * 1.6f) * std::max(0.0f, 1 - ax / size) + std::exp(-ax * 1.6f) * std::max(0.0f, 1 - ay / size);
  const float core = std::exp(-(dx * dx + dy * dy) / 3.0f);
  return arms + core;
}

class Clip {
 public:
  Clip()
      : pile_(Pile()),
        sparkles_(Sparkles(pile_)),
        wall_(0, 0, kWidth, kHeight, Wall),
        vault_(kCx - kRadius, kCy - kRadius, 2 * kRadius, 2 * kRadius,
               [this](float x, float y) { return Vault(x, y, pile_); }),
        door_(-kRadius, -kRadius, 2 * kRadius, 2 * kRadius, DoorFace) {}

  void Draw(int frame, std::vector<std::uint8_t>& rgb) const {
    const float f = static_cast<float>(frame);
    const WheelPose wheel(3 * kPi * Ease(kSpinFrom, kSpinTo, f));
    const float swing = kMaxSwing * Ease(kSwingFrom, kSwingTo, f);
    const float open = Ease(kSwingFrom, kSwingTo - 20, f);
    const float shine = Ease(kShineFrom, kShineTo, f);
    const float fadeIn = Ease(0, 14, f);
    const float zoom = 1 + 0.18f * Ease(0, kFrames - 1, f);
    const float lookX = kCx + 26 * Ease(kSwingFrom, kFrames - 1, f),
                lookY = 120 + 12 * Ease(kSwingFrom, kFrames - 1, f);
    const float cosSwing = std::cos(swing), sinSwing = std::sin(swing);
    const float hinge = kCx - kRadius;
    const float pulse = 1 + 0.08f * shine * std::sin(f * 0.35f);
    std::vector<float> twinkles;
    for (const Sparkle& s : sparkles_)
      twinkles.push_back(std::pow(std::max(0.0f, std::sin(2 * kPi * (f / s.Period + s.Phase))), 6.0f));
    // Where the door can be seen: the box round its hinge and far edges, face and back.
    float doorLeft = kWidth, doorRight = 0, doorReach = 0;
    for (const float d : {0.0f, 2 * kRadius}) {
      for (const float depth : {0.0f, kThickness}) {
        const float scale = kFocal / (kFocal - d * sinSwing + depth * cosSwing);
        const float x = kCx + (hinge + d * cosSwing + depth * sinSwing - kCx) * scale;
        doorLeft = std::min(doorLeft, x - 2);
        doorRight = std::max(doorRight, x + 2);
        doorReach = std::max(doorReach, kRadius * scale + 2);
      }
    }

    std::size_t out = 0;
    for (int py = 0; py < kHeight; ++py) {
      for (int px = 0; px < kWidth; ++px) {
        // The slow approach: the frame shows a shrinking part of the scene.
        const float x = kCx + (static_cast<float>(px) + 0.5f - kCx) / zoom + (lookX - kCx);
        const float y = 120 + (static_cast<float>(py) + 0.5f - 120) / zoom + (lookY - 120);
        const float r = Length(x - kCx, y - kCy);

        Rgb c = wall_.Sample(x, y);
        // Warm light spilling out of the opening onto the stones.
        if (open > 0) c = c + Hex(0xffb347) * (0.28f * open * pulse * std::exp(-std::max(0.0f, r - kRadius) / 45));
        if (r < kRadius + 1) {
          const Rgb inside = vault_.Sample(x, y) * ((0.12f + 0.88f * open) * pulse);
          c = Mix(c, inside, Inside(r - kRadius, 1.0f));
          if (shine > 0) {
            c = c +
                Hex(0xffd27a) * (0.35f * shine *
                                 std::exp(-(y - kCy - 32) * (y - kCy - 32) / 900 - (x - kPileX) * (x - kPileX) / 2500));
            for (std::size_t i = 0; i < sparkles_.size(); ++i) {
              const Sparkle& s = sparkles_[i];
              const float dx = x - s.X, dy = y - s.Y;
              if (twinkles[i] == 0 || std::abs(dx) > s.Size || std::abs(dy) > s.Size) continue;
              c = c + Hex(0xfff6d8) * (1.6f * shine * twinkles[i] * Star(dx * zoom, dy * zoom, s.Size * zoom));
            }
          }
        }
        // The door, found through the inverse of its perspective: the point of the door seen
        // at this pixel lies `d` from the hinge along the door, `depth` behind its face.
        const float denominator = kFocal * cosSwing + (x - kCx) * sinSwing;
        if (denominator > 1 && x > doorLeft && x < doorRight && std::abs(y - kCy) < doorReach) {
          const auto onDoor = [&](float depth, float& u, float& v, float& scale) {
            const float d =
                ((x - kCx) * (kFocal + depth * cosSwing) - (hinge - kCx + depth * sinSwing) * kFocal) / denominator;
            scale = kFocal / (kFocal - d * sinSwing + depth * cosSwing);
            u = d - kRadius;
            v = (y - kCy) / scale;
            return Length(u, v);
          };
          float u = 0, v = 0, scale = 1;
          // The edge first, in slices from the back, then the face over it.
          for (int slice = 4; slice >= 1; --slice) {
            const float ru = onDoor(kThickness * static_cast<float>(slice) / 4, u, v, scale);
            if (ru < kRadius) {
              const float lit = Clamp01(0.45f - 0.4f * v / kRadius + 0.1f * static_cast<float>(slice) / 4);
              c = Mix(c, Mix(Hex(0x2b2e33), Hex(0x9aa0a8), lit) + Hex(0x6a4210) * (0.5f * open),
                      Inside(ru - kRadius, 1.2f));
            }
          }
          const float ru = onDoor(0, u, v, scale);
          if (ru < kRadius + 1.5f) {
            Rgb face = wheel.Over(u, v, door_.Sample(u, v));
            // Swung away from the hall's light, lit by the gold instead.
            face = face * (1 - 0.45f * sinSwing) + Hex(0x6a4210) * (0.6f * open * sinSwing);
            const float pixel = std::max(0.6f, 1 / (scale * std::max(cosSwing, 0.15f)));
            c = Mix(c, face, Inside(ru - kRadius, pixel));
          }
        }
        c = c * fadeIn;
        rgb[out++] = Byte(c.R);
        rgb[out++] = Byte(c.G);
        rgb[out++] = Byte(c.B);
      }
    }
  }

 private:
  static std::uint8_t Byte(float v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f); }

  std::vector<Ingot> pile_;
  std::vector<Sparkle> sparkles_;
  Layer wall_, vault_, door_;
};

}  // namespace

std::vector<std::uint8_t> VaultClip() {
  const Clip clip;
  video::AviWriter writer(kWidth, kHeight, kFramesPerSecond, 3);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (int frame = 0; frame < kFrames; ++frame) {
    clip.Draw(frame, rgb);
    writer.Add(rgb);
  }
  return writer.Finish();
}

}  // namespace zandrel::data::media
