// Background music: one of the object bank's 256 music entries at a time, played by the
// kind its file name gives (tracker modules through the module player, MIDI files and
// audio CD tracks through media control command strings, anything else as a wave sound),
// with the entry's video clip shown in the program's window while it plays.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "audio/sound.h"
#include "platform/mci/mci.h"
#include "platform/midas/midas.h"
#include "world/music_table.h"

namespace zandrel::audio {

// What both programs start the module player with.
constexpr std::uint32_t kModuleMixingRate = 22050;
// Module volumes for music on and off (0..255, the library's scale ends at 64).
constexpr std::uint8_t kMusicVolumeOn = 63;
constexpr std::uint8_t kMusicVolumeOff = 0;

// The module-music library and what it holds. Every call is skipped while not ready.
struct ModulePlayer {
  midas::Midas* Library = nullptr;  // none: never ready
  bool Ready = false;
  midas::ModuleHandle Module = 0;  // the loaded module, 0 none
  midas::PlayHandle Play = 0;      // the playing module, 0 none
};

// Starts the library with its options (mixing rate, quality, 16-bit mono output, automatic
// filter, forced stream, the window, the sound device, a 256 ms buffer in 4 blocks), then
// initialises it, starts the background player and opens 33 channels with one for
// effects. Ready only when every step succeeded.
void StartModulePlayer(ModulePlayer& player, std::uint32_t mixingRate, bool normalQuality,
                       dsound::DirectSound* directSound, std::uintptr_t window);
// Stops and frees the module there was, loads a file (in the data's spelling, at most 255
// characters, relative to the data tree `folder`) and, when it loaded, plays it at a volume.
void PlayModule(ModulePlayer& player, const std::filesystem::path& folder, std::string_view fileName,
                std::uint8_t volume, bool loop);
// The playing module's volume.
void SetMusicVolume(ModulePlayer& player, std::uint8_t volume);
// Stops the playing module; it stays loaded.
void StopModule(ModulePlayer& player);
// Stops the background player and closes the library; nothing more is played.
void CloseModulePlayer(ModulePlayer& player);

// What clips ask of the program's window and its display.
class MusicWindow {
 public:
  virtual ~MusicWindow() = default;
  // The number "Window <alias> handle N" names the window by.
  virtual std::uint32_t Handle() const = 0;
  // The window's client area in pixels.
  virtual void ClientSize(int& width, int& height) const = 0;
  // The display flag: the display is open full screen.
  virtual bool FullScreenDisplay() const = 0;
  // A clip takes the window: the display makes way for it.
  virtual void ClipStarts() = 0;
  // The clip is closed: the display comes back at the resolution it had.
  virtual void ClipEnded() = 0;
  // The next frame's time starts now, not before a long load.
  virtual void ResetFrameClock() = 0;
};

// The music state, with what it plays through. The program sets the services once.
struct Music {
  const world::MusicTable* Entries = nullptr;  // the loaded bank's table; none: every entry is empty
  Audio* Sound = nullptr;                      // plays wave music; none: silent
  mci::Mci* Mci = nullptr;                     // MIDI, CD tracks and clips; none: those are silent
  MusicWindow* Window = nullptr;               // where clips show; none: no clip
  std::filesystem::path DataFolder;            // the pieces' file names are relative to it
  ModulePlayer Player;

  std::int32_t Current = -1;                            // the entry playing, -1 none
  bool Loop = false;                                    // the playing entry's loop flag
  bool IsModule = false, IsMidi = false, IsCd = false;  // kind of the last play
  SoundRef WaveMusic;
  bool MusicOn = true;
  bool ClipOpen = false;
  bool ClipFullScreen = false;  // the display was full screen when the clip started
};

// A text made only of the digits 0-9, and not empty.
bool IsNumber(std::string_view text);

enum class MusicKind { Module, Midi, Cd, Wave };
struct MusicChoice {
  MusicKind Kind = MusicKind::Wave;
  std::string Track;  // a CD track's number text (checked when played)
};
// By the name, ignoring case: "...MOD" and "....XM" are modules, "...MID" MIDI files,
// "CDAUDIO_NN..." (10 characters at least) CD tracks, anything else a wave file.
MusicChoice ChooseMusic(std::string_view fileName);

// Stops what plays and starts entry `entry` (an empty or unknown entry leaves silence and
// current -1); a clip named by the entry is shown.
void PlayMusic(Music& music, std::int32_t entry);
// Loads what entry `entry` will need, so that starting it later does not stall a frame: a
// MIDI sequence is opened and closed again under a spare alias (the service keeps recent
// sequences loaded). Called at level start for the level's music cells; nothing else changes.
void PrepareMusic(Music& music, std::int32_t entry);
// Stops whatever plays, by the kind of the last play; current becomes -1.
void StopMusic(Music& music);
// Once a frame: looping MIDI and CD music that has ended starts again.
void PollMusic(Music& music);
// Shows a clip in the window (nothing when the file cannot be read).
void PlayClip(Music& music, std::string_view fileName);
// Closes the open clip and gives the window back to the display.
void CloseClip(Music& music);

}  // namespace zandrel::audio
