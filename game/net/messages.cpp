#include "game/net/messages.h"

#include "world/movement.h"

namespace zandrel::net {
namespace {

void Put(dplay::Block& block, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t Get(BlockView block, std::size_t offset) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

}  // namespace

void EncodeStart(const StartMessage& message, dplay::Block& block) {
  block.fill(0);
  Put(block, 0, static_cast<std::int32_t>(kStartMessage));
  block[4] = message.Slot;
  block[5] = message.LastSlot;
}

StartMessage DecodeStart(BlockView block) { return {block[4], block[5]}; }

PositionMessage PositionOf(const world::PlayerSlot& slot, std::uint8_t index) {
  using world::TruncateToInt;
  return {index,
          TruncateToInt(slot.X),
          TruncateToInt(slot.Y),
          TruncateToInt(slot.Z),
          TruncateToInt(slot.Heading),
          TruncateToInt(slot.VelX),
          TruncateToInt(slot.VelY),
          TruncateToInt(slot.VelZ),
          TruncateToInt(slot.TurnDelta),
          slot.Animation,
          slot.AnimationTime};
}

void EncodePosition(const PositionMessage& m, dplay::Block& block) {
  block.fill(0);
  Put(block, 0, static_cast<std::int32_t>(kPositionMessage));
  block[4] = m.Slot;
  std::size_t offset = 8;
  for (const std::int32_t value :
       {m.X, m.Y, m.Z, m.Heading, m.VelX, m.VelY, m.VelZ, m.TurnDelta, m.Animation, m.AnimationTime}) {
    Put(block, offset, value);
    offset += 4;
  }
}

PositionMessage DecodePosition(BlockView block) {
  PositionMessage m;
  m.Slot = block[4];
  std::size_t offset = 8;
  for (std::int32_t* value :
       {&m.X, &m.Y, &m.Z, &m.Heading, &m.VelX, &m.VelY, &m.VelZ, &m.TurnDelta, &m.Animation, &m.AnimationTime}) {
    *value = Get(block, offset);
    offset += 4;
  }
  return m;
}

void ApplyPosition(const PositionMessage& m, world::PlayerSlot& slot) {
  slot.X = static_cast<float>(m.X);
  slot.Y = static_cast<float>(m.Y);
  slot.Z = static_cast<float>(m.Z);
  slot.Heading = static_cast<float>(m.Heading);
  slot.VelX = static_cast<float>(m.VelX);
  slot.VelY = static_cast<float>(m.VelY);
  slot.VelZ = static_cast<float>(m.VelZ);
  slot.TurnDelta = static_cast<float>(m.TurnDelta);
  slot.Animation = m.Animation;
  slot.AnimationTime = m.AnimationTime;
}

}  // namespace zandrel::net
