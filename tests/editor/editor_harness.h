// The editor's core on a small data tree written by the test, with ports that answer
// every prompt from a table and record what the window was asked to show.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/panel.h"
#include "editor/ports.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"
#include "tests/support/temp_dir.h"

namespace zandrel::editor::test {

// Codes of the small bank.
enum Code : std::uint8_t {
  kFloor = 1,    // a cube with the stripes texture
  kWall = 2,     // a cube with the upright texture: red above, blue below
  kPost = 3,     // a mesh object
  kTwinLow = 4,  // two types named "Twin"
  kTwinHigh = 6,
  kGold = 7,    // an ingot
  kHummer = 8,  // a mesh object with a loop sound
};

// Palette: index 0 black, then eight ramps of 32 steps (white, red, green, blue, yellow,
// purple, cyan, orange), the brightest at 32 k + 31.
constexpr std::uint8_t kRed = 1 * 32 + 31, kBlue = 3 * 32 + 31, kGreen = 2 * 32 + 31;

// Writes the data tree: "Standard.bnk" with the codes above, the shadow, sentry, sky and
// the four marker meshes, two textures and a "LEVEL" folder.
void WriteDataTree(const ::zandrel::test::TempDir& data);

class ScriptedDialogs final : public EditorDialogs {
 public:
  // Answers for the input box, in order; nothing stands for Cancel (the preset).
  std::deque<std::optional<std::string>> Answers;
  std::deque<std::optional<std::string>> Files;  // open and save dialogs
  std::deque<Choice> Choices;

  std::vector<std::string> Prompts;  // "caption|prompt|preset" of each input box
  std::vector<std::string> Messages;
  std::vector<std::string> Questions;
  std::vector<std::filesystem::path> DialogFolders;

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view preset) override;
  std::optional<std::string> OpenLevelDialog(const std::filesystem::path& folder) override;
  std::optional<std::string> SaveLevelDialog(const std::filesystem::path& folder) override;
  void Message(std::string_view text) override { Messages.emplace_back(text); }
  Choice Ask(std::string_view text, bool withCancel) override;
};

class FakeWindow final : public EditorWindow {
 public:
  std::string Caption = "Zandrel - Level Editor";
  Panel Shown;
  int PanelUpdates = 0;
  std::vector<std::string> Objects, Music, Recent;
  std::int32_t SentryItems = 0;
  bool Outside = false, Stretch = false, PanelsShown = false, Busy = false;
  bool MapFocus = true;
  int FocusRestored = 0, KeyWaits = 0;
  bool BoostOffered = true;
  std::vector<std::pair<int, int>> Boosts;
  std::vector<std::filesystem::path> Games;
  std::string SelectedMusic;  // what the music box selected when it appeared

  void SetCaption(std::string_view caption) override { Caption = caption; }
  void ShowPanel(const Panel& panel) override;
  void FillObjectList(const std::vector<std::string>& names) override { Objects = names; }
  void FillMusicList(const std::vector<std::string>& names) override { Music = names; }
  void FillSentryList(std::int32_t count) override { SentryItems = count; }
  void SetOutsideChecked(bool checked) override { Outside = checked; }
  void SetStretchChecked(bool checked) override { Stretch = checked; }
  void SetRecentFiles(const std::vector<std::string>& files) override { Recent = files; }
  void ShowPanels(bool shown) override { PanelsShown = shown; }
  void SetBusyCursor(bool busy) override { Busy = busy; }
  bool MapHasFocus() const override { return MapFocus; }
  void RestoreFocus() override { ++FocusRestored; }
  void WaitAllKeysUp() override { ++KeyWaits; }
  bool BoostDisplay(int width, int height) override;
  base::Status StartGame(const std::filesystem::path& levelFile) override;
};

// Sounds by handle: every name loads (handles from 0), every play is kept.
class RecordingSounds final : public EditorSounds {
 public:
  struct Played {
    world::SoundHandle Sound;
    std::int32_t X, Y, Z, Volume;
  };
  std::vector<std::string> Loaded;
  std::vector<Played> Plays;
  int Updates = 0;

  void PlayAt(world::SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override {
    Plays.push_back({sound, x, y, z, volume});
  }
  void InitAudio() override {}
  void SetHearingRange(engine::RenderView& listener, std::int32_t range) override { listener.FarDistance = range; }
  world::SoundHandle LoadSound(std::string_view fileName) override;
  void UpdateSounds() override { ++Updates; }
};

class RecordingMusic final : public EditorMusic {
 public:
  std::vector<std::int32_t> Played;
  int Stops = 0, Polls = 0, Closes = 0, Starts = 0;

  void StartModulePlayer() override { ++Starts; }
  void PlayMusic(std::int32_t entry) override { Played.push_back(entry); }
  void StopMusic() override { ++Stops; }
  void PollMusic() override { ++Polls; }
  void CloseModulePlayer() override { ++Closes; }
};

class EditorHarness {
 public:
  EditorHarness();

  // The first activation; a failure fails the test.
  void Start(const std::string& levelFile = {});
  // Advances the clock and runs one tick.
  void Tick(std::uint32_t ms = 50);
  // Presses the keys, runs one tick and releases them.
  void Tap(std::initializer_list<int> keys);
  // Ticks until the shown cursor has reached its target (a few seconds of ticks).
  void Settle();
  // A new level of that size through "New", its prompts answered.
  void NewLevel(std::int32_t x, std::int32_t y, std::int32_t z);
  // The cursor's target and shown position at a cell's centre, heading 0.
  void PutCursor(std::int32_t x, std::int32_t y, std::int32_t z);

  world::LevelMap& Map() { return editor->Map(); }
  std::vector<std::uint8_t> Bytes() const;

  ::zandrel::test::TempDir data, state, config;
  win::ManualClock clock{10000};
  engine::soft::SoftBackend backend;
  ScriptedDialogs dialogs;
  FakeWindow window;
  RecordingSounds sounds;
  RecordingMusic music;
  std::unique_ptr<Editor> editor;
};

// Tests on a started editor with a new empty level, the cursor at a cell's centre in it.
class EditorLevelTest : public ::testing::Test {
 protected:
  using Cell = std::array<std::int32_t, 3>;
  explicit EditorLevelTest(Cell size = {8, 4, 8}, Cell cursor = {3, 1, 3}) : size_(size), cursor_(cursor) {}
  void SetUp() override;

  EditorHarness h;

 private:
  Cell size_, cursor_;
};

}  // namespace zandrel::editor::test
