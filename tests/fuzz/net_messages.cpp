// The game's messages in 260-byte blocks, as a joined machine takes them: the input is
// cut into blocks, the last one padded with zeros.
#include <algorithm>

#include "game/net/messages.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  world::PlayerSlot slot;
  for (std::size_t at = 0; at < size; at += net::kBlockSize) {
    dplay::Block block{};
    std::copy_n(data + at, std::min(net::kBlockSize, size - at), block.begin());
    const net::BlockView view(block);
    net::DecodeStart(view);
    const net::PositionMessage position = net::DecodePosition(view);
    net::ApplyPosition(position, slot);
    net::EncodePosition(net::PositionOf(slot, position.Slot), block);
  }
  return 0;
}
