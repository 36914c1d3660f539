// How the level's objects act: the per-type animations and loop sounds, the cell
// animations that play when a cell changes, dug holes that close again, pushed blocks
// that slide, key blocks on their sensors, levers and doors, and the players' poses.
#pragma once

#include <cstdint>

#include "engine/render_view.h"
#include "world/world.h"
#include "world/world_sounds.h"

namespace zandrel::world {

// Milliseconds between two steps of the texture animations.
constexpr std::uint32_t kTextureStepTime = 66;
// Speed per 90 ms of a block the hero pushes.
constexpr float kPushSpeed = 84.0f;
// A sliding block moving less than this in one frame (sum over the three axes) stops.
constexpr float kBlockStopDistance = 10.0f;
// A sliding block falls by this much more per 90 ms every 90 ms.
constexpr float kBlockGravity = 28.0f;
// The body of a sliding block.
constexpr std::int32_t kBlockHeight = 509, kBlockWidth = 341;

// One play frame of the objects, in this order: texture animations (every 66 ms), each
// type's loop sound and animation frame, the sliding blocks, the holes due to close and
// the cell animations. Allocates nothing beyond a working mesh's first use.
void UpdateWorld(World& world, engine::RenderView& view, WorldSounds& sounds);

// Plays type animType's frames in the cell, which stays empty (code 0) until the last
// frame and then takes finalCode. With all animation slots taken the cell takes finalCode
// at once.
void StartCellAnimation(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z,
                        std::uint8_t finalCode, std::uint8_t animType);

// Opens every door of that code (a code whose type is not a door opens nothing).
void OpenDoors(World& world, WorldSounds& sounds, std::int32_t doorCode);

// Throws every lever holding the cell's code, then opens the levers' doors; a cell that is
// not a lever does nothing.
void ThrowLever(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z);

// Digs the cell away: a Recover type closes again `delay` ms later. Answers false when
// refused: not a Dig type, something above it, or the hole table full.
bool Dig(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t delay);

// Starts the cell's block sliding along the axis nearest to the heading. Answers false
// when refused: not a CanPush type, another pushable block on it, or the table full.
bool Push(World& world, WorldSounds& sounds, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t heading);

// Blends every player slot's working mesh from the pose it showed before toward its
// `Animation` pose over `AnimationTime` ms.
void BlendPoses(World& world);

}  // namespace zandrel::world
