#include <algorithm>
#include <cmath>

#include "engine/overlay.h"
#include "engine/scene.h"
#include "game/fade.h"
#include "game/game.h"
#include "game/screens.h"
#include "world/level_list.h"

namespace zandrel::game {

Game::Game(const GameServices& services)
    : Services(services),
      World(std::make_unique<world::World>()),
      Engine(services.Backend),
      View(std::make_unique<engine::RenderView>()) {
  engine::StartEngineCore(Engine);
}

base::Status GameStartup(Game& game, const Settings& settings) {
  game.World->Random.Seed(static_cast<std::int32_t>(game.Services.Clock.Ticks()));
  game.World->Bank.LoadedName.clear();
  game.World->Bank.LoadedQuality.clear();
  game.World->Bank.LoadedTextureList.clear();
  game.MusicOn = true;
  game.Services.Sounds.LoadInterfaceSounds();
  game.Quality = settings.HighTextures ? world::TextureQuality::High : world::TextureQuality::Low;
  world::BankServices bank = game.Bank();
  base::Expected<bool> loaded =
      world::LoadObjectBank(bank, *game.World, "Standard.bnk", settings.HighTextures ? "High" : "Low");
  if (!loaded) return base::Failure{loaded.error()};
  game.Frame.FreeRunning = true;
  game.Faces = engine::MakeCubeFaces();
  base::Expected<std::vector<std::string>> levels = world::BuildLevelList(game.Services.DataFolder);
  if (!levels) return base::Failure{levels.error()};
  game.LevelList = std::move(*levels);
  base::Expected<std::vector<std::string>> credits = ReadCreditsText(game.Services.DataFolder);
  if (!credits) return base::Failure{credits.error()};
  game.Credits.Lines = std::move(*credits);
  game.Frame.ShowFps = false;
  game.World->LastSlot = 0;
  game.World->LocalSlot = 0;
  for (world::PlayerSlot& slot : game.World->Players) slot.View = 0;
  return {};
}

SettingsToWrite SettingsAtShutdown(const Game& game, std::int32_t top, std::int32_t left, std::int32_t width,
                                   std::int32_t height, bool fullscreen) {
  SettingsToWrite s;
  s.Top = top;
  s.Left = left;
  s.Width = width;
  s.Height = height;
  s.DisplayHeight = game.View->CentreY * 2;
  s.Fullscreen = fullscreen;
  s.HighTextures = game.World->Bank.HighQuality;
  return s;
}

void Notice(Game& game, std::string text) {
  Record(game, EventType::Notice, 0, text);
  ShowNotice(game.Frame, std::move(text));
}

const char* EventTypeName(EventType type) {
  switch (type) {
    case EventType::LevelStart: return "level_start";
    case EventType::Death: return "death";
    case EventType::LifeLost: return "life_lost";
    case EventType::ExitReached: return "exit_reached";
    case EventType::GameOver: return "game_over";
    case EventType::Credits: return "credits";
    case EventType::Pickup: return "pickup";
    case EventType::Dig: return "dig";
    case EventType::Push: return "push";
    case EventType::Lever: return "lever";
    case EventType::DoorOpen: return "door_open";
    case EventType::Notice: return "notice";
    case EventType::Music: return "music";
  }
  return "";
}

void Record(Game& game, EventType type, std::int32_t value, std::string text) {
  game.Events.push_back({game.FrameNumber, type, value, std::move(text)});
}

void NoNetwork::LobbyFrame(Game& game) { ChangeScreen(game, Screen::Title); }

void ResetFrameClock(Game& game) { game.Frame.LastTick = game.Services.Clock.Ticks(); }

void StartFade(Game& game, std::int32_t direction) {
  // A fade that runs refuses a new one, and the frame clock runs on.
  if (game.Frame.FadeActive) return;
  game::StartFade(game.Frame, game.World->Random, game.Services.Clock.Ticks(), direction);
  ResetFrameClock(game);
}

void ChangeScreen(Game& game, Screen screen) {
  FrameState& frame = game.Frame;
  if (screen == frame.CurrentScreen) return;
  frame.FadeDone = false;
  frame.CurrentScreen = screen;
  game.Services.Sounds.StopAllSounds();
  if (frame.VideoPlaying) game.Services.Music.CloseClip();
  frame.ScreenStartTime = frame.LastTick;
  if (game.Services.Window != nullptr) game.Services.Window->ShowPointer(screen == Screen::Network);
  if (screen == Screen::Title || screen == Screen::Credits) frame.ScreenEntered = true;
  if (screen == Screen::Play) {
    game.Menu.MenuOpen = false;
    game.Menu.HeldBefore = {};
  }
  if (screen == Screen::Network) game.Network().EnterLobby(game);
  if (screen == Screen::Credits) game.Credits.Angle = 0;
  ResetFrameClock(game);
}

std::uint32_t WaitBeforeFrame(const Game& game) {
  if (game.Frame.FreeRunning) return 0;
  const std::uint32_t elapsed = game.Services.Clock.Ticks() - game.Frame.LastTick;
  return elapsed >= kGameLoopMs ? 0 : kGameLoopMs - elapsed;
}

void FrameTick(Game& game) {
  FrameState& frame = game.Frame;
  if (!frame.GameReady) {
    if (game.Services.Window != nullptr) game.Services.Window->PaintText("LOADING PLEASE WAIT");
    return;
  }
  game.Network().Poll(game);
  game.Services.Input.ReadControls(game.Hero().Controls);
  OptionKeys(game);
  game.Services.Music.PollMusic();
  const std::uint32_t now = game.Services.Clock.Ticks();
  frame.FrameTime = static_cast<std::int32_t>(now - frame.LastTick);
  frame.LastTick = now;
  game.World->Now = now;
  game.World->FrameTime = frame.FrameTime;

  switch (frame.CurrentScreen) {
    case Screen::Title: TitleFrame(game); break;
    case Screen::Play: PlayFrame(game); break;
    case Screen::Credits: CreditsFrame(game); break;
    case Screen::Network:
      // The lobby presents its own picture, with no fade and no overlay.
      game.Network().LobbyFrame(game);
      ++game.FrameNumber;
      return;
    default: break;
  }

  if (frame.FadeActive) {
    DrawFade(game.Engine, *game.View, game.World->Bank.Transitions, frame, game.FadeMesh);
    AdvanceFade(frame, game.Services.Clock.Ticks());
    if (frame.FadeDone && frame.VideoPlaying) game.Services.Music.CloseClip();
  }
  if (frame.NoticeVisible) {
    frame.NoticeTimeLeft -= frame.FrameTime;
    if (frame.NoticeTimeLeft < 0) frame.NoticeVisible = false;
    engine::DrawText(game.Engine, *game.View, frame.NoticeText, false, 0.01f, 0.01f);
  }
  if (frame.ShowFps) {
    // A frame of no measurable time counts as one millisecond.
    const long fps = std::lround(1000.0 / std::max(frame.FrameTime, 1));
    engine::DrawText(game.Engine, *game.View, "FPS:" + std::to_string(fps), false, 0.04f, 0.01f);
  }
  if (!frame.DebugText.empty()) {
    engine::DrawText(game.Engine, *game.View, "DEBUG String:" + frame.DebugText, false, 0.01f, 0.01f);
    frame.DebugText.clear();
  }
  if (!frame.VideoPlaying) game.Engine.Back->SwapView(*game.View);
  ++game.FrameNumber;
}

}  // namespace zandrel::game
