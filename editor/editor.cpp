#include "editor/editor.h"

#include <algorithm>

#include "editor/editor_view.h"
#include "editor/level_ops.h"
#include "engine/camera.h"
#include "engine/scene.h"
#include "engine/texture_list.h"
#include "world/behaviour.h"
#include "world/object_bank.h"

namespace zandrel::editor {
namespace {

constexpr std::int32_t kStartHearingRange = 24576;
constexpr std::int32_t kViewHearingRange = 23040;  // 45 cells, once the view is laid out
constexpr std::int32_t kStartSide = 100;
constexpr int kPreviewTurn = 100;  // angle units per pixel of mouse motion

void TurnPreview(Editor& editor) {
  const MouseState& m = editor.Mouse;
  if (!editor.CurrentView.Contains(m.LastX, m.LastY)) return;
  if (m.Left) {
    editor.PreviewYaw = engine::ClampToInt32(std::int64_t{editor.PreviewYaw} + kPreviewTurn * (m.LastX - m.PreviousX));
    editor.PreviewPitch =
        engine::ClampToInt32(std::int64_t{editor.PreviewPitch} - kPreviewTurn * (m.LastY - m.PreviousY));
  }
  if (m.Right) editor.PreviewYaw = editor.PreviewPitch = 0;
}

void AutosaveWhenDue(Editor& editor) {
  const std::uint32_t now = editor.LastTick;
  if (now - editor.LastAutosave < kAutosaveInterval) return;
  editor.LastAutosave = now;
  const UndoHistory& history = editor.History;
  if (!history.Dirty() || history.Current() == editor.AutosavedState) return;
  if (base::Status written = editor.Backups.Write(editor.Map(), editor.LevelFileName); !written) {
    std::fprintf(stderr, "zandrel-editor: %s\n", written.error().c_str());
    return;
  }
  editor.AutosavedState = history.Current();
}

}  // namespace

base::Status LoadEditorTextures(Editor& editor, std::string_view textureList, world::FogColour fog) {
  engine::RenderView& level = *editor.LevelView;
  if (base::Status s = engine::LoadTextureList(editor.Engine, level, textureList, editor.Services.DataFolder); !s) {
    return s;
  }
  engine::SetFog(editor.Engine, level, fog.Red, fog.Green, fog.Blue);
  ShareTextures(level, *editor.PreviewView);
  return {};
}

Editor::Editor(const EditorServices& services)
    : Services(services),
      World(std::make_unique<world::World>()),
      Engine(services.Backend),
      LevelView(std::make_unique<engine::RenderView>()),
      PreviewView(std::make_unique<engine::RenderView>()),
      Recent(services.ConfigFolder / "zandrel-editor.ini"),
      Backups(services.StateFolder) {
  engine::StartEngineCore(Engine);
}

base::Status FirstActivation(Editor& editor, const std::string& levelFile) {
  EditorServices& services = editor.Services;
  services.Window.ShowPanels(false);
  editor.World->Random.Seed(static_cast<std::int32_t>(services.Clock.Ticks()));
  editor.LevelFileName.clear();
  editor.MusicOn = true;
  editor.StartFolder = services.DataFolder;
  services.Sounds.InitAudio();
  services.Sounds.SetHearingRange(*editor.LevelView, kStartHearingRange);
  services.Music.StartModulePlayer();
  editor.Faces = engine::MakeCubeFaces();
  editor.Engine.Back->OpenView(kPreviewSide, kPreviewSide, *editor.PreviewView);
  editor.Engine.Back->OpenView(320, 240, *editor.LevelView);
  services.Sounds.SetHearingRange(*editor.LevelView, kViewHearingRange);
  world::BankServices bank = editor.Bank();
  if (base::Expected<bool> loaded = world::LoadObjectBank(bank, *editor.World, kBankName, "High"); !loaded) {
    return base::Failure{loaded.error()};
  }
  LoadEditorMarkers(editor);

  world::LevelMap& map = editor.Map();
  map.SetLevelSize(kStartSide, kStartSide, kStartSide);
  FillEmptyLevel(editor);
  map.SentryCount = 0;
  map.RandomSeed = 0;
  ResetSentries(editor);
  map.Outside = 1;
  editor.Cursor = EditorCursor{};
  PlaceCursor(editor.Cursor, static_cast<float>(map.SizeX() * world::kCellSize / 2 + world::kCellSize / 2),
              static_cast<float>(3 * world::kCellSize / 2),
              static_cast<float>(map.SizeZ() * world::kCellSize / 2 + world::kCellSize / 2));
  editor.History.Clear();
  FillLists(editor);
  services.Window.SetOutsideChecked(true);
  editor.CurrentObject = 0;
  editor.PreviewYaw = editor.PreviewPitch = 0;
  editor.PreviewDistance = kDefaultPreviewDistance;
  editor.Mouse = MouseState{};
  editor.StretchView = true;
  services.Window.SetStretchChecked(true);
  services.Window.SetRecentFiles(editor.Recent.Files());

  services.Window.ShowPanels(true);
  editor.EditorReady = true;
  editor.EditorBusy = false;
  services.Window.WaitAllKeysUp();
  ResetFrameClock(editor);
  editor.LastAutosave = editor.LastTick;

  OfferRestore(editor);
  if (base::Status marked = editor.Backups.MarkRunning(); !marked) {
    std::fprintf(stderr, "zandrel-editor: %s\n", marked.error().c_str());
  }
  if (!levelFile.empty()) LoadLevel(editor, levelFile);
  services.Window.RestoreFocus();
  ResetFrameClock(editor);
  return {};
}

void EditorTick(Editor& editor) {
  if (!editor.EditorReady) return;
  EditorServices& services = editor.Services;
  services.Music.PollMusic();
  const bool mapFocus = services.Window.MapHasFocus();
  const std::uint32_t now = services.Clock.Ticks();
  editor.Elapsed = static_cast<std::int32_t>(now - editor.LastTick);
  editor.LastTick = now;
  if (!editor.EditorBusy) {
    if (mapFocus) {
      ReadCommandKeys(editor);
      TurnPreview(editor);
    }
    RefreshPanel(editor);
    world::World& world = *editor.World;
    world.Now = now;
    world.FrameTime = editor.Elapsed;
    world::UpdateWorld(world, *editor.LevelView, services.Sounds);
    StepCursor(editor.Cursor, world.Map, editor.Elapsed);
    DrawEditorView(editor);
    DrawPreview(editor);
    AutosaveWhenDue(editor);
  }
  ++editor.TickNumber;
}

void ResetFrameClock(Editor& editor) {
  editor.LastTick = editor.Services.Clock.Ticks() - 1;
  editor.Elapsed = 1;
}

void MouseDown(Editor& editor, MouseButton button) {
  (button == MouseButton::Left ? editor.Mouse.Left : editor.Mouse.Right) = true;
}

void MouseUp(Editor& editor, MouseButton button) {
  (button == MouseButton::Left ? editor.Mouse.Left : editor.Mouse.Right) = false;
}

void MouseMove(Editor& editor, int x, int y) {
  MouseState& m = editor.Mouse;
  m.PreviousX = m.LastX;
  m.PreviousY = m.LastY;
  m.LastX = x;
  m.LastY = y;
}

ViewSize ViewSizeFor(int clientWidth, int clientHeight) {
  const int larger = std::max(clientWidth, clientHeight);
  if (larger >= 640) return {640, 480};
  if (larger < 320) return {160, 120};
  return {320, 240};
}

void ResizeView(Editor& editor, int clientWidth, int clientHeight) {
  if (!editor.EditorReady) return;
  const ViewSize size = ViewSizeFor(clientWidth, clientHeight);
  engine::RenderView& view = *editor.LevelView;
  if (size == ViewSize{view.Screen.Width, view.Screen.Height}) return;
  editor.Engine.Back->OpenView(size.Width, size.Height, view);
}

void ToggleStretching(Editor& editor) {
  editor.StretchView = !editor.StretchView;
  editor.Services.Window.SetStretchChecked(editor.StretchView);
  editor.Services.Window.RestoreFocus();
}

bool CloseEditor(Editor& editor) {
  // Closed while loading: nothing was started, and the marker of an earlier run stays.
  if (!editor.EditorReady) return true;
  if (!ConfirmDiscard(editor)) return false;
  editor.Services.Music.CloseModulePlayer();
  editor.Backups.MarkCleanExit();
  std::error_code ignored;
  std::filesystem::remove(TestLevelFile(), ignored);
  return true;
}

}  // namespace zandrel::editor
