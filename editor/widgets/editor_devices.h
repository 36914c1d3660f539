// The editor's ports on the real devices: sounds through the audio library's voice slots,
// heard from the level view's camera; music through the module player and the media
// control service, with video clips shown over the level view.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

#include "audio/music.h"
#include "audio/sound.h"
#include "audio/world_sound_player.h"
#include "editor/ports.h"
#include "platform/mci/mci.h"
#include "platform/midas/midas.h"

namespace zandrel::editor::widgets {

class EditorDeviceSounds final : public EditorSounds {
 public:
  // The sound state must outlive the ports; nothing is heard before Attach.
  explicit EditorDeviceSounds(audio::Audio& audio) : audio_(audio) {}
  // The view whose camera hears: the level view.
  void Attach(const engine::RenderView& listener) { world_.Attach(audio_, listener); }

  void PlayAt(world::SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override {
    world_.PlayAt(sound, x, y, z, volume);
  }
  void InitAudio() override { audio::InitAudio(audio_); }
  void SetHearingRange(engine::RenderView& listener, std::int32_t range) override {
    audio::SetHearingRange(listener, range);
  }
  world::SoundHandle LoadSound(std::string_view fileName) override { return world_.Load(fileName); }
  void UpdateSounds() override { world_.Update(); }

 private:
  audio::Audio& audio_;
  audio::WorldSoundPlayer world_;
};

// Where clips show: a widget over the level view, visible while a clip plays.
class ClipOverlay final : public QWidget, public mci::ClipScreen {
 public:
  explicit ClipOverlay(QWidget* parent);

  std::uint32_t Handle() const override { return kHandle; }
  void ClientSize(int& width, int& height) const override;
  void ShowFrame(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                 int destHeight) override;

  static constexpr std::uint32_t kHandle = 1;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage frame_;
  QRect place_;
};

class EditorDeviceMusic final : public EditorMusic, private audio::MusicWindow {
 public:
  EditorDeviceMusic() = default;
  EditorDeviceMusic(const EditorDeviceMusic&) = delete;
  EditorDeviceMusic& operator=(const EditorDeviceMusic&) = delete;

  struct Devices {
    midas::Midas& Library;             // plays modules
    mci::Mci* Mci;                     // MIDI, CD tracks and clips; none: silent
    ClipOverlay* Clips;                // where clips show; none: no clip
    const world::MusicTable& Entries;  // the loaded bank's table
    audio::Audio& Sound;               // plays wave music; its device feeds the module player
    std::filesystem::path DataFolder;
    std::function<void()> ResetFrameClock;  // after a clip's long start
  };
  // Before the module player starts.
  void Attach(const Devices& devices);

  void StartModulePlayer() override;
  void PlayMusic(std::int32_t entry) override { audio::PlayMusic(music_, entry); }
  void StopMusic() override { audio::StopMusic(music_); }
  // A clip that came to its end is closed; an ended looping piece starts again.
  void PollMusic() override;
  // Stops what plays and closes the module player.
  void CloseModulePlayer() override;

 private:
  std::uint32_t Handle() const override { return ClipOverlay::kHandle; }
  void ClientSize(int& width, int& height) const override;
  bool FullScreenDisplay() const override { return false; }
  void ClipStarts() override;
  void ClipEnded() override;
  void ResetFrameClock() override;

  audio::Music music_;
  ClipOverlay* clips_ = nullptr;
  std::function<void()> resetFrameClock_;
};

}  // namespace zandrel::editor::widgets
