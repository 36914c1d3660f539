// The module-music library as the music code calls it: start-up, options, initialisation,
// the background player, channels, loading, playing, volume, stopping and closing, under
// the library's own call names. The real player plays MOD and XM modules through
// SDL2_mixer's music stream on the audio output the sound device (platform/dsound) has
// opened; the null player has no output, so its initialisation fails as it does on a
// machine without a sound card.
#pragma once

#include <cstdint>
#include <memory>

namespace zandrel::midas {

// Option numbers and the values the library documents for them.
enum Option : int {
  MIDAS_OPTION_MIXRATE = 1,
  MIDAS_OPTION_OUTPUTMODE = 2,
  MIDAS_OPTION_MIXBUFLEN = 3,
  MIDAS_OPTION_MIXBUFBLOCKS = 4,
  MIDAS_OPTION_DSOUND_MODE = 5,
  MIDAS_OPTION_DSOUND_HWND = 6,
  MIDAS_OPTION_DSOUND_OBJECT = 7,
  MIDAS_OPTION_FILTER_MODE = 10,
  MIDAS_OPTION_MIXING_MODE = 11,
};
constexpr int kOptionCount = 12;  // option numbers are 1..kOptionCount-1

enum MixingMode : std::uintptr_t { MIDAS_MIX_NORMAL_QUALITY = 0, MIDAS_MIX_HIGH_QUALITY = 1 };
enum OutputMode : std::uintptr_t { MIDAS_MODE_16BIT_MONO = 9 };
enum FilterMode : std::uintptr_t { MIDAS_FILTER_AUTO = 3 };
enum DSoundMode : std::uintptr_t { MIDAS_DSOUND_FORCE_STREAM = 3 };

// Music volume of a playing module: 0 silent .. kMaxMusicVolume full.
constexpr unsigned kMaxMusicVolume = 64;

// 0 = none.
using ModuleHandle = std::uintptr_t;
using PlayHandle = std::uintptr_t;

class Midas {
 public:
  virtual ~Midas() = default;

  // Prepares the library; options may be set afterwards.
  virtual bool MIDASstartup() = 0;
  // Accepts and remembers an option (after start-up, before initialisation); unknown
  // option numbers are refused. MIDAS_OPTION_DSOUND_OBJECT is the address of the
  // program's dsound::DirectSound, MIDAS_OPTION_DSOUND_HWND its window.
  virtual bool MIDASsetOption(int option, std::uintptr_t value) = 0;
  // The value an option was given (0 when never set).
  virtual std::uintptr_t MIDASgetOption(int option) const = 0;
  // Takes the sound output. Needs the DirectSound object option: the mixer mixes on the
  // output that device opened, in that device's own format (44100 Hz, 16-bit stereo),
  // whatever the rate and mode options say.
  virtual bool MIDASinit() = 0;
  // Starts mixing in the background, `pollRate` times a second (0: the default).
  virtual bool MIDASstartBackgroundPlay(unsigned pollRate) = 0;
  virtual bool MIDASopenChannels(int channelCount) = 0;
  virtual bool MIDASallocAutoEffectChannels(unsigned channelCount) = 0;
  // Loads a MOD or XM file (a real path); 0 when it cannot be read or is no module.
  virtual ModuleHandle MIDASloadModule(const char* fileName) = 0;
  // Starts a loaded module from its beginning, looping to its end or not; only one module
  // is heard at a time, so a new play ends the one before. 0 on failure.
  virtual PlayHandle MIDASplayModule(ModuleHandle module, bool loopSong) = 0;
  // 0..kMaxMusicVolume (more counts as full).
  virtual bool MIDASsetMusicVolume(PlayHandle playHandle, unsigned volume) = 0;
  virtual bool MIDASstopModule(PlayHandle playHandle) = 0;
  // Frees a loaded module (stopping it when it plays).
  virtual bool MIDASfreeModule(ModuleHandle module) = 0;
  virtual bool MIDASstopBackgroundPlay() = 0;
  // Stops and frees everything and gives up the output; start-up may be run again.
  virtual bool MIDASclose() = 0;
};

// The player over SDL2_mixer's music stream.
std::unique_ptr<Midas> CreateMixerMidas();
// The player for a machine without sound: everything is accepted until MIDASinit, which
// fails.
std::unique_ptr<Midas> CreateNullMidas();

}  // namespace zandrel::midas
