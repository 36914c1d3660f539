#include "game/net/messages.h"

#include <gtest/gtest.h>

#include <limits>

namespace zandrel::net {
namespace {

std::int32_t WordAt(const dplay::Block& block, std::size_t offset) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

TEST(GameMessages, StartCarriesTheReceiversSlotAndLastSlot) {
  dplay::Block block;
  block.fill(0xEE);
  EncodeStart({2, 3}, block);
  EXPECT_EQ(WordAt(block, 0), 0);
  EXPECT_EQ(block[4], 2);
  EXPECT_EQ(block[5], 3);
  EXPECT_EQ(block[6], 0) << "the rest is cleared";
  const StartMessage start = DecodeStart(BlockView(block));
  EXPECT_EQ(start.Slot, 2);
  EXPECT_EQ(start.LastSlot, 3);
}

TEST(GameMessages, PositionTruncatesTowardZeroAtItsOffsets) {
  world::PlayerSlot slot;
  slot.X = 1000.9f;
  slot.Y = -20.7f;
  slot.Z = 3e10f;  // beyond 32 bits: saturated, not undefined
  slot.Heading = 8191.5f;
  slot.VelX = -0.5f;
  slot.VelY = 1.5f;
  slot.VelZ = -7.9f;
  slot.TurnDelta = 300.2f;
  slot.Animation = world::kPoseLadder1;
  slot.AnimationTime = 200;
  dplay::Block block;
  EncodePosition(PositionOf(slot, 3), block);
  EXPECT_EQ(WordAt(block, 0), 1);
  EXPECT_EQ(block[4], 3);
  const std::int32_t expected[] = {
      1000, -20, std::numeric_limits<std::int32_t>::max(), 8191, 0, 1, -7, 300, world::kPoseLadder1, 200};
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(WordAt(block, 8 + 4 * i), expected[i]) << i;

  world::PlayerSlot other;
  ApplyPosition(DecodePosition(BlockView(block)), other);
  EXPECT_EQ(other.X, 1000);
  EXPECT_EQ(other.Y, -20);
  EXPECT_EQ(other.VelZ, -7);
  EXPECT_EQ(other.TurnDelta, 300);
  EXPECT_EQ(other.Animation, world::kPoseLadder1);
  EXPECT_EQ(other.AnimationTime, 200);
}

}  // namespace
}  // namespace zandrel::net
