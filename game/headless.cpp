#include "game/headless.h"

#include "game/game.h"
#include "game/screens.h"
#include "platform/win/ansi.h"
#include "platform/win/data_tree.h"
#include "platform/win/files.h"
#include "platform/win/message.h"
#include "world/level_file.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

namespace zandrel::game {
namespace {

const std::map<std::string, std::size_t, std::less<>>& ControlNames() {
  static const std::map<std::string, std::size_t, std::less<>> names{
      {"up", input::kUp},        {"down", input::kDown},    {"left", input::kLeft},      {"right", input::kRight},
      {"jump", input::kButton1}, {"look", input::kButton2}, {"action", input::kButton3}, {"menu", input::kButton4}};
  return names;
}

const std::map<std::string, int, std::less<>>& KeyNames() {
  static const std::map<std::string, int, std::less<>> names{
      {"kp_plus", input::vk::Add}, {"kp_minus", input::vk::Subtract},
      {"f1", input::vk::F1},       {"f4", input::vk::F4},
      {"f5", input::vk::F5},       {"f7", input::vk::F7},
      {"f9", input::vk::F9}};
  return names;
}

template <class T>
bool Number(std::string_view text, T& value) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

base::Expected<std::vector<ScriptLine>> ParseInputScript(std::string_view text) {
  std::vector<ScriptLine> script;
  std::istringstream in{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string from, to, controls, extra;
    if (!(words >> from)) continue;
    const auto fail = [&](const std::string& what) {
      return base::Failure{"input script line " + std::to_string(number) + ": " + what};
    };
    ScriptLine entry;
    if (!(words >> to >> controls) || (words >> extra)) return fail("expected FROM TO CONTROL[+CONTROL...]");
    if (!Number(from, entry.From) || !Number(to, entry.To) || entry.From < 0 || entry.To < entry.From) {
      return fail("frames must be 0 <= FROM <= TO");
    }
    std::size_t pos = 0;
    while (pos <= controls.size()) {
      std::size_t end = controls.find('+', pos);
      if (end == std::string::npos) end = controls.size();
      const std::string_view name(controls.data() + pos, end - pos);
      if (const auto c = ControlNames().find(name); c != ControlNames().end()) {
        entry.Controls[c->second] = true;
      } else if (const auto k = KeyNames().find(name); k != KeyNames().end()) {
        entry.Keys.push_back(k->second);
      } else {
        return fail("unknown control '" + std::string(name) + "'");
      }
      pos = end + 1;
    }
    script.push_back(std::move(entry));
  }
  return script;
}

void ScriptedControls::ReadControls(input::ControlFlags& flags) {
  flags = {};
  for (const ScriptLine& line : script_) {
    if (frame_ < line.From || frame_ > line.To) continue;
    for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = flags[i] || line.Controls[i];
  }
}

bool ScriptedControls::KeyDown(int virtualKey) {
  for (const ScriptLine& line : script_) {
    if (frame_ < line.From || frame_ > line.To) continue;
    for (int key : line.Keys) {
      if (key == virtualKey) return true;
    }
  }
  return false;
}

base::Expected<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args) {
  HeadlessOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--audio") {
      options.Audio = true;
      continue;
    }
    if (name == "--host") {
      if (options.Network && !options.Network->Address.empty()) return base::Failure{"give one of --host and --join"};
      if (!options.Network) options.Network = NetStart{};
      options.Network->Host = true;
      continue;
    }
    if (i + 1 >= args.size()) return base::Failure{"missing value after " + name};
    const std::string& value = args[++i];
    const auto bad = [&] { return base::Failure{"bad value for " + name + ": " + value}; };
    if (name == "--level") {
      options.Level = value;
    } else if (name == "--level-index") {
      std::int32_t index = 0;
      if (!Number(value, index) || index < 0) return bad();
      options.LevelIndex = index;
    } else if (name == "--frames") {
      if (!Number(value, options.Frames) || options.Frames < 0) return bad();
    } else if (name == "--frame-ms") {
      if (!Number(value, options.FrameMs) || options.FrameMs < 1 || options.FrameMs > 1000) return bad();
    } else if (name == "--input") {
      options.Input = value;
    } else if (name == "--lives") {
      if (!Number(value, options.Lives) || options.Lives < 0 || options.Lives > 99) return bad();
    } else if (name == "--json") {
      options.Json = value;
    } else if (name == "--data") {
      options.Data = value;
    } else if (name == "--join") {
      if (options.Network && options.Network->Host) return base::Failure{"give one of --host and --join"};
      if (value.empty()) return bad();
      if (!options.Network) options.Network = NetStart{};
      options.Network->Address = value;
    } else if (name == "--port") {
      std::uint16_t port = 0;
      if (!Number(value, port) || port < 1 || port > 65534) return bad();
      options.Port = port;
    } else if (name == "--players") {
      std::int32_t players = 0;
      if (!Number(value, players) || players < 1 || players > world::kPlayerSlotCount) return bad();
      if (!options.Network) options.Network = NetStart{};
      options.Network->Players = players;
    } else if (name == "--name") {
      if (!options.Network) options.Network = NetStart{};
      options.Network->Nickname = value;
    } else if (name == "--cells") {
      std::array<std::int32_t, 6> box{};
      std::istringstream in(value);
      char sep = 0;
      for (std::size_t k = 0; k < 6; ++k) {
        if (k > 0 && (!(in >> sep) || sep != (k == 3 ? ':' : ','))) return bad();
        if (!(in >> box[k])) return bad();
      }
      if (!in.eof() && in.peek() != EOF) return bad();
      // A box runs from its low corner to its high one and holds no more cells than a level can.
      std::uint64_t count = 1;
      for (std::size_t k = 0; k < 3; ++k) {
        if (box[k + 3] < box[k]) return bad();
        count *= static_cast<std::uint64_t>(std::int64_t{box[k + 3]} - box[k] + 1);
        if (count > world::LevelMap::kMaxCells) return bad();
      }
      options.Cells = box;
    } else {
      return base::Failure{"unknown option " + name};
    }
  }
  if (options.Network) {
    NetStart& net = *options.Network;
    if (!net.Host && net.Address.empty()) return base::Failure{"a network run needs --host or --join ADDRESS[:PORT]"};
    if (!net.Host && net.Players > 0) return base::Failure{"--players is the host's"};
    if (net.Host && net.Players == 0) net.Players = 1;
    // The nickname no prompt will ask for.
    if (net.Nickname.empty()) net.Nickname = "Player";
    // Without a level the network game plays the first one.
    if (!options.Level.empty() && options.LevelIndex) {
      return base::Failure{"give at most one of --level FILE.lev and --level-index N"};
    }
    if (options.Level.empty() && !options.LevelIndex) options.LevelIndex = 0;
  } else if (options.Port) {
    return base::Failure{"--port belongs to a network run"};
  }
  if (options.Level.empty() == !options.LevelIndex.has_value()) {
    return base::Failure{"give exactly one of --level FILE.lev and --level-index N"};
  }
  return options;
}

namespace {

using nlohmann::ordered_json;

const char* ScreenName(Screen screen) {
  switch (screen) {
    case Screen::Title: return "title";
    case Screen::Play: return "play";
    case Screen::Network: return "network";
    case Screen::Credits: return "credits";
    default: return "none";
  }
}

ordered_json EventJson(const GameEvent& e) {
  ordered_json j;
  j["frame"] = e.Frame;
  j["type"] = EventTypeName(e.Type);
  if (e.Type == EventType::LevelStart) j["file"] = e.Text;
  if (e.Type == EventType::Pickup || e.Type == EventType::DoorOpen) j["code"] = e.Value;
  if (e.Type == EventType::Music) j["entry"] = e.Value;
  if (e.Type == EventType::LifeLost) j["lives"] = e.Value;
  if (e.Type == EventType::Notice) j["text"] = win::AnsiToUtf8(e.Text);
  if (e.Type == EventType::Lever) j["cell"] = e.Text;
  return j;
}

ordered_json Summary(Game& game, const HeadlessOptions& options, std::int64_t frames, std::uint32_t timeMs) {
  const world::World& world = *game.World;
  const world::PlayerSlot& hero = game.Hero();
  ordered_json j;
  j["frames"] = frames;
  j["time_ms"] = timeMs;
  j["screen"] = ScreenName(game.Frame.CurrentScreen);
  j["level_index"] = hero.LevelIndex;
  j["level_file"] = hero.LevelIndex >= 0 && hero.LevelIndex < static_cast<std::int32_t>(game.LevelList.size())
                        ? game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]
                        : options.Level;
  j["end_action"] = static_cast<std::int32_t>(game.Frame.EndAction);
  j["hero"] = {{"x", hero.X},
               {"y", hero.Y},
               {"z", hero.Z},
               {"heading", hero.Heading},
               {"pitch", hero.Pitch},
               {"vertical_speed", hero.VerticalSpeed},
               {"landed", hero.Landed},
               {"climbing", hero.Climbing},
               {"dead", hero.Dead},
               {"lives", hero.Lives},
               {"animation", hero.Animation},
               {"view", hero.View},
               {"target", {hero.TargetX, hero.TargetY, hero.TargetZ}}};
  j["time_limit_on"] = world.TimeLimitOn;
  j["time_left"] = world.TimeLeft;
  ordered_json ingots = ordered_json::object();
  for (int code = 0; code < world::kObjectTypeCount; ++code) {
    const world::ObjectType& t = world.Types[static_cast<std::size_t>(code)];
    if (!t.Empty && t.Lingot) ingots[std::to_string(code)] = t.IngotCount;
  }
  j["ingots"] = std::move(ingots);
  ordered_json sentries = ordered_json::array();
  for (std::int32_t i = 0; i < world.Map.SentryCount; ++i) {
    const world::Sentry& s = world.Map.Sentries[static_cast<std::size_t>(i)];
    sentries.push_back({{"x", s.X}, {"y", s.Y}, {"z", s.Z}, {"heading", s.Heading}, {"state", s.State}});
  }
  j["sentries"] = std::move(sentries);
  ordered_json events = ordered_json::array();
  for (const GameEvent& e : game.Events) events.push_back(EventJson(e));
  j["events"] = std::move(events);
  if (const std::optional<NetReport> net = game.Network().Report(); options.Network && net) {
    ordered_json players = ordered_json::array();
    for (const NetPlayer& p : net->Players) players.push_back({{"slot", p.Slot}, {"id", p.Id}, {"name", p.Name}});
    j["net"] = {{"local_slot", world.LocalSlot}, {"last_slot", world.LastSlot},
                {"players", std::move(players)}, {"sent", net->Sent},
                {"received", net->Received},     {"refused", net->Refused},
                {"dropped", net->Dropped}};
  }
  if (options.Network) {
    ordered_json slots = ordered_json::array();
    for (const world::PlayerSlot& slot : world.Players) {
      slots.push_back({{"x", slot.X},
                       {"y", slot.Y},
                       {"z", slot.Z},
                       {"heading", slot.Heading},
                       {"animation", slot.Animation},
                       {"gone", slot.Gone}});
    }
    j["slots"] = std::move(slots);
  }
  if (options.Cells) {
    const auto& b = *options.Cells;
    ordered_json cells = ordered_json::array();
    for (std::int64_t z = b[2]; z <= b[5]; ++z) {
      for (std::int64_t y = b[1]; y <= b[4]; ++y) {
        for (std::int64_t x = b[0]; x <= b[3]; ++x) {
          cells.push_back(world.Map.GetCell(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                                            static_cast<std::int32_t>(z)));
        }
      }
    }
    j["cells"] = std::move(cells);
  }
  return j;
}

}  // namespace

struct HeadlessMachine {
  HeadlessMachine(std::vector<ScriptLine> script, HeadlessSound* sound) : controls(std::move(script)), sound(sound) {}
  GameSounds& Sounds() { return sound != nullptr ? sound->Sounds() : silentSounds; }
  GameMusic& Music() { return sound != nullptr ? sound->Music() : silentMusic; }

  ScriptedControls controls;
  win::ManualClock clock{1000};
  SilentSounds silentSounds;
  SilentMusic silentMusic;
  HeadlessSound* sound;  // none: silence
};

HeadlessRun::HeadlessRun() = default;
HeadlessRun::HeadlessRun(HeadlessRun&&) noexcept = default;
HeadlessRun::~HeadlessRun() = default;

base::Expected<HeadlessRun> PlayHeadless(const HeadlessOptions& options, engine::Backend& display, HeadlessSound* sound,
                                         GameNetwork* network) {
  base::Expected<std::filesystem::path> data = win::FindDataTree(options.Data);
  if (!data) return base::Failure{data.error()};
  std::vector<ScriptLine> script;
  if (!options.Input.empty()) {
    const std::optional<std::vector<std::uint8_t>> bytes = win::ReadWholeFile(options.Input, 16u << 20);
    if (!bytes) return base::Failure{"cannot read the input script " + options.Input};
    base::Expected<std::vector<ScriptLine>> parsed = ParseInputScript(std::string(bytes->begin(), bytes->end()));
    if (!parsed) return base::Failure{parsed.error()};
    script = std::move(*parsed);
  }
  const std::string level = options.Level.empty() ? "" : std::filesystem::absolute(options.Level).string();
  // A level that cannot be read cannot be played: the run fails rather than report a level
  // that never started.
  if (!level.empty() && !world::LoadLevelFile(level, {}))
    return base::Failure{world::MissingLevelMessage(options.Level)};
  HeadlessRun run;
  run.Machine = std::make_unique<HeadlessMachine>(std::move(script), sound);
  HeadlessMachine* const machine = run.Machine.get();
  auto game = std::make_unique<Game>(GameServices{display, machine->controls, machine->Sounds(), machine->Music(),
                                                  machine->clock, *data, nullptr, network});
  if (sound != nullptr) sound->Open(*game);
  display.OpenView(640, 480, *game->View);
  if (base::Status started = GameStartup(*game, Settings{}); !started) return base::Failure{started.error()};
  world::PlayerSlot& hero = game->Hero();
  hero.Lives = options.Lives;
  if (options.LevelIndex) {
    if (*options.LevelIndex >= static_cast<std::int32_t>(game->LevelList.size())) {
      return base::Failure{"there are only " + std::to_string(game->LevelList.size()) + " levels"};
    }
    hero.LevelIndex = *options.LevelIndex;
  } else {
    const auto it = std::find_if(game->LevelList.begin(), game->LevelList.end(), [&](const std::string& name) {
      std::error_code ec;
      return std::filesystem::equivalent(win::ResolvePath(name, *data), level, ec);
    });
    // A level from outside the list is its last: a death restarts it, its exit ends the game.
    const auto index = it - game->LevelList.begin();
    if (it == game->LevelList.end()) game->LevelList.push_back(level);
    hero.LevelIndex = static_cast<std::int32_t>(index);
  }
  ResetFrameClock(*game);
  game->Frame.GameReady = true;
  const bool paced = sound != nullptr || options.Network.has_value();
  if (options.Network) {
    if (network == nullptr) return base::Failure{"this program has no network"};
    game->NetworkLevel = hero.LevelIndex;
    game->NetworkLives = options.Lives;
    // The lobby's frames run at real time until the start message (or "Go") starts play;
    // no control of the script is held meanwhile.
    machine->controls.SetFrame(-1);
    network->StartSession(*game, *options.Network);
    const auto waiting = std::chrono::steady_clock::now();
    for (std::int64_t lobby = 1; game->Frame.CurrentScreen != Screen::Play && !game->QuitRequested; ++lobby) {
      if (game->Frame.CurrentScreen != Screen::Network ||
          std::chrono::steady_clock::now() - waiting > std::chrono::milliseconds(kLobbyWaitMs)) {
        return base::Failure{"no network game started"};
      }
      machine->clock.Advance(static_cast<std::uint32_t>(options.FrameMs));
      FrameTick(*game);
      std::this_thread::sleep_until(waiting + std::chrono::milliseconds(options.FrameMs * lobby));
    }
  } else {
    StartLevel(*game, options.LevelIndex ? game->LevelList[static_cast<std::size_t>(hero.LevelIndex)] : level);
  }
  const auto started = std::chrono::steady_clock::now();
  const std::uint32_t playStart = machine->clock.Ticks();
  std::int64_t frame = 0;
  for (; frame < options.Frames && !game->QuitRequested; ++frame) {
    machine->controls.SetFrame(frame);
    machine->clock.Advance(static_cast<std::uint32_t>(options.FrameMs));
    FrameTick(*game);
    if (paced) std::this_thread::sleep_until(started + std::chrono::milliseconds(options.FrameMs * (frame + 1)));
  }
  if (sound != nullptr) sound->Close();
  run.Played = std::move(game);
  run.Frames = frame;
  run.TimeMs = machine->clock.Ticks() - playStart;
  return run;
}

int RunHeadless(const HeadlessOptions& options, engine::Backend& display, HeadlessSound* sound, GameNetwork* network) {
  base::Expected<HeadlessRun> run = PlayHeadless(options, display, sound, network);
  if (!run) {
    win::ShowMessage(run.error());
    return 1;
  }
  const std::string json = Summary(*run->Played, options, run->Frames, run->TimeMs)
                               .dump(-1, ' ', false, ordered_json::error_handler_t::replace);
  if (options.Json.empty()) {
    std::cout << json << "\n";
  } else if (base::Status written = win::WriteFileAtomic(options.Json, json + "\n"); !written) {
    win::ShowMessage(written.error());
    return 1;
  }
  return 0;
}

}  // namespace zandrel::game
