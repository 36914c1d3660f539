// The programs' own icons, as the desktop shows them in its menus and task bars: the game's
// gold ingot and the editor's brick cube, each drawn at every size the icon theme holds.
#pragma once

#include <array>

#include "tools/data/data_tree.h"
#include "tools/data/icon_canvas.h"

namespace zandrel::data {

// The sizes of the desktop's icon theme that get a picture of their own.
inline constexpr std::array<int, 6> kDesktopIconSides = {16, 32, 48, 64, 128, 256};

icons::IconCanvas DrawGameIcon(int side);
icons::IconCanvas DrawEditorIcon(int side);

// hicolor/NxN/apps/zandrel.png and hicolor/NxN/apps/zandrel-editor.png for every size, the
// layout of the desktop's icon folder.
void GenerateDesktopIcons(DataTree& tree);

}  // namespace zandrel::data
