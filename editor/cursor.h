// The editor's cell cursor and the camera that follows it: where the cursor is going
// (the target, moved a cell at a time by the commands) and where it is drawn (shown),
// which glides after the target.
#pragma once

#include <cstdint>

#include "world/level_map.h"

namespace zandrel::editor {

// World units (a cell is 512), angles in engine units (32768 to a full turn).
struct EditorCursor {
  float TargetX = 0, TargetY = 0, TargetZ = 0;
  float ShownX = 0, ShownY = 0, ShownZ = 0;
  float TargetHeading = 0, ShownHeading = 0;  // 0 looks along +z
  float TargetLook = 0, ShownLook = 0;        // 0, -8192 (top view) or 8192 (down view)
  float TargetZoom = 512, ShownZoom = 512;    // distance of the camera behind the cursor, 0..2048
};

constexpr float kTopView = -8192, kDownView = 8192;
constexpr float kMaxZoom = 2048;

struct CellPos {
  std::int32_t X = 0, Y = 0, Z = 0;
  friend bool operator==(const CellPos&, const CellPos&) = default;
};

// The cell the commands for start, exit, music and sentries act on, and the panel shows.
CellPos TargetCell(const EditorCursor& cursor);
// The cell put, delete, brighten, darken and the plan tools act on, and the cursor marks.
CellPos ShownCell(const EditorCursor& cursor);

// A float as a whole number, truncated toward zero and held within the int32 range.
std::int32_t Truncated(float value);

// Puts both the target and the shown cursor at a point at once.
void PlaceCursor(EditorCursor& cursor, float x, float y, float z);

// Once a tick: each target coordinate is held within the level (256 .. size x 512 - 256;
// the shown one jumps to the bound with it), then every shown value moves a quarter of
// the way to its target per 90 ms of `elapsed`. A late tick moves it the whole way at
// most, so that the glide never overshoots.
void StepCursor(EditorCursor& cursor, const world::LevelMap& map, std::int32_t elapsed);

}  // namespace zandrel::editor
