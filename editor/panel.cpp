#include "editor/panel.h"

#include <algorithm>
#include <cstdio>

#include "editor/editor.h"

namespace zandrel::editor {
namespace {

// "X:" cell " / " size, written over the text's old contents.
void Coordinate(std::string& text, const char* axis, std::int32_t cell, std::int32_t size) {
  char buffer[48];
  const int length = std::snprintf(buffer, sizeof buffer, "%s:%d / %d", axis, cell, size);
  text.assign(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

// The last of the music cells at that cell, if any.
const world::MusicCell* MusicCellAt(const world::LevelMap& map, CellPos cell) {
  const world::MusicCell* found = nullptr;
  for (const world::MusicCell& m : map.MusicCells) {
    if (m.X == cell.X && m.Y == cell.Y && m.Z == cell.Z) found = &m;
  }
  return found;
}

}  // namespace

std::string Caption(const std::string& levelFileName, bool dirty) {
  std::string caption = levelFileName.empty() ? "Zandrel - Level Editor" : "Level Editor - " + levelFileName;
  if (dirty) caption += " *";
  return caption;
}

void FillPanel(const Editor& editor, Panel& panel) {
  const world::LevelMap& map = editor.World->Map;
  const CellPos cell = TargetCell(editor.Cursor);
  Coordinate(panel.XPos, "X", cell.X, map.SizeX());
  Coordinate(panel.YPos, "Y", cell.Y, map.SizeY());
  Coordinate(panel.ZPos, "Z", cell.Z, map.SizeZ());
  char luminosity[32];
  const int length = std::snprintf(luminosity, sizeof luminosity, "Luminosity: %d%%",
                                   map.GetLight(cell.X, cell.Y, cell.Z) * 100 / 256);
  panel.Luminosity.assign(luminosity, static_cast<std::size_t>(std::max(length, 0)));
  const world::MusicCell* music = MusicCellAt(map, cell);
  panel.MusicShown = music != nullptr;
  panel.SelectMusic.reset();
  if (music != nullptr && (!editor.ShownPanel.MusicShown || !editor.PanelShown)) {
    const bool known = music->Music >= 0 && music->Music < world::kMusicEntryCount;
    panel.SelectMusic = known ? editor.World->Bank.Music[static_cast<std::size_t>(music->Music)].Name : "";
  }
  panel.CanUndo = editor.History.CanUndo();
  panel.CanRedo = editor.History.CanRedo();
  panel.UndoName.assign(editor.History.UndoName());
  panel.RedoName.assign(editor.History.RedoName());
}

void RefreshPanel(Editor& editor) {
  const bool dirty = editor.History.Dirty();
  if (editor.LevelFileName != editor.ShownFileName || dirty != editor.ShownDirty) {
    editor.Services.Window.SetCaption(Caption(editor.LevelFileName, dirty));
    editor.ShownFileName = editor.LevelFileName;
    editor.ShownDirty = dirty;
  }
  // Both panels keep their texts' room from tick to tick: nothing is allocated once they
  // have grown to their texts.
  Panel& panel = editor.NextPanel;
  FillPanel(editor, panel);
  if (editor.PanelShown && panel == editor.ShownPanel) return;
  editor.Services.Window.ShowPanel(panel);
  editor.ShownPanel = panel;
  editor.PanelShown = true;
}

}  // namespace zandrel::editor
