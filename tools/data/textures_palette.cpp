#include "tools/data/textures_palette.h"

#include <cmath>

namespace zandrel::data::textures {
namespace {

struct Rgb {
  int R, G, B;
};

// Most ramps are drawn through four key colours at steps 0, 5, 10 and 15; every channel
// rises from key to key, so brightness rises along the ramp.
struct RampKeys {
  Rgb Keys[4];
};

constexpr RampKeys kKeyedRamps[kRampCount] = {
    {{{0, 0, 0}, {42, 42, 44}, {85, 85, 88}, {128, 128, 132}}},              // Grey: 0 pure black
    {{{138, 138, 142}, {178, 178, 182}, {218, 218, 222}, {255, 255, 255}}},  // Light
    {{{20, 22, 30}, {66, 72, 88}, {118, 126, 144}, {196, 204, 218}}},        // Stone
    {{{10, 11, 14}, {36, 38, 45}, {68, 72, 82}, {122, 126, 136}}},           // Slate
    {{{30, 10, 8}, {98, 36, 26}, {164, 74, 52}, {230, 152, 122}}},           // Brick
    {{{52, 4, 0}, {160, 30, 0}, {240, 122, 12}, {255, 246, 164}}},           // Lava
    {{{14, 18, 26}, {54, 66, 86}, {108, 128, 154}, {202, 216, 234}}},        // Steel
    {{{2, 10, 34}, {14, 50, 110}, {50, 122, 192}, {172, 222, 252}}},         // Water
    {{{28, 14, 6}, {92, 52, 22}, {162, 106, 52}, {228, 182, 122}}},          // Wood
    {{{16, 10, 6}, {52, 34, 20}, {98, 68, 42}, {164, 126, 88}}},             // Earth
    {{{6, 20, 4}, {30, 78, 16}, {82, 146, 34}, {184, 232, 104}}},            // Grass
    {{{52, 40, 22}, {130, 106, 66}, {198, 172, 118}, {250, 238, 200}}},      // Sand
    {{{26, 4, 36}, {92, 22, 112}, {172, 62, 198}, {248, 172, 255}}},         // Purple
    {{{44, 24, 0}, {138, 92, 8}, {222, 168, 40}, {255, 248, 182}}},          // Gold
    {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},                          // Glow: listed below
    {{{112, 106, 98}, {172, 168, 160}, {222, 220, 214}, {255, 255, 255}}},   // Marble
};

// Glow: teal up to bright cyan for crystals and portals, then white, and a warm
// white-yellow at the top for lamps. Glowing things are never dark, so the ramp starts
// at a middle teal; brightness still rises at every step.
constexpr Rgb kGlow[kRampLength] = {
    {0, 70, 90},     {0, 88, 110},    {4, 106, 128},   {12, 124, 146},  {22, 142, 164},  {34, 160, 182},
    {48, 178, 200},  {66, 194, 216},  {88, 210, 230},  {114, 224, 240}, {146, 236, 248}, {182, 244, 252},
    {214, 248, 252}, {236, 250, 244}, {252, 250, 226}, {255, 254, 206},
};

int Channel(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

}  // namespace

std::array<std::uint8_t, 768> TexturePalette() {
  std::array<std::uint8_t, 768> palette{};
  for (int ramp = 0; ramp < kRampCount; ++ramp) {
    for (int level = 0; level < kRampLength; ++level) {
      Rgb colour{};
      if (static_cast<Ramp>(ramp) == Ramp::Glow) {
        colour = kGlow[level];
      } else {
        const RampKeys& keys = kKeyedRamps[ramp];
        const int segment = level == kRampLength - 1 ? 2 : level / 5;
        const double t = (level - segment * 5) / 5.0;
        const Rgb& a = keys.Keys[segment];
        const Rgb& b = keys.Keys[segment + 1];
        colour = {Channel(a.R, b.R, t), Channel(a.G, b.G, t), Channel(a.B, b.B, t)};
      }
      const int index = ramp * kRampLength + level;
      palette[3 * index] = static_cast<std::uint8_t>(colour.R);
      palette[3 * index + 1] = static_cast<std::uint8_t>(colour.G);
      palette[3 * index + 2] = static_cast<std::uint8_t>(colour.B);
    }
  }
  return palette;
}

}  // namespace zandrel::data::textures
