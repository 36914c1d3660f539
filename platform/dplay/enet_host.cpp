// The session's host: admission, identifiers, the player list, relaying and the
// information socket.
#include <algorithm>
#include <array>

#include "platform/dplay/enet_play.h"

namespace zandrel::dplay {
namespace {

bool ResolveBindAddress(const std::string& name, std::uint16_t port, ENetAddress& address) {
  address.host = ENET_HOST_ANY;
  address.port = port;
  return name.empty() || enet_address_set_host(&address, name.c_str()) == 0;
}

ENetSocket OpenInfoSocket(const ENetAddress& address) {
  ENetSocket socket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
  if (socket == ENET_SOCKET_NULL) return socket;
  if (enet_socket_set_option(socket, ENET_SOCKOPT_NONBLOCK, 1) < 0 || enet_socket_bind(socket, &address) < 0) {
    enet_socket_destroy(socket);
    return ENET_SOCKET_NULL;
  }
  return socket;
}

}  // namespace

HRESULT EnetPlay::CreateSession(const SessionDesc& desc) {
  const std::uint32_t maxPlayers = desc.dwMaxPlayers == 0 ? kPlayerLimit : desc.dwMaxPlayers;
  if (maxPlayers > kPlayerLimit || settings_.port == 0 || settings_.port == 0xFFFF) return DPERR_INVALIDPARAM;
  ENetAddress game;
  if (!ResolveBindAddress(settings_.bindAddress, settings_.port, game)) return DPERR_CANTCREATESESSION;
  ENetAddress info = game;
  ++info.port;
  infoSocket_ = OpenInfoSocket(info);
  if (infoSocket_ == ENET_SOCKET_NULL) return DPERR_CANTCREATESESSION;
  host_ = enet_host_create(&game, maxPlayers - 1 + kSparePeers, wire::kChannelCount, 0, 0);
  if (host_ == nullptr) {
    TearDown();
    return DPERR_CANTCREATESESSION;
  }
  host_->maximumPacketSize = kMaximumPacketSize;
  host_->maximumWaitingData = kMaximumWaitingData;
  peers_.assign(host_->peerCount, PeerState{});
  session_ = HostedSession{desc.guidSession, FieldText(desc.szSessionName, kSessionNameSize),
                           FieldText(desc.szPassword, kPasswordSize), maxPlayers};
  nextId_ = 1;
  role_ = Role::kHost;
  return DP_OK;
}

HRESULT EnetPlay::CreateHostPlayer(const wire::PlayerRecord& player) {
  Player local{player, nullptr};
  local.record.id = nextId_++;
  localId_ = local.record.id;
  players_.push_back(local);
  TellWelcomed(wire::EncodeAddPlayer(local.record), nullptr);
  return DP_OK;
}

bool EnetPlay::PasswordFits(const std::string& password) const {
  return session_.password.empty() || password == session_.password;
}

EnetPlay::PeerState& EnetPlay::StateOf(const ENetPeer* peer) {
  return peers_[static_cast<std::size_t>(peer - host_->peers)];
}

std::uint32_t EnetPlay::SeatsTaken() const {
  // The host's own seat, taken from the start, and every admitted connection's.
  return 1 + static_cast<std::uint32_t>(
                 std::count_if(peers_.begin(), peers_.end(), [](const PeerState& s) { return s.accepted; }));
}

std::vector<wire::PlayerRecord> EnetPlay::PlayerRecords() const {
  std::vector<wire::PlayerRecord> records;
  records.reserve(players_.size());
  for (const Player& player : players_) records.push_back(player.record);
  return records;
}

void EnetPlay::HostConnect(ENetPeer* peer, std::uint32_t version) {
  PeerState& state = StateOf(peer);
  state = PeerState{};
  if (version != wire::kProtocolVersion) {
    enet_peer_disconnect(peer, DPERR_UNSUPPORTED);
  } else if (SeatsTaken() >= session_.maxPlayers) {
    // Turned away before it takes part: the player list stays as it is.
    enet_peer_disconnect(peer, DPERR_NONEWPLAYERS);
  } else {
    state.accepted = true;
    state.credit = kPeerBurst * 1000;
    state.creditTime = host_->serviceTime;
    ApplyTimeouts(peer);
    // A non-guaranteed block is a position, small and always the latest word. ENet's
    // throttle would drop such blocks at random whenever a round trip takes longer than the
    // last (a busy machine does that on loopback too), so it never closes: no deceleration.
    // Set once connected (the joiner checks the values it asked for while connecting) and
    // sent to the joiner, whose side takes the same values.
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_ACCELERATION, 0);
  }
}

bool EnetPlay::TakeCredit(PeerState& state) {
  const std::uint64_t elapsed = host_->serviceTime - state.creditTime;
  state.creditTime = host_->serviceTime;
  state.credit = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(state.credit + elapsed * kPeerBlocksPerSecond, kPeerBurst * 1000));
  if (state.credit < 1000) return false;
  state.credit -= 1000;
  return true;
}

void EnetPlay::HostDisconnect(ENetPeer* peer) {
  PeerState& state = StateOf(peer);
  const DPID player = state.player;
  state = PeerState{};
  if (player == 0) return;
  std::erase_if(players_, [player](const Player& p) { return p.record.id == player; });
  QueueDeletePlayer(player);
  TellWelcomed(wire::EncodeDeletePlayer(player), peer);
}

void EnetPlay::HostPacket(ENetPeer* peer, std::uint8_t channel, std::span<const std::uint8_t> packet) {
  PeerState& state = StateOf(peer);
  if (!state.accepted) return;  // being turned away; whatever it still says is moot
  const std::optional<std::uint32_t> kind = wire::PacketKind(packet);
  if (kind == wire::kBlock) {
    const std::optional<wire::BlockView> block = wire::DecodeBlockPacket(packet);
    if (!block || state.player == 0) return Refuse();
    if (!TakeCredit(state)) {
      ++traffic_.dropped;
      return;
    }
    // The sender is the connection's player, whatever the packet claims.
    Route(state.player, block->to, channel, block->block, peer);
  } else if (kind == wire::kHello) {
    HostHello(peer, state, packet);
  } else if (kind == wire::kCreatePlayer) {
    HostCreatePlayer(peer, state, packet);
  } else {
    Refuse();
  }
}

void EnetPlay::HostHello(ENetPeer* peer, PeerState& state, std::span<const std::uint8_t> packet) {
  const std::optional<wire::Hello> hello = wire::DecodeHello(packet);
  if (!hello || state.welcomed) return Refuse();
  HRESULT refusal = DP_OK;
  if (hello->version != wire::kProtocolVersion) {
    refusal = DPERR_UNSUPPORTED;
  } else if (hello->application != session_.application) {
    refusal = DPERR_UNAVAILABLE;
  } else if (!PasswordFits(hello->password)) {
    refusal = DPERR_INVALIDPASSWORD;
  }
  if (refusal != DP_OK) {
    state.accepted = false;
    enet_peer_disconnect(peer, refusal);
    return;
  }
  state.welcomed = true;
  SendControl(peer, wire::EncodeWelcome(PlayerRecords()));
}

void EnetPlay::HostCreatePlayer(ENetPeer* peer, PeerState& state, std::span<const std::uint8_t> packet) {
  std::optional<wire::PlayerRecord> player = wire::DecodeCreatePlayer(packet);
  if (!player || !state.welcomed || state.player != 0) return Refuse();
  player->id = nextId_++;
  state.player = player->id;
  players_.push_back(Player{*player, peer});
  SendControl(peer, wire::EncodePlayerCreated(player->id));
  TellWelcomed(wire::EncodeAddPlayer(*player), peer);
  QueueAddPlayer(*player);
}

void EnetPlay::TellWelcomed(const wire::Bytes& packet, const ENetPeer* except) {
  for (std::size_t i = 0; i < peers_.size(); ++i) {
    ENetPeer* peer = &host_->peers[i];
    if (peers_[i].welcomed && peer != except) SendControl(peer, packet);
  }
}

void EnetPlay::Route(DPID from, DPID to, std::uint8_t channel, const std::uint8_t* block, const ENetPeer* source) {
  std::array<ENetPeer*, kPlayerLimit> targets{};
  std::size_t count = 0;
  if (to == DPID_ALLPLAYERS) {
    if (localId_ != 0 && from != localId_) QueueBlock(from, to, block);
    for (const Player& player : players_) {
      if (player.peer != nullptr && player.peer != source && count < targets.size()) targets[count++] = player.peer;
    }
  } else if (to == localId_) {
    QueueBlock(from, to, block);
  } else if (const Player* player = FindPlayer(to); player != nullptr && player->peer != nullptr) {
    targets[count++] = player->peer;
  } else {
    ++traffic_.dropped;  // its player has just left
  }
  SendBlock(std::span(targets.data(), count), channel, from, to, block);
}

void EnetPlay::AnswerQueries() {
  std::array<std::uint8_t, wire::kLargestDatagram> buffer;
  for (int answered = 0; answered < kQueryLimit; ++answered) {
    ENetAddress from;
    ENetBuffer received{buffer.data(), buffer.size()};
    const int length = enet_socket_receive(infoSocket_, &from, &received, 1);
    if (length == 0) return;
    const std::optional<wire::Query> query =
        length < 0 ? std::nullopt : wire::DecodeQuery(std::span(buffer.data(), static_cast<std::size_t>(length)));
    if (!query) {
      Refuse();
      continue;
    }
    if (query->application != session_.application || !PasswordFits(query->password)) continue;
    wire::Bytes reply;
    if (query->kind == wire::kQuerySession) {
      const std::uint32_t seats = SeatsTaken();
      if (seats >= session_.maxPlayers && (query->flags & DPENUMSESSIONS_ALL) == 0) continue;
      reply = wire::EncodeSessionReply(
          {query->nonce, settings_.port, seats, session_.maxPlayers, session_.application, session_.name});
    } else {
      reply = wire::EncodePlayersReply(query->nonce, PlayerRecords());
    }
    const ENetBuffer answer{reply.data(), reply.size()};
    enet_socket_send(infoSocket_, &from, &answer, 1);
  }
}

}  // namespace zandrel::dplay
