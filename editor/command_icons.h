// The 19 command icons of the editor's panel: the control's name, its picture in the data
// tree (24 x 24 RGBA PNG files written by zandrel-data), the hint shown to the user and its
// place on the panel. Each click runs the same command as the key the hint names.
#pragma once

#include <array>
#include <string_view>

namespace zandrel::editor {

inline constexpr int kCommandIconSide = 24;

struct CommandIcon {
  std::string_view Name;  // the control, e.g. "I_RotateLeft"
  std::string_view File;  // below the data tree
  std::string_view Hint;
  int X, Y;  // top left corner on the command panel
};

inline constexpr std::array<CommandIcon, 19> kCommandIcons = {{
    {"I_RotateLeft", "EDITOR/ROTATELEFT.PNG", "Rotate left (Left arrow)", 3, 160},
    {"I_MoveForward", "EDITOR/MOVEFORWARD.PNG", "Move forward (Up arrow)", 29, 160},
    {"I_RotateRight", "EDITOR/ROTATERIGHT.PNG", "Rotate right (Right arrow)", 55, 160},
    {"I_ZoomIn", "EDITOR/ZOOMIN.PNG", "Zoom in (\"+\")", 81, 160},
    {"I_LookUp", "EDITOR/LOOKUP.PNG", "Top view (\"Page Up\")", 107, 160},
    {"I_MoveLeft", "EDITOR/MOVELEFT.PNG", "Move left (CTRL+Left arrow)", 3, 185},
    {"I_MoveBack", "EDITOR/MOVEBACK.PNG", "Move backwards (Down arrow)", 29, 185},
    {"I_MoveRight", "EDITOR/MOVERIGHT.PNG", "Move right (CTRL+Right arrow)", 55, 185},
    {"I_ZoomOut", "EDITOR/ZOOMOUT.PNG", "Zoom out (\"-\")", 81, 185},
    {"I_LookDown", "EDITOR/LOOKDOWN.PNG", "Down view (\"Page Down\")", 107, 185},
    {"I_GoUp", "EDITOR/GOUP.PNG", "Move upwards (\"H\")", 3, 210},
    {"I_GoDown", "EDITOR/GODOWN.PNG", "Move downards (\"B\" key)", 29, 210},
    {"I_SFX", "EDITOR/SFX.PNG", "Put a music (\"S\")", 55, 210},
    {"I_Brighter", "EDITOR/BRIGHTER.PNG", "Brighten current cell (\"E\" key)", 81, 210},
    {"I_Darker", "EDITOR/DARKER.PNG", "Darken current cell (\"A\" key)", 107, 210},
    {"I_PutBlock", "EDITOR/PUTBLOCK.PNG", "Put current object in map (Space key)", 3, 235},
    {"I_DelBlock", "EDITOR/DELBLOCK.PNG", "Delete current cell (object & music) (DEL key)", 29, 235},
    {"I_Start", "EDITOR/START.PNG", "Put the Start point (\"D\")", 81, 235},
    {"I_Exit", "EDITOR/EXIT.PNG", "Put the Exit point (\"X\")", 107, 235},
}};

// The editor's own icon (its window and its desktop entry), 64 x 64 RGBA.
inline constexpr std::string_view kEditorIconFile = "EDITOR/ZANDREL-EDITOR.PNG";
inline constexpr int kEditorIconSide = 64;

// The icon of a control by name; nullptr when there is none.
constexpr const CommandIcon* FindCommandIcon(std::string_view name) {
  for (const CommandIcon& icon : kCommandIcons) {
    if (icon.Name == name) return &icon;
  }
  return nullptr;
}

}  // namespace zandrel::editor
