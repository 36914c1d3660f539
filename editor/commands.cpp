#include "editor/commands.h"

#include <algorithm>
#include <cmath>

#include "editor/editor.h"
#include "engine/angles.h"
#include "input/virtual_keys.h"

namespace zandrel::editor {
namespace {

constexpr float kStep = world::kCellSize;
constexpr float kQuarterTurn = engine::kQuarterTurn;

std::size_t Index(Command command) { return static_cast<std::size_t>(command); }

// Moves the target by `forward` and `right` cells, seen along the target heading rounded.
void Move(EditorCursor& c, float forward, float right) {
  const double h = std::nearbyint(static_cast<double>(c.TargetHeading));
  const float s = engine::AngleSin(h), co = engine::AngleCos(h);
  c.TargetX += kStep * (forward * s + right * co);
  c.TargetZ += kStep * (forward * co - right * s);
}

void ToggleLook(EditorCursor& c, float look) { c.TargetLook = c.TargetLook == look ? 0 : look; }

// The last music cell at that cell, if any.
world::MusicCell* MusicCellAt(world::LevelMap& map, CellPos cell) {
  world::MusicCell* found = nullptr;
  for (world::MusicCell& m : map.MusicCells) {
    if (m.X == cell.X && m.Y == cell.Y && m.Z == cell.Z) found = &m;
  }
  return found;
}

// Changes the level through one undo step.
template <class Change>
void ChangeLevel(Editor& editor, std::string_view name, bool repeat, Change&& change) {
  RecordChange(editor.History, editor.Map(), std::string(name), repeat, std::forward<Change>(change));
}

void Apply(Editor& editor, Command command, bool repeat) {
  EditorCursor& c = editor.Cursor;
  const CellPos shown = ShownCell(c);
  const CellPos target = TargetCell(c);
  const std::string_view name = CommandName(command);
  switch (command) {
    case Command::MoveForward: return Move(c, 1, 0);
    case Command::MoveBack: return Move(c, -1, 0);
    case Command::MoveDown: c.TargetY -= kStep; return;
    case Command::MoveUp: c.TargetY += kStep; return;
    case Command::RotateRight: c.TargetHeading += kQuarterTurn; return;
    case Command::RotateLeft: c.TargetHeading -= kQuarterTurn; return;
    case Command::MoveRight: return Move(c, 0, 1);
    case Command::MoveLeft: return Move(c, 0, -1);
    case Command::TopView: return ToggleLook(c, kTopView);
    case Command::DownView: return ToggleLook(c, kDownView);
    case Command::ZoomIn: c.TargetZoom = std::max(c.TargetZoom - kStep, 0.0f); return;
    case Command::ZoomOut: c.TargetZoom = std::min(c.TargetZoom + kStep, kMaxZoom); return;
    case Command::Put:
      return ChangeLevel(editor, name, repeat, [&](LevelChange& step, world::LevelMap&) {
        step.SetCell(shown.X, shown.Y, shown.Z, editor.CurrentObject);
      });
    case Command::Delete:
      return ChangeLevel(editor, name, repeat, [&](LevelChange& step, world::LevelMap& map) {
        step.SetCell(shown.X, shown.Y, shown.Z, 0);
        step.SetLight(shown.X, shown.Y, shown.Z, world::kNeutralLight);
        for (world::MusicCell& m : map.MusicCells) {
          if (m.X == shown.X && m.Y == shown.Y && m.Z == shown.Z) {
            m.X = world::kEmptyMusicCell;
            m.Music = 0;
          }
        }
      });
    case Command::StartPoint:
      return ChangeLevel(editor, name, repeat, [&](LevelChange&, world::LevelMap& map) {
        map.StartX = target.X;
        map.StartY = target.Y;
        map.StartZ = target.Z;
        map.StartHeading = Truncated(c.TargetHeading);
      });
    case Command::ExitPoint:
      return ChangeLevel(editor, name, repeat, [&](LevelChange&, world::LevelMap& map) {
        map.ExitX = target.X;
        map.ExitY = target.Y;
        map.ExitZ = target.Z;
      });
    case Command::PutMusic:
      return ChangeLevel(editor, name, repeat, [&](LevelChange&, world::LevelMap& map) {
        if (MusicCellAt(map, target) != nullptr) return;
        for (auto m = map.MusicCells.rbegin(); m != map.MusicCells.rend(); ++m) {
          if (m->X < 0) {
            *m = world::MusicCell{target.X, target.Y, target.Z, 0};
            return;
          }
        }
      });
    case Command::Darken:
      return ChangeLevel(editor, name, repeat, [&](LevelChange& step, world::LevelMap& map) {
        const std::uint8_t light = map.GetLight(shown.X, shown.Y, shown.Z);
        step.SetLight(shown.X, shown.Y, shown.Z, light <= 1 ? 0 : static_cast<std::uint8_t>(light - 2));
      });
    case Command::Brighten:
      return ChangeLevel(editor, name, repeat, [&](LevelChange& step, world::LevelMap& map) {
        const std::uint8_t light = map.GetLight(shown.X, shown.Y, shown.Z);
        step.SetLight(shown.X, shown.Y, shown.Z, light >= 254 ? 255 : static_cast<std::uint8_t>(light + 2));
      });
  }
}

// The highest entry number whose name is `name`; -1 when none.
std::int32_t MusicEntryNamed(const Editor& editor, std::string_view name) {
  if (name.empty()) return -1;  // the box lists named entries only
  const world::MusicTable& music = editor.World->Bank.Music;
  for (std::int32_t n = world::kMusicEntryCount - 1; n >= 0; --n) {
    if (music[static_cast<std::size_t>(n)].Name == name) return n;
  }
  return -1;
}

}  // namespace

std::string_view CommandName(Command command) {
  static constexpr std::string_view kNames[kCommandCount] = {
      "Move forward", "Move backwards", "Move down", "Move up",     "Rotate right", "Rotate left", "Move right",
      "Move left",    "Top view",       "Down view", "Zoom in",     "Zoom out",     "Put object",  "Delete cell",
      "Start point",  "Exit point",     "Put music", "Darken cell", "Brighten cell"};
  return kNames[Index(command)];
}

void RunCommand(Editor& editor, Command command) { Apply(editor, command, false); }

void ReadCommandKeys(Editor& editor) {
  input::KeyState& keys = editor.Keys;
  namespace vk = input::vk;
  const bool ctrl = keys.KeyDown(vk::Control);
  std::array<bool, kCommandCount> pressed{};
  pressed[Index(Command::MoveForward)] = keys.KeyDown(vk::Up);
  pressed[Index(Command::MoveBack)] = keys.KeyDown(vk::Down);
  pressed[Index(Command::MoveDown)] = keys.KeyDown('B');
  pressed[Index(Command::MoveUp)] = keys.KeyDown('H');
  const bool right = keys.KeyDown(vk::Right), left = keys.KeyDown(vk::Left);
  pressed[Index(Command::RotateRight)] = right && !ctrl;
  pressed[Index(Command::RotateLeft)] = left && !ctrl;
  pressed[Index(Command::MoveRight)] = right && ctrl;
  pressed[Index(Command::MoveLeft)] = left && ctrl;
  pressed[Index(Command::TopView)] = keys.KeyDown(vk::Prior);
  pressed[Index(Command::DownView)] = keys.KeyDown(vk::Next);
  pressed[Index(Command::ZoomIn)] = keys.KeyDown(vk::Add);
  pressed[Index(Command::ZoomOut)] = keys.KeyDown(vk::Subtract);
  pressed[Index(Command::Put)] = keys.KeyDown(vk::Space);
  const bool back = keys.KeyDown(vk::Back), del = keys.KeyDown(vk::Delete);
  pressed[Index(Command::Delete)] = back || del;
  pressed[Index(Command::StartPoint)] = keys.KeyDown('D');
  pressed[Index(Command::ExitPoint)] = keys.KeyDown('X');
  pressed[Index(Command::PutMusic)] = keys.KeyDown('S');
  pressed[Index(Command::Darken)] = keys.KeyDown('A');
  pressed[Index(Command::Brighten)] = keys.KeyDown('E');
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (!pressed[i]) continue;
    const bool held = editor.KeyTick[i] == editor.TickNumber - 1;
    editor.KeyTick[i] = editor.TickNumber;
    Apply(editor, static_cast<Command>(i), held);
  }
}

void SetSentryPosition(Editor& editor, int listIndex) {
  world::LevelMap& map = editor.Map();
  if (listIndex >= 0 && listIndex < std::min(map.SentryCount, world::kMaxSentries)) {
    const CellPos cell = TargetCell(editor.Cursor);
    ChangeLevel(editor, "Set sentry position", false, [&](LevelChange&, world::LevelMap& m) {
      world::Sentry& sentry = m.Sentries[static_cast<std::size_t>(listIndex)];
      sentry.CellX = cell.X;
      sentry.CellY = cell.Y;
      sentry.CellZ = cell.Z;
      sentry.X = static_cast<float>(world::CellCentre(cell.X));
      sentry.Y = static_cast<float>(world::CellCentre(cell.Y));
      sentry.Z = static_cast<float>(world::CellCentre(cell.Z));
      sentry.Heading = static_cast<float>(Truncated(-editor.Cursor.TargetHeading));
    });
  }
  editor.Services.Window.RestoreFocus();
}

void SelectObject(Editor& editor, std::string_view name) {
  for (int code = world::kObjectTypeCount - 1; code >= 0; --code) {
    const world::ObjectType& type = editor.World->Types[static_cast<std::size_t>(code)];
    if (!type.Empty && type.Name == name) {
      editor.CurrentObject = static_cast<std::uint8_t>(code);
      break;
    }
  }
  editor.Services.Window.RestoreFocus();
}

void SelectMusic(Editor& editor, std::string_view name) {
  const std::int32_t entry = MusicEntryNamed(editor, name);
  const CellPos cell = TargetCell(editor.Cursor);
  if (entry >= 0 && MusicCellAt(editor.Map(), cell) != nullptr) {
    ChangeLevel(editor, "Choose music", false,
                [&](LevelChange&, world::LevelMap& map) { MusicCellAt(map, cell)->Music = entry; });
  }
  editor.Services.Window.RestoreFocus();
}

void PlayMusicNamed(Editor& editor, std::string_view name) {
  if (const std::int32_t entry = MusicEntryNamed(editor, name); entry >= 0) editor.Services.Music.PlayMusic(entry);
  editor.Services.Window.RestoreFocus();
}

void StopMusicPlaying(Editor& editor) {
  editor.Services.Music.StopMusic();
  editor.Services.Window.RestoreFocus();
}

}  // namespace zandrel::editor
