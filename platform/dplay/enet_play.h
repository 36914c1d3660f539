// The DirectPlay object over ENet. A session's creator is its host: it listens on the game
// port, answers queries on the information socket beside it, admits joiners up to the
// session's maximum, gives every player its identifier and relays blocks between joiners.
// A joiner holds one connection, to the host.
#pragma once

#include <enet/enet.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/dplay/dplay.h"
#include "platform/dplay/receive_queue.h"
#include "platform/dplay/wire.h"

namespace zandrel::dplay {

enum class ProviderKind { kLocalNetwork, kAddress };

inline constexpr Guid kLocalNetworkProvider{
    {0x5a, 0x44, 0x50, 0x4c, 0x41, 0x4e, 0x11, 0xd0, 0x9c, 0x27, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
inline constexpr Guid kAddressProvider{
    {0x5a, 0x44, 0x50, 0x41, 0x44, 0x52, 0x11, 0xd0, 0x9c, 0x27, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};

// Work bounds of one Service call: transport events handled and information queries
// answered.
constexpr int kServiceEventLimit = 512;
constexpr int kQueryLimit = 16;
// The blocks the host takes from one peer: a burst of kPeerBurst, then kPeerBlocksPerSecond
// (four times a fast frame rate's positions); more are dropped and counted, and never
// relayed.
constexpr std::uint32_t kPeerBurst = 256;
constexpr std::uint32_t kPeerBlocksPerSecond = 1000;
// ENet refuses larger packets before they reach us; smaller ones of a wrong size reach
// us and are counted as refused.
constexpr std::size_t kMaximumPacketSize = 128 * 1024;
constexpr std::size_t kMaximumWaitingData = 4 * 1024 * 1024;
// Connections beyond the session's maximum, so that a joiner too many is told why.
constexpr std::size_t kSparePeers = 4;
constexpr std::uint32_t kDefaultEnumTimeoutMs = 500;

class EnetPlay final : public DirectPlay {
 public:
  EnetPlay(const Settings& settings, ProviderKind provider);
  ~EnetPlay() override;

  HRESULT EnumSessions(const SessionDesc& desc, std::uint32_t timeoutMs, const EnumSessionsCallback& callback,
                       std::uint32_t flags) override;
  HRESULT EnumPlayers(std::uint32_t session, const EnumPlayersCallback& callback, std::uint32_t flags) override;
  HRESULT Open(const SessionDesc& desc) override;
  HRESULT CreatePlayer(DPID& player, std::string_view friendlyName, std::string_view formalName,
                       ReceiveEvent*& event) override;
  HRESULT Send(DPID from, DPID to, std::uint32_t flags, const void* data, std::uint32_t size) override;
  HRESULT Receive(DPID& from, DPID& to, std::uint32_t flags, void* data, std::uint32_t& size) override;
  HRESULT Close() override;
  void Service() override;
  Traffic Statistics() const override { return traffic_; }

 private:
  enum class Role { kNone, kHost, kJoiner };

  struct Player {
    wire::PlayerRecord record;
    ENetPeer* peer = nullptr;  // on the host, the connection of a joiner's player
  };
  struct PeerState {
    bool accepted = false;  // holds a seat
    bool welcomed = false;  // has the player list and hears of changes
    DPID player = 0;
    std::uint32_t credit = 0;      // thousandths of a block it may still send
    std::uint32_t creditTime = 0;  // ENet time of the last refill
  };
  struct FoundSession {
    SessionDesc desc;
    ENetAddress game{};
    ENetAddress info{};
    std::string password;  // the one it was found with
  };
  struct HostedSession {
    Guid application;
    std::string name;
    std::string password;
    std::uint32_t maxPlayers = 0;
  };

  // Both roles.
  void Handle(const ENetEvent& event);
  bool WaitUntil(const std::function<bool()>& done, std::uint32_t timeoutMs);
  void ApplyTimeouts(ENetPeer* peer) const;
  void SendControl(ENetPeer* peer, const wire::Bytes& packet);
  void SendBlock(std::span<ENetPeer* const> peers, std::uint8_t channel, DPID from, DPID to, const std::uint8_t* block);
  void QueueBlock(DPID from, DPID to, const std::uint8_t* block);
  void QueueAddPlayer(const wire::PlayerRecord& player);
  void QueueDeletePlayer(DPID player);
  Player* FindPlayer(DPID id);
  void Refuse() { ++traffic_.refused; }
  void TearDown();

  // Host (enet_host.cpp).
  HRESULT CreateSession(const SessionDesc& desc);
  HRESULT CreateHostPlayer(const wire::PlayerRecord& player);
  void HostConnect(ENetPeer* peer, std::uint32_t version);
  void HostDisconnect(ENetPeer* peer);
  void HostPacket(ENetPeer* peer, std::uint8_t channel, std::span<const std::uint8_t> packet);
  // Takes one block's credit; false when the peer has none left.
  bool TakeCredit(PeerState& state);
  void HostHello(ENetPeer* peer, PeerState& state, std::span<const std::uint8_t> packet);
  void HostCreatePlayer(ENetPeer* peer, PeerState& state, std::span<const std::uint8_t> packet);
  void Route(DPID from, DPID to, std::uint8_t channel, const std::uint8_t* block, const ENetPeer* source);
  void TellWelcomed(const wire::Bytes& packet, const ENetPeer* except);
  void AnswerQueries();
  PeerState& StateOf(const ENetPeer* peer);
  // A session without password takes any; one with a password only that one.
  bool PasswordFits(const std::string& password) const;
  std::uint32_t SeatsTaken() const;
  std::vector<wire::PlayerRecord> PlayerRecords() const;

  // Joiner (enet_join.cpp).
  HRESULT JoinSession(const SessionDesc& desc);
  HRESULT CreateJoinerPlayer(const wire::PlayerRecord& player);
  void JoinerConnect();
  void JoinerDisconnect(std::uint32_t reason);
  void JoinerPacket(std::span<const std::uint8_t> packet);
  void JoinerWelcome(std::span<const std::uint8_t> packet);
  // Sends `query` to `targets` and hands each reply to `answer` until it returns true or
  // `timeoutMs` has passed; false when no socket could be opened.
  bool Ask(std::span<const ENetAddress> targets, const wire::Query& query, std::uint32_t timeoutMs,
           const std::function<bool(std::span<const std::uint8_t> reply, const ENetAddress& from)>& answer);
  HRESULT SessionTargets(std::vector<ENetAddress>& targets);
  const FoundSession* FindSession(std::uint32_t number) const;

  const Settings settings_;
  const ProviderKind provider_;
  Role role_ = Role::kNone;
  ENetHost* host_ = nullptr;
  ReceiveQueue queue_;
  ReceiveEvent event_;
  Traffic traffic_;
  std::vector<Player> players_;  // the session's players, the local one included
  DPID localId_ = 0;
  std::uint32_t nonce_ = 0;

  // Host.
  ENetSocket infoSocket_ = ENET_SOCKET_NULL;
  HostedSession session_;
  std::vector<PeerState> peers_;  // by index in host_->peers
  DPID nextId_ = 1;

  // Joiner.
  std::vector<FoundSession> found_;
  std::uint32_t lastSessionNumber_ = 0;
  std::uint32_t enumeratedSession_ = 0;  // players last listed before joining...
  std::vector<DPID> enumeratedPlayers_;  // ...and who they were
  std::uint32_t joinedSession_ = 0;
  ENetPeer* hostPeer_ = nullptr;
  wire::Hello hello_;
  bool admitted_ = false;
  bool awaitingPlayer_ = false;
  wire::PlayerRecord pendingPlayer_;  // the local player the host is asked to create
  HRESULT refusal_ = DP_OK;
};

}  // namespace zandrel::dplay
