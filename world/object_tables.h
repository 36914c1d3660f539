// The level's run-time tables of animated cells, dug holes and sliding blocks; emptied at
// every level start.
#pragma once

#include <array>
#include <cstdint>

#include "engine/mesh.h"

namespace zandrel::world {

constexpr int kTableSize = 257;

struct CellAnimation {
  float X = 0, Y = 0, Z = 0;   // centre of the animated cell
  std::uint8_t AnimType = 0;   // object type whose frames are played
  std::uint8_t FinalCode = 0;  // code the cell gets when the animation ends
  engine::Mesh WorkMesh;
  float Pos = 0, Prev = 0;
  bool InUse = false;
};

struct Hole {
  float X = 0, Y = 0, Z = 0;
  std::uint8_t Code = 0;      // code the cell had before digging
  std::uint32_t DigTime = 0;  // ms
  std::int32_t Delay = 0;     // ms until it closes
};

struct SlidingBlock {
  float X = 0, Y = 0, Z = 0;
  float SpeedX = 0, SpeedY = 0, SpeedZ = 0;  // per 90 ms
  std::uint8_t Code = 0;
};

// Fixed tables with a last-index counter (-1 when empty); removal moves later entries down.
struct ObjectTables {
  std::array<CellAnimation, kTableSize> Animations{};
  std::array<Hole, kTableSize> Holes{};
  std::int32_t LastHole = -1;
  std::array<SlidingBlock, kTableSize> Blocks{};
  std::int32_t LastBlock = -1;
  std::uint32_t LastTextureStep = 0;  // ms: texture animations step every 66 ms
};

}  // namespace zandrel::world
