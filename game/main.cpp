// zandrel: the game. One window drawn through the 3D board layer (OpenGL), or with
// --headless the play screen on a null board with scripted controls.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound.h"
#include "engine/glide/glide_backend.h"
#include "game/devices/device_ports.h"
#include "game/devices/headless_sound.h"
#include "game/devices/main_window.h"
#include "game/game.h"
#include "game/headless.h"
#include "game/net/network_game.h"
#include "game/screens.h"
#include "game/settings.h"
#include "input/controls.h"
#include "input/key_state.h"
#include "platform/dplay/dplay.h"
#include "platform/glide/clip_screen.h"
#include "platform/glide/glide.h"
#include "platform/glide/opengl_glide.h"
#include "platform/mci/mci.h"
#include "platform/midas/midas.h"
#include "platform/win/data_tree.h"
#include "platform/win/message.h"
#include "platform/win/sdl/message_box.h"
#include "platform/win/sdl/window.h"

namespace {

using namespace zandrel;

constexpr const char* kUsage =
    "Usage: zandrel [--data DIR] [--level FILE.lev] [--screenshot OUT.png --frames N]\n"
    "               [--host [--port P] [--players N] | --join ADDRESS[:PORT]] [--name NICK]\n"
    "       zandrel --headless (--level FILE.lev | --level-index N) [--frames N] [--frame-ms MS]\n"
    "               [--input SCRIPT] [--lives N] [--json OUT] [--data DIR] [--cells x0,y0,z0:x1,y1,z1]\n"
    "               [--audio]\n"
    "       zandrel --headless (--host [--port P] --players N | --join ADDRESS[:PORT]) [--name NICK]\n"
    "               [--level FILE.lev | --level-index N] [the options above]\n"
    "\n"
    "Without --headless the game opens its window. The data tree is found from --data,\n"
    "$ZANDREL_DATA, the program's folder (data/) or the installed share folder.\n"
    "--level plays that level on its own and closes when it ends (its exit, quit, the last life).\n"
    "--screenshot runs N frames from the title screen, writes the last picture and quits.\n"
    "In play: F1 help, F4 resolution, F5 texture detail, F6 or Alt+Enter full screen,\n"
    "F7 music, F9 frame rate, F12 screenshot (to the pictures folder).\n"
    "Headless runs play a level from its start with no display and no sound, the clock\n"
    "advanced by a fixed step per frame, the controls from an input script (lines\n"
    "FROM TO CONTROL[+CONTROL...]: up down left right jump look action menu kp_plus\n"
    "kp_minus f1 f4 f5 f7 f9), and print one JSON object describing the end state.\n"
    "With --audio a headless run keeps sound and music on SDL's audio output (SDL_AUDIODRIVER=disk\n"
    "writes what is mixed to SDL_DISKAUDIOFILE) and paces its frames at the game's speed.\n"
    "\n"
    "Network play: N on the title screen (a controller's Back button) opens the lobby. --host\n"
    "creates a session at once (listening on --port, else the \"Port\" of the settings file's\n"
    "\"Network\" section, else 28760; the port after it answers the session queries); --join\n"
    "joins the session at ADDRESS (default port as above). A host given --players N presses\n"
    "\"Go\" once N players, itself included, are in. --name gives the nickname the lobby would\n"
    "ask for (\"Player\" when empty). The local network's session query goes to\n"
    "$ZANDREL_DISCOVERY (addresses separated by commas), else the settings' \"Discovery\",\n"
    "else the broadcast addresses of the machine's networks.\n"
    "Headless network runs go through the lobby first, wait at most 30 s for the start, then\n"
    "count frames, script lines and time from the start, paced at real time. The JSON gains\n"
    "\"net\" {local_slot, last_slot, players [{slot, id, name}], sent, received, refused,\n"
    "dropped} and \"slots\" [{x, y, z, heading, animation, gone}] for slots 0..3.\n";

// The session layer's settings: the port from the command line, else the settings file;
// the addresses of the session query from the environment, else the settings file, else
// the machine's broadcast addresses.
dplay::Settings NetworkSettings(const game::Settings& settings, std::optional<std::uint16_t> port) {
  dplay::Settings net;
  if (port) {
    net.port = *port;
  } else if (settings.NetworkPort != 0) {
    net.port = settings.NetworkPort;
  }
  if (const char* discovery = std::getenv("ZANDREL_DISCOVERY"); discovery != nullptr && *discovery != '\0') {
    net.discoveryAddresses = game::SplitAddresses(discovery);
  } else if (!settings.Discovery.empty()) {
    net.discoveryAddresses = settings.Discovery;
  } else {
    net.discoveryAddresses = dplay::LocalBroadcastAddresses();
  }
  return net;
}

int Headless(const std::vector<std::string>& args) {
  base::Expected<game::HeadlessOptions> options = game::ParseHeadlessOptions(args);
  if (!options) {
    std::fprintf(stderr, "zandrel: %s\n", options.error().c_str());
    return 2;
  }
  glide::NullGlide board;
  engine::glide::GlideBackend display(board);
  if (base::Status started = display.StartEngine(); !started) win::FatalError(started.error());
  std::unique_ptr<net::NetworkGame> network;
  if (options->Network) {
    base::Expected<std::filesystem::path> data = win::FindDataTree(options->Data);
    const game::Settings settings = data ? game::ReadSettings(*data) : game::Settings{};
    network = std::make_unique<net::NetworkGame>(NetworkSettings(settings, options->Port));
  }
  if (!options->Audio) return game::RunHeadless(*options, display, nullptr, network.get());
  game::devices::HeadlessDeviceSound sound;
  return game::RunHeadless(*options, display, &sound, network.get());
}

// A scripted picture: run this many frames, write the last one, quit.
struct ScreenshotRun {
  std::string Path;
  long Frames = 0;
};

// --host, --join and what goes with them.
struct NetworkOptions {
  std::optional<game::NetStart> Start;
  std::optional<std::uint16_t> Port;
};

struct WindowedRun {
  std::string Data;
  ScreenshotRun Shot;
  std::string Level;  // --level: play this level on its own, then close
  NetworkOptions Net;
};

int Play(const WindowedRun& run) {
  const ScreenshotRun& shot = run.Shot;
  base::Expected<std::filesystem::path> data = win::FindDataTree(run.Data);
  if (!data) win::FatalError(data.error());
  const game::Settings settings = game::ReadSettings(*data);

  // No display or no OpenGL context: the game has no board. The reason goes to stderr.
  const auto noBoard = [](const std::string& reason) {
    std::fprintf(stderr, "zandrel: %s\n", reason.c_str());
    win::FatalError("No 3DFX card detected !");
  };
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_AUDIO) != 0)
    noBoard(SDL_GetError());
  win::sdl::WindowSettings ws;
  ws.Left = settings.Left;
  ws.Top = settings.Top;
  ws.Width = settings.Width;
  ws.Height = settings.Height;
  ws.DisplayWidth = settings.Display.DisplayWidth;
  ws.DisplayHeight = settings.Display.DisplayHeight;
  ws.Fullscreen = settings.FullscreenRequest;
  base::Expected<std::unique_ptr<win::sdl::SdlWindow>> window = win::sdl::SdlWindow::Create(ws);
  if (!window) noBoard(window.error());
  win::sdl::SdlMessageBox box((*window)->Handle());
  win::SetMessageBoxDisplay(&box);
  auto board = glide::OpenGlGlide::Create((*window)->Handle());
  if (!board) noBoard(board.error());
  engine::glide::GlideBackend display(**board);
  if (base::Status started = display.StartEngine(); !started) win::FatalError(started.error());

  input::KeyState keys;
  input::InputDevices devices(keys, &(*window)->Joystick());
  devices.ProbeJoystick();
  auto pump = [&] {
    (*window)->PumpEvents(keys);
    return !(*window)->CloseRequested();
  };
  game::devices::DeviceControls controls(devices, keys, pump, window->get());
  win::RealClock clock;
  // MIDI files, CD tracks and video clips go through the media control service; clips
  // are drawn into the window.
  glide::GlClipScreen clipScreen((*window)->Handle(), **board);
  // The sound state outlives every port that holds its sounds.
  audio::Audio sound;
  sound.DataFolder = *data;
  mci::MciOptions mediaOptions;
  mediaOptions.DataFolder = *data;
  const std::unique_ptr<mci::Mci> mediaControl = mci::CreateMci(&clipScreen, mediaOptions);
  const std::unique_ptr<midas::Midas> moduleLibrary = midas::CreateMixerMidas();
  game::devices::DeviceMusic music(*moduleLibrary, mediaControl.get(), &clipScreen);
  game::devices::DeviceSounds sounds;
  game::devices::MainWindow mainWindow(**window, **board);
  mainWindow.ShowPointer(false);  // the game is played with keys and joystick
  net::NetworkGame network(NetworkSettings(settings, run.Net.Port));
  auto game = std::make_unique<game::Game>(
      game::GameServices{display, controls, sounds, music, clock, *data, &mainWindow, &network});
  sounds.Attach(sound, *game->View);
  audio::InitAudio(sound);
  audio::SetHearingRange(*game->View, audio::kDefaultHearingRange);
  music.Start(*game, sound, &display);

  display.OpenView(settings.Display.DisplayWidth, settings.Display.DisplayHeight, *game->View);
  game::FrameTick(*game);  // not ready yet: the loading text
  if (base::Status started = game::GameStartup(*game, settings); !started) win::FatalError(started.error());
  controls.WaitAllKeysUp();
  game::ResetFrameClock(*game);
  game->Frame.GameReady = true;
  if (run.Level.empty()) {
    game::ChangeScreen(*game, game::Screen::Title);
    if (run.Net.Start) network.StartSession(*game, *run.Net.Start);
  } else if (base::Status started = game::StartOnlyLevel(*game, run.Level); !started) {
    win::FatalError(started.error());
  }
  // A level played on its own ends the program when its play ends (its exit, the menu's
  // quit or the last life).
  const auto playing = [&] { return run.Level.empty() || game->Frame.CurrentScreen == game::Screen::Play; };
  int status = 0;
  for (long frame = 0; !game->QuitRequested && playing() && pump(); ++frame) {
    if (!shot.Path.empty() && frame == shot.Frames) {
      if (base::Status saved = mainWindow.SaveFrame(shot.Path); !saved) {
        std::fprintf(stderr, "zandrel: %s\n", saved.error().c_str());
        status = 1;
      }
      break;
    }
    if (const std::uint32_t wait = game::WaitBeforeFrame(*game); wait > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(wait));
      if (!pump()) break;  // the events of the wait come in before the frame
    }
    game::FrameTick(*game);
  }

  const win::sdl::Rect place = (*window)->Placement();
  if (base::Status saved = game::WriteSettings(
          *data, game::SettingsAtShutdown(*game, place.Y, place.X, place.Width, place.Height, (*window)->Fullscreen()));
      !saved) {
    std::fprintf(stderr, "zandrel: %s\n", saved.error().c_str());
  }
  sounds.PlayInterface(game::InterfaceSound::Click);
  mainWindow.ShowPointer(true);
  display.CloseView();
  music.Shutdown();
  game.reset();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!args.empty() && args[0] == "--headless") return Headless({args.begin() + 1, args.end()});
  WindowedRun run;
  ScreenshotRun& shot = run.Shot;
  std::string nickname;
  std::int32_t players = 0;
  bool framesGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--data" && hasValue) {
      run.Data = args[++i];
    } else if (args[i] == "--level" && hasValue) {
      run.Level = std::filesystem::absolute(args[++i]).string();
    } else if (args[i] == "--host" && !run.Net.Start) {
      run.Net.Start = game::NetStart{};
      run.Net.Start->Host = true;
    } else if (args[i] == "--join" && hasValue && !run.Net.Start) {
      run.Net.Start = game::NetStart{};
      run.Net.Start->Address = args[++i];
    } else if (args[i] == "--name" && hasValue) {
      nickname = args[++i];
    } else if ((args[i] == "--port" || args[i] == "--players") && hasValue) {
      const std::string& name = args[i];
      char* end = nullptr;
      const long value = std::strtol(args[++i].c_str(), &end, 10);
      const bool port = name == "--port";
      if (*end != '\0' || value < 1 || value > (port ? 65534 : 4)) {
        std::fprintf(stderr, "zandrel: bad value for %s\n", name.c_str());
        return 2;
      }
      if (port) {
        run.Net.Port = static_cast<std::uint16_t>(value);
      } else {
        players = static_cast<std::int32_t>(value);
      }
    } else if (args[i] == "--screenshot" && hasValue) {
      shot.Path = args[++i];
    } else if (args[i] == "--frames" && hasValue) {
      char* end = nullptr;
      shot.Frames = std::strtol(args[++i].c_str(), &end, 10);
      framesGiven = *end == '\0' && shot.Frames >= 1 && shot.Frames <= 1000000;
      if (!framesGiven) {
        std::fprintf(stderr, "zandrel: --frames takes a number of frames from 1 to 1000000\n");
        return 2;
      }
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (shot.Path.empty() != !framesGiven) {
    std::fprintf(stderr, "zandrel: --screenshot and --frames go together\n");
    return 2;
  }
  if (run.Net.Start) {
    run.Net.Start->Nickname = nickname;
    run.Net.Start->Players = run.Net.Start->Host ? players : 0;
  }
  const int status = Play(run);
  SDL_Quit();  // after every device of the run has closed
  return status;
}
