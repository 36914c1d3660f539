// What the editor asks of the 3D engine each tick: the level around the cursor with its
// sky, shadows, sentries, moving objects, loop sounds and markers, and the preview of the
// current object; and the marker meshes.
#pragma once

#include <cstdint>

#include "base/expected.h"
#include "engine/render_view.h"

namespace zandrel::editor {

struct Editor;

// Cells drawn on each side of the camera's cell.
constexpr std::int32_t kViewReach = 8;

// The preview gets the level view's palette, fog, shading tables, texture slots and
// copies of its texture images, so that it shows textures as the level view does.
void ShareTextures(const engine::RenderView& level, engine::RenderView& preview);

// Loads the four marker meshes from the start folder ("3do/editor/select.3do",
// "start.3do", "sfx.3do", "exit.3do") and turns every face of each into a flat face of the
// palette colour nearest to its colour (white, white, cyan, yellow). A missing marker
// stays empty and is not drawn.
void LoadEditorMarkers(Editor& editor);

// The palette index among 1..255 nearest to a colour by the sum of squared differences,
// the higher index winning a tie.
std::uint8_t MarkerColour(const engine::Palette& palette, int red, int green, int blue);

// The level view of this tick: the camera behind the shown cursor, the cells within eight
// of the camera's cell on each axis, then UpdateSounds.
void DrawEditorView(Editor& editor);

// The preview of the current object, turned by the preview angles.
void DrawPreview(Editor& editor);

}  // namespace zandrel::editor
