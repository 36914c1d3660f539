#include "world/behaviour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/angles.h"
#include "engine/mesh_file.h"
#include "engine/texture_list.h"
#include "world/movement.h"

namespace zandrel::world {
namespace {

// A number as an int32: truncated toward zero, held inside the int32 range (NaN gives 0).
std::int32_t ToInt(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int32_t>(
      std::clamp(std::trunc(v), static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

std::int32_t WholePart(float v) { return ToInt(v); }
std::int32_t Rounded(float v) { return ToInt(std::nearbyint(static_cast<double>(v))); }

// The centre of a cell along one axis, in world units.
float Centre(std::int32_t index) { return static_cast<float>(static_cast<double>(index) * kCellSize + kCellSize / 2); }

// Milliseconds from `since` to now; the tick counter may have wrapped in between.
std::int64_t Elapsed(const World& world, std::uint32_t since) { return static_cast<std::uint32_t>(world.Now - since); }

// The code of the cell dy rows above (or below) a cell; 0 beyond the int32 range.
std::uint8_t CellAt(const LevelMap& map, std::int32_t x, std::int64_t y, std::int32_t z) {
  if (y < INT32_MIN || y > INT32_MAX) return 0;
  return map.GetCell(x, static_cast<std::int32_t>(y), z);
}

// A door, lever or animation code of the bank as a cell code: its low byte.
std::uint8_t CodeByte(std::int32_t code) { return static_cast<std::uint8_t>(code); }

void Play(WorldSounds& sounds, const ObjectType& type, std::int32_t x, std::int32_t y, std::int32_t z) {
  if (type.ActionSound != kNoSound) sounds.PlayAt(type.ActionSound, x, y, z, type.ActionVolume);
}

// Frame i of a type, or null when the type has no such frame.
const engine::Mesh* Frame(const ObjectType& type, std::int32_t i) {
  const std::int32_t count = std::min<std::int32_t>(type.MeshCount, kMaxFrames + 1);
  return i >= 0 && i < count ? &type.Meshes[static_cast<std::size_t>(i)] : nullptr;
}

// Advances a frame position; `prev` keeps the position at which the current whole frame
// began.
void Advance(float& pos, float& prev, float step) {
  if (WholePart(pos + step) != WholePart(pos)) prev = pos;
  pos += step;
}

constexpr std::array<std::int32_t Box::*, 9> kBoxFields{&Box::Xmin,  &Box::Xmax,  &Box::Ymin,  &Box::Zmin, &Box::Zmax,
                                                        &Box::Ymax1, &Box::Ymax2, &Box::Ymax3, &Box::Ymax4};

void AnimateType(World& world, ObjectType& type) {
  type.LoopDue = false;
  if (type.LoopSound != kNoSound && Elapsed(world, type.LoopTime) > type.LoopDuration) {
    type.LoopTime = world.Now;
    type.LoopDue = true;
  }

  Advance(type.AnimPos, type.AnimPrev, TimeScaled(world, type.Speed));
  if (type.AnimPos >= static_cast<float>(type.MeshCount)) type.AnimPos -= static_cast<float>(type.MeshCount);
  const std::int32_t a = WholePart(type.AnimPrev);
  const std::int32_t b = WholePart(type.AnimPos);
  const engine::Mesh* from = Frame(type, a);
  const engine::Mesh* to = Frame(type, b);
  if (to == nullptr) return;
  const Box& boundsB = type.FrameBounds[static_cast<std::size_t>(b)];
  if (!type.Morph) {
    engine::CopyMesh(*to, type.DisplayMesh);
    if (type.AnimateCollision) type.Bounds = boundsB;
    return;
  }
  if (from == nullptr) return;
  const float fraction = type.AnimPos - static_cast<float>(b);
  engine::MeshLerp(*from, *to, type.DisplayMesh, fraction);
  if (!type.AnimateCollision) return;
  const Box& boundsA = type.FrameBounds[static_cast<std::size_t>(a)];
  for (std::int32_t Box::*field : kBoxFields) {
    const double va = boundsA.*field;
    type.Bounds.*field = ToInt(va + std::trunc((boundsB.*field - va) * static_cast<double>(fraction)));
  }
}

// Whether every cell holding the sensor code carries a key block of that sensor.
bool EverySensorCovered(const World& world, std::uint8_t sensorCode) {
  const LevelMap& map = world.Map;
  for (std::int32_t x = 0; x < map.SizeX(); ++x) {
    for (std::int32_t y = 0; y < map.SizeY(); ++y) {
      for (std::int32_t z = 0; z < map.SizeZ(); ++z) {
        if (map.GetCell(x, y, z) != sensorCode) continue;
        const ObjectType& above = world.Types[CellAt(map, x, std::int64_t{y} + 1, z)];
        if (!above.BlockKey || above.BlockKeySensor != sensorCode) return false;
      }
    }
  }
  return true;
}

template <typename Table>
void RemoveEntry(Table& table, std::int32_t& last, std::int32_t i) {
  std::move(table.begin() + i + 1, table.begin() + last + 1, table.begin() + i);
  --last;
}

void StopBlock(World& world, WorldSounds& sounds, std::int32_t i) {
  ObjectTables& tables = world.Tables;
  const SlidingBlock block = tables.Blocks[static_cast<std::size_t>(i)];
  RemoveEntry(tables.Blocks, tables.LastBlock, i);
  const std::int32_t x = CellOf(block.X), y = CellOf(block.Y), z = CellOf(block.Z);
  world.Map.SetCell(x, y, z, block.Code);
  const ObjectType& type = world.Types[block.Code];
  if (!type.BlockKey || CellAt(world.Map, x, std::int64_t{y} - 1, z) != type.BlockKeySensor) return;
  const std::uint8_t sensorCode = CodeByte(type.BlockKeySensor);
  const ObjectType& sensor = world.Types[sensorCode];
  Play(sounds, sensor, Rounded(block.X), Rounded(block.Y), Rounded(block.Z));
  if (EverySensorCovered(world, sensorCode)) OpenDoors(world, sounds, sensor.BlockSensorDoor);
}

void SlideBlocks(World& world, WorldSounds& sounds) {
  ObjectTables& tables = world.Tables;
  std::int32_t i = 0;
  while (i <= tables.LastBlock && i < kTableSize) {
    SlidingBlock& block = tables.Blocks[static_cast<std::size_t>(i)];
    const float oldX = block.X, oldY = block.Y, oldZ = block.Z;
    const float stepX = TimeScaled(world, block.SpeedX);
    const float stepY = TimeScaled(world, block.SpeedY);
    const float stepZ = TimeScaled(world, block.SpeedZ);
    MoveBody(world, block.X, block.Y, block.Z, 0, kBlockHeight, kBlockWidth, stepX, stepY, stepZ);
    // An axis that did not move by its whole step was stopped by something.
    if (WholePart(block.X) != WholePart(oldX + stepX)) block.SpeedX = 0;
    if (WholePart(block.Y) != WholePart(oldY + stepY)) block.SpeedY = 0;
    if (WholePart(block.Z) != WholePart(oldZ + stepZ)) block.SpeedZ = 0;
    if (std::fabs(block.X - oldX) + std::fabs(block.Y - oldY) + std::fabs(block.Z - oldZ) < kBlockStopDistance) {
      StopBlock(world, sounds, i);
      continue;
    }
    block.SpeedX -= TimeScaled(world, block.SpeedX / 7.0f);
    block.SpeedY -= TimeScaled(world, kBlockGravity);
    block.SpeedZ -= TimeScaled(world, block.SpeedZ / 7.0f);
    ++i;
  }
}

void CloseHole(World& world, WorldSounds& sounds, std::int32_t i) {
  ObjectTables& tables = world.Tables;
  const Hole hole = tables.Holes[static_cast<std::size_t>(i)];
  RemoveEntry(tables.Holes, tables.LastHole, i);
  const std::int32_t x = CellOf(hole.X), y = CellOf(hole.Y), z = CellOf(hole.Z);
  // Something has moved into the hole: it stays filled.
  if (!world.Types[world.Map.GetCell(x, y, z)].Empty) return;
  const std::uint8_t recover = CodeByte(world.Types[hole.Code].RecoverAnim);
  Play(sounds, world.Types[recover], Rounded(hole.X), Rounded(hole.Y), Rounded(hole.Z));
  StartCellAnimation(world, sounds, x, y, z, hole.Code, recover);
}

void CloseDueHoles(World& world, WorldSounds& sounds) {
  ObjectTables& tables = world.Tables;
  std::int32_t i = 0;
  while (i <= tables.LastHole && i < kTableSize) {
    const Hole& hole = tables.Holes[static_cast<std::size_t>(i)];
    if (Elapsed(world, hole.DigTime) > hole.Delay) {
      CloseHole(world, sounds, i);
    } else {
      ++i;
    }
  }
}

void AdvanceCellAnimations(World& world) {
  for (CellAnimation& animation : world.Tables.Animations) {
    if (!animation.InUse) continue;
    const ObjectType& type = world.Types[animation.AnimType];
    Advance(animation.Pos, animation.Prev, TimeScaled(world, type.Speed));
    if (animation.Pos < static_cast<float>(type.MeshCount)) {
      const engine::Mesh* from = Frame(type, WholePart(animation.Prev));
      const engine::Mesh* to = Frame(type, WholePart(animation.Pos));
      if (from != nullptr && to != nullptr) {
        engine::MeshLerp(*from, *to, animation.WorkMesh, animation.Pos - std::trunc(animation.Pos));
      }
    } else {
      animation.InUse = false;
      world.Map.SetCell(CellOf(animation.X), CellOf(animation.Y), CellOf(animation.Z), animation.FinalCode);
    }
  }
}

// Calls f(x, y, z) for every cell holding the code: x outermost, then y, then z.
template <typename F>
void ForEachCellHolding(const LevelMap& map, std::uint8_t code, F f) {
  for (std::int32_t x = 0; x < map.SizeX(); ++x) {
    for (std::int32_t y = 0; y < map.SizeY(); ++y) {
      for (std::int32_t z = 0; z < map.SizeZ(); ++z) {
        if (map.GetCell(x, y, z) == code) f(x, y, z);
      }
    }
  }
}

}  // namespace

void UpdateWorld(World& world, engine::RenderView& view, WorldSounds& sounds) {
  if (Elapsed(world, world.Tables.LastTextureStep) > kTextureStepTime) {
    engine::StepTextureAnimation(view);
    world.Tables.LastTextureStep = world.Now;
  }
  for (ObjectType& type : world.Types) AnimateType(world, type);
  SlideBlocks(world, sounds);
  CloseDueHoles(world, sounds);
  AdvanceCellAnimations(world);
}

void StartCellAnimation(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z,
                        std::uint8_t finalCode, std::uint8_t animType) {
  auto& slots = world.Tables.Animations;
  auto free = std::find_if(slots.rbegin(), slots.rend(), [](const CellAnimation& a) { return !a.InUse; });
  if (free == slots.rend()) {
    world.Map.SetCell(x, y, z, finalCode);
    return;
  }
  CellAnimation& animation = *free;
  const ObjectType& type = world.Types[animType];
  animation.InUse = true;
  animation.X = Centre(x);
  animation.Y = Centre(y);
  animation.Z = Centre(z);
  Play(sounds, type, Rounded(animation.X), Rounded(animation.Y), Rounded(animation.Z));
  animation.AnimType = animType;
  animation.FinalCode = finalCode;
  animation.Pos = type.MeshCount > 0 ? 1.0f : 0.0f;
  animation.Prev = 0;
  engine::CopyMesh(type.Meshes[0], animation.WorkMesh);
  world.Map.SetCell(x, y, z, 0);
}

void OpenDoors(World& world, WorldSounds& sounds, std::int32_t doorCode) {
  if (doorCode < 0 || doorCode >= kObjectTypeCount) return;
  const ObjectType& door = world.Types[static_cast<std::size_t>(doorCode)];
  if (!door.Door) return;
  world.OpenedDoors.push_back(doorCode);
  const std::uint8_t open = CodeByte(door.DoorOpen), anim = CodeByte(door.AnimDoor);
  ForEachCellHolding(world.Map, CodeByte(doorCode), [&](std::int32_t x, std::int32_t y, std::int32_t z) {
    StartCellAnimation(world, sounds, x, y, z, open, anim);
  });
}

void ThrowLever(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z) {
  const std::uint8_t code = world.Map.GetCell(x, y, z);
  const ObjectType& lever = world.Types[code];
  if (!lever.Lever) return;
  const std::uint8_t open = CodeByte(lever.LeverOpen), anim = CodeByte(lever.LeverAnim);
  ForEachCellHolding(world.Map, code, [&](std::int32_t cx, std::int32_t cy, std::int32_t cz) {
    StartCellAnimation(world, sounds, cx, cy, cz, open, anim);
  });
  OpenDoors(world, sounds, lever.LeverDoor);
}

bool Dig(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t delay) {
  ObjectTables& tables = world.Tables;
  const std::uint8_t code = world.Map.GetCell(x, y, z);
  const ObjectType& type = world.Types[code];
  if (!type.Dig || !world.Types[CellAt(world.Map, x, std::int64_t{y} + 1, z)].Empty ||
      tables.LastHole >= kTableSize - 1) {
    return false;
  }
  Hole& hole = tables.Holes[static_cast<std::size_t>(++tables.LastHole)];
  hole = Hole{Centre(x), Centre(y), Centre(z), code, world.Now, delay};
  const std::uint8_t anim = CodeByte(type.DigAnim);
  Play(sounds, world.Types[anim], Rounded(hole.X), Rounded(hole.Y), Rounded(hole.Z));
  StartCellAnimation(world, sounds, x, y, z, 0, anim);
  // Only a Recover type closes again.
  if (!type.Recover) --tables.LastHole;
  return true;
}

bool Push(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t heading) {
  ObjectTables& tables = world.Tables;
  const std::uint8_t code = world.Map.GetCell(x, y, z);
  const ObjectType& type = world.Types[code];
  if (!type.CanPush || world.Types[CellAt(world.Map, x, std::int64_t{y} + 1, z)].CanPush) return false;
  const float ex = engine::AngleSin(heading) * kCellSize;
  const float ez = engine::AngleCos(heading) * kCellSize;
  float speedX = 0, speedZ = 0;
  if (std::fabs(ex) > std::fabs(ez)) {
    speedX = ex > 0 ? kPushSpeed : -kPushSpeed;
  } else {
    speedZ = ez > 0 ? kPushSpeed : -kPushSpeed;
  }
  if (tables.LastBlock >= kTableSize - 1 || type.Empty) return false;
  SlidingBlock& block = tables.Blocks[static_cast<std::size_t>(++tables.LastBlock)];
  block = SlidingBlock{Centre(x), Centre(y), Centre(z), speedX, 0, speedZ, code};
  Play(sounds, type, Rounded(block.X), Rounded(block.Y), Rounded(block.Z));
  world.Map.SetCell(x, y, z, 0);
  return true;
}

void BlendPoses(World& world) {
  const std::int32_t last = std::min<std::int32_t>(world.LastSlot, kPlayerSlotCount - 1);
  for (std::int32_t i = 0; i <= last; ++i) {
    PlayerSlot& slot = world.Players[static_cast<std::size_t>(i)];
    if (slot.Animation != slot.BlendTo) {
      slot.BlendFrom = slot.BlendTo;
      slot.BlendTo = slot.Animation;
      slot.BlendStart = world.Now;
    }
    const float factor = slot.AnimationTime <= 0 ? 1.0f
                                                 : std::min(1.0f, static_cast<float>(Elapsed(world, slot.BlendStart)) /
                                                                      static_cast<float>(slot.AnimationTime));
    const auto pose = [&slot](std::int32_t n) -> const engine::Mesh* {
      return n >= 0 && n < static_cast<std::int32_t>(slot.Poses.size()) ? &slot.Poses[static_cast<std::size_t>(n)]
                                                                        : nullptr;
    };
    const engine::Mesh* from = pose(slot.BlendFrom);
    const engine::Mesh* to = pose(slot.Animation);
    if (from != nullptr && to != nullptr) engine::MeshLerp(*from, *to, slot.WorkingMesh, factor);
    if (factor >= 1.0f) {
      slot.BlendFrom = slot.Animation;
      slot.BlendStart = world.Now;
    }
  }
}

}  // namespace zandrel::world
