// The blocks waiting for Receive: a ring of fixed size, filled by Service and emptied by
// Receive. Game blocks leave room for system blocks, so that a flood of game blocks can
// never make a joining or leaving player go unreported.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/dplay/dplay.h"

namespace zandrel::dplay {

struct QueuedBlock {
  DPID from = 0;
  DPID to = 0;
  Block block{};
};

class ReceiveQueue {
 public:
  static constexpr std::size_t kCapacity = 256;
  // Entries kept free for system blocks.
  static constexpr std::size_t kSystemReserve = 4 * kPlayerLimit;

  ReceiveQueue() : entries_(kCapacity) {}

  std::size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  void Clear() { head_ = size_ = 0; }

  bool HasRoomForGame() const { return size_ + kSystemReserve < kCapacity; }

  // False (nothing queued) when the ring has no room for a block of this kind.
  bool PushGame(DPID from, DPID to, const std::uint8_t* block) {
    if (!HasRoomForGame()) return false;
    QueuedBlock& entry = Append(from, to);
    std::memcpy(entry.block.data(), block, kBlockSize);
    return true;
  }
  // The block to fill in, or nullptr when even the reserve is used up.
  Block* PushSystem() {
    if (size_ == kCapacity) return nullptr;
    return &Append(DPID_SYSMSG, DPID_ALLPLAYERS).block;
  }

  const QueuedBlock& Front() const { return entries_[head_]; }
  void Pop() {
    head_ = (head_ + 1) % kCapacity;
    --size_;
  }

 private:
  QueuedBlock& Append(DPID from, DPID to) {
    QueuedBlock& entry = entries_[(head_ + size_) % kCapacity];
    ++size_;
    entry.from = from;
    entry.to = to;
    return entry;
  }

  std::vector<QueuedBlock> entries_;
  std::size_t head_ = 0;
  std::size_t size_ = 0;
};

}  // namespace zandrel::dplay
