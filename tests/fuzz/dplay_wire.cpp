// The network layer's packets and information datagrams: every decoder over the same bytes.
#include <algorithm>
#include <cstdint>

#include "platform/dplay/wire.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel::dplay;
  const auto bytes = zandrel::fuzz::Bytes(data, size);
  wire::PacketKind(bytes);
  wire::DecodeHello(bytes);
  wire::DecodeWelcome(bytes);
  wire::DecodeCreatePlayer(bytes);
  wire::DecodeAddPlayer(bytes);
  if (const auto kind = wire::PacketKind(bytes)) wire::DecodePlayerId(bytes, *kind);
  if (const auto block = wire::DecodeBlockPacket(bytes)) {
    std::uint8_t copy[kBlockSize];
    std::copy_n(block->block, kBlockSize, copy);
  }
  wire::DecodeQuery(bytes);
  wire::DecodeSessionReply(bytes);
  wire::DecodePlayersReply(bytes);
  return 0;
}
