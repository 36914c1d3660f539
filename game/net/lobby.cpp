// The lobby in the game's window: its picture and what the keyboard, the pointer and the
// controller do there.
#include <algorithm>

#include "engine/overlay.h"
#include "game/hud.h"
#include "game/net/network_game.h"

namespace zandrel::net {
namespace {

// Places on the lobby's panel, as fractions of the screen.
struct Box {
  float X0, Y0, X1, Y1;
  bool Holds(const game::PointerState& p) const { return p.X >= X0 && p.X < X1 && p.Y >= Y0 && p.Y < Y1; }
};
constexpr Box kNewGamePlate{0.1f, 0.76f, 0.47f, 0.86f};
constexpr Box kJoinGamePlate{0.53f, 0.76f, 0.9f, 0.86f};
constexpr float kListX = 0.1f, kListRight = 0.9f, kListTop = 0.22f, kRowHeight = 0.055f;
constexpr int kVisibleRows = 8;
constexpr float kMarkerWidth = 0.05f, kMarkerHeight = 0.045f;
constexpr std::size_t kAddressLength = 255;

const char* const kNickname = "Please enter your Nickname:";
const char* const kAddress = "Please enter the host's address (and :port):";

// The first entry shown, so that the selected one is among the visible rows.
std::int32_t FirstRow(std::int32_t selected) { return std::max(0, selected - (kVisibleRows - 1)); }

// Only the characters the game's fonts hold are typed.
bool Typeable(char c) { return c >= 32 && c <= 126; }

}  // namespace

bool NetworkGame::Pressed(game::Game& game, int virtualKey) {
  const bool down = game.Services.Input.KeyDown(virtualKey);
  bool& held = held_[static_cast<std::size_t>(virtualKey & 0xFF)];
  const bool pressed = down && !held;
  held = down;
  return pressed;
}

void NetworkGame::LobbyFrame(game::Game& game) {
  game_ = &game;
  LobbyInput(game);
  if (game.Frame.CurrentScreen != game::Screen::Network) return;  // left, or the game started
  if (direct_ && step_ == LobbyStep::List) {
    const game::NetStart& start = *direct_;
    // A joiner that found nothing looks again, for a host that was not up yet.
    if (state_ == NetState::ChoosingSession && comm_->Sessions.empty() &&
        game.Frame.LastTick - sessionSearchTime_ > kSessionRetryMs) {
      comm_->ListSessions();
      ShowSessions();
      sessionSearchTime_ = game.Frame.LastTick;
      CarryOnDirectStart(game);
    }
    if (hosting_ && state_ == NetState::InSession && start.Players > 0 && comm_->PlayerCount() - 1 >= start.Players) {
      NewGameClick(game);
      return;
    }
  }
  if (state_ == NetState::InSession && game.Frame.LastTick - lobbyRefreshTime_ > kLobbyRefreshMs) {
    ShowPlayers();
    lobbyRefreshTime_ = game.Frame.LastTick;
  }
  if (game.Frame.CurrentScreen != game::Screen::Network) return;
  DrawLobby(game);
  game.Engine.Back->SwapView(*game.View);
}

void NetworkGame::LobbyInput(game::Game& game) {
  const input::ControlFlags& now = game.Hero().Controls;
  const auto edge = [&](std::size_t flag) { return now[flag] && !previous_[flag]; };
  const bool back = Pressed(game, input::vk::Escape) || edge(input::kButton4);
  if (step_ == LobbyStep::List) {
    if (back) return LeaveLobby(game);
    ListInput(game);
  } else {
    if (back) {
      if (step_ == LobbyStep::Nickname) return LeaveLobby(game);
      step_ = LobbyStep::List;  // no address: the providers again
    } else {
      PromptInput(game);
    }
  }
  previous_ = now;
}

void NetworkGame::PromptInput(game::Game& game) {
  const std::size_t limit = step_ == LobbyStep::Nickname ? dplay::kFormalNameSize - 1 : kAddressLength;
  for (const char c : game.Services.Input.TypedText()) {
    if (Typeable(c) && input_.size() < limit) input_ += c;
  }
  if (Pressed(game, input::vk::Back) && !input_.empty()) input_.pop_back();
  const game::PointerState pointer = game.Services.Input.Pointer();
  // The controller's first button accepts too; the space bar, which sets the same flag,
  // only types.
  const bool button = game.Hero().Controls[input::kButton1] && !previous_[input::kButton1] &&
                      !game.Services.Input.KeyDown(input::vk::Space);
  const bool accept = Pressed(game, input::vk::Return) || button || (pointer.Clicked && kNewGamePlate.Holds(pointer));
  if (pointer.Clicked && kJoinGamePlate.Holds(pointer)) {
    if (step_ == LobbyStep::Nickname) return LeaveLobby(game);
    step_ = LobbyStep::List;
    return;
  }
  if (!accept) return;
  game.Services.Sounds.PlayInterface(game::InterfaceSound::Click);
  if (step_ == LobbyStep::Nickname) {
    AcceptNickname(game, input_);
  } else {
    AcceptAddress(game, input_);
  }
}

void NetworkGame::ListInput(game::Game& game) {
  const input::ControlFlags& now = game.Hero().Controls;
  const auto edge = [&](std::size_t flag) { return now[flag] && !previous_[flag]; };
  const auto count = static_cast<std::int32_t>(list_.size());
  const auto choose = [&](LobbyFocus focus) {
    focus_ = focus;
    game.Services.Sounds.PlayInterface(game::InterfaceSound::Choice);
  };
  if (edge(input::kUp) && count > 0) {
    selected_ = std::max(selected_ - 1, 0);
    choose(LobbyFocus::List);
  }
  if (edge(input::kDown) && count > 0) {
    selected_ = std::min(selected_ + 1, count - 1);
    choose(LobbyFocus::List);
  }
  if (edge(input::kLeft) && newGameEnabled_) choose(LobbyFocus::NewGame);
  if (edge(input::kRight) && joinEnabled_) choose(LobbyFocus::JoinGame);
  if (Pressed(game, input::vk::Tab)) {
    choose(focus_ == LobbyFocus::List      ? (newGameEnabled_ ? LobbyFocus::NewGame : LobbyFocus::JoinGame)
           : focus_ == LobbyFocus::NewGame ? LobbyFocus::JoinGame
                                           : LobbyFocus::List);
  }

  LobbyFocus pressed = LobbyFocus::List;
  bool press = Pressed(game, input::vk::Return) || edge(input::kButton1);
  if (press) {
    // On the list, the button that goes on: "Join Game" while it can, else "Go".
    pressed = focus_ != LobbyFocus::List ? focus_ : joinEnabled_ ? LobbyFocus::JoinGame : LobbyFocus::NewGame;
  }
  const game::PointerState pointer = game.Services.Input.Pointer();
  if (pointer.Clicked) {
    if (kNewGamePlate.Holds(pointer)) {
      press = true;
      pressed = focus_ = LobbyFocus::NewGame;
    } else if (kJoinGamePlate.Holds(pointer)) {
      press = true;
      pressed = focus_ = LobbyFocus::JoinGame;
    } else if (pointer.X >= kListX && pointer.X < kListRight && pointer.Y >= kListTop) {
      const auto row = static_cast<std::int32_t>((pointer.Y - kListTop) / kRowHeight);
      if (row < kVisibleRows && FirstRow(selected_) + row < count) {
        selected_ = FirstRow(selected_) + row;
        choose(LobbyFocus::List);
      }
    }
  }
  if (!press) return;
  if (pressed == LobbyFocus::NewGame && newGameEnabled_) {
    game.Services.Sounds.PlayInterface(game::InterfaceSound::Click);
    NewGameClick(game);
  } else if (pressed == LobbyFocus::JoinGame && joinEnabled_) {
    game.Services.Sounds.PlayInterface(game::InterfaceSound::Click);
    JoinGameClick(game);
  }
}

void NetworkGame::DrawLobby(game::Game& game) const {
  engine::Engine& engine = game.Engine;
  engine::RenderView& view = *game.View;
  engine.Back->ClearView(0, view);
  if (!engine.Pictures[kLobbySlot].Empty()) {
    engine.Back->DrawPicture(engine.Pictures[kLobbySlot], true, view, 0, 0, 1, 1);
  }
  const engine::Picture& marker = engine.Pictures[engine::kSelectSlot];
  const auto mark = [&](float x, float y) {
    engine.Back->DrawPicture(marker, true, view, x, y, kMarkerWidth, kMarkerHeight);
  };
  const auto caption = [&](const Box& plate, const std::string& text, bool focused) {
    const float width = engine::TextWidth(text, true);
    const float x = (plate.X0 + plate.X1 - width) / 2, y = (plate.Y0 + plate.Y1) / 2 - 0.0125f;
    engine::DrawText(engine, view, text, true, y, x);
    if (focused) mark(x - kMarkerWidth - 0.01f, (plate.Y0 + plate.Y1 - kMarkerHeight) / 2);
  };
  game::DrawCentred(engine, view, "Network game", true, 0.075f);

  if (step_ != LobbyStep::List) {
    engine::DrawText(engine, view, step_ == LobbyStep::Nickname ? kNickname : kAddress, false, 0.3f, 0.13f);
    const bool blink = game.Frame.LastTick % 1000 < 500;
    engine::DrawText(engine, view, input_ + (blink ? "_" : ""), true, 0.38f, 0.13f);
    caption(kNewGamePlate, "OK", false);
    caption(kJoinGamePlate, "Cancel", false);
    game::DrawCentred(engine, view, "TYPE, THEN ENTER     ESC GOES BACK", false, 0.895f);
    return;
  }

  const char* heading = state_ == NetState::ChoosingConnection ? "CHOOSE A CONNECTION"
                        : state_ == NetState::ChoosingSession  ? "CHOOSE A GAME"
                                                               : "PLAYERS";
  engine::DrawText(engine, view, heading, false, 0.158f, kListX);
  const std::int32_t first = FirstRow(selected_);
  for (std::int32_t row = 0; row < kVisibleRows && first + row < static_cast<std::int32_t>(list_.size()); ++row) {
    const float y = kListTop + kRowHeight * static_cast<float>(row);
    engine::DrawText(engine, view, list_[static_cast<std::size_t>(first + row)], true, y + 0.01f, kListX + 0.065f);
    if (first + row == selected_) mark(kListX + 0.01f, y + 0.005f);
  }
  if (!status_.empty()) game::DrawCentred(engine, view, status_, false, 0.7f);
  if (newGameEnabled_) caption(kNewGamePlate, hosting_ ? "Go" : "Create Game", focus_ == LobbyFocus::NewGame);
  if (joinEnabled_) caption(kJoinGamePlate, "Join Game", focus_ == LobbyFocus::JoinGame);
  game::DrawCentred(engine, view, "ARROWS CHOOSE   ENTER PRESSES   ESC LEAVES", false, 0.895f);
}

}  // namespace zandrel::net
