#include "editor/level_ops.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "editor/editor.h"
#include "editor/editor_view.h"
#include "editor/number_prompt.h"
#include "platform/win/files.h"
#include "world/level_check.h"
#include "world/level_file.h"
#include "world/object_bank.h"
#include "world/sentries.h"

namespace zandrel::editor {
namespace {

constexpr std::size_t kTextLength = 255;
constexpr std::int32_t kFallbackSide = 20;
constexpr std::int32_t kSeedRange = 32767;

// The window is busy while a modal prompt, dialog or message of a command is open: the
// tick then leaves the map alone.
class BusyScope {
 public:
  explicit BusyScope(Editor& editor) : editor_(editor), was_(editor.EditorBusy) { editor.EditorBusy = true; }
  ~BusyScope() { editor_.EditorBusy = was_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Editor& editor_;
  bool was_;
};

EditorDialogs& Dialogs(Editor& editor) { return editor.Services.Dialogs; }
EditorWindow& Window(Editor& editor) { return editor.Services.Window; }

void Message(Editor& editor, std::string_view text) {
  BusyScope busy(editor);
  Dialogs(editor).Message(text);
}

// After a prompt: the key that closed it must not act on the map too.
void AfterPrompt(Editor& editor) {
  Window(editor).WaitAllKeysUp();
  ResetFrameClock(editor);
}

// A number asked with the number prompt: nothing for an empty answer or Cancel, and for
// an answer too large for an integer (after the conversion's message).
std::optional<std::int32_t> AskNumber(Editor& editor, std::string_view caption, std::string_view prompt,
                                      std::string_view preset, std::string_view message) {
  std::string answer;
  {
    BusyScope busy(editor);
    answer = NumberPrompt(Dialogs(editor), caption, prompt, preset, message);
  }
  if (answer.empty()) return std::nullopt;
  const std::optional<std::int32_t> number = ToInteger(answer);
  if (!number) Message(editor, InvalidIntegerMessage(answer));
  return number;
}

void PlaceCursorAtCell(Editor& editor, std::int32_t x, std::int32_t y, std::int32_t z) {
  PlaceCursor(editor.Cursor, static_cast<float>(static_cast<double>(x) * world::kCellSize + world::kCellSize / 2),
              static_cast<float>(static_cast<double>(y) * world::kCellSize + world::kCellSize / 2),
              static_cast<float>(static_cast<double>(z) * world::kCellSize + world::kCellSize / 2));
}

}  // namespace

void FillEmptyLevel(Editor& editor) {
  world::LevelMap& map = editor.Map();
  std::fill(map.LightGrid().begin(), map.LightGrid().end(), static_cast<std::uint8_t>(world::kNeutralLight));
  std::span<std::uint8_t> objects = map.ObjectGrid();
  std::fill(objects.begin(), objects.end(), 0);
  for (std::int32_t z = 0; z < map.SizeZ(); ++z) {
    for (std::int32_t x = 0; x < map.SizeX(); ++x) objects[map.Offset(x, 0, z)] = 1;
  }
  map.CountIngots();
  for (world::CellAnimation& animation : editor.World->Tables.Animations) animation.InUse = false;
  map.MusicCells.fill(world::MusicCell{});
  map.BankName = kLevelBankName;
  map.StartX = map.SizeX() / 2;
  map.StartY = 1;
  map.StartZ = map.SizeZ() / 2;
  map.StartHeading = 0;
  map.ExitX = -(map.SizeX() / 2);
  map.ExitY = 1;
  map.ExitZ = -(map.SizeZ() / 2);
}

namespace {

void SyncLevelControls(Editor& editor) {
  Window(editor).SetOutsideChecked(editor.Map().Outside != 0);
  Window(editor).FillSentryList(std::clamp(editor.Map().SentryCount, 0, world::kMaxSentries));
}

template <class Change>
void ChangeLevel(Editor& editor, std::string name, Change&& change) {
  RecordChange(editor.History, editor.Map(), std::move(name), false, std::forward<Change>(change));
}

void AddRecent(Editor& editor, const std::string& file) {
  if (base::Status s = editor.Recent.Add(file); !s) std::fprintf(stderr, "zandrel-editor: %s\n", s.error().c_str());
  Window(editor).SetRecentFiles(editor.Recent.Files());
}

bool SaveTo(Editor& editor, const std::string& file) {
  world::LevelMap& map = editor.Map();
  const std::vector<std::string> findings = world::CheckLevel(map, editor.World->Types);
  if (!findings.empty()) {
    std::string text = "The level check found:\n";
    for (const std::string& finding : findings) text += "- " + finding + "\n";
    text += "The level is saved all the same.";
    Message(editor, text);
  }
  map.BankName = kLevelBankName;
  if (base::Status written = world::WriteLevel(map, file, editor.Services.DataFolder); !written) {
    Message(editor, "The level was not saved. " + written.error());
    return false;
  }
  editor.LevelFileName = file;
  editor.History.MarkSaved();
  AddRecent(editor, file);
  return true;
}

// Reads a level file into the editor; a file that cannot be read leaves everything as it
// was, after the reader's message.
bool ReadIntoEditor(Editor& editor, const std::string& file) {
  base::Expected<world::LevelMap> level = world::LoadLevelFile(file, editor.Services.DataFolder);
  if (!level) {
    Message(editor, level.error());
    return false;
  }
  editor.LevelFileName = file;
  world::BankServices bank = editor.Bank();
  if (base::Status used = world::UseLevel(*editor.World, bank, std::move(*level), world::TextureQuality::High); !used) {
    Message(editor, used.error());
  }
  // The level may name another bank, with other colours.
  LoadEditorMarkers(editor);
  const world::LevelMap& map = editor.Map();
  PlaceCursorAtCell(editor, map.StartX, map.StartY, map.StartZ);
  editor.Cursor.TargetHeading = editor.Cursor.ShownHeading = static_cast<float>(map.StartHeading);
  editor.History.Clear();
  FillLists(editor);
  SyncLevelControls(editor);
  return true;
}

void Plan(Editor& editor, Axis axis, bool generate) {
  const CellPos cell = ShownCell(editor.Cursor);
  const std::uint8_t code = generate ? editor.CurrentObject : 0;
  ChangeLevel(editor, generate ? "Generate a plan" : "Clear a plan", [&](LevelChange& step, world::LevelMap& map) {
    const std::int32_t sizes[3] = {map.SizeX(), map.SizeY(), map.SizeZ()};
    const std::size_t u = axis == Axis::X ? 1 : 0, v = axis == Axis::Z ? 1 : 2;  // the plane's two axes
    for (std::int32_t i = 0; i < sizes[u]; ++i) {
      for (std::int32_t j = 0; j < sizes[v]; ++j) {
        std::int32_t at[3] = {cell.X, cell.Y, cell.Z};
        at[u] = i;
        at[v] = j;
        step.SetCell(at[0], at[1], at[2], code);
      }
    }
  });
  Window(editor).RestoreFocus();
}

// A text asked with its current value as the preset, cut to what the file holds.
void AskText(Editor& editor, const char* caption, const char* prompt, std::string world::LevelMap::*field,
             const char* stepName) {
  std::string answer;
  {
    BusyScope busy(editor);
    answer = Dialogs(editor).InputBox(caption, prompt, editor.Map().*field);
  }
  if (answer.size() > kTextLength) answer.resize(kTextLength);
  ChangeLevel(editor, stepName, [&](LevelChange&, world::LevelMap& map) { map.*field = answer; });
  AfterPrompt(editor);
  Window(editor).RestoreFocus();
}

// Asks for a number of the level that the sentries start from, preset to its field: an
// answer is stored, at most `most`, as one undo step that starts the sentries again.
// Answers whether there was one.
bool AskSentryNumber(Editor& editor, const char* caption, const char* prompt, std::int32_t world::LevelMap::*field,
                     std::int32_t most, const char* stepName) {
  const std::optional<std::int32_t> number =
      AskNumber(editor, caption, prompt, std::to_string(editor.Map().*field), "You must enter a positive number.");
  if (!number) return false;
  ChangeLevel(editor, stepName, [&](LevelChange&, world::LevelMap& map) {
    map.*field = std::min(*number, most);
    ResetSentries(editor);
  });
  return true;
}

}  // namespace

void NewLevel(Editor& editor) {
  if (!ConfirmDiscard(editor)) return Window(editor).RestoreFocus();
  static constexpr const char* kCaption = "Level dimensions";
  static constexpr const char* kPrompts[3] = {"Please enter the width (X) in cells of the new map",
                                              "Please enter the Height (Y) in cells of the new map",
                                              "Please enter the Depth (Z) in cells of the new map"};
  std::int32_t sides[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::optional<std::int32_t> side = AskNumber(editor, kCaption, kPrompts[i], "", "You must enter a number.");
    if (!side) return Window(editor).RestoreFocus();
    sides[i] = std::max(*side, 1);
  }
  world::LevelMap& map = editor.Map();
  if (!map.SetLevelSize(sides[0], sides[1], sides[2])) {
    Message(editor, "Not enough memory.");
    map.SetLevelSize(kFallbackSide, kFallbackSide, kFallbackSide);
  }
  FillEmptyLevel(editor);
  map.RandomSeed = editor.World->Random.Next(kSeedRange);
  PlaceCursorAtCell(editor, map.SizeX() / 2, 1, map.SizeZ() / 2);
  // A new level belongs to no file yet: "Save" asks for one.
  editor.LevelFileName.clear();
  editor.History.Clear();
  Window(editor).RestoreFocus();
  AfterPrompt(editor);
}

void OpenLevel(Editor& editor) {
  if (!ConfirmDiscard(editor)) return Window(editor).RestoreFocus();
  std::optional<std::string> file;
  {
    BusyScope busy(editor);
    file = Dialogs(editor).OpenLevelDialog(LevelFolder(editor.Services.DataFolder));
  }
  if (file) LoadLevel(editor, *file);
  Window(editor).RestoreFocus();
  ResetFrameClock(editor);
}

bool LoadLevel(Editor& editor, const std::string& file) {
  if (!ReadIntoEditor(editor, file)) return false;
  AddRecent(editor, file);
  return true;
}

void OpenRecent(Editor& editor, const std::string& file) {
  if (ConfirmDiscard(editor) && !LoadLevel(editor, file)) {
    if (base::Status s = editor.Recent.Remove(file); !s)
      std::fprintf(stderr, "zandrel-editor: %s\n", s.error().c_str());
    Window(editor).SetRecentFiles(editor.Recent.Files());
  }
  Window(editor).RestoreFocus();
  ResetFrameClock(editor);
}

void OfferRestore(Editor& editor) {
  if (!editor.Backups.PreviousRunCrashed()) return;
  const std::optional<Backup> backup = editor.Backups.Latest();
  if (!backup) return;
  std::string question = "The level editor did not close properly last time. Restore the level it kept";
  if (!backup->Written.empty()) question += " at " + backup->Written;
  if (!backup->LevelFile.empty()) question += " (" + backup->LevelFile + ")";
  question += "?";
  Choice choice;
  {
    BusyScope busy(editor);
    choice = Dialogs(editor).Ask(question, false);
  }
  if (choice != Choice::Yes || !ReadIntoEditor(editor, backup->File.string())) return;
  // The backup stands for the user's file, whose last saved state it does not hold.
  editor.LevelFileName = backup->LevelFile;
  editor.History.MarkUnsaved();
}

bool SaveLevel(Editor& editor) {
  const bool saved = editor.LevelFileName.empty() ? SaveLevelAs(editor) : SaveTo(editor, editor.LevelFileName);
  Window(editor).RestoreFocus();
  ResetFrameClock(editor);
  return saved;
}

bool SaveLevelAs(Editor& editor) {
  std::optional<std::string> file;
  {
    BusyScope busy(editor);
    file = Dialogs(editor).SaveLevelDialog(LevelFolder(editor.Services.DataFolder));
  }
  const bool saved = file && SaveTo(editor, *file);
  Window(editor).RestoreFocus();
  ResetFrameClock(editor);
  return saved;
}

bool ConfirmDiscard(Editor& editor) {
  if (!editor.History.Dirty()) return true;
  Choice choice;
  {
    BusyScope busy(editor);
    choice = Dialogs(editor).Ask("The level has changes that are not saved. Save them first?", true);
  }
  if (choice == Choice::Cancel) return false;
  return choice == Choice::No || SaveLevel(editor);
}

std::filesystem::path TestLevelFile() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  return folder / ("zandrel-editor-test-" + std::to_string(::getpid()) + ".lev");
}

void TestLevel(Editor& editor) {
  const std::filesystem::path file = TestLevelFile();
  world::LevelMap& map = editor.Map();
  map.BankName = kLevelBankName;
  base::Status started = world::WriteLevel(map, file.string(), {});
  if (started) started = Window(editor).StartGame(file);
  if (!started) Message(editor, "The level cannot be played. " + started.error());
  Window(editor).RestoreFocus();
  ResetFrameClock(editor);
}

void LevelDescription(Editor& editor) {
  AskText(editor, "Level description", "Please enter a short level description", &world::LevelMap::LevelName,
          "Level description");
}

void LevelAuthor(Editor& editor) {
  AskText(editor, "Level author", "please enter the level author", &world::LevelMap::Author, "Level author");
}

void NumberOfSentries(Editor& editor) {
  if (AskSentryNumber(editor, "Number of Sentries", "Please enter the number of ennemies (0..255)",
                      &world::LevelMap::SentryCount, world::kMaxSentries, "Number of sentries")) {
    Window(editor).FillSentryList(editor.Map().SentryCount);
    AfterPrompt(editor);
  }
  Window(editor).RestoreFocus();
}

void RandomSeed(Editor& editor) {
  if (AskSentryNumber(editor, "Random Seed", "Please enter a number between 0 and 32767", &world::LevelMap::RandomSeed,
                      std::numeric_limits<std::int32_t>::max(), "Random seed")) {
    AfterPrompt(editor);
  }
  Window(editor).RestoreFocus();
}

void ToggleOutside(Editor& editor) {
  ChangeLevel(editor, "Outside level",
              [](LevelChange&, world::LevelMap& map) { map.Outside = map.Outside != 0 ? 0 : 1; });
  Window(editor).SetOutsideChecked(editor.Map().Outside != 0);
  Window(editor).RestoreFocus();
}

void SetTexturing(Editor& editor, bool enabled) {
  Window(editor).SetBusyCursor(true);
  world::BankServices bank = editor.Bank();
  const base::Expected<bool> loaded = world::LoadObjectBank(bank, *editor.World, kBankName, enabled ? "High" : "Low");
  LoadEditorMarkers(editor);
  Window(editor).FillMusicList(MusicNames(*editor.World));
  Window(editor).SetBusyCursor(false);
  if (!loaded) Message(editor, loaded.error());
  Window(editor).RestoreFocus();
  ResetFrameClock(editor);
}

void BoostDisplay(Editor& editor) {
  {
    BusyScope busy(editor);
    Window(editor).BoostDisplay(320, 200);
  }
  AfterPrompt(editor);
  Window(editor).RestoreFocus();
}

void GeneratePlan(Editor& editor, Axis axis) { Plan(editor, axis, true); }
void ClearPlan(Editor& editor, Axis axis) { Plan(editor, axis, false); }

void Undo(Editor& editor) {
  if (editor.History.Undo(editor.Map())) SyncLevelControls(editor);
  Window(editor).RestoreFocus();
}

void Redo(Editor& editor) {
  if (editor.History.Redo(editor.Map())) SyncLevelControls(editor);
  Window(editor).RestoreFocus();
}

void ResetSentries(Editor& editor) {
  editor.World->Now = editor.Services.Clock.Ticks();
  world::InitSentries(*editor.World);
}

std::vector<std::string> ObjectNames(const world::World& world) {
  std::vector<std::string> names;
  for (const world::ObjectType& type : world.Types) {
    if (!type.Empty && !type.Name.empty()) names.push_back(type.Name);
  }
  return names;
}

std::vector<std::string> MusicNames(const world::World& world) {
  std::vector<std::string> names;
  for (const world::MusicEntry& entry : world.Bank.Music) {
    if (!entry.Name.empty()) names.push_back(entry.Name);
  }
  return names;
}

void FillLists(Editor& editor) {
  Window(editor).FillObjectList(ObjectNames(*editor.World));
  Window(editor).FillMusicList(MusicNames(*editor.World));
  Window(editor).FillSentryList(std::clamp(editor.Map().SentryCount, 0, world::kMaxSentries));
}

std::filesystem::path LevelFolder(const std::filesystem::path& dataFolder) {
  const std::filesystem::path shipped = win::ResolvePath("LEVEL", dataFolder);
  std::error_code ec;
  if (std::filesystem::is_directory(shipped, ec) && ::access(shipped.c_str(), W_OK) == 0) return shipped;
  const std::filesystem::path own = win::UserDataFolder() / "LEVEL";
  std::filesystem::create_directories(own, ec);
  return own;
}

}  // namespace zandrel::editor
