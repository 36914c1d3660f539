// A peer that speaks ENet itself and says whatever it likes to a session's host: the
// hostile peer of the layer's tests and of the game's.
#pragma once

#include <enet/enet.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/dplay/dplay.h"
#include "platform/dplay/wire.h"

namespace zandrel::dplay::loopback {

struct Arrival {
  std::uint8_t channel = 0;
  bool reliable = false;
  wire::Bytes bytes;
};

class RawPeer {
 public:
  explicit RawPeer(const Settings& target) {
    host_ = enet_host_create(nullptr, 1, wire::kChannelCount, 0, 0);
    ENetAddress address;
    enet_address_set_host(&address, target.bindAddress.c_str());
    address.port = target.port;
    peer_ = enet_host_connect(host_, &address, wire::kChannelCount, wire::kProtocolVersion);
  }
  ~RawPeer() { enet_host_destroy(host_); }
  RawPeer(const RawPeer&) = delete;
  RawPeer& operator=(const RawPeer&) = delete;

  void Send(const wire::Bytes& bytes, std::uint8_t channel = wire::kReliableChannel, bool reliable = true) {
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    ASSERT_EQ(enet_peer_send(peer_, channel, packet), 0);
  }
  void SendBlock(DPID claimedSender, DPID to, const Block& block, bool reliable = true) {
    wire::Bytes bytes(wire::kBlockPacketSize);
    wire::WriteBlockPacket(bytes.data(), claimedSender, to, block.data());
    Send(bytes, reliable ? wire::kReliableChannel : wire::kSequencedChannel, reliable);
  }

  void Service() {
    ENetEvent event;
    while (enet_host_service(host_, &event, 0) > 0) {
      if (event.type == ENET_EVENT_TYPE_CONNECT) connected = true;
      if (event.type != ENET_EVENT_TYPE_RECEIVE) continue;
      const bool reliable = (event.packet->flags & ENET_PACKET_FLAG_RELIABLE) != 0;
      arrivals.push_back(
          {event.channelID, reliable, wire::Bytes(event.packet->data, event.packet->data + event.packet->dataLength)});
      enet_packet_destroy(event.packet);
    }
  }
  bool Heard(std::uint32_t kind) const {
    for (const Arrival& a : arrivals) {
      if (wire::PacketKind(a.bytes) == kind) return true;
    }
    return false;
  }

  bool connected = false;
  std::vector<Arrival> arrivals;

 private:
  ENetHost* host_ = nullptr;
  ENetPeer* peer_ = nullptr;
};

}  // namespace zandrel::dplay::loopback
