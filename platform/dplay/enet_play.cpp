#include "platform/dplay/enet_play.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zandrel::dplay {

EnetPlay::EnetPlay(const Settings& settings, ProviderKind provider) : settings_(settings), provider_(provider) {}

EnetPlay::~EnetPlay() { Close(); }

HRESULT EnetPlay::Open(const SessionDesc& desc) {
  if (role_ != Role::kNone) return DPERR_ALREADYINITIALIZED;
  if (desc.dwSize != sizeof(SessionDesc)) return DPERR_INVALIDPARAM;
  if (desc.dwFlags == DPOPEN_CREATESESSION) return CreateSession(desc);
  if (desc.dwFlags == DPOPEN_OPENSESSION) return JoinSession(desc);
  return DPERR_INVALIDFLAGS;
}

HRESULT EnetPlay::CreatePlayer(DPID& player, std::string_view friendlyName, std::string_view formalName,
                               ReceiveEvent*& event) {
  if (role_ == Role::kNone) return DPERR_NOCONNECTION;
  if (localId_ != 0) return DPERR_CANTCREATEPLAYER;
  const wire::PlayerRecord record{0, FitName(friendlyName, kFriendlyNameSize), FitName(formalName, kFormalNameSize)};
  const HRESULT result = role_ == Role::kHost ? CreateHostPlayer(record) : CreateJoinerPlayer(record);
  if (Failed(result)) return result;
  player = localId_;
  event = &event_;
  return DP_OK;
}

HRESULT EnetPlay::Send(DPID from, DPID to, std::uint32_t flags, const void* data, std::uint32_t size) {
  if (data == nullptr || size != kBlockSize) return DPERR_INVALIDPARAM;
  if (localId_ == 0 || from != localId_) return DPERR_INVALIDPLAYER;
  if (to != DPID_ALLPLAYERS && FindPlayer(to) == nullptr) return DPERR_INVALIDPLAYER;
  const auto* block = static_cast<const std::uint8_t*>(data);
  const std::uint8_t channel = (flags & DPSEND_GUARANTEE) != 0 ? wire::kReliableChannel : wire::kSequencedChannel;
  if (role_ == Role::kHost) {
    Route(from, to, channel, block, nullptr);
  } else if (hostPeer_ == nullptr) {
    return DPERR_SESSIONLOST;
  } else if (to == localId_) {
    QueueBlock(from, to, block);
  } else {
    ENetPeer* const peers[] = {hostPeer_};
    SendBlock(peers, channel, from, to, block);
  }
  ++traffic_.sent;
  enet_host_flush(host_);
  return DP_OK;
}

HRESULT EnetPlay::Receive(DPID& from, DPID& to, std::uint32_t flags, void* data, std::uint32_t& size) {
  if (flags != DPRECEIVE_ALL) return DPERR_INVALIDFLAGS;
  if (data == nullptr) return DPERR_INVALIDPARAM;
  if (queue_.Empty()) return DPERR_NOMESSAGES;
  if (size < kBlockSize) {
    size = kBlockSize;
    return DPERR_BUFFERTOOSMALL;
  }
  const QueuedBlock& entry = queue_.Front();
  from = entry.from;
  to = entry.to;
  std::memcpy(data, entry.block.data(), kBlockSize);
  size = kBlockSize;
  queue_.Pop();
  return DP_OK;
}

HRESULT EnetPlay::Close() {
  if (host_ != nullptr) {
    // Tell the others now: whoever is left sees the players of this machine deleted.
    for (std::size_t i = 0; i < host_->peerCount; ++i) {
      ENetPeer& peer = host_->peers[i];
      if (peer.state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect_now(&peer, DP_OK);
    }
  }
  TearDown();
  return DP_OK;
}

void EnetPlay::TearDown() {
  if (host_ != nullptr) enet_host_destroy(host_);
  host_ = nullptr;
  if (infoSocket_ != ENET_SOCKET_NULL) enet_socket_destroy(infoSocket_);
  infoSocket_ = ENET_SOCKET_NULL;
  role_ = Role::kNone;
  players_.clear();
  peers_.clear();
  localId_ = 0;
  hostPeer_ = nullptr;
  admitted_ = false;
  awaitingPlayer_ = false;
  joinedSession_ = 0;
  queue_.Clear();
  event_.Reset();
}

void EnetPlay::Service() {
  if (host_ == nullptr) return;
  // What cannot be queued now stays with ENet until Receive has made room: a burst of
  // guaranteed blocks is delayed by a frame, not lost.
  ENetEvent event;
  for (int handled = 0; handled < kServiceEventLimit && queue_.HasRoomForGame(); ++handled) {
    if (enet_host_service(host_, &event, 0) <= 0) break;
    Handle(event);
  }
  if (role_ == Role::kHost) AnswerQueries();
  enet_host_flush(host_);
}

void EnetPlay::Handle(const ENetEvent& event) {
  switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
      if (role_ == Role::kHost) {
        HostConnect(event.peer, event.data);
      } else if (event.peer == hostPeer_) {
        JoinerConnect();
      }
      break;
    case ENET_EVENT_TYPE_DISCONNECT:
      if (role_ == Role::kHost) {
        HostDisconnect(event.peer);
      } else if (event.peer == hostPeer_) {
        JoinerDisconnect(event.data);
      }
      break;
    case ENET_EVENT_TYPE_RECEIVE: {
      const std::span<const std::uint8_t> packet(event.packet->data, event.packet->dataLength);
      if (role_ == Role::kHost) {
        HostPacket(event.peer, event.channelID, packet);
      } else if (event.peer == hostPeer_) {
        JoinerPacket(packet);
      }
      enet_packet_destroy(event.packet);
      break;
    }
    case ENET_EVENT_TYPE_NONE: break;
  }
}

bool EnetPlay::WaitUntil(const std::function<bool()>& done, std::uint32_t timeoutMs) {
  const std::uint32_t start = enet_time_get();
  while (!done()) {
    const std::uint32_t elapsed = enet_time_get() - start;
    if (elapsed >= timeoutMs || host_ == nullptr) return false;
    ENetEvent event;
    const int result = enet_host_service(host_, &event, timeoutMs - elapsed);
    if (result < 0) return false;
    if (result > 0) Handle(event);
  }
  return true;
}

void EnetPlay::ApplyTimeouts(ENetPeer* peer) const {
  // ENet gives up on a peer once its oldest unanswered command is `limit` old; a ping
  // goes out whenever the line has been quiet for `ping`, so silence is noticed in time.
  const std::uint32_t total = std::max<std::uint32_t>(settings_.peerTimeoutMs, 200);
  const std::uint32_t ping = std::min<std::uint32_t>(500, total / 4);
  const std::uint32_t limit = total - ping;
  enet_peer_ping_interval(peer, ping);
  enet_peer_timeout(peer, 0, limit / 2, limit);
}

void EnetPlay::SendControl(ENetPeer* peer, const wire::Bytes& packet) {
  ENetPacket* message = enet_packet_create(packet.data(), packet.size(), ENET_PACKET_FLAG_RELIABLE);
  if (message != nullptr && enet_peer_send(peer, wire::kReliableChannel, message) < 0) enet_packet_destroy(message);
}

void EnetPlay::SendBlock(std::span<ENetPeer* const> peers, std::uint8_t channel, DPID from, DPID to,
                         const std::uint8_t* block) {
  if (peers.empty()) return;
  const enet_uint32 flags = channel == wire::kReliableChannel ? ENET_PACKET_FLAG_RELIABLE : 0;
  ENetPacket* packet = enet_packet_create(nullptr, wire::kBlockPacketSize, flags);
  if (packet == nullptr) return;
  wire::WriteBlockPacket(packet->data, from, to, block);
  for (ENetPeer* peer : peers) enet_peer_send(peer, channel, packet);
  // ENet frees a packet once every peer it was queued for has sent it.
  if (packet->referenceCount == 0) enet_packet_destroy(packet);
}

void EnetPlay::QueueBlock(DPID from, DPID to, const std::uint8_t* block) {
  if (!queue_.PushGame(from, to, block)) {
    ++traffic_.dropped;
    return;
  }
  ++traffic_.received;
  event_.Set();
}

void EnetPlay::QueueAddPlayer(const wire::PlayerRecord& player) {
  Block* block = queue_.PushSystem();
  if (block == nullptr) return;
  wire::WriteAddPlayerBlock(*block, player, static_cast<std::uint32_t>(players_.size()));
  event_.Set();
}

void EnetPlay::QueueDeletePlayer(DPID player) {
  Block* block = queue_.PushSystem();
  if (block == nullptr) return;
  wire::WriteDeletePlayerBlock(*block, player);
  event_.Set();
}

EnetPlay::Player* EnetPlay::FindPlayer(DPID id) {
  const auto found =
      std::find_if(players_.begin(), players_.end(), [id](const Player& p) { return p.record.id == id; });
  return found == players_.end() ? nullptr : &*found;
}

}  // namespace zandrel::dplay
