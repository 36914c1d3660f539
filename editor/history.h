// Undo and redo: every change to the level is a step that can be taken back and made
// again, restoring the level byte for byte. A step holds the cells it changed (each with
// its code and light before and after) and, when the change reached them, the level's
// other fields before and after.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "world/level_map.h"

namespace zandrel::editor {

// Everything of a level but its grids.
struct LevelFields {
  std::string BankName;
  std::int32_t StartX = 0, StartY = 0, StartZ = 0, StartHeading = 0;
  std::int32_t ExitX = 0, ExitY = 0, ExitZ = 0;
  std::array<world::MusicCell, world::kMusicCellCount> MusicCells{};
  std::string LevelName, Author;
  std::uint8_t Outside = 0;
  std::int32_t SentryCount = 0, RandomSeed = 0;
  world::SentryTable Sentries{};

  bool operator==(const LevelFields& other) const;
};

LevelFields FieldsOf(const world::LevelMap& map);
void RestoreFields(world::LevelMap& map, const LevelFields& fields);

struct CellEdit {
  std::int32_t X = 0, Y = 0, Z = 0;
  std::uint8_t OldCode = 0, NewCode = 0, OldLight = 0, NewLight = 0;
};

// One change being made: cells go through it, the other fields are changed on the map
// directly and compared with their state when the change began. A cell may be changed
// again right after its first change (code, then light); otherwise each cell once.
class LevelChange {
 public:
  // Cell edits one change keeps at most (16 bytes each): a plan tool on a larger level
  // is made but cannot be taken back.
  static constexpr std::size_t kMaxCellEdits = std::size_t{1} << 21;

  LevelChange(world::LevelMap& map, std::string name);

  world::LevelMap& Map() { return map_; }
  const std::string& Name() const { return name_; }
  // SetCell and SetLight of the map, remembered; nothing outside the level.
  void SetCell(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t code);
  void SetLight(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t light);

 private:
  friend class UndoHistory;
  CellEdit* Edit(std::int32_t x, std::int32_t y, std::int32_t z);  // null once too large

  world::LevelMap& map_;
  std::string name_;
  LevelFields before_;
  std::vector<CellEdit> cells_;
  bool tooLarge_ = false;  // more cells changed than could be kept
};

class UndoHistory {
 public:
  // Steps kept at most; the oldest go first.
  static constexpr std::size_t kMaxSteps = 500;
  // Cell edits kept at most over all steps, so that plan tools on large levels cannot
  // fill the memory.
  static constexpr std::size_t kMaxCellEdits = 2 * LevelChange::kMaxCellEdits;

  // Keeps the change as a step, unless it changed nothing. `merge` joins it to the last
  // step when that one has the same name (a held key's repeats), so that one undo takes
  // them all back. Redo steps are forgotten. A change too large to keep ends the
  // history: nothing before it can be taken back either.
  void Record(LevelChange&& change, bool merge);
  // Takes the last step back or makes the next one again; false when there is none.
  bool Undo(world::LevelMap& map);
  bool Redo(world::LevelMap& map);
  // Forgets every step (New, Load); the level as it is counts as saved.
  void Clear();

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  const std::string& UndoName() const;
  const std::string& RedoName() const;

  // The level as it is now is the one saved.
  void MarkSaved() { saved_ = Current(); }
  // The level as it is now differs from any file (a level restored from a backup).
  void MarkUnsaved() { saved_ = kNeverSaved; }
  // The level differs from the one saved last.
  bool Dirty() const { return Current() != saved_; }
  // Changes with every step recorded, taken back or made again.
  std::uint64_t Current() const { return undo_.empty() ? 0 : undo_.back().Id; }

 private:
  struct Step {
    std::string Name;
    std::vector<CellEdit> Cells;
    std::unordered_map<std::size_t, std::size_t> Index;  // cell offset -> edit; built on the first merge
    std::optional<LevelFields> Before, After;
    std::uint64_t Id = 0;
  };
  static constexpr std::uint64_t kNeverSaved = ~std::uint64_t{0};

  void Merge(Step& into, LevelChange& change, std::optional<LevelFields>& after);
  void Trim();

  std::vector<Step> undo_, redo_;
  std::uint64_t nextId_ = 1;
  std::uint64_t saved_ = 0;
  std::size_t cellEdits_ = 0;
};

// Makes one change to the level through `change(step, map)` and keeps it in the history.
template <class Change>
void RecordChange(UndoHistory& history, world::LevelMap& map, std::string name, bool merge, Change&& change) {
  LevelChange step(map, std::move(name));
  change(step, map);
  history.Record(std::move(step), merge);
}

}  // namespace zandrel::editor
