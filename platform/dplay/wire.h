// What travels between the machines of a session, all little-endian.
//
// ENet packets between a joiner and the session's host begin with a 32-bit kind:
//   kHello         joiner: protocol version, application identifier, password
//   kWelcome       host: the players already in the session
//   kCreatePlayer  joiner: friendly name, formal name of its player
//   kPlayerCreated host: the identifier given to that player
//   kAddPlayer     host: a player joined (identifier, friendly name, formal name)
//   kDeletePlayer  host: a player left (identifier)
//   kBlock         either: sender, receiver, one block of kBlockSize bytes; the host
//                  overwrites the sender with the player of the connection it came from
// A packet of any other kind or size is refused. A joiner is turned away by a
// disconnection whose data is the DirectPlay result it reports.
//
// Datagrams on the session's information socket (the game port + 1) answer enumerations
// without joining: a query asks for the session or for its players, the reply carries the
// session's name, players, maximum and protocol version, or the list of players.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/dplay/dplay.h"

namespace zandrel::dplay::wire {

constexpr std::uint32_t kProtocolVersion = 1;

// Channel 0 carries every control packet and the guaranteed blocks: ENet delivers them
// reliably and in order. Channel 1 carries the other blocks unreliable but sequenced, so
// a late position never overwrites a newer one.
constexpr std::uint8_t kReliableChannel = 0;
constexpr std::uint8_t kSequencedChannel = 1;
constexpr std::size_t kChannelCount = 2;

enum Kind : std::uint32_t {
  kHello = 1,
  kWelcome = 2,
  kCreatePlayer = 3,
  kPlayerCreated = 4,
  kAddPlayer = 5,
  kDeletePlayer = 6,
  kBlock = 7,
};

constexpr std::size_t kPlayerRecordSize = 4 + kFriendlyNameSize + kFormalNameSize;
constexpr std::size_t kHelloSize = 4 + 4 + 16 + kPasswordSize;
constexpr std::size_t kWelcomeHeaderSize = 8;
constexpr std::size_t kCreatePlayerSize = 4 + kFriendlyNameSize + kFormalNameSize;
constexpr std::size_t kPlayerCreatedSize = 8;
constexpr std::size_t kAddPlayerSize = 4 + kPlayerRecordSize;
constexpr std::size_t kDeletePlayerSize = 8;
constexpr std::size_t kBlockHeaderSize = 12;
constexpr std::size_t kBlockPacketSize = kBlockHeaderSize + kBlockSize;

struct PlayerRecord {
  DPID id = 0;
  std::string friendlyName;
  std::string formalName;
};

struct Hello {
  std::uint32_t version = kProtocolVersion;
  Guid application;
  std::string password;
};

using Bytes = std::vector<std::uint8_t>;

std::uint32_t ReadU32(const std::uint8_t* at);
void WriteU32(std::uint8_t* at, std::uint32_t value);

// The kind of a packet; nothing when it is too short to have one.
std::optional<std::uint32_t> PacketKind(std::span<const std::uint8_t> packet);

Bytes EncodeHello(const Hello& hello);
std::optional<Hello> DecodeHello(std::span<const std::uint8_t> packet);

Bytes EncodeWelcome(std::span<const PlayerRecord> players);
// Nothing unless the count is at most kPlayerLimit and the size matches it.
std::optional<std::vector<PlayerRecord>> DecodeWelcome(std::span<const std::uint8_t> packet);

Bytes EncodeCreatePlayer(std::string_view friendlyName, std::string_view formalName);
// The names, with a zero identifier.
std::optional<PlayerRecord> DecodeCreatePlayer(std::span<const std::uint8_t> packet);

Bytes EncodePlayerCreated(DPID player);
Bytes EncodeAddPlayer(const PlayerRecord& player);
std::optional<PlayerRecord> DecodeAddPlayer(std::span<const std::uint8_t> packet);
Bytes EncodeDeletePlayer(DPID player);
// The identifier of a kPlayerCreated or kDeletePlayer packet of the right size.
std::optional<DPID> DecodePlayerId(std::span<const std::uint8_t> packet, std::uint32_t kind);

// A block packet written in place (the hot path allocates nothing of its own).
void WriteBlockPacket(std::uint8_t* packet, DPID from, DPID to, const std::uint8_t* block);
struct BlockView {
  DPID from = 0;
  DPID to = 0;
  const std::uint8_t* block = nullptr;
};
std::optional<BlockView> DecodeBlockPacket(std::span<const std::uint8_t> packet);

// The system blocks Receive hands out.
void WriteAddPlayerBlock(Block& block, const PlayerRecord& player, std::uint32_t currentPlayers);
void WriteDeletePlayerBlock(Block& block, DPID player);

// Information socket.
enum QueryKind : std::uint32_t { kQuerySession = 1, kQueryPlayers = 2 };

struct Query {
  std::uint32_t kind = kQuerySession;
  std::uint32_t nonce = 0;
  std::uint32_t flags = 0;  // DPENUMSESSIONS_...
  Guid application;
  std::string password;
};

struct SessionReply {
  std::uint32_t nonce = 0;
  std::uint16_t gamePort = 0;
  std::uint32_t currentPlayers = 0;
  std::uint32_t maxPlayers = 0;
  Guid application;
  std::string name;
};

struct PlayersReply {
  std::uint32_t nonce = 0;
  std::vector<PlayerRecord> players;
};

constexpr std::size_t kQuerySize = 4 + 4 + 4 + 4 + 4 + 16 + kPasswordSize;
constexpr std::size_t kReplyHeaderSize = 16;
constexpr std::size_t kSessionReplySize = kReplyHeaderSize + 4 + 4 + 4 + 16 + kSessionNameSize;
constexpr std::size_t kLargestDatagram = kReplyHeaderSize + 4 + kPlayerLimit * kPlayerRecordSize;

Bytes EncodeQuery(const Query& query);
std::optional<Query> DecodeQuery(std::span<const std::uint8_t> datagram);
Bytes EncodeSessionReply(const SessionReply& reply);
std::optional<SessionReply> DecodeSessionReply(std::span<const std::uint8_t> datagram);
Bytes EncodePlayersReply(std::uint32_t nonce, std::span<const PlayerRecord> players);
std::optional<PlayersReply> DecodePlayersReply(std::span<const std::uint8_t> datagram);

}  // namespace zandrel::dplay::wire
