#include "game/screens.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/angles.h"
#include "engine/mesh_file.h"
#include "engine/overlay.h"
#include "engine/scene.h"
#include "game/fade.h"
#include "game/hud.h"
#include "platform/win/message.h"
#include "world/behaviour.h"
#include "world/level_file.h"
#include "world/level_list.h"
#include "world/level_scene.h"

namespace zandrel::game {

const char* const kHelpText =
    "F4 RESOLUTION  F5 DETAILS  F6 SCREEN MODE  F7 MUSIC ON/OFF  F8 STEREOSCOPIC\r\r"
    "ROTATE                 : LEFT/RIGHT\r"
    "FORWARD/BACKWARDS      : UP/DOWN\r"
    "JUMP                   : BUTTON 1\r"
    "LOOK UP/DOWN           : BUTTON 2 + UP/DOWN\r"
    "DIG/ACTIVATE/PUSH      : BUTTON 3\r"
    "OPTIONS                : BUTTON 4\r"
    "NETWORK GAME           : N ON THE TITLE SCREEN (CONTROLLER: BACK)\r\r\r"
    "KEYBORAD : BUTTON 1=SPACE   BUTTON 2=CTRL   BUTTON 3=SHIFT   BUTTON 4=ESC";

namespace {

// The title page's scrambled lines, by text variant (the plain version line is scrambled
// once here so that drawing it through Scramble gives it back).
const std::string kTitleLines[3][2] = {
    {world::Scramble("GATHER THE GOLD, DIG YOUR WAY, ESCAPE THE WATCHERS"),
     world::Scramble("VERSION BETA 6 - 12/1999")},
    {world::Scramble("ARROWS MOVE  SPACE JUMPS  SHIFT DIGS  ESC FOR OPTIONS"), world::Scramble("A JOYSTICK WORKS TOO")},
    {world::Scramble("TWELVE VAULTS WAIT BELOW THE HILLS"), world::Scramble("F1 SHOWS THE KEYS")},
};

bool AnyButton(const input::ControlFlags& c) {
  return c[input::kButton1] || c[input::kButton2] || c[input::kButton3] || c[input::kButton4];
}

void TitleKeys(Game& game) {
  const input::ControlFlags& c = game.Hero().Controls;
  if (game.Title.ButtonsHeldOver) {
    game.Title.ButtonsHeldOver = AnyButton(c);
    return;
  }
  if (c[input::kButton1] || c[input::kButton2] || c[input::kButton3]) {
    if (!game.Frame.FadeActive) game.Services.Sounds.PlayInterface(InterfaceSound::Choice);
    StartFade(game, +1);
  }
  if (c[input::kButton4]) game.QuitRequested = true;
  if (game.Frame.FadeActive) return;
  if (game.Services.Input.KeyDown('N') || game.Services.Input.KeyDown(input::vk::GamepadView)) {
    game.Services.Sounds.PlayInterface(InterfaceSound::Click);
    ChangeScreen(game, Screen::Network);
  }
}

// On a screen's first frame its music starts; answers whether this is that frame.
bool EnterScreen(Game& game, std::int32_t music) {
  if (!game.Frame.ScreenEntered) return false;
  game.Services.Music.PlayMusic(music);
  game.Frame.ScreenEntered = false;
  return true;
}

}  // namespace

void TitleFrame(Game& game) {
  FrameState& frame = game.Frame;
  TitleState& title = game.Title;
  world::World& world = *game.World;
  if (EnterScreen(game, 0)) {
    title = TitleState{};
    title.ButtonsHeldOver = AnyButton(game.Hero().Controls);
  }
  TitleKeys(game);
  if (frame.VideoPlaying || frame.CurrentScreen != Screen::Title) return;
  const std::int32_t page = static_cast<std::int32_t>(((frame.LastTick - frame.ScreenStartTime) / 15500) % 2);
  if (page != title.TitlePage) {
    title.DemoDepth = 10240;
    title.LogoZoom = 100;
    if (page == 0) title.TextVariant = (title.TextVariant + 1) % 3;
    title.TitlePage = page;
  }
  game.Engine.Back->ClearView(0, *game.View);
  if (page == 0) {
    const float w = (title.LogoZoom + 1) * 0.9296875f, h = (title.LogoZoom + 1) * 0.1645833f;
    title.LogoZoom -= world::TimeScaled(world, title.LogoZoom * 0.35f);
    game.Engine.Back->DrawPicture(game.Engine.Pictures[engine::kLogoSlot], false, *game.View, (1 - w) / 2,
                                  (1 - h) / 2 - 0.2f, w, h);
    if (frame.LastTick % 2000 < 1000) DrawCentred(game.Engine, *game.View, "PRESS FIRE TO START", true, 0.62f);
    for (int i = 0; i < 2; ++i) {
      DrawCentred(game.Engine, *game.View, world::Scramble(kTitleLines[title.TextVariant][i]), false,
                  i == 0 ? 0.92f : 0.96f);
    }
  } else {
    title.DemoDepth -= world::TimeScaled(world, 70);
    if (title.DemoDepth < 300) title.DemoDepth = -2000;
    engine::BeginScene(game.Engine, *game.View, 0, 0, 204, 0, 0, 0);
    engine::AddLight(*game.View, 0, 0, 0, 16000);
    world::PlayerSlot& hero = game.Hero();
    hero.WalkPhase += world::TimeScaled(world, 0.8f);
    if (hero.WalkPhase > 1 && world::NextWalkPose(hero)) {
      game.Services.Sounds.PlayAt(hero.StepSound, 0, 0, static_cast<std::int32_t>(title.DemoDepth), 254);
    }
    world::BlendPoses(world);
    engine::AddMesh(game.Engine, *game.View, hero.WorkingMesh, 0, 0, static_cast<std::int32_t>(title.DemoDepth), 0, 0,
                    0, 0);
    engine::EndScene(game.Engine, *game.View);
    game.Services.Sounds.UpdateSounds(game.View->Cam);
    game.Engine.Back->DrawPicture(game.Engine.Pictures[engine::kTitleSlot], true, *game.View, 0, 0, 1, 1);
  }
  if (frame.FadeDone) {
    game.Hero().LevelIndex = 0;
    game.Hero().Lives = 3;
    StartLevel(game, game.LevelList.front());
  }
}

void CreditsFrame(Game& game) {
  FrameState& frame = game.Frame;
  CreditsState& credits = game.Credits;
  world::World& world = *game.World;
  if (EnterScreen(game, 1)) {
    credits.Scroll = 1;
    StartParticles(credits.Dust, world.Random);
  }
  const input::ControlFlags& c = game.Hero().Controls;
  if (c[input::kButton1] || c[input::kButton2] || c[input::kButton3] || c[input::kButton4]) {
    if (!frame.FadeActive) game.Services.Sounds.PlayInterface(InterfaceSound::Choice);
    StartFade(game, +1);
  }
  if (frame.VideoPlaying) return;
  if (frame.FadeDone) {
    StartFade(game, -1);
    ChangeScreen(game, Screen::Title);
  }
  game.Engine.Back->ClearView(0, *game.View);
  credits.Angle += world::TimeScaled(world, 200);
  const auto angle = static_cast<std::int32_t>(credits.Angle);
  engine::BeginScene(game.Engine, *game.View, static_cast<std::int32_t>(engine::AngleCos(angle) * 1024), 0,
                     static_cast<std::int32_t>(engine::AngleSin(angle) * 1024),
                     static_cast<std::int32_t>(-credits.Angle - 8192), 0, 0);
  engine::AddLight(*game.View, 0, 0, 0, 10000);
  engine::AddMesh(game.Engine, *game.View, game.Hero().Poses[world::kPoseStand], 0, 150, 0, 0, 0, 0, 0);
  engine::AddMesh(game.Engine, *game.View, world.Bank.Podium, 0, 0, 0, 0, 0, 0, 0);
  engine::AddMesh(game.Engine, *game.View, world.Bank.Flag, 0, 0, 0, 0, 0, 0, 0);
  UpdateParticles(credits.Dust, game.Engine, *game.View, world, world.Bank.Particle);
  engine::EndScene(game.Engine, *game.View);
  DrawCreditsText(game.Engine, *game.View, credits.Lines, credits.Scroll);
  credits.Scroll -= world::TimeScaled(world, 0.005f);
}

void StartLevel(Game& game, const std::string& fileName) {
  world::BankServices bank = game.Bank();
  base::Expected<bool> read = world::ReadLevel(*game.World, bank, fileName, game.Quality);
  if (!read) win::FatalError(read.error());
  // The music cells' pieces load now rather than when the hero walks in.
  for (const world::MusicCell& cell : game.World->Map.MusicCells) game.Services.Music.PrepareMusic(cell.Music);
  ResetFrameClock(game);  // a long load is not part of the next frame
  StartFade(game, -1);
  ChangeScreen(game, Screen::Play);
  game.Services.Sounds.StopAllSounds();
  game.LevelTitle = {true, 0.7f, game.Frame.LastTick};
  Record(game, EventType::LevelStart, 0, fileName);
}

base::Status StartOnlyLevel(Game& game, const std::string& fileName) {
  if (!world::LoadLevelFile(fileName, game.Services.DataFolder))
    return base::Failure{world::MissingLevelMessage(fileName)};
  game.LevelList = {fileName};
  world::PlayerSlot& hero = game.Hero();
  hero.LevelIndex = 0;
  hero.Lives = 3;
  StartLevel(game, fileName);
  return {};
}

void OptionKeys(Game& game) {
  if (game.Frame.VideoPlaying) return;
  FrameState& frame = game.Frame;
  GameServices& s = game.Services;
  if (s.Input.KeyDown(input::vk::F9)) frame.ShowFps = !frame.ShowFps;
  if (s.Input.KeyDown(input::vk::F7)) {
    s.Sounds.PlayInterface(InterfaceSound::Choice);
    game.MusicOn = !game.MusicOn;
    Notice(game, game.MusicOn ? "MUSIC ON" : "MUSIC OFF");
    s.Music.SetMusicVolume(game.MusicOn ? 63 : 0);
  }
  if (s.Input.KeyDown(input::vk::F1)) {
    s.Sounds.PlayInterface(InterfaceSound::Choice);
    Notice(game, kHelpText);
  }
  if (s.Input.KeyDown(input::vk::F4)) {
    s.Sounds.PlayInterface(InterfaceSound::Choice);
    const bool small = game.View->CentreY == 240;
    const int width = small ? 800 : 640, height = small ? 600 : 480;
    game.Engine.Back->OpenView(width, height, *game.View);
    if (s.Window != nullptr) s.Window->DisplaySizeChanged(width, height);
    Notice(game, "RESOLUTION " + std::to_string(width) + "x" + std::to_string(height));
  }
  // Beyond the keys the help lists as working: F6 switches the screen mode, F12 keeps a
  // picture of the screen.
  if (s.Input.KeyDown(input::vk::F6) && s.Window != nullptr) {
    s.Sounds.PlayInterface(InterfaceSound::Choice);
    if (s.Window->ToggleFullscreen()) Notice(game, s.Window->Fullscreen() ? "FULL SCREEN" : "WINDOWED");
  }
  if (s.Input.KeyDown(input::vk::F12) && s.Window != nullptr) {
    base::Expected<std::filesystem::path> shot = s.Window->SaveScreenshot();
    if (shot) {
      s.Sounds.PlayInterface(InterfaceSound::Click);
      std::printf("zandrel: screenshot %s\n", shot->c_str());
      Notice(game, "SCREENSHOT SAVED");
    } else {
      std::fprintf(stderr, "zandrel: %s\n", shot.error().c_str());
      Notice(game, "SCREENSHOT FAILED");
    }
  }
  if (s.Input.KeyDown(input::vk::F5)) {
    s.Sounds.PlayInterface(InterfaceSound::Choice);
    const bool high = game.World->Bank.HighQuality;
    world::BankServices bank = game.Bank();
    base::Expected<bool> loaded = world::LoadObjectBank(bank, *game.World, "Standard.bnk", high ? "Low" : "High");
    if (!loaded) win::FatalError(loaded.error());
    game.Quality = high ? world::TextureQuality::Low : world::TextureQuality::High;
    ResetFrameClock(game);
    Notice(game, high ? "TEXTURE MODE OFF" : "TEXTURE MODE ON");
  }
}

}  // namespace zandrel::game
