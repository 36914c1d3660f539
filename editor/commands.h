// The command keys and icons: cursor and camera moves, and the cell operations on the
// level. Each icon of the panel runs the same operation as its key.
#pragma once

#include <cstddef>
#include <string_view>

namespace zandrel::editor {

struct Editor;

// In the order the keys are tested each tick.
enum class Command : std::size_t {
  MoveForward,  // Up arrow
  MoveBack,     // Down arrow
  MoveDown,     // "B"
  MoveUp,       // "H"
  RotateRight,  // Right arrow without Ctrl
  RotateLeft,   // Left arrow without Ctrl
  MoveRight,    // Ctrl + Right arrow
  MoveLeft,     // Ctrl + Left arrow
  TopView,      // Page Up
  DownView,     // Page Down
  ZoomIn,       // keypad plus
  ZoomOut,      // keypad minus
  Put,          // Space
  Delete,       // Backspace or Delete
  StartPoint,   // "D"
  ExitPoint,    // "X"
  PutMusic,     // "S"
  Darken,       // "A"
  Brighten,     // "E"
};
constexpr std::size_t kCommandCount = 19;

// What the undo item calls a command's change.
std::string_view CommandName(Command command);

// Runs one command, as its icon does.
void RunCommand(Editor& editor, Command command);

// Polls the command keys once and runs the command of each pressed key, in the order of
// Command. A key that acted in the tick before and acts again is held: its changes to the
// level join the same undo step.
void ReadCommandKeys(Editor& editor);

// "Set Pos.": sentry `listIndex` + 1 of the sentry list to the centre of the target cell,
// facing away from the cursor's heading; nothing for no selection (-1) or beyond the count.
void SetSentryPosition(Editor& editor, int listIndex);

// The object list's choice: the code of the object type of that name (of several, the
// highest); a name no type has changes nothing.
void SelectObject(Editor& editor, std::string_view name);
// The music box's choice: on a music cell, its music becomes the entry of that name (of
// several, the highest); a name no entry has changes nothing.
void SelectMusic(Editor& editor, std::string_view name);
// "Play": the entry of that name (the highest), if any. "Stop": whatever plays.
void PlayMusicNamed(Editor& editor, std::string_view name);
void StopMusicPlaying(Editor& editor);

}  // namespace zandrel::editor
