// The level editor: one context holding the world, the engine with its two views (the
// level and the current-object preview), the cursor, the panel's state, the undo history
// and the ports to the machine, and the tick that the window's 50 ms timer runs.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "base/expected.h"
#include "editor/autosave.h"
#include "editor/commands.h"
#include "editor/cursor.h"
#include "editor/history.h"
#include "editor/panel.h"
#include "editor/ports.h"
#include "editor/recent_files.h"
#include "engine/backend.h"
#include "engine/cube_faces.h"
#include "engine/engine.h"
#include "engine/mesh.h"
#include "engine/render_view.h"
#include "input/key_state.h"
#include "platform/win/clock.h"
#include "world/bank_devices.h"
#include "world/world.h"

namespace zandrel::editor {

struct EditorServices {
  engine::Backend& Backend;  // the software back end: both views are 8-bit pictures
  EditorDialogs& Dialogs;
  EditorWindow& Window;
  EditorSounds& Sounds;
  EditorMusic& Music;
  const win::Clock& Clock;
  std::filesystem::path DataFolder;    // the data tree: the bank, its files and the "LEVEL" folder
  std::filesystem::path StateFolder;   // backups and the marker of a running editor
  std::filesystem::path ConfigFolder;  // the list of recent files
};

// A rectangle of the window, in the coordinates mouse positions come in.
struct Rect {
  int X = 0, Y = 0, Width = 0, Height = 0;
  // Edges included.
  bool Contains(int x, int y) const { return x >= X && x <= X + Width && y >= Y && y <= Y + Height; }
};

struct MouseState {
  bool Left = false, Right = false;
  int LastX = 0, LastY = 0, PreviousX = 0, PreviousY = 0;
};

// The markers of the level view, each recoloured to one palette colour.
struct EditorMarkers {
  engine::Mesh Cursor, Start, Music, Exit;
};

struct Editor;

// The bank's textures and fog go into the level view, and the preview gets copies of them;
// the editor draws no interface pictures.
base::Status LoadEditorTextures(Editor& editor, std::string_view textureList, world::FogColour fog);

constexpr const char* kBankName = "Standard.bnk";
// What the level file names as its bank.
constexpr const char* kLevelBankName = "STANDARD.BNK";
constexpr std::int32_t kPreviewSide = 256;
constexpr std::int32_t kDefaultPreviewDistance = 1024;

struct Editor {
  explicit Editor(const EditorServices& services);
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  world::BankServices Bank() { return {BankDevices, Services.Clock, Services.DataFolder}; }
  world::LevelMap& Map() { return World->Map; }

  EditorServices Services;
  world::BankCalls BankDevices{
      [this](std::string_view list, world::FogColour fog) { return LoadEditorTextures(*this, list, fog); },
      [this](std::string_view file) { return Services.Sounds.LoadSound(file); }};
  std::unique_ptr<world::World> World;
  engine::Engine Engine;
  // The software back end keeps texture images in each view: the bank's textures load
  // into the level view, and the preview gets copies of them (ShareTextures).
  std::unique_ptr<engine::RenderView> LevelView, PreviewView;
  engine::CubeFaces Faces;
  EditorMarkers Markers;
  EditorCursor Cursor;
  input::KeyState Keys;  // fed by the window's key events

  bool EditorReady = false;
  bool EditorBusy = true;  // until the first activation ends, and while a prompt is open
  bool StretchView = true;
  bool MusicOn = true;
  std::string LevelFileName;  // the file last loaded or saved
  std::string ShownFileName;  // the name last put into the caption
  bool ShownDirty = false;    // the unsaved mark last put into the caption
  std::uint8_t CurrentObject = 0;
  MouseState Mouse;
  Rect CurrentView;  // where the preview is shown
  std::int32_t PreviewYaw = 0, PreviewPitch = 0;
  std::int32_t PreviewDistance = kDefaultPreviewDistance;

  // The frame clock.
  std::uint32_t LastTick = 0;
  std::int32_t Elapsed = 1;  // ms since the tick before
  std::int64_t TickNumber = 0;
  // The tick in which each command key last acted: a key still held the tick after
  // repeats its command, and the repeats make one undo step.
  std::array<std::int64_t, kCommandCount> KeyTick{};

  UndoHistory History;
  Panel ShownPanel;
  Panel NextPanel;  // the panel of this tick, before it is compared with the one shown
  bool PanelShown = false;

  std::filesystem::path StartFolder;  // the data tree, from which the markers load
  RecentFiles Recent;
  Autosave Backups;
  std::uint32_t LastAutosave = 0;
  std::uint64_t AutosavedState = 0;  // the history's state the last backup holds
};

// Window creation to the ready editor: sound and music started, the views opened, the
// bank and the markers loaded, a 100 x 100 x 100 level made, the lists filled; then, after
// a run that ended without a clean exit, the offer to restore its backup; then the level
// file named on the command line, if any. Fails only when the bank or a file the editor
// cannot run without is missing.
base::Status FirstActivation(Editor& editor, const std::string& levelFile = {});

// One tick of the 50 ms timer: music poll, the command keys and the preview's turn (while
// the map has the keyboard), the panel, the object animations, the cursor's glide, the
// level view and the preview, and the backup when one is due. Nothing before the first
// activation has ended; while a prompt is open only the music is polled.
void EditorTick(Editor& editor);

// The next tick's elapsed time starts now: after a long operation, 1 ms.
void ResetFrameClock(Editor& editor);

enum class MouseButton { Left, Right };
void MouseDown(Editor& editor, MouseButton button);
void MouseUp(Editor& editor, MouseButton button);
void MouseMove(Editor& editor, int x, int y);

// The level view's picture size for a window's client area: by the larger side, 640 x 480
// from 640 on, 160 x 120 below 320, else 320 x 240.
struct ViewSize {
  int Width = 0, Height = 0;
  friend bool operator==(const ViewSize&, const ViewSize&) = default;
};
ViewSize ViewSizeFor(int clientWidth, int clientHeight);
// The window's client area changed: the level view opens again at its new size.
void ResizeView(Editor& editor, int clientWidth, int clientHeight);

// "&Stretching": toggles StretchView and its check mark.
void ToggleStretching(Editor& editor);

// The window is asked to close: with unsaved changes the user may save them first or stay
// (false). Closing the ready editor closes the module player and removes the marker of a
// running editor.
bool CloseEditor(Editor& editor);

}  // namespace zandrel::editor
