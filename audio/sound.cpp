#include "audio/sound.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "audio/wave_file.h"
#include "engine/camera.h"
#include "platform/win/files.h"

namespace zandrel::audio {

base::Expected<std::shared_ptr<TSoundBuffer>> TSoundBuffer::Create(dsound::DirectSound* device,
                                                                   std::string_view fileName,
                                                                   const std::filesystem::path& folder) {
  auto sound = std::make_shared<TSoundBuffer>();
  if (device == nullptr || !win::FileExists(fileName, folder)) return sound;
  base::Expected<TIWave> wave = TIWave::Read(fileName, folder);
  if (!wave) return base::Failure{wave.error()};
  // A wave whose sample part was damaged has no format: the sound stays silent.
  if (std::optional<dsound::WaveFormat> format = wave->FormatRecord()) {
    sound->Buffer = device->CreateSoundBuffer(*format, wave->Data);
  }
  sound->Size = wave->DataSize;
  sound->Channels = wave->Channels();
  sound->BitsPerSample = wave->BitsPerSample();
  return sound;
}

TSoundBuffer::~TSoundBuffer() { Stop(); }

void TSoundBuffer::PlayOnce() {
  if (Buffer == nullptr) return;
  Buffer->Stop();
  Buffer->Play(false);
}

void TSoundBuffer::PlayLooped() {
  if (Buffer == nullptr) return;
  Buffer->Stop();
  Buffer->Play(true);
}

void TSoundBuffer::Stop() {
  if (Buffer != nullptr) Buffer->Stop();
}

TAudio::TAudio(std::unique_ptr<dsound::DirectSound> device) : device_(std::move(device)) {
  if (device_ != nullptr) primary_ = device_->PrimaryBuffer();
}

void InitAudio(Audio& audio) {
  if (audio.AudioReady) return;
  InitAudio(audio, dsound::DirectSoundCreate());
}

void InitAudio(Audio& audio, std::unique_ptr<dsound::DirectSound> device) {
  if (audio.AudioReady) return;
  audio.Owner = std::make_unique<TAudio>(std::move(device));
  if (audio.Owner->Device() == nullptr) return;
  // Every slot holds a buffer whose status can be asked, playing or not.
  for (VoiceSlot& slot : audio.Slots) slot.Buffer = audio.Owner->Primary();
  audio.AudioReady = true;
}

void SetHearingRange(engine::RenderView& listener, std::int32_t range) { listener.FarDistance = range; }

base::Status LoadSound(Audio& audio, std::string_view fileName, SoundRef& reference) {
  if (!audio.AudioReady) return {};
  reference.reset();
  base::Expected<SoundRef> made = TSoundBuffer::Create(audio.Owner->Device(), fileName, audio.DataFolder);
  if (!made) return base::Failure{made.error()};
  reference = std::move(*made);
  return {};
}

SoundRef LoadSound(Audio& audio, std::string_view fileName) {
  SoundRef sound;
  LoadSound(audio, fileName, sound);
  return sound;
}

void PlaySound(const Audio& audio, const SoundRef& sound, bool loop) {
  if (!audio.AudioReady || sound == nullptr) return;
  if (loop) {
    sound->PlayLooped();
  } else {
    sound->PlayOnce();
  }
}

SlotMix MixFor(const VoiceSlot& slot, const engine::Camera& listener, std::int32_t hearingRange) {
  const engine::Point3 v = engine::ToView(listener, slot.X, slot.Y, slot.Z);
  // The squares add up in 32 bits: far beyond any level's size the sum wraps. A sum that
  // wraps to a negative value has no root; such a sound is out of hearing.
  const std::int64_t sum = static_cast<std::int64_t>(v.X) * v.X + static_cast<std::int64_t>(v.Y) * v.Y +
                           static_cast<std::int64_t>(v.Z) * v.Z;
  const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(sum));
  const std::int64_t dist =
      wrapped < 0 ? std::numeric_limits<std::int32_t>::max() : std::llround(std::sqrt(static_cast<double>(wrapped)));
  // A listener without a hearing range hears nothing placed.
  std::int64_t a = hearingRange > 0 ? 10000 - dist * 10000 / hearingRange : 0;
  a = std::max<std::int64_t>(a, 0);
  SlotMix mix;
  mix.Volume = slot.Level == kLevelUnfaded ? 0 : engine::ClampToInt32((slot.Level / 2 + 384) * a / 512 - 10000);
  mix.Pan = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(4 * static_cast<std::int64_t>(v.X), dsound::kPanLeft, dsound::kPanRight));
  return mix;
}

namespace {

void Place(const VoiceSlot& slot, const engine::RenderView& listener) {
  const SlotMix mix = MixFor(slot, listener.Cam, listener.FarDistance);
  slot.Buffer->SetVolume(mix.Volume);
  slot.Buffer->SetPan(mix.Pan);
}

bool Playing(const VoiceSlot& slot) { return slot.Buffer != nullptr && slot.Buffer->IsPlaying(); }

}  // namespace

void PlaySoundAt(Audio& audio, std::int32_t x, std::int32_t y, std::int32_t z, const engine::RenderView& listener,
                 const SoundRef& sound, std::int32_t level) {
  if (!audio.AudioReady || sound == nullptr || sound->Buffer == nullptr) return;
  // When every slot is playing, the last one is taken over.
  int index = 0;
  while (index < kVoiceSlotCount - 1 && Playing(audio.Slots[index])) ++index;
  std::shared_ptr<dsound::SoundBuffer> duplicate = audio.Owner->Device()->DuplicateSoundBuffer(*sound->Buffer);
  if (duplicate == nullptr) return;
  VoiceSlot& slot = audio.Slots[index];
  slot.Buffer = std::move(duplicate);
  slot.X = x;
  slot.Y = y;
  slot.Z = z;
  slot.Level = level;
  Place(slot, listener);
  slot.Buffer->Play(false);
}

void UpdateSounds(Audio& audio, const engine::RenderView& listener) {
  for (const VoiceSlot& slot : audio.Slots) {
    if (Playing(slot)) Place(slot, listener);
  }
}

void StopAllSounds(Audio& audio) {
  for (const VoiceSlot& slot : audio.Slots) {
    if (Playing(slot)) slot.Buffer->Stop();
  }
}

}  // namespace zandrel::audio
