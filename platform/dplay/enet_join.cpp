// The joiner: finding sessions, their players, joining, creating its player and hearing
// from the host.
#include <algorithm>
#include <array>

#include "platform/dplay/address.h"
#include "platform/dplay/enet_play.h"

namespace zandrel::dplay {
namespace {

bool Resolve(const std::string& host, std::uint16_t port, ENetAddress& address) {
  address.port = port;
  return enet_address_set_host(&address, host.c_str()) == 0;
}

bool SameAddress(const ENetAddress& a, const ENetAddress& b) { return a.host == b.host && a.port == b.port; }

}  // namespace

HRESULT EnetPlay::SessionTargets(std::vector<ENetAddress>& targets) {
  const auto infoPort = static_cast<std::uint16_t>(settings_.port + 1);
  if (provider_ == ProviderKind::kLocalNetwork) {
    for (const std::string& name : settings_.discoveryAddresses) {
      ENetAddress address;
      if (!Resolve(name, infoPort, address)) return DPERR_INVALIDPARAM;
      targets.push_back(address);
    }
    return DP_OK;
  }
  if (settings_.addressPrompt == nullptr) return DP_OK;
  const std::optional<std::string> answer = settings_.addressPrompt->AskAddress();
  if (!answer || answer->empty()) return DPERR_USERCANCEL;
  const std::optional<HostAndPort> place = ParseHostAndPort(*answer, settings_.port);
  ENetAddress address;
  if (!place || !Resolve(place->host, static_cast<std::uint16_t>(place->port + 1), address)) return DPERR_INVALIDPARAM;
  targets.push_back(address);
  return DP_OK;
}

HRESULT EnetPlay::EnumSessions(const SessionDesc& desc, std::uint32_t timeoutMs, const EnumSessionsCallback& callback,
                               std::uint32_t flags) {
  if (desc.dwSize != sizeof(SessionDesc)) return DPERR_INVALIDPARAM;
  std::vector<ENetAddress> targets;
  if (const HRESULT result = SessionTargets(targets); Failed(result)) return result;
  const wire::Query query{wire::kQuerySession, ++nonce_, flags, desc.guidSession,
                          FieldText(desc.szPassword, kPasswordSize)};
  std::vector<FoundSession> found;
  // Only one session can answer at an address the player typed.
  const bool oneAnswer = provider_ == ProviderKind::kAddress;
  const auto answer = [&](std::span<const std::uint8_t> datagram, const ENetAddress& from) {
    const std::optional<wire::SessionReply> reply = wire::DecodeSessionReply(datagram);
    if (!reply || reply->nonce != query.nonce || reply->application != desc.guidSession) return false;
    FoundSession session;
    session.game = ENetAddress{from.host, reply->gamePort};
    session.info = from;
    session.password = query.password;
    const bool known = std::any_of(found.begin(), found.end(),
                                   [&](const FoundSession& f) { return SameAddress(f.game, session.game); });
    if (known || found.size() >= kPlayerLimit * 4) return false;
    session.desc.guidSession = reply->application;
    session.desc.dwMaxPlayers = reply->maxPlayers;
    session.desc.dwCurrentPlayers = reply->currentPlayers;
    CopyName(reply->name, session.desc.szSessionName, kSessionNameSize);
    found.push_back(session);
    return oneAnswer;
  };
  if (!targets.empty() && !Ask(targets, query, timeoutMs == 0 ? kDefaultEnumTimeoutMs : timeoutMs, answer)) {
    return DPERR_NOCONNECTION;
  }
  for (FoundSession& session : found) session.desc.dwSession = ++lastSessionNumber_;
  found_ = std::move(found);
  for (const FoundSession& session : found_) {
    if (!callback(session.desc)) break;
  }
  return DP_OK;
}

const EnetPlay::FoundSession* EnetPlay::FindSession(std::uint32_t number) const {
  const auto found = std::find_if(found_.begin(), found_.end(),
                                  [number](const FoundSession& f) { return f.desc.dwSession == number; });
  return found == found_.end() ? nullptr : &*found;
}

HRESULT EnetPlay::EnumPlayers(std::uint32_t session, const EnumPlayersCallback& callback, std::uint32_t flags) {
  std::vector<wire::PlayerRecord> players;
  if (flags == DPENUMPLAYERS_SESSION) {
    const FoundSession* found = FindSession(session);
    if (found == nullptr) return DPERR_INVALIDPARAM;
    const wire::Query query{wire::kQueryPlayers, ++nonce_, 0, found->desc.guidSession, found->password};
    bool answered = false;
    const auto answer = [&](std::span<const std::uint8_t> datagram, const ENetAddress& from) {
      std::optional<wire::PlayersReply> reply = wire::DecodePlayersReply(datagram);
      if (!reply || reply->nonce != query.nonce || !SameAddress(from, found->info)) return false;
      players = std::move(reply->players);
      answered = true;
      return true;
    };
    if (!Ask(std::span(&found->info, 1), query, settings_.connectTimeoutMs, answer)) return DPERR_NOCONNECTION;
    if (!answered) return DPERR_TIMEOUT;
    enumeratedSession_ = session;
    enumeratedPlayers_.clear();
    for (const wire::PlayerRecord& player : players) enumeratedPlayers_.push_back(player.id);
  } else if (flags == DPENUMPLAYERS_ALL) {
    if (role_ == Role::kNone) return DPERR_NOCONNECTION;
    players = PlayerRecords();
  } else {
    return DPERR_INVALIDFLAGS;
  }
  for (const wire::PlayerRecord& player : players) {
    if (!callback(player.id, player.friendlyName, player.formalName)) break;
  }
  return DP_OK;
}

bool EnetPlay::Ask(std::span<const ENetAddress> targets, const wire::Query& query, std::uint32_t timeoutMs,
                   const std::function<bool(std::span<const std::uint8_t>, const ENetAddress&)>& answer) {
  ENetSocket socket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
  if (socket == ENET_SOCKET_NULL) return false;
  // Broadcast addresses need the permission; the program may pass them.
  enet_socket_set_option(socket, ENET_SOCKOPT_NONBLOCK, 1);
  enet_socket_set_option(socket, ENET_SOCKOPT_BROADCAST, 1);
  const wire::Bytes bytes = wire::EncodeQuery(query);
  const ENetBuffer out{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
  // A lost datagram is asked again: three times over the time-out.
  constexpr std::uint32_t kAsks = 3;
  const std::uint32_t start = enet_time_get();
  std::uint32_t asked = 0;
  std::array<std::uint8_t, wire::kLargestDatagram> buffer;
  bool done = false;
  while (!done) {
    const std::uint32_t elapsed = enet_time_get() - start;
    if (elapsed >= timeoutMs) break;
    if (asked < kAsks && elapsed >= asked * timeoutMs / kAsks) {
      for (const ENetAddress& target : targets) enet_socket_send(socket, &target, &out, 1);
      ++asked;
    }
    const std::uint32_t nextAsk = asked < kAsks ? asked * timeoutMs / kAsks : timeoutMs;
    enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
    if (enet_socket_wait(socket, &condition, std::max<std::uint32_t>(nextAsk, elapsed + 1) - elapsed) < 0) break;
    for (int replies = 0; replies < kQueryLimit && !done; ++replies) {
      ENetAddress from;
      ENetBuffer in{buffer.data(), buffer.size()};
      const int length = enet_socket_receive(socket, &from, &in, 1);
      if (length == 0) break;
      if (length < 0) {
        Refuse();
        continue;
      }
      done = answer(std::span(buffer.data(), static_cast<std::size_t>(length)), from);
    }
  }
  enet_socket_destroy(socket);
  return true;
}

HRESULT EnetPlay::JoinSession(const SessionDesc& desc) {
  const FoundSession* found = FindSession(desc.dwSession);
  if (found == nullptr) return DPERR_INVALIDPARAM;
  host_ = enet_host_create(nullptr, 1, wire::kChannelCount, 0, 0);
  if (host_ == nullptr) return DPERR_NOCONNECTION;
  host_->maximumPacketSize = kMaximumPacketSize;
  host_->maximumWaitingData = kMaximumWaitingData;
  hostPeer_ = enet_host_connect(host_, &found->game, wire::kChannelCount, wire::kProtocolVersion);
  if (hostPeer_ == nullptr) {
    TearDown();
    return DPERR_NOCONNECTION;
  }
  ApplyTimeouts(hostPeer_);
  role_ = Role::kJoiner;
  joinedSession_ = desc.dwSession;
  hello_ = wire::Hello{wire::kProtocolVersion, desc.guidSession, FieldText(desc.szPassword, kPasswordSize)};
  refusal_ = DP_OK;
  if (!WaitUntil([this] { return admitted_ || hostPeer_ == nullptr; }, settings_.connectTimeoutMs) || !admitted_) {
    const HRESULT result = refusal_ != DP_OK ? refusal_ : DPERR_TIMEOUT;
    TearDown();
    return result;
  }
  return DP_OK;
}

HRESULT EnetPlay::CreateJoinerPlayer(const wire::PlayerRecord& player) {
  if (hostPeer_ == nullptr) return DPERR_SESSIONLOST;
  awaitingPlayer_ = true;
  pendingPlayer_ = player;
  SendControl(hostPeer_, wire::EncodeCreatePlayer(player.friendlyName, player.formalName));
  enet_host_flush(host_);
  WaitUntil([this] { return localId_ != 0 || hostPeer_ == nullptr; }, settings_.connectTimeoutMs);
  awaitingPlayer_ = false;
  if (localId_ != 0) return DP_OK;
  return hostPeer_ == nullptr ? DPERR_SESSIONLOST : DPERR_TIMEOUT;
}

void EnetPlay::JoinerConnect() {
  SendControl(hostPeer_, wire::EncodeHello(hello_));
  enet_host_flush(host_);
}

void EnetPlay::JoinerDisconnect(std::uint32_t reason) {
  hostPeer_ = nullptr;
  refusal_ = reason;
  // The session is gone: every other player with it.
  for (const Player& player : players_) {
    if (player.record.id != localId_) QueueDeletePlayer(player.record.id);
  }
  std::erase_if(players_, [this](const Player& p) { return p.record.id != localId_; });
}

void EnetPlay::JoinerPacket(std::span<const std::uint8_t> packet) {
  const std::optional<std::uint32_t> kind = wire::PacketKind(packet);
  if (kind == wire::kBlock) {
    const std::optional<wire::BlockView> block = wire::DecodeBlockPacket(packet);
    if (!block || localId_ == 0) return Refuse();
    QueueBlock(block->from, block->to, block->block);
  } else if (kind == wire::kWelcome) {
    JoinerWelcome(packet);
  } else if (kind == wire::kPlayerCreated) {
    const std::optional<DPID> id = wire::DecodePlayerId(packet, wire::kPlayerCreated);
    if (!id || *id == 0 || !awaitingPlayer_ || localId_ != 0 || FindPlayer(*id) != nullptr) return Refuse();
    localId_ = *id;
    pendingPlayer_.id = *id;
    players_.push_back(Player{pendingPlayer_, nullptr});
  } else if (kind == wire::kAddPlayer) {
    const std::optional<wire::PlayerRecord> player = wire::DecodeAddPlayer(packet);
    if (!player || player->id == 0 || !admitted_ || FindPlayer(player->id) != nullptr ||
        players_.size() >= kPlayerLimit) {
      return Refuse();
    }
    players_.push_back(Player{*player, nullptr});
    QueueAddPlayer(*player);
  } else if (kind == wire::kDeletePlayer) {
    const std::optional<DPID> id = wire::DecodePlayerId(packet, wire::kDeletePlayer);
    if (!id || *id == localId_ || FindPlayer(*id) == nullptr) return Refuse();
    std::erase_if(players_, [&](const Player& p) { return p.record.id == *id; });
    QueueDeletePlayer(*id);
  } else {
    Refuse();
  }
}

void EnetPlay::JoinerWelcome(std::span<const std::uint8_t> packet) {
  std::optional<std::vector<wire::PlayerRecord>> players = wire::DecodeWelcome(packet);
  if (!players || admitted_) return Refuse();
  admitted_ = true;
  for (const wire::PlayerRecord& player : *players) {
    if (player.id != 0 && FindPlayer(player.id) == nullptr) players_.push_back(Player{player, nullptr});
  }
  // Whoever came or went since the players were listed before joining is reported as if
  // it happened now, so that the list kept from that enumeration stays true.
  if (enumeratedSession_ != joinedSession_) return;
  for (const Player& player : players_) {
    if (std::find(enumeratedPlayers_.begin(), enumeratedPlayers_.end(), player.record.id) == enumeratedPlayers_.end()) {
      QueueAddPlayer(player.record);
    }
  }
  for (const DPID id : enumeratedPlayers_) {
    if (FindPlayer(id) == nullptr) QueueDeletePlayer(id);
  }
}

}  // namespace zandrel::dplay
