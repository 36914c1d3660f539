// The four player records: the local hero and up to three network players.
#pragma once

#include <array>
#include <cstdint>

#include "engine/mesh.h"
#include "input/control_flags.h"
#include "world/world_sounds.h"

namespace zandrel::world {

// The hero's poses, numbered as the bank's keys "Hero", "Hero_Walk1" .. "Hero_Shoot" are;
// a slot's Animation holds one (network messages carry it as a number).
enum Pose : std::int32_t {
  kPoseStand,
  kPoseWalk1,
  kPoseWalk2,
  kPoseWalk3,
  kPoseWalk4,
  kPoseFall,
  kPoseCrouch,
  kPoseDead,
  kPoseLadder1,
  kPoseLadder2,
  kPoseShoot,
};
constexpr int kPoseCount = 11;

struct PlayerSlot {
  float X = 0, Y = 0, Z = 0;  // body centre, world units
  float CamX = 0, CamY = 0, CamZ = 0;
  float CamYaw = 0, CamPitch = 0, CamRoll = 0;         // the view of this slot's camera
  std::int32_t TargetX = 0, TargetY = 0, TargetZ = 0;  // the cell button 3 acts on
  float Heading = 0;                                   // angle units
  float Pitch = 0, PitchTarget = 0;
  float Roll = 0, RollTarget = 0;
  float VelX = 0, VelY = 0, VelZ = 0;  // per 90 ms
  float TurnDelta = 0;
  float VerticalSpeed = 0;  // per 90 ms; negative when falling
  bool Landed = false;
  std::int32_t ActionTimer = 0;  // ms
  std::int32_t Animation = 0;
  std::int32_t AnimationTime = 0;  // ms
  float WalkPhase = 0;
  std::int32_t Width = 260, Height = 480, StepHeight = 256;
  bool Climbing = false;
  std::int32_t LadderHeading = 0;  // the yaw the body is drawn with while climbing
  float LadderOffsetX = 0, LadderOffsetZ = 0;
  float LightRadius = 5000, LightTarget = 5000;
  bool Dead = false;
  std::int32_t Lives = 3;
  std::int32_t LevelIndex = 0;
  float View = 0, SavedView = 0;
  std::int32_t WalkSpeed = 50, TurnSpeed = 900;
  input::ControlFlags Controls{};
  std::uint32_t PlayerId = 0;
  // A network player who left the session: the slot keeps its number and its last place,
  // and is neither moved, drawn nor watched any more.
  bool Gone = false;

  // From the object bank: the poses (Pose), the working mesh the poses are blended into,
  // the shadow and the sounds.
  std::array<engine::Mesh, kPoseCount> Poses{};
  engine::Mesh WorkingMesh;
  // The pose blend shown in WorkingMesh: from BlendFrom toward BlendTo, the pose last
  // asked for, since BlendStart (ms).
  std::int32_t BlendFrom = 0, BlendTo = 0;
  std::uint32_t BlendStart = 0;
  engine::Mesh Shadow;
  SoundHandle StepSound = kNoSound, HurtSound = kNoSound, DeathSound = kNoSound;
};

// The next step of a walk: walk 1 to walk 4 in turn (from any other pose, walk 1), each
// shown for 200 ms. Answers whether a foot came down (walk 1 and walk 3), when the step
// is heard.
inline bool NextWalkPose(PlayerSlot& slot) {
  slot.WalkPhase = 0;
  slot.Animation = slot.Animation >= kPoseWalk1 && slot.Animation < kPoseWalk4 ? slot.Animation + 1 : kPoseWalk1;
  slot.AnimationTime = 200;
  return slot.Animation == kPoseWalk1 || slot.Animation == kPoseWalk3;
}

constexpr int kPlayerSlotCount = 4;
using PlayerSlots = std::array<PlayerSlot, kPlayerSlotCount>;

}  // namespace zandrel::world
