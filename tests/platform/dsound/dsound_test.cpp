#include "platform/dsound/dsound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace zandrel::dsound {
namespace {

TEST(MixerGains, FollowTheDecibelScale) {
  const struct {
    std::int32_t hundredths;
    std::uint8_t volume;
  } volumes[] = {{0, 128}, {-600, 64}, {-2000, 13}, {-10000, 0}, {500, 128}, {-20000, 0}};
  for (const auto& c : volumes) EXPECT_EQ(MixerVolume(c.hundredths), c.volume) << c.hundredths;

  const struct {
    std::int32_t pan;
    std::uint8_t left, right;
  } pans[] = {{0, 255, 255}, {600, 128, 255}, {-1000, 255, 81}, {10000, 0, 255}, {-10000, 255, 0}};
  for (const auto& c : pans) {
    const PanGains gains = MixerPanning(c.pan);
    EXPECT_EQ(gains.Left, c.left) << c.pan;
    EXPECT_EQ(gains.Right, c.right) << c.pan;
  }
}

bool WaitUntilQuiet(const SoundBuffer& buffer) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (buffer.IsPlaying()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// SDL's dummy driver mixes in real time without an output, which is enough to see
// buffers start, end and stop.
class MixerDeviceTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(DirectSoundCreate(), nullptr) << "the dummy driver is no audible device";
    device_ = DirectSoundCreate(Drivers::Any);
    if (device_ == nullptr) GTEST_SKIP() << "SDL2_mixer could not open the dummy audio driver";
  }

  // A tone of `frames` sample frames, 22050 Hz, 16-bit mono.
  std::shared_ptr<SoundBuffer> Tone(std::size_t frames) {
    std::vector<std::uint8_t> samples(frames * 2);
    for (std::size_t i = 0; i < samples.size(); i += 2) samples[i + 1] = (i / 2) % 50 < 25 ? 0x20 : 0xE0;
    return device_->CreateSoundBuffer(WaveFormat{kFormatPcm, 1, 22050, 44100, 2, 16}, samples);
  }

  std::unique_ptr<DirectSound> device_;
};

TEST_F(MixerDeviceTest, AcceptsPcmLayoutsItCanMixAndRefusesOthers) {
  const std::vector<std::uint8_t> samples(400, 0x80);
  const struct {
    WaveFormat format;
    bool made;
  } cases[] = {
      {{kFormatPcm, 1, 11025, 11025, 1, 8}, true},  {{kFormatPcm, 2, 22050, 88200, 4, 16}, true},
      {{kFormatPcm, 2, 8000, 16000, 2, 8}, true},   {{kFormatPcm, 1, 44100, 88200, 2, 16}, true},
      {{2, 1, 22050, 11025, 1, 4}, false},          {{kFormatPcm, 3, 22050, 132300, 6, 16}, false},
      {{kFormatPcm, 1, 22050, 22050, 2, 8}, false}, {{kFormatPcm, 1, 0, 0, 1, 8}, false},
      {{kFormatPcm, 1, 1, 1, 1, 8}, false},  // would need far too much room at the device rate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format.FormatTag << " " << c.format.Channels << "ch " << c.format.SamplesPerSec
                                    << "Hz " << c.format.BitsPerSample << "bit");
    const std::shared_ptr<SoundBuffer> buffer = device_->CreateSoundBuffer(c.format, samples);
    EXPECT_EQ(buffer != nullptr, c.made);
    if (buffer != nullptr) {
      EXPECT_TRUE(buffer->Play(false));
      EXPECT_TRUE(buffer->IsPlaying());
    }
  }
  const std::shared_ptr<SoundBuffer> empty = device_->CreateSoundBuffer(cases[0].format, {});
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(empty->Play(false));
  EXPECT_FALSE(empty->IsPlaying());
}

TEST_F(MixerDeviceTest, PlaysOnceLoopsAndStops) {
  const std::shared_ptr<SoundBuffer> tone = Tone(2205);  // 0.1 s
  ASSERT_NE(tone, nullptr);
  EXPECT_FALSE(tone->IsPlaying());
  ASSERT_TRUE(tone->Play(false));
  EXPECT_TRUE(tone->IsPlaying());
  EXPECT_TRUE(WaitUntilQuiet(*tone));

  ASSERT_TRUE(tone->Play(true));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(tone->IsPlaying());
  tone->Stop();
  EXPECT_FALSE(tone->IsPlaying());
}

TEST_F(MixerDeviceTest, DuplicatesPlayTheSameSamplesOnTheirOwnChannels) {
  std::shared_ptr<SoundBuffer> tone = Tone(22050);
  ASSERT_NE(tone, nullptr);
  const std::shared_ptr<SoundBuffer> copy = device_->DuplicateSoundBuffer(*tone);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(device_->DuplicateSoundBuffer(*device_->PrimaryBuffer()), nullptr);
  EXPECT_FALSE(device_->PrimaryBuffer()->IsPlaying());

  ASSERT_TRUE(tone->Play(false));
  ASSERT_TRUE(copy->Play(false));
  EXPECT_TRUE(copy->SetVolume(-1500));
  EXPECT_TRUE(copy->SetPan(kPanLeft));
  EXPECT_FALSE(copy->SetVolume(1));
  EXPECT_FALSE(copy->SetPan(kPanRight + 1));
  tone->Stop();
  EXPECT_FALSE(tone->IsPlaying());
  EXPECT_TRUE(copy->IsPlaying());
  // The duplicate keeps the samples when the original goes.
  tone.reset();
  EXPECT_TRUE(copy->Play(false));
  EXPECT_TRUE(copy->IsPlaying());
}

TEST_F(MixerDeviceTest, RunsOutOfChannelsOnlyWhenEveryOneIsPlaying) {
  const std::shared_ptr<SoundBuffer> tone = Tone(2205);
  ASSERT_NE(tone, nullptr);
  std::vector<std::shared_ptr<SoundBuffer>> voices;
  for (;;) {
    std::shared_ptr<SoundBuffer> voice = device_->DuplicateSoundBuffer(*tone);
    if (!voice->Play(true)) break;
    voices.push_back(std::move(voice));
    ASSERT_LT(voices.size(), 1000u);
  }
  EXPECT_GE(voices.size(), 256u);
  voices[10]->Stop();
  EXPECT_TRUE(tone->Play(true));
  // A buffer that goes away gives its channel back.
  voices.pop_back();
  EXPECT_TRUE(device_->DuplicateSoundBuffer(*tone)->Play(false));
}

}  // namespace
}  // namespace zandrel::dsound
