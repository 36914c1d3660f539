#include "editor/panel.h"

#include "editor/editor.h"

namespace zandrel::editor {
namespace {

std::string Coordinate(const char* axis, std::int32_t cell, std::int32_t size) {
  return std::string(axis) + ":" + std::to_string(cell) + " / " + std::to_string(size);
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

Panel PanelFor(const Editor& editor) {
  const world::LevelMap& map = editor.World->Map;
  const CellPos cell = TargetCell(editor.Cursor);
  Panel panel;
  panel.XPos = Coordinate("X", cell.X, map.SizeX());
  panel.YPos = Coordinate("Y", cell.Y, map.SizeY());
  panel.ZPos = Coordinate("Z", cell.Z, map.SizeZ());
  panel.Luminosity = "Luminosity: " + std::to_string(map.GetLight(cell.X, cell.Y, cell.Z) * 100 / 256) + "%";
  if (const world::MusicCell* music = MusicCellAt(map, cell)) {
    panel.MusicShown = true;
    if (!editor.ShownPanel.MusicShown || !editor.PanelShown) {
      const bool known = music->Music >= 0 && music->Music < world::kMusicEntryCount;
      panel.SelectMusic = known ? editor.World->Bank.Music[static_cast<std::size_t>(music->Music)].Name : "";
    }
  }
  panel.CanUndo = editor.History.CanUndo();
  panel.CanRedo = editor.History.CanRedo();
  panel.UndoName = editor.History.UndoName();
  panel.RedoName = editor.History.RedoName();
  return panel;
}

void RefreshPanel(Editor& editor) {
  const bool dirty = editor.History.Dirty();
  if (editor.LevelFileName != editor.ShownFileName || dirty != editor.ShownDirty) {
    editor.Services.Window.SetCaption(Caption(editor.LevelFileName, dirty));
    editor.ShownFileName = editor.LevelFileName;
    editor.ShownDirty = dirty;
  }
  Panel panel = PanelFor(editor);
  if (editor.PanelShown && panel == editor.ShownPanel) return;
  editor.Services.Window.ShowPanel(panel);
  editor.ShownPanel = std::move(panel);
  editor.PanelShown = true;
}

}  // namespace zandrel::editor
