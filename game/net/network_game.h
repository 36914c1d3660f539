// Network play in the game: the session component as `Comm`, the lobby screen with its
// nickname and address prompts, its list and its two buttons, the assignment of player
// slots, the start message and the position message of every play frame.
//
// What a peer sends is checked before it touches the game: a start message counts only
// from the session's host on a joined machine, with LastSlot 0..3 and the receiver's slot
// within it; a position message only for a slot 0..3 other than the local one, and only
// from the player that slot belongs to once it is known. Anything else is ignored and
// counted among the refused.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/net/net_play.h"
#include "game/ports.h"
#include "platform/dplay/dplay.h"

namespace zandrel::net {

enum class NetState : std::int32_t {
  ChoosingConnection = 0,
  ChoosingSession = 1,
  InSession = 2,  // a joined player waits; the host can start
  Started = 3,    // started by the host
};

// What the lobby shows: one of the two prompts, or the list with its buttons.
enum class LobbyStep { Nickname, Address, List };

// The lobby's controls and which of them has the focus.
enum class LobbyFocus { List, NewGame, JoinGame };

constexpr std::uint32_t kLobbyRefreshMs = 500;
constexpr std::uint32_t kSessionRetryMs = 1000;  // a direct join looks for its session again
constexpr const char* kDefaultNickname = "Player";
// The picture slot of the lobby's panel ("INTERF\LOBBY.PCX"), loaded when the lobby first opens.
constexpr int kLobbySlot = 7;

class NetworkGame final : public game::GameNetwork, private dplay::AddressPrompt {
 public:
  // The network of the machine (ENet with these settings, or none when no UDP socket can
  // be opened); the address provider asks this object for its addresses.
  explicit NetworkGame(dplay::Settings settings);
  ~NetworkGame() override;

  void Poll(game::Game& game) override;
  void EnterLobby(game::Game& game) override;
  void LobbyFrame(game::Game& game) override;
  void SendPosition(const game::Game& game) override;
  void StartSession(game::Game& game, const game::NetStart& start) override;
  std::optional<game::NetReport> Report() const override;

  // The two buttons, as the lobby presses them for the selected list entry.
  void JoinGameClick(game::Game& game);
  void NewGameClick(game::Game& game);
  // The nickname and address prompts answered (Enter).
  void AcceptNickname(game::Game& game, std::string nickname);
  void AcceptAddress(game::Game& game, std::string address);
  // Escape: the session is left and the title comes back.
  void LeaveLobby(game::Game& game);

  // The component's handlers.
  void CommAddPlayer(std::uint32_t player, const std::string& formalName, const std::string& friendlyName);
  void CommDeletePlayer(std::uint32_t player, const std::string& formalName, const std::string& friendlyName);
  void CommGameMessage(std::uint32_t sender, std::uint32_t type, BlockView block);

  // Comm's session search, in ms; a fresh component is made each time the lobby opens.
  std::int32_t SearchTimeOut = 1000;

  TNetPlay& Comm() { return *comm_; }
  NetState State() const { return state_; }
  LobbyStep Step() const { return step_; }
  const std::vector<std::string>& ListBox() const { return list_; }
  std::int32_t Selected() const { return selected_; }
  void Select(std::int32_t index) { selected_ = index; }
  const std::string& Status() const { return status_; }
  bool Hosting() const { return hosting_; }
  std::uint32_t Ignored() const { return ignored_; }

 private:
  std::optional<std::string> AskAddress() override;
  // A fresh component: no session, no provider chosen, the providers listed.
  void NewComm();
  // Every slot free: none in use beyond the local one, no identifiers, nobody gone.
  void ResetSlots();
  void FillList(std::vector<std::string> entries);
  void ShowProviders();
  void ShowSessions();
  void ShowPlayers();
  bool AddressProviderSelected() const;
  void Ignore() { ++ignored_; }
  // The first level of a network game, for the local slot.
  void StartNetworkLevel(game::Game& game);
  // A direct start's next step, once the lobby shows its list.
  void CarryOnDirectStart(game::Game& game);
  // The lobby's keys, pointer and controller, and its picture (lobby.cpp).
  void LobbyInput(game::Game& game);
  void PromptInput(game::Game& game);
  void ListInput(game::Game& game);
  void DrawLobby(game::Game& game) const;
  // The key went down since the previous frame.
  bool Pressed(game::Game& game, int virtualKey);

  std::unique_ptr<dplay::Network> network_;
  std::unique_ptr<TNetPlay> comm_;
  game::Game* game_ = nullptr;  // the game being polled: the handlers run only inside Poll

  NetState state_ = NetState::ChoosingConnection;
  LobbyStep step_ = LobbyStep::Nickname;
  LobbyFocus focus_ = LobbyFocus::List;
  std::string nickname_;
  std::string input_;    // what the prompt holds
  std::string address_;  // the address provider's answer
  std::vector<std::string> list_;
  std::int32_t selected_ = -1;
  std::string status_;
  bool hosting_ = false;
  bool joinEnabled_ = true, newGameEnabled_ = true;
  std::uint32_t hostId_ = 0;  // the session's host, on a joined machine
  std::uint32_t lobbyRefreshTime_ = 0;
  std::uint32_t sessionSearchTime_ = 0;
  std::uint32_t ignored_ = 0;
  std::optional<game::NetStart> direct_;
  input::ControlFlags previous_{};
  std::array<bool, 256> held_{};
};

}  // namespace zandrel::net
