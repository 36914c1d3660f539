// The two game messages the players exchange, little-endian in 260-byte blocks; the bytes
// after their fields carry nothing and are ignored.
//   start (type 0):    4 receiver's slot index, 5 the game's LastSlot
//   position (type 1): 4 sender's slot index, 8..36 X Y Z Heading VelX VelY VelZ TurnDelta
//                      (signed, truncated toward zero), 40 Animation, 44 AnimationTime (ms)
#pragma once

#include <cstdint>

#include "game/net/net_play.h"
#include "world/player_slot.h"

namespace zandrel::net {

constexpr std::uint32_t kStartMessage = 0;
constexpr std::uint32_t kPositionMessage = 1;

struct StartMessage {
  std::uint8_t Slot = 0;
  std::uint8_t LastSlot = 0;
};

struct PositionMessage {
  std::uint8_t Slot = 0;
  std::int32_t X = 0, Y = 0, Z = 0, Heading = 0;
  std::int32_t VelX = 0, VelY = 0, VelZ = 0, TurnDelta = 0;
  std::int32_t Animation = 0, AnimationTime = 0;
};

void EncodeStart(const StartMessage& message, dplay::Block& block);
StartMessage DecodeStart(BlockView block);

// The slot's place and motion as the position message of slot `index` carries it.
PositionMessage PositionOf(const world::PlayerSlot& slot, std::uint8_t index);
void EncodePosition(const PositionMessage& message, dplay::Block& block);
PositionMessage DecodePosition(BlockView block);
// The slot takes the message's place, motion and pose.
void ApplyPosition(const PositionMessage& message, world::PlayerSlot& slot);

}  // namespace zandrel::net
