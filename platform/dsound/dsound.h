// The DirectSound calls the sound code makes: a device, static secondary buffers made from
// PCM samples, duplicates that share those samples, volume in hundredths of a decibel, pan,
// play (once or looping), stop and the playing status. The real device mixes through
// SDL2_mixer channels; without an audio device there is no device at all, as when
// DirectSoundCreate found no sound card.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace zandrel::dsound {

// Volume: hundredths of a decibel, kVolumeMin silent to kVolumeMax full.
constexpr std::int32_t kVolumeMin = -10000;
constexpr std::int32_t kVolumeMax = 0;
// Pan: kPanLeft (right side silent) to kPanRight (left side silent), 0 centred.
constexpr std::int32_t kPanLeft = -10000;
constexpr std::int32_t kPanRight = 10000;

// The primary format every sound is mixed at.
constexpr std::uint32_t kDeviceRate = 44100;
constexpr std::uint16_t kDeviceChannels = 2;
constexpr std::uint16_t kDeviceBits = 16;

constexpr std::uint16_t kFormatPcm = 1;

// The first 16 bytes of a wave format record.
struct WaveFormat {
  std::uint16_t FormatTag = kFormatPcm;
  std::uint16_t Channels = 0;
  std::uint32_t SamplesPerSec = 0;
  std::uint32_t AvgBytesPerSec = 0;
  std::uint16_t BlockAlign = 0;
  std::uint16_t BitsPerSample = 0;
};

// One secondary buffer (or the primary buffer, which never reports playing).
class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  // The playing status (DSBSTATUS_PLAYING).
  virtual bool IsPlaying() const = 0;
  // Starts at the first sample (a playing buffer starts again); false when it cannot be
  // heard (no samples, no free channel).
  virtual bool Play(bool looping) = 0;
  virtual void Stop() = 0;
  // Values out of range are refused (false) and change nothing.
  virtual bool SetVolume(std::int32_t hundredths) = 0;
  virtual bool SetPan(std::int32_t pan) = 0;
};

class DirectSound {
 public:
  virtual ~DirectSound() = default;
  // The primary buffer: a placeholder whose status can always be asked.
  virtual std::shared_ptr<SoundBuffer> PrimaryBuffer() = 0;
  // A static buffer holding `samples` in `format` (PCM, 1 or 2 channels, 8 or 16 bits,
  // a whole number of frames); none when the device cannot make it.
  virtual std::shared_ptr<SoundBuffer> CreateSoundBuffer(const WaveFormat& format,
                                                         std::span<const std::uint8_t> samples) = 0;
  // A second buffer playing the same samples, with its own position, volume and pan;
  // none for a buffer this device did not make.
  virtual std::shared_ptr<SoundBuffer> DuplicateSoundBuffer(const SoundBuffer& original) = 0;
};

enum class Drivers {
  Audible,  // an output that is heard or recorded (SDL's "disk" driver); "dummy" is no device
  Any,      // any driver SDL opens (tests run the mixer under "dummy")
};

// Opens the default audio output at 44100 Hz, 16-bit stereo, with one mixer channel per
// voice slot and a few for sounds played without position. None when there is no usable
// audio device.
std::unique_ptr<DirectSound> DirectSoundCreate(Drivers drivers = Drivers::Audible);

// The mixer's gains for a volume and a pan: amplitude = 10^(hundredths / 2000).
// Channel volume is 0..128; the pan attenuates one side, 0..255 per side.
struct PanGains {
  std::uint8_t Left = 255, Right = 255;
};
std::uint8_t MixerVolume(std::int32_t hundredths);
PanGains MixerPanning(std::int32_t pan);

}  // namespace zandrel::dsound
