#include "platform/dplay/wire.h"

#include <cstring>

namespace zandrel::dplay::wire {
namespace {

constexpr std::uint32_t kQueryMagic = 0x5150445Au;  // "ZDPQ"
constexpr std::uint32_t kReplyMagic = 0x5250445Au;  // "ZDPR"

// Appends fields to a packet being built.
class Writer {
 public:
  explicit Writer(std::size_t size) { bytes_.reserve(size); }
  Writer& U32(std::uint32_t value) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + 4);
    WriteU32(bytes_.data() + at, value);
    return *this;
  }
  Writer& Id(const Guid& guid) {
    bytes_.insert(bytes_.end(), guid.bytes.begin(), guid.bytes.end());
    return *this;
  }
  Writer& Name(std::string_view text, std::size_t fieldSize) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + fieldSize);
    CopyName(text, reinterpret_cast<char*>(bytes_.data() + at), fieldSize);
    return *this;
  }
  Writer& Player(const PlayerRecord& player) {
    return U32(player.id).Name(player.friendlyName, kFriendlyNameSize).Name(player.formalName, kFormalNameSize);
  }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

// Reads fields from a packet whose size has been checked beforehand.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint32_t U32() {
    const std::uint32_t value = ReadU32(bytes_.data() + at_);
    at_ += 4;
    return value;
  }
  Guid Id() {
    Guid guid;
    std::memcpy(guid.bytes.data(), bytes_.data() + at_, guid.bytes.size());
    at_ += guid.bytes.size();
    return guid;
  }
  std::string Name(std::size_t fieldSize) {
    std::string text = FieldText(reinterpret_cast<const char*>(bytes_.data() + at_), fieldSize);
    at_ += fieldSize;
    return text;
  }
  PlayerRecord Player() {
    PlayerRecord player;
    player.id = U32();
    player.friendlyName = Name(kFriendlyNameSize);
    player.formalName = Name(kFormalNameSize);
    return player;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

bool HasKind(std::span<const std::uint8_t> packet, std::uint32_t kind, std::size_t size) {
  return packet.size() == size && ReadU32(packet.data()) == kind;
}

// A reader past the kind word of a packet of `kind` exactly `size` bytes long; none for
// any other packet.
std::optional<Reader> BodyOf(std::span<const std::uint8_t> packet, std::uint32_t kind, std::size_t size) {
  if (!HasKind(packet, kind, size)) return std::nullopt;
  return Reader(packet.subspan(4));
}

// A reply of `kind` for this protocol, at least `size` bytes long.
bool IsReply(std::span<const std::uint8_t> datagram, std::uint32_t kind, std::size_t size) {
  return datagram.size() >= size && ReadU32(datagram.data()) == kReplyMagic &&
         ReadU32(datagram.data() + 4) == kProtocolVersion && ReadU32(datagram.data() + 8) == kind;
}

}  // namespace

std::uint32_t ReadU32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void WriteU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<std::uint32_t> PacketKind(std::span<const std::uint8_t> packet) {
  if (packet.size() < 4) return std::nullopt;
  return ReadU32(packet.data());
}

Bytes EncodeHello(const Hello& hello) {
  return Writer(kHelloSize)
      .U32(kHello)
      .U32(hello.version)
      .Id(hello.application)
      .Name(hello.password, kPasswordSize)
      .Take();
}

std::optional<Hello> DecodeHello(std::span<const std::uint8_t> packet) {
  std::optional<Reader> reader = BodyOf(packet, kHello, kHelloSize);
  if (!reader) return std::nullopt;
  Hello hello;
  hello.version = reader->U32();
  hello.application = reader->Id();
  hello.password = reader->Name(kPasswordSize);
  return hello;
}

Bytes EncodeWelcome(std::span<const PlayerRecord> players) {
  Writer writer(kWelcomeHeaderSize + players.size() * kPlayerRecordSize);
  writer.U32(kWelcome).U32(static_cast<std::uint32_t>(players.size()));
  for (const PlayerRecord& player : players) writer.Player(player);
  return writer.Take();
}

std::optional<std::vector<PlayerRecord>> DecodeWelcome(std::span<const std::uint8_t> packet) {
  if (packet.size() < kWelcomeHeaderSize || ReadU32(packet.data()) != kWelcome) return std::nullopt;
  const std::uint32_t count = ReadU32(packet.data() + 4);
  if (count > kPlayerLimit || packet.size() != kWelcomeHeaderSize + count * kPlayerRecordSize) return std::nullopt;
  Reader reader(packet.subspan(kWelcomeHeaderSize));
  std::vector<PlayerRecord> players(count);
  for (PlayerRecord& player : players) player = reader.Player();
  return players;
}

Bytes EncodeCreatePlayer(std::string_view friendlyName, std::string_view formalName) {
  return Writer(kCreatePlayerSize)
      .U32(kCreatePlayer)
      .Name(friendlyName, kFriendlyNameSize)
      .Name(formalName, kFormalNameSize)
      .Take();
}

std::optional<PlayerRecord> DecodeCreatePlayer(std::span<const std::uint8_t> packet) {
  std::optional<Reader> reader = BodyOf(packet, kCreatePlayer, kCreatePlayerSize);
  if (!reader) return std::nullopt;
  PlayerRecord player;
  player.friendlyName = reader->Name(kFriendlyNameSize);
  player.formalName = reader->Name(kFormalNameSize);
  return player;
}

Bytes EncodePlayerCreated(DPID player) { return Writer(kPlayerCreatedSize).U32(kPlayerCreated).U32(player).Take(); }

Bytes EncodeAddPlayer(const PlayerRecord& player) {
  return Writer(kAddPlayerSize).U32(kAddPlayer).Player(player).Take();
}

std::optional<PlayerRecord> DecodeAddPlayer(std::span<const std::uint8_t> packet) {
  std::optional<Reader> reader = BodyOf(packet, kAddPlayer, kAddPlayerSize);
  if (!reader) return std::nullopt;
  return reader->Player();
}

Bytes EncodeDeletePlayer(DPID player) { return Writer(kDeletePlayerSize).U32(kDeletePlayer).U32(player).Take(); }

std::optional<DPID> DecodePlayerId(std::span<const std::uint8_t> packet, std::uint32_t kind) {
  static_assert(kPlayerCreatedSize == kDeletePlayerSize);
  if (!HasKind(packet, kind, kDeletePlayerSize)) return std::nullopt;
  return ReadU32(packet.data() + 4);
}

void WriteBlockPacket(std::uint8_t* packet, DPID from, DPID to, const std::uint8_t* block) {
  WriteU32(packet, kBlock);
  WriteU32(packet + 4, from);
  WriteU32(packet + 8, to);
  std::memcpy(packet + kBlockHeaderSize, block, kBlockSize);
}

std::optional<BlockView> DecodeBlockPacket(std::span<const std::uint8_t> packet) {
  if (!HasKind(packet, kBlock, kBlockPacketSize)) return std::nullopt;
  return BlockView{ReadU32(packet.data() + 4), ReadU32(packet.data() + 8), packet.data() + kBlockHeaderSize};
}

void WriteAddPlayerBlock(Block& block, const PlayerRecord& player, std::uint32_t currentPlayers) {
  block.fill(0);
  WriteU32(block.data(), DPSYS_ADDPLAYER);
  WriteU32(block.data() + kAddPlayerIdOffset, player.id);
  CopyName(player.formalName, reinterpret_cast<char*>(block.data() + kAddPlayerFormalNameOffset), kFormalNameSize);
  CopyName(player.friendlyName, reinterpret_cast<char*>(block.data() + kAddPlayerFriendlyNameOffset),
           kFriendlyNameSize);
  WriteU32(block.data() + kAddPlayerCountOffset, currentPlayers);
}

void WriteDeletePlayerBlock(Block& block, DPID player) {
  block.fill(0);
  WriteU32(block.data(), DPSYS_DELETEPLAYER);
  WriteU32(block.data() + kDeletePlayerIdOffset, player);
}

Bytes EncodeQuery(const Query& query) {
  return Writer(kQuerySize)
      .U32(kQueryMagic)
      .U32(kProtocolVersion)
      .U32(query.kind)
      .U32(query.nonce)
      .U32(query.flags)
      .Id(query.application)
      .Name(query.password, kPasswordSize)
      .Take();
}

std::optional<Query> DecodeQuery(std::span<const std::uint8_t> datagram) {
  if (datagram.size() != kQuerySize || ReadU32(datagram.data()) != kQueryMagic ||
      ReadU32(datagram.data() + 4) != kProtocolVersion) {
    return std::nullopt;
  }
  Reader reader(datagram.subspan(8));
  Query query;
  query.kind = reader.U32();
  if (query.kind != kQuerySession && query.kind != kQueryPlayers) return std::nullopt;
  query.nonce = reader.U32();
  query.flags = reader.U32();
  query.application = reader.Id();
  query.password = reader.Name(kPasswordSize);
  return query;
}

Bytes EncodeSessionReply(const SessionReply& reply) {
  return Writer(kSessionReplySize)
      .U32(kReplyMagic)
      .U32(kProtocolVersion)
      .U32(kQuerySession)
      .U32(reply.nonce)
      .U32(reply.gamePort)
      .U32(reply.currentPlayers)
      .U32(reply.maxPlayers)
      .Id(reply.application)
      .Name(reply.name, kSessionNameSize)
      .Take();
}

std::optional<SessionReply> DecodeSessionReply(std::span<const std::uint8_t> datagram) {
  if (datagram.size() != kSessionReplySize || !IsReply(datagram, kQuerySession, kSessionReplySize)) {
    return std::nullopt;
  }
  Reader reader(datagram.subspan(12));
  SessionReply reply;
  reply.nonce = reader.U32();
  const std::uint32_t port = reader.U32();
  if (port == 0 || port > 0xFFFF) return std::nullopt;
  reply.gamePort = static_cast<std::uint16_t>(port);
  reply.currentPlayers = reader.U32();
  reply.maxPlayers = reader.U32();
  reply.application = reader.Id();
  reply.name = reader.Name(kSessionNameSize);
  return reply;
}

Bytes EncodePlayersReply(std::uint32_t nonce, std::span<const PlayerRecord> players) {
  Writer writer(kReplyHeaderSize + 4 + players.size() * kPlayerRecordSize);
  writer.U32(kReplyMagic).U32(kProtocolVersion).U32(kQueryPlayers).U32(nonce);
  writer.U32(static_cast<std::uint32_t>(players.size()));
  for (const PlayerRecord& player : players) writer.Player(player);
  return writer.Take();
}

std::optional<PlayersReply> DecodePlayersReply(std::span<const std::uint8_t> datagram) {
  if (!IsReply(datagram, kQueryPlayers, kReplyHeaderSize + 4)) return std::nullopt;
  const std::uint32_t count = ReadU32(datagram.data() + kReplyHeaderSize);
  if (count > kPlayerLimit || datagram.size() != kReplyHeaderSize + 4 + count * kPlayerRecordSize) {
    return std::nullopt;
  }
  PlayersReply reply;
  reply.nonce = ReadU32(datagram.data() + 12);
  Reader reader(datagram.subspan(kReplyHeaderSize + 4));
  reply.players.resize(count);
  for (PlayerRecord& player : reply.players) player = reader.Player();
  return reply;
}

}  // namespace zandrel::dplay::wire
