// What the command panel shows, refreshed once a tick: the target cell's coordinates and
// luminosity, the music box on a music cell, and the undo and redo items.
#pragma once

#include <optional>
#include <string>

namespace zandrel::editor {

struct Editor;

struct Panel {
  std::string XPos, YPos, ZPos;  // "X:" cell " / " size
  std::string Luminosity;        // "Luminosity: " light x 100 div 256 "%"
  bool MusicShown = false;       // the music box, "Play" and "Stop"
  // When the box appears: the item it selects, the name of that cell's music.
  std::optional<std::string> SelectMusic;
  bool CanUndo = false, CanRedo = false;
  std::string UndoName, RedoName;

  friend bool operator==(const Panel&, const Panel&) = default;
};

// The caption: "Level Editor" and " - " with the file name once there is one ("Zandrel -
// Level Editor" before), then " *" while there are unsaved changes.
std::string Caption(const std::string& levelFileName, bool dirty);

// The panel as the editor's state gives it now, written over `panel`.
void FillPanel(const Editor& editor, Panel& panel);

// Sets the caption when the file name or the unsaved mark changed, and shows the panel
// when it changed.
void RefreshPanel(Editor& editor);

}  // namespace zandrel::editor
