// The building-object types named by cell codes, as the object bank describes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/mesh.h"
#include "world/world_sounds.h"

namespace zandrel::world {

constexpr int kMaxFrames = 32;

// A cell-local box (0..511 from the cell's low corner) whose top is not flat: Ymax1 is its
// height at the (Xmin, Zmin) corner, Ymax2 at (Xmax, Zmin), Ymax3 at (Xmax, Zmax), Ymax4 at
// (Xmin, Zmax).
struct Box {
  std::int32_t Xmin = 0, Xmax = 0, Ymin = 0, Zmin = 0, Zmax = 0;
  std::int32_t Ymax1 = 0, Ymax2 = 0, Ymax3 = 0, Ymax4 = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

// The fields every collision test reads come first, with the box, so that a cell's test
// touches one cache line of its type rather than one at each end of the record.
struct ObjectType {
  bool Empty = true;  // the code names no object
  bool Cube = false;
  bool Collision = false;
  bool Ladder = false;
  Box Bounds;
  std::string Name;
  std::array<engine::Mesh, kMaxFrames + 1> Meshes{};  // animation frames
  std::array<Box, kMaxFrames + 1> FrameBounds{};
  engine::Mesh DisplayMesh;  // the mesh drawn: the current frame or a blend of two
  float AnimPos = 0;         // frames; shared by every cell of this type
  float AnimPrev = 0;
  float Speed = 0;  // frames per 90 ms
  std::int32_t MeshCount = 0;
  bool Death = false;
  bool CanPush = false;
  bool AnimateCollision = false;
  bool Morph = false;
  bool Lever = false;
  std::int32_t LeverAnim = 0, LeverOpen = 0, LeverDoor = 0;
  bool Spring = false;
  bool OneUp = false;
  bool Light = false;
  bool Timer = false;
  std::int32_t TimerDuration = 0;  // ms
  bool Lingot = false;             // an ingot: the level keeps a count of its cells
  std::int32_t LingotDoor = 0;
  std::int32_t IngotCount = 0;  // cells of the level holding this code
  bool Door = false;
  std::int32_t AnimDoor = 0, DoorOpen = 0;
  bool BlockKey = false;
  std::int32_t BlockKeySensor = 0;
  bool BlockSensor = false;
  std::int32_t BlockSensorDoor = 0;
  bool Dig = false;
  bool Recover = false;
  std::int32_t DigAnim = 0, RecoverAnim = 0;
  std::array<std::uint8_t, 6> FaceColor{};
  std::array<std::uint8_t, 6> FaceTexture{};
  SoundHandle LoopSound = kNoSound, ActionSound = kNoSound;
  std::int32_t LoopDuration = 0;                  // ms
  std::int32_t LoopVolume = 0, ActionVolume = 0;  // 0..255
  bool LoopDue = false;
  std::uint32_t LoopTime = 0;
};

constexpr int kObjectTypeCount = 256;
using ObjectTypes = std::array<ObjectType, kObjectTypeCount>;

// The object bank's texture quality.
enum class TextureQuality { High, Low };

}  // namespace zandrel::world
