// The device over SDL2_mixer: every playing buffer holds one mixer channel, chosen when it
// starts; samples are converted once to the device's format and shared by duplicates.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <vector>

#include "platform/dsound/dsound.h"

namespace zandrel::dsound {
namespace {

constexpr int kVoiceSlots = 256;
constexpr int kUnplacedChannels = 32;  // sounds played without position
constexpr int kChunkBytes = 1024;
constexpr std::uint64_t kMaxConvertedBytes = 64u << 20;

// The open audio output; closed when the device and every buffer made from it are gone.
struct Mixer {
  int Rate = 0;
  Uint16 Format = 0;
  int Channels = 0;
  std::vector<const void*> Owners;  // per channel: the buffer that last started on it

  ~Mixer() {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // A channel nobody plays on.
  int FreeChannel() const {
    for (int c = 0; c < static_cast<int>(Owners.size()); ++c) {
      if (Owners[c] == nullptr || Mix_Playing(c) == 0) return c;
    }
    return -1;
  }
};

// Converted samples; the chunk points into Pcm.
struct Samples {
  std::shared_ptr<Mixer> Device;
  std::vector<Uint8> Pcm;
  Mix_Chunk* Chunk = nullptr;

  ~Samples() {
    if (Chunk != nullptr) Mix_FreeChunk(Chunk);  // also halts channels still playing it
  }
};

// The primary buffer: never playing, nothing to play.
class Placeholder final : public SoundBuffer {
 public:
  bool IsPlaying() const override { return false; }
  bool Play(bool) override { return false; }
  void Stop() override {}
  bool SetVolume(std::int32_t) override { return true; }
  bool SetPan(std::int32_t) override { return true; }
};

class MixerBuffer final : public SoundBuffer {
 public:
  MixerBuffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<Samples> samples)
      : mixer_(std::move(mixer)), samples_(std::move(samples)) {}
  ~MixerBuffer() override { Stop(); }
  MixerBuffer(const MixerBuffer&) = delete;
  MixerBuffer& operator=(const MixerBuffer&) = delete;

  const std::shared_ptr<Mixer>& Device() const { return mixer_; }
  const std::shared_ptr<Samples>& Shared() const { return samples_; }

  bool IsPlaying() const override {
    const int channel = OwnedChannel();
    return channel >= 0 && Mix_Playing(channel) != 0;
  }

  bool Play(bool looping) override {
    if (samples_->Chunk == nullptr) return false;
    int channel = OwnedChannel();
    if (channel >= 0) {
      Mix_HaltChannel(channel);
    } else {
      channel = mixer_->FreeChannel();
      if (channel < 0) return false;
    }
    mixer_->Owners[channel] = this;
    channel_ = channel;
    // Halting a channel drops its panning, so volume and pan are set before each start.
    Apply(channel);
    if (Mix_PlayChannel(channel, samples_->Chunk, looping ? -1 : 0) < 0) {
      Release();
      return false;
    }
    return true;
  }

  void Stop() override {
    const int channel = OwnedChannel();
    if (channel < 0) return;
    Mix_HaltChannel(channel);
    Release();
  }

  bool SetVolume(std::int32_t hundredths) override {
    if (hundredths < kVolumeMin || hundredths > kVolumeMax) return false;
    volume_ = hundredths;
    if (const int channel = OwnedChannel(); channel >= 0) Mix_Volume(channel, MixerVolume(volume_));
    return true;
  }

  bool SetPan(std::int32_t pan) override {
    if (pan < kPanLeft || pan > kPanRight) return false;
    pan_ = pan;
    if (const int channel = OwnedChannel(); channel >= 0) {
      const PanGains gains = MixerPanning(pan_);
      Mix_SetPanning(channel, gains.Left, gains.Right);
    }
    return true;
  }

 private:
  int OwnedChannel() const { return channel_ >= 0 && mixer_->Owners[channel_] == this ? channel_ : -1; }
  void Apply(int channel) const {
    Mix_Volume(channel, MixerVolume(volume_));
    const PanGains gains = MixerPanning(pan_);
    Mix_SetPanning(channel, gains.Left, gains.Right);
  }
  void Release() {
    mixer_->Owners[channel_] = nullptr;
    channel_ = -1;
  }

  std::shared_ptr<Mixer> mixer_;
  std::shared_ptr<Samples> samples_;
  std::int32_t volume_ = kVolumeMax;
  std::int32_t pan_ = 0;
  int channel_ = -1;
};

bool Acceptable(const WaveFormat& f) {
  return f.FormatTag == kFormatPcm && (f.Channels == 1 || f.Channels == 2) &&
         (f.BitsPerSample == 8 || f.BitsPerSample == 16) && f.SamplesPerSec > 0 && f.SamplesPerSec <= 0x7FFFFFFF &&
         f.BlockAlign == f.Channels * f.BitsPerSample / 8;
}

class MixerDevice final : public DirectSound {
 public:
  explicit MixerDevice(std::shared_ptr<Mixer> mixer)
      : mixer_(std::move(mixer)), primary_(std::make_shared<Placeholder>()) {}

  std::shared_ptr<SoundBuffer> PrimaryBuffer() override { return primary_; }

  std::shared_ptr<SoundBuffer> CreateSoundBuffer(const WaveFormat& format,
                                                 std::span<const std::uint8_t> samples) override {
    if (!Acceptable(format)) return nullptr;
    const std::size_t bytes = samples.size() / format.BlockAlign * format.BlockAlign;
    auto shared = std::make_shared<Samples>();
    shared->Device = mixer_;
    if (bytes > 0) {
      SDL_AudioCVT cvt;
      if (SDL_BuildAudioCVT(&cvt, format.BitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB,
                            static_cast<Uint8>(format.Channels), static_cast<int>(format.SamplesPerSec), mixer_->Format,
                            static_cast<Uint8>(mixer_->Channels), mixer_->Rate) < 0) {
        return nullptr;
      }
      const std::uint64_t room = static_cast<std::uint64_t>(bytes) * static_cast<std::uint64_t>(cvt.len_mult);
      if (bytes > 0x7FFFFFFF || room > kMaxConvertedBytes) return nullptr;
      shared->Pcm.resize(room);
      std::memcpy(shared->Pcm.data(), samples.data(), bytes);
      cvt.buf = shared->Pcm.data();
      cvt.len = static_cast<int>(bytes);
      if (cvt.needed != 0 && SDL_ConvertAudio(&cvt) < 0) return nullptr;
      const std::size_t converted = cvt.needed != 0 ? static_cast<std::size_t>(cvt.len_cvt) : bytes;
      // The conversion asked for room several times the result: keep only the result.
      shared->Pcm.resize(converted);
      shared->Pcm.shrink_to_fit();
      if (converted > 0) {
        shared->Chunk = Mix_QuickLoad_RAW(shared->Pcm.data(), static_cast<Uint32>(converted));
        if (shared->Chunk == nullptr) return nullptr;
      }
    }
    return std::make_shared<MixerBuffer>(mixer_, std::move(shared));
  }

  std::shared_ptr<SoundBuffer> DuplicateSoundBuffer(const SoundBuffer& original) override {
    const auto* buffer = dynamic_cast<const MixerBuffer*>(&original);
    if (buffer == nullptr || buffer->Device() != mixer_) return nullptr;
    return std::make_shared<MixerBuffer>(mixer_, buffer->Shared());
  }

 private:
  std::shared_ptr<Mixer> mixer_;
  std::shared_ptr<SoundBuffer> primary_;
};

}  // namespace

std::unique_ptr<DirectSound> DirectSoundCreate(Drivers drivers) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  const char* driver = SDL_GetCurrentAudioDriver();
  const bool silent = driver == nullptr || std::strcmp(driver, "dummy") == 0;
  if ((drivers == Drivers::Audible && silent) ||
      Mix_OpenAudio(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kChunkBytes) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  auto mixer = std::make_shared<Mixer>();
  Mix_QuerySpec(&mixer->Rate, &mixer->Format, &mixer->Channels);
  mixer->Owners.assign(static_cast<std::size_t>(Mix_AllocateChannels(kVoiceSlots + kUnplacedChannels)), nullptr);
  return std::make_unique<MixerDevice>(std::move(mixer));
}

}  // namespace zandrel::dsound
