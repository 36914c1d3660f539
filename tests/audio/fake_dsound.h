// A sound device that plays nothing and remembers what it was asked: buffers report the
// playing status the test gives them.
#pragma once

#include <memory>
#include <vector>

#include "platform/dsound/dsound.h"

namespace zandrel::test {

class FakeBuffer final : public dsound::SoundBuffer {
 public:
  explicit FakeBuffer(std::shared_ptr<const std::vector<std::uint8_t>> samples) : Samples(std::move(samples)) {}

  bool IsPlaying() const override { return Playing; }
  bool Play(bool looping) override {
    Playing = true;
    Looping = looping;
    ++Plays;
    return true;
  }
  void Stop() override {
    Playing = false;
    ++Stops;
  }
  bool SetVolume(std::int32_t hundredths) override {
    Volumes.push_back(hundredths);
    return true;
  }
  bool SetPan(std::int32_t pan) override {
    Pans.push_back(pan);
    return true;
  }

  std::shared_ptr<const std::vector<std::uint8_t>> Samples;  // none for the primary buffer
  bool Playing = false, Looping = false;
  int Plays = 0, Stops = 0;
  std::vector<std::int32_t> Volumes, Pans;
};

class FakeDirectSound final : public dsound::DirectSound {
 public:
  std::shared_ptr<dsound::SoundBuffer> PrimaryBuffer() override { return Primary; }
  std::shared_ptr<dsound::SoundBuffer> CreateSoundBuffer(const dsound::WaveFormat& format,
                                                         std::span<const std::uint8_t> samples) override {
    Formats.push_back(format);
    if (RefuseBuffers) return nullptr;
    return std::make_shared<FakeBuffer>(
        std::make_shared<const std::vector<std::uint8_t>>(samples.begin(), samples.end()));
  }
  std::shared_ptr<dsound::SoundBuffer> DuplicateSoundBuffer(const dsound::SoundBuffer& original) override {
    auto duplicate = std::make_shared<FakeBuffer>(dynamic_cast<const FakeBuffer&>(original).Samples);
    Duplicates.push_back(duplicate);
    return duplicate;
  }

  std::shared_ptr<FakeBuffer> Primary = std::make_shared<FakeBuffer>(nullptr);
  std::vector<dsound::WaveFormat> Formats;  // of every buffer asked for
  std::vector<std::shared_ptr<FakeBuffer>> Duplicates;
  bool RefuseBuffers = false;
};

}  // namespace zandrel::test
