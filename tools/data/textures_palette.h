// The one palette of every texture image: 16 ramps of 16 colours, each from dark to light.
// The object bank names these indices as flat face colours, so a ramp is a material.
#pragma once

#include <array>
#include <cstdint>

namespace zandrel::data::textures {

enum class Ramp : std::uint8_t {
  Grey,    //   0- 15 black (0, the see-through colour) to middle grey
  Light,   //  16- 31 light grey to white
  Stone,   //  32- 47 blue-grey stone
  Slate,   //  48- 63 slate, dark stone
  Brick,   //  64- 79 brick red
  Lava,    //  80- 95 deep red through orange to yellow
  Steel,   //  96-111 steel blue metal
  Water,   // 112-127 water blue
  Wood,    // 128-143 wood brown
  Earth,   // 144-159 dark earth brown
  Grass,   // 160-175 grass green
  Sand,    // 176-191 sand beige
  Purple,  // 192-207 purple, magenta
  Gold,    // 208-223 gold
  Glow,    // 224-239 middle teal to cyan to white, ending warm white-yellow
  Marble,  // 240-255 bone to pure white
};

constexpr int kRampCount = 16;
constexpr int kRampLength = 16;

// The palette index of step `level` (0 darkest .. 15 lightest) of a ramp.
constexpr std::uint8_t PaletteIndex(Ramp ramp, int level) {
  return static_cast<std::uint8_t>(static_cast<int>(ramp) * kRampLength + level);
}

// 256 red, green, blue triples.
std::array<std::uint8_t, 768> TexturePalette();

}  // namespace zandrel::data::textures
