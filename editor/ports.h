// What the editor's core asks of the machine: dialogs and message boxes, the window's
// controls, sounds and music. The editor's widgets plug in Qt and the sound devices; the
// tests answer every prompt from a table and run ticks without a window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/render_view.h"
#include "world/world_sounds.h"

namespace zandrel::editor {

struct Panel;

enum class Choice { Yes, No, Cancel };

class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;
  // The one-line input box: a caption, a prompt line and a preset text. Cancel answers
  // the preset.
  virtual std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view preset) = 0;
  // The open and save dialogs, filter "Level file (*.lev)", starting in `folder`; nothing
  // on Cancel. A typed name gets no extension added.
  virtual std::optional<std::string> OpenLevelDialog(const std::filesystem::path& folder) = 0;
  virtual std::optional<std::string> SaveLevelDialog(const std::filesystem::path& folder) = 0;
  // A message box with an OK button.
  virtual void Message(std::string_view text) = 0;
  // A question answered Yes or No, or Cancel when `withCancel` is set.
  virtual Choice Ask(std::string_view text, bool withCancel) = 0;
};

// The window's controls as the core drives them.
class EditorWindow {
 public:
  virtual ~EditorWindow() = default;
  virtual void SetCaption(std::string_view caption) = 0;
  // The command panel's labels, music box and the undo and redo items.
  virtual void ShowPanel(const Panel& panel) = 0;
  virtual void FillObjectList(const std::vector<std::string>& names) = 0;
  virtual void FillMusicList(const std::vector<std::string>& names) = 0;
  // "NME #1" ... "NME #count".
  virtual void FillSentryList(std::int32_t count) = 0;
  virtual void SetOutsideChecked(bool checked) = 0;
  virtual void SetStretchChecked(bool checked) = 0;
  virtual void SetRecentFiles(const std::vector<std::string>& files) = 0;
  // The command panel and the object list box, hidden while the editor loads.
  virtual void ShowPanels(bool shown) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  // The window itself or its focus catcher has the keyboard: keys then edit the map.
  virtual bool MapHasFocus() const = 0;
  // Gives the keyboard back to the map after a menu command, list change or button.
  virtual void RestoreFocus() = 0;
  // Returns when no key is held.
  virtual void WaitAllKeysUp() = 0;
  // Opens the full-screen display at that size and closes it again; false when the
  // machine offers no full-screen mode.
  virtual bool BoostDisplay(int width, int height) = 0;
  // Starts the game on a level file in its own window; the editor goes on.
  virtual base::Status StartGame(const std::filesystem::path& levelFile) = 0;
};

class EditorSounds : public world::WorldSounds {
 public:
  // Opens the sound device (nothing without one).
  virtual void InitAudio() = 0;
  // Positional sounds of `listener` fall silent at `range` world units.
  virtual void SetHearingRange(engine::RenderView& listener, std::int32_t range) = 0;
  // A sound of the object bank, played later by its handle (kNoSound without a device).
  virtual world::SoundHandle LoadSound(std::string_view fileName) = 0;
  // The playing sounds follow the level view's camera.
  virtual void UpdateSounds() = 0;
};

class EditorMusic {
 public:
  virtual ~EditorMusic() = default;
  virtual void StartModulePlayer() = 0;
  virtual void PlayMusic(std::int32_t entry) = 0;
  virtual void StopMusic() = 0;
  // Restarts an ended looping piece; shows the next frame of a clip.
  virtual void PollMusic() = 0;
  virtual void CloseModulePlayer() = 0;
};

// Silence, for tests and machines without a sound device.
class SilentSounds final : public EditorSounds {
 public:
  void PlayAt(world::SoundHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  void InitAudio() override {}
  void SetHearingRange(engine::RenderView& listener, std::int32_t range) override { listener.FarDistance = range; }
  world::SoundHandle LoadSound(std::string_view) override { return world::kNoSound; }
  void UpdateSounds() override {}
};

class SilentMusic final : public EditorMusic {
 public:
  void StartModulePlayer() override {}
  void PlayMusic(std::int32_t) override {}
  void StopMusic() override {}
  void PollMusic() override {}
  void CloseModulePlayer() override {}
};

}  // namespace zandrel::editor
