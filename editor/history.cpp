#include "editor/history.h"

#include <algorithm>
#include <cstring>

namespace zandrel::editor {

bool LevelFields::operator==(const LevelFields& o) const {
  // Sentries compare by their bytes: a placement read from a file may hold any float.
  return BankName == o.BankName && StartX == o.StartX && StartY == o.StartY && StartZ == o.StartZ &&
         StartHeading == o.StartHeading && ExitX == o.ExitX && ExitY == o.ExitY && ExitZ == o.ExitZ &&
         MusicCells == o.MusicCells && LevelName == o.LevelName && Author == o.Author && Outside == o.Outside &&
         SentryCount == o.SentryCount && RandomSeed == o.RandomSeed &&
         std::memcmp(Sentries.data(), o.Sentries.data(), sizeof(Sentries)) == 0;
}

LevelFields FieldsOf(const world::LevelMap& m) {
  return LevelFields{m.BankName,   m.StartX,    m.StartY, m.StartZ,  m.StartHeading, m.ExitX,      m.ExitY,   m.ExitZ,
                     m.MusicCells, m.LevelName, m.Author, m.Outside, m.SentryCount,  m.RandomSeed, m.Sentries};
}

void RestoreFields(world::LevelMap& m, const LevelFields& f) {
  m.BankName = f.BankName;
  m.StartX = f.StartX;
  m.StartY = f.StartY;
  m.StartZ = f.StartZ;
  m.StartHeading = f.StartHeading;
  m.ExitX = f.ExitX;
  m.ExitY = f.ExitY;
  m.ExitZ = f.ExitZ;
  m.MusicCells = f.MusicCells;
  m.LevelName = f.LevelName;
  m.Author = f.Author;
  m.Outside = f.Outside;
  m.SentryCount = f.SentryCount;
  m.RandomSeed = f.RandomSeed;
  m.Sentries = f.Sentries;
}

LevelChange::LevelChange(world::LevelMap& map, std::string name)
    : map_(map), name_(std::move(name)), before_(FieldsOf(map)) {}

CellEdit* LevelChange::Edit(std::int32_t x, std::int32_t y, std::int32_t z) {
  if (!cells_.empty() && cells_.back().X == x && cells_.back().Y == y && cells_.back().Z == z) return &cells_.back();
  if (cells_.size() >= kMaxCellEdits) {
    tooLarge_ = true;
    cells_ = {};
  }
  if (tooLarge_) return nullptr;
  const std::uint8_t code = map_.GetCell(x, y, z), light = map_.GetLight(x, y, z);
  return &cells_.emplace_back(CellEdit{x, y, z, code, code, light, light});
}

void LevelChange::SetCell(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t code) {
  if (!map_.Contains(x, y, z)) return;
  if (CellEdit* edit = Edit(x, y, z)) edit->NewCode = code;
  map_.SetCell(x, y, z, code);
}

void LevelChange::SetLight(std::int32_t x, std::int32_t y, std::int32_t z, std::uint8_t light) {
  if (!map_.Contains(x, y, z)) return;
  if (CellEdit* edit = Edit(x, y, z)) edit->NewLight = light;
  map_.SetLight(x, y, z, light);
}

void UndoHistory::Record(LevelChange&& change, bool merge) {
  if (change.tooLarge_) {
    Clear();
    MarkUnsaved();
    return;
  }
  std::erase_if(change.cells_, [](const CellEdit& e) { return e.OldCode == e.NewCode && e.OldLight == e.NewLight; });
  std::optional<LevelFields> after = FieldsOf(change.map_);
  if (*after == change.before_) after.reset();
  if (change.cells_.empty() && !after) return;
  redo_.clear();
  if (merge && !undo_.empty() && undo_.back().Name == change.name_) {
    Merge(undo_.back(), change, after);
  } else {
    cellEdits_ += change.cells_.size();
    std::optional<LevelFields> before;
    if (after) before = std::move(change.before_);
    undo_.push_back(
        Step{std::move(change.name_), std::move(change.cells_), {}, std::move(before), std::move(after), 0});
  }
  undo_.back().Id = nextId_++;
  Trim();
}

void UndoHistory::Merge(Step& into, LevelChange& change, std::optional<LevelFields>& after) {
  if (into.Index.empty()) {
    for (std::size_t i = 0; i < into.Cells.size(); ++i) {
      const CellEdit& e = into.Cells[i];
      into.Index.emplace(change.map_.Offset(e.X, e.Y, e.Z), i);
    }
  }
  for (const CellEdit& e : change.cells_) {
    const auto [it, added] = into.Index.try_emplace(change.map_.Offset(e.X, e.Y, e.Z), into.Cells.size());
    if (added) {
      into.Cells.push_back(e);
      ++cellEdits_;
    } else {
      into.Cells[it->second].NewCode = e.NewCode;
      into.Cells[it->second].NewLight = e.NewLight;
    }
  }
  if (after) {
    if (!into.Before) into.Before = std::move(change.before_);
    into.After = std::move(after);
  }
}

void UndoHistory::Trim() {
  std::size_t drop = 0;
  std::size_t edits = cellEdits_;
  while (drop + 1 < undo_.size() && (undo_.size() - drop > kMaxSteps || edits > kMaxCellEdits)) {
    edits -= undo_[drop].Cells.size();
    ++drop;
  }
  undo_.erase(undo_.begin(), undo_.begin() + static_cast<std::ptrdiff_t>(drop));
  cellEdits_ = edits;
}

bool UndoHistory::Undo(world::LevelMap& map) {
  if (undo_.empty()) return false;
  Step& step = undo_.back();
  for (auto e = step.Cells.rbegin(); e != step.Cells.rend(); ++e) {
    map.SetCell(e->X, e->Y, e->Z, e->OldCode);
    map.SetLight(e->X, e->Y, e->Z, e->OldLight);
  }
  if (step.Before) RestoreFields(map, *step.Before);
  cellEdits_ -= step.Cells.size();
  redo_.push_back(std::move(step));
  undo_.pop_back();
  return true;
}

bool UndoHistory::Redo(world::LevelMap& map) {
  if (redo_.empty()) return false;
  Step& step = redo_.back();
  for (const CellEdit& e : step.Cells) {
    map.SetCell(e.X, e.Y, e.Z, e.NewCode);
    map.SetLight(e.X, e.Y, e.Z, e.NewLight);
  }
  if (step.After) RestoreFields(map, *step.After);
  cellEdits_ += step.Cells.size();
  undo_.push_back(std::move(step));
  redo_.pop_back();
  return true;
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
  cellEdits_ = 0;
  saved_ = 0;
}

const std::string& UndoHistory::UndoName() const {
  static const std::string kNone;
  return undo_.empty() ? kNone : undo_.back().Name;
}

const std::string& UndoHistory::RedoName() const {
  static const std::string kNone;
  return redo_.empty() ? kNone : redo_.back().Name;
}

}  // namespace zandrel::editor
