// DirectPlay as the session component calls it: the list of service providers, the object
// made for one of them, its session enumeration with a time-out, its player enumeration,
// opening (joining or creating) a session, creating the local player with a receive
// event, sending and receiving 260-byte blocks, and the add-player and delete-player
// system blocks. Results are DirectPlay's own codes, so the "%x" messages read as before.
//
// The real network runs over ENet on UDP/IP. The machine that creates a session is the
// hub: joiners connect to it, and it relays every block meant for another joiner or for
// all players, stamping the real sender itself. Nothing runs in the background: the
// window's thread calls Service() once a frame, which drains the transport with a bounded
// amount of work and queues what arrived for Receive(). Without a network the provider
// list is empty.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::dplay {

using HRESULT = std::uint32_t;
using DPID = std::uint32_t;

constexpr bool Succeeded(HRESULT result) { return (result & 0x80000000u) == 0; }
constexpr bool Failed(HRESULT result) { return !Succeeded(result); }

constexpr HRESULT MakeDpResult(std::uint32_t code) { return 0x88770000u | code; }

constexpr HRESULT DP_OK = 0;
constexpr HRESULT DPERR_ALREADYINITIALIZED = MakeDpResult(5);
constexpr HRESULT DPERR_BUFFERTOOSMALL = MakeDpResult(30);
constexpr HRESULT DPERR_CANTCREATEPLAYER = MakeDpResult(60);
constexpr HRESULT DPERR_CANTCREATESESSION = MakeDpResult(70);
constexpr HRESULT DPERR_GENERIC = 0x80004005u;
constexpr HRESULT DPERR_INVALIDFLAGS = MakeDpResult(120);
constexpr HRESULT DPERR_INVALIDPARAM = 0x80070057u;
constexpr HRESULT DPERR_INVALIDPLAYER = MakeDpResult(150);
constexpr HRESULT DPERR_NOCONNECTION = MakeDpResult(170);
constexpr HRESULT DPERR_NOMESSAGES = MakeDpResult(190);
constexpr HRESULT DPERR_TIMEOUT = MakeDpResult(240);
constexpr HRESULT DPERR_UNAVAILABLE = MakeDpResult(250);
constexpr HRESULT DPERR_UNSUPPORTED = 0x80004001u;
constexpr HRESULT DPERR_USERCANCEL = MakeDpResult(280);
constexpr HRESULT DPERR_SESSIONLOST = MakeDpResult(310);
// The session already has its maximum of players: "the session is full".
constexpr HRESULT DPERR_NONEWPLAYERS = MakeDpResult(330);
constexpr HRESULT DPERR_INVALIDPASSWORD = MakeDpResult(340);

// Sender of system blocks; receiver meaning every player.
constexpr DPID DPID_SYSMSG = 0;
constexpr DPID DPID_ALLPLAYERS = 0;

// Session description flags for Open.
constexpr std::uint32_t DPOPEN_OPENSESSION = 1;
constexpr std::uint32_t DPOPEN_CREATESESSION = 2;
// EnumSessions flags: sessions that take new players, or every session (full ones too).
constexpr std::uint32_t DPENUMSESSIONS_AVAILABLE = 1;
constexpr std::uint32_t DPENUMSESSIONS_ALL = 2;
// EnumPlayers flags: the open session's players, or those of an enumerated session not
// joined yet.
constexpr std::uint32_t DPENUMPLAYERS_ALL = 0;
constexpr std::uint32_t DPENUMPLAYERS_SESSION = 0x80;
// Send flags: guaranteed blocks arrive, in order; the others may be lost but never arrive
// after a later one. High priority is accepted and changes nothing.
constexpr std::uint32_t DPSEND_GUARANTEE = 1;
constexpr std::uint32_t DPSEND_HIGHPRIORITY = 2;
constexpr std::uint32_t DPRECEIVE_ALL = 1;

// System block types (the block's first 32-bit word).
constexpr std::uint32_t DPSYS_ADDPLAYER = 3;
constexpr std::uint32_t DPSYS_DELETEPLAYER = 5;

// Every block is exactly this long, game blocks and system blocks alike.
constexpr std::size_t kBlockSize = 260;
using Block = std::array<std::uint8_t, kBlockSize>;

// Add-player system block: type, player type, identifier, formal name, friendly name,
// players now in the session. Delete-player system block: type, identifier.
constexpr std::size_t kAddPlayerIdOffset = 8;
constexpr std::size_t kAddPlayerFormalNameOffset = 12;
constexpr std::size_t kAddPlayerFriendlyNameOffset = 64;
constexpr std::size_t kAddPlayerCountOffset = 84;
constexpr std::size_t kDeletePlayerIdOffset = 4;

// Name fields, terminator included.
constexpr std::size_t kFormalNameSize = 52;
constexpr std::size_t kFriendlyNameSize = 20;
constexpr std::size_t kSessionNameSize = 32;
constexpr std::size_t kPasswordSize = 16;
constexpr std::size_t kUserFieldSize = 16;

// Players a session may hold, its creator included.
constexpr std::uint32_t kPlayerLimit = 16;

struct Guid {
  std::array<std::uint8_t, 16> bytes{};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// The session description record (124 bytes, the DirectPlay layout).
struct SessionDesc {
  std::uint32_t dwSize = sizeof(SessionDesc);
  Guid guidSession;                // the application's identifier; only matching sessions are found
  std::uint32_t dwSession = 0;     // session number: names one enumerated session
  std::uint32_t dwMaxPlayers = 0;  // 0: kPlayerLimit
  std::uint32_t dwCurrentPlayers = 0;
  std::uint32_t dwFlags = 0;  // DPOPEN_...
  char szSessionName[kSessionNameSize] = {};
  char szUserField[kUserFieldSize] = {};
  std::uint32_t dwReserved1 = 0;
  char szPassword[kPasswordSize] = {};
  std::uint32_t dwReserved2 = 0;
  std::uint32_t dwUser1 = 0, dwUser2 = 0, dwUser3 = 0, dwUser4 = 0;
};
static_assert(sizeof(SessionDesc) == 124);

// `name` cut to fit a field of `fieldSize` bytes with its terminator: at the first zero
// byte, and never through a UTF-8 character.
std::string FitName(std::string_view name, std::size_t fieldSize);
// Copies `text` into a zero-terminated field, cut as FitName cuts it.
void CopyName(std::string_view text, char* field, std::size_t fieldSize);
// The text of a zero-terminated field (a field without terminator is cut).
std::string FieldText(const char* field, std::size_t fieldSize);

// Set when a block is waiting for Receive; its reader resets it.
class ReceiveEvent {
 public:
  bool IsSet() const { return set_; }
  void Set() { set_ = true; }
  void Reset() { set_ = false; }

 private:
  bool set_ = false;
};

// What an object has carried since it was created.
struct Traffic {
  std::uint32_t sent = 0;      // blocks sent by the local player
  std::uint32_t received = 0;  // game blocks queued for the local player
  std::uint32_t refused = 0;   // malformed packets and datagrams from peers, dropped
  std::uint32_t dropped = 0;   // well-formed blocks beyond a peer's share or the queue's room
};

using EnumSessionsCallback = std::function<bool(const SessionDesc& session)>;
using EnumPlayersCallback =
    std::function<bool(DPID player, std::string_view friendlyName, std::string_view formalName)>;
using EnumProvidersCallback = std::function<bool(const Guid& provider, std::string_view name)>;

// The object made for one provider. Every call is made from one thread.
class DirectPlay {
 public:
  virtual ~DirectPlay() = default;

  // Finds the sessions of desc.guidSession, calling back once per session in the order
  // found; waits `timeoutMs` (0: half a second) for answers. A password-protected session
  // is found only with its password in desc.szPassword. Each session found gets a new
  // session number.
  virtual HRESULT EnumSessions(const SessionDesc& desc, std::uint32_t timeoutMs, const EnumSessionsCallback& callback,
                               std::uint32_t flags) = 0;
  // The players of the open session (DPENUMPLAYERS_ALL) or, before joining, of the
  // enumerated session `session` (DPENUMPLAYERS_SESSION).
  virtual HRESULT EnumPlayers(std::uint32_t session, const EnumPlayersCallback& callback, std::uint32_t flags) = 0;
  // DPOPEN_OPENSESSION joins the enumerated session desc.dwSession (with desc.szPassword);
  // DPOPEN_CREATESESSION creates one named desc.szSessionName for desc.dwMaxPlayers.
  virtual HRESULT Open(const SessionDesc& desc) = 0;
  // Creates the one local player of the open session. Names longer than their fields are
  // cut. `event` is set whenever a block waits for Receive.
  virtual HRESULT CreatePlayer(DPID& player, std::string_view friendlyName, std::string_view formalName,
                               ReceiveEvent*& event) = 0;
  // Sends a block of kBlockSize bytes from the local player to one player or to all
  // (DPID_ALLPLAYERS: every other player).
  virtual HRESULT Send(DPID from, DPID to, std::uint32_t flags, const void* data, std::uint32_t size) = 0;
  // The oldest waiting block (DPRECEIVE_ALL); DPERR_NOMESSAGES when none waits. System
  // blocks come from DPID_SYSMSG.
  virtual HRESULT Receive(DPID& from, DPID& to, std::uint32_t flags, void* data, std::uint32_t& size) = 0;
  // Leaves or ends the session; the others see the local player (or, for a joiner, every
  // player) deleted.
  virtual HRESULT Close() = 0;

  // Called once a frame on the window's thread: carries out the transport's pending work,
  // bounded per call, and queues what arrived. What finds the queue full waits for the
  // next call, so the queue must be emptied with Receive every frame.
  virtual void Service() = 0;
  virtual Traffic Statistics() const = 0;
};

// Asks the player where the session is: a host name or address, optionally ":port".
class AddressPrompt {
 public:
  virtual ~AddressPrompt() = default;
  // Nothing when the player cancelled.
  virtual std::optional<std::string> AskAddress() = 0;
};

constexpr std::uint16_t kDefaultPort = 28760;

struct Settings {
  // The port a created session listens on; its information socket is the next one.
  // The address provider uses it when the answer names no port.
  std::uint16_t port = kDefaultPort;
  // The interface a created session listens on; empty: every interface.
  std::string bindAddress;
  // Where the local network provider sends its session query (the program passes the
  // broadcast addresses of its networks); none: it finds nothing.
  std::vector<std::string> discoveryAddresses;
  // Joining: connection, admission and player creation each; also a player query.
  std::uint32_t connectTimeoutMs = 3000;
  // A peer that stops answering is dropped, and its player deleted, within this time.
  std::uint32_t peerTimeoutMs = 10000;
  // Asked by the address provider when it enumerates; none: it finds nothing.
  AddressPrompt* addressPrompt = nullptr;
};

// The broadcast addresses of the machine's networks: those of its IPv4 interfaces that
// are up, not loopback and able to broadcast. What the program gives the local network
// provider when nothing else is asked for.
std::vector<std::string> LocalBroadcastAddresses();

// The providers, in this order.
constexpr std::string_view kLocalNetworkProviderName = "ENet UDP/IP: local network";
constexpr std::string_view kAddressProviderName = "ENet UDP/IP: address";

// The machine's DirectPlay: its providers and the objects made for them.
class Network {
 public:
  virtual ~Network() = default;
  // Calls back once per provider; stops when the callback answers false.
  virtual HRESULT DirectPlayEnumerate(const EnumProvidersCallback& callback) = 0;
  // DPERR_UNAVAILABLE for a provider this network does not have.
  virtual HRESULT DirectPlayCreate(const Guid& provider, std::unique_ptr<DirectPlay>& object) = 0;
};

// The ENet network; the null network when no UDP socket can be opened.
std::unique_ptr<Network> CreateEnetNetwork(Settings settings);
// No providers at all.
std::unique_ptr<Network> CreateNullNetwork();

}  // namespace zandrel::dplay
