// The headless runner: the game's own code from a level start on, with no display and no
// sound (unless asked for), the clock stepped by a fixed time per frame, controls from an
// input script, and a JSON summary of what happened.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/backend.h"
#include "game/ports.h"

namespace zandrel::game {

// One line of an input script: controls held from frame From to frame To, both included.
struct ScriptLine {
  std::int64_t From = 0, To = 0;
  input::ControlFlags Controls{};
  std::vector<int> Keys;  // virtual-key codes: kp_plus kp_minus f1 f4 f5 f7 f9
};

// Lines "FROM TO CONTROL[+CONTROL...]"; controls up down left right jump look action
// menu and kp_plus kp_minus f1 f4 f5 f7 f9; "#" starts a comment. A mistake names its line.
base::Expected<std::vector<ScriptLine>> ParseInputScript(std::string_view text);

// Controls that follow a script: the frame number is set before each frame.
class ScriptedControls final : public Controls {
 public:
  explicit ScriptedControls(std::vector<ScriptLine> script) : script_(std::move(script)) {}
  void SetFrame(std::int64_t frame) { frame_ = frame; }
  void ReadControls(input::ControlFlags& flags) override;
  bool KeyDown(int virtualKey) override;
  void WaitAllKeysUp() override {}

 private:
  std::vector<ScriptLine> script_;
  std::int64_t frame_ = 0;
};

struct HeadlessOptions {
  std::string Level;                                 // --level FILE.lev
  std::optional<std::int32_t> LevelIndex;            // --level-index N
  std::int64_t Frames = 0;                           // --frames N
  std::int32_t FrameMs = 20;                         // --frame-ms MS
  std::string Input;                                 // --input SCRIPT
  std::int32_t Lives = 3;                            // --lives N
  std::string Json;                                  // --json OUT (empty: standard output)
  std::string Data;                                  // --data DIR
  std::optional<std::array<std::int32_t, 6>> Cells;  // --cells x0,y0,z0:x1,y1,z1
  // --audio: sounds and music on SDL's audio output (any driver, "disk" included), the
  // frames paced at the speed of the game's clock so that what is mixed follows the play.
  // The program hands the run its sound devices (HeadlessSound).
  bool Audio = false;
  // A network run: --host [--port P] or --join ADDRESS[:PORT], --players N (the host
  // starts once N players, itself included, are in), --name NICK. The frames, the script
  // and the clock count from the network start; the clock follows real time.
  std::optional<NetStart> Network;
  std::optional<std::uint16_t> Port;
};

// How long a network run waits in the lobby for its game to start.
constexpr std::uint32_t kLobbyWaitMs = 30000;

// Parses the headless options (the arguments after --headless); a mistake is one line.
base::Expected<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args);

class Game;
struct HeadlessMachine;  // the script, silence and clock the game was played with

// Where a headless run with sound plays: the program's sound devices.
class HeadlessSound {
 public:
  virtual ~HeadlessSound() = default;
  virtual GameSounds& Sounds() = 0;
  virtual GameMusic& Music() = 0;
  // The game exists and has not started: the sound device opens, heard from its view.
  virtual void Open(Game& game) = 0;
  // The run is over: the music lets go of the output before the device closes.
  virtual void Close() = 0;
};

// A finished headless run: the game as it ended, the frames run and the time passed.
struct HeadlessRun {
  HeadlessRun();
  HeadlessRun(HeadlessRun&&) noexcept;
  ~HeadlessRun();
  std::unique_ptr<HeadlessMachine> Machine;  // outlives the game that uses it
  std::unique_ptr<Game> Played;
  std::int64_t Frames = 0;
  std::uint32_t TimeMs = 0;
};

// Plays the game from the level start for the frames asked, drawing on `display` (the
// null display), silent or through `sound` (which must outlive the run), and with the
// frames paced at the game's speed when there is sound or a network. A network run goes
// through `network`'s lobby first. Fails with the system's message when the game cannot
// start.
base::Expected<HeadlessRun> PlayHeadless(const HeadlessOptions& options, engine::Backend& display,
                                         HeadlessSound* sound = nullptr, GameNetwork* network = nullptr);

// Runs PlayHeadless and writes the JSON summary. Returns the exit status: 0, or 1 with the
// system's message on stderr when the game could not start (missing data, bad script, no
// network game started).
int RunHeadless(const HeadlessOptions& options, engine::Backend& display, HeadlessSound* sound = nullptr,
                GameNetwork* network = nullptr);

}  // namespace zandrel::game
