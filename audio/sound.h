// Sound effects: buffers loaded from wave files, played as they are or at a point of the
// world through 256 voice slots, with volume and pan worked out from the listener (the
// render view's camera; its far distance is the hearing range).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "base/expected.h"
#include "engine/render_view.h"
#include "platform/dsound/dsound.h"

namespace zandrel::audio {

constexpr int kVoiceSlotCount = 256;
// The hearing range both programs start with: 48 cells.
constexpr std::int32_t kDefaultHearingRange = 24576;
// A level that is not faded by distance.
constexpr std::int32_t kLevelUnfaded = 255;

// One loaded sound: a static buffer holding the wave's samples, or none when the file was
// missing, its sample part damaged, or the device could not make the buffer (silent).
class TSoundBuffer {
 public:
  // Made with `device` (none: an empty sound) from a file named in the data's spelling,
  // relative to the data tree `folder`. A file that is not a readable wave fails with the
  // reader's message.
  static base::Expected<std::shared_ptr<TSoundBuffer>> Create(dsound::DirectSound* device, std::string_view fileName,
                                                              const std::filesystem::path& folder);

  TSoundBuffer() = default;
  ~TSoundBuffer();
  TSoundBuffer(const TSoundBuffer&) = delete;
  TSoundBuffer& operator=(const TSoundBuffer&) = delete;

  // From the start, once or looping (a playing sound starts again).
  void PlayOnce();
  void PlayLooped();
  void Stop();

  std::shared_ptr<dsound::SoundBuffer> Buffer;
  std::uint32_t Size = 0;  // bytes of samples
  std::uint32_t Channels = 0;
  std::uint32_t BitsPerSample = 0;
};

// A loaded sound, or none.
using SoundRef = std::shared_ptr<TSoundBuffer>;

// The device the program opened.
class TAudio {
 public:
  explicit TAudio(std::unique_ptr<dsound::DirectSound> device);
  dsound::DirectSound* Device() const { return device_.get(); }
  const std::shared_ptr<dsound::SoundBuffer>& Primary() const { return primary_; }

 private:
  std::unique_ptr<dsound::DirectSound> device_;
  std::shared_ptr<dsound::SoundBuffer> primary_;
};

struct VoiceSlot {
  std::shared_ptr<dsound::SoundBuffer> Buffer;  // the primary buffer until first used
  std::int32_t X = 0, Y = 0, Z = 0;             // world units
  std::int32_t Level = 0;                       // 0..255; kLevelUnfaded: no fading
};

// The program's sound state.
struct Audio {
  std::filesystem::path DataFolder;  // sound file names are relative to it
  bool AudioReady = false;           // a sound device is open
  std::unique_ptr<TAudio> Owner;
  std::array<VoiceSlot, kVoiceSlotCount> Slots;
};

// Opens the default audio output unless sound is ready already; without a device sound
// stays off and every call below does nothing.
void InitAudio(Audio& audio);
// The same with a device already made (none: no sound).
void InitAudio(Audio& audio, std::unique_ptr<dsound::DirectSound> device);

// Positional sounds fall silent at `range` world units from the listener.
void SetHearingRange(engine::RenderView& listener, std::int32_t range);

// Replaces the sound a reference holds with one loaded from a file (in the data's
// spelling, relative to the data folder). Without sound it does nothing. A file that
// is not a readable wave fails with the reader's message and leaves the reference empty.
base::Status LoadSound(Audio& audio, std::string_view fileName, SoundRef& reference);
// A sound loaded from a file; none without sound or when the file is not a readable wave.
SoundRef LoadSound(Audio& audio, std::string_view fileName);

// Plays a sound without position, once or looping.
void PlaySound(const Audio& audio, const SoundRef& sound, bool loop);

// Plays a sound once at a world point, in the first voice slot that is not playing (the
// last slot when all are), faded and panned for the listener. `level` is 0..255.
void PlaySoundAt(Audio& audio, std::int32_t x, std::int32_t y, std::int32_t z, const engine::RenderView& listener,
                 const SoundRef& sound, std::int32_t level);

// Fades and pans the playing voice slots again for a listener that moved.
void UpdateSounds(Audio& audio, const engine::RenderView& listener);

// Stops every playing voice slot.
void StopAllSounds(Audio& audio);

// Volume (hundredths of a decibel) and pan of a voice slot heard from a camera.
struct SlotMix {
  std::int32_t Volume = 0;
  std::int32_t Pan = 0;
};
SlotMix MixFor(const VoiceSlot& slot, const engine::Camera& listener, std::int32_t hearingRange);

}  // namespace zandrel::audio
