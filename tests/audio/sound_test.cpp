#include "audio/sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/wave_writer.h"
#include "audio/world_sound_player.h"
#include "engine/camera.h"
#include "tests/audio/fake_dsound.h"
#include "tests/support/temp_dir.h"

namespace zandrel::audio {
namespace {

using test::FakeBuffer;
using test::FakeDirectSound;

TEST(MixFor, VolumeAndPanFollowDistanceLevelAndSide) {
  const struct {
    const char* what;
    std::int32_t x, y, z, level, range;
    std::int32_t volume, pan;
  } cases[] = {
      {"level 254 at the listener", 0, 0, 0, 254, 24576, -20, 0},
      {"level 0 at the listener", 0, 0, 0, 0, 24576, -2500, 0},
      {"level 255 far away", 0, 0, 90000, 255, 24576, 0, 0},
      {"half the range ahead", 0, 0, 12288, 200, 24576, -5274, 0},
      {"half the range behind", 0, 0, -12288, 200, 24576, -5274, 0},
      {"exactly at the range", 0, 24576, 0, 254, 24576, -10000, 0},
      {"beyond the range", 0, 0, 30000, 254, 24576, -10000, 0},
      {"a little right", 1000, 0, 0, 254, 24576, -425, 4000},
      {"2500 to the right", 2500, 0, 0, 254, 24576, -1035, 10000},
      {"far to the left", -3000, 0, 0, 254, 24576, -1238, -10000},
      {"no hearing range", 0, 0, 0, 254, 0, -10000, 0},
      {"squares past 32 bits", 30000, 30000, 30000, 254, 24576, -10000, 10000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const VoiceSlot slot{nullptr, c.x, c.y, c.z, c.level};
    const SlotMix mix = MixFor(slot, engine::Camera{}, c.range);
    EXPECT_EQ(mix.Volume, c.volume);
    EXPECT_EQ(mix.Pan, c.pan);
  }
}

TEST(MixFor, HearsFromTheCamerasPlaceAndTurn) {
  engine::Camera camera;
  camera.X = 1000;
  camera.Z = 1000;
  camera.M = engine::ViewMatrix(8192, 0, 0);  // looking along +X: +Z is on the left
  const SlotMix ahead = MixFor(VoiceSlot{nullptr, 3000, 0, 1000, 254}, camera, 24576);
  EXPECT_EQ(ahead.Pan, 0);
  EXPECT_EQ(ahead.Volume, -831);
  const SlotMix left = MixFor(VoiceSlot{nullptr, 1000, 0, 1500, 254}, camera, 24576);
  EXPECT_EQ(left.Pan, -2000);
}

class SoundTest : public testing::Test {
 protected:
  SoundTest() {
    auto device = std::make_unique<FakeDirectSound>();
    device_ = device.get();
    InitAudio(audio_, std::move(device));
    SetHearingRange(view_, kDefaultHearingRange);
  }

  SoundRef Load(const std::vector<std::int16_t>& samples = {1, 2, 3, 4}) {
    const std::vector<std::uint8_t> file = EncodeWave(samples, 22050, 1, 16);
    const std::string path = dir_.Write("SOUND.WAV", std::string(file.begin(), file.end())).string();
    SoundRef sound;
    EXPECT_TRUE(LoadSound(audio_, path, sound));
    return sound;
  }
  static FakeBuffer& Fake(const std::shared_ptr<dsound::SoundBuffer>& buffer) {
    return dynamic_cast<FakeBuffer&>(*buffer);
  }

  test::TempDir dir_;
  Audio audio_;
  FakeDirectSound* device_ = nullptr;
  engine::RenderView view_;
};

TEST_F(SoundTest, InitialisingFillsEverySlotWithThePrimaryBuffer) {
  EXPECT_TRUE(audio_.AudioReady);
  EXPECT_EQ(view_.FarDistance, 24576);
  for (const VoiceSlot& slot : audio_.Slots) EXPECT_EQ(slot.Buffer, device_->Primary);
  // A second start-up changes nothing.
  InitAudio(audio_, nullptr);
  EXPECT_TRUE(audio_.AudioReady);
  EXPECT_EQ(audio_.Owner->Device(), device_);
}

TEST_F(SoundTest, LoadingMakesABufferFromTheWavesFormatAndSamples) {
  const SoundRef sound = Load({100, -100, 7});
  ASSERT_NE(sound, nullptr);
  ASSERT_NE(sound->Buffer, nullptr);
  EXPECT_EQ(sound->Size, 6u);
  EXPECT_EQ(sound->Channels, 1u);
  EXPECT_EQ(sound->BitsPerSample, 16u);
  ASSERT_EQ(device_->Formats.size(), 1u);
  EXPECT_EQ(device_->Formats[0].SamplesPerSec, 22050u);
  EXPECT_EQ(*Fake(sound->Buffer).Samples, (std::vector<std::uint8_t>{100, 0, 0x9C, 0xFF, 7, 0}));
}

TEST_F(SoundTest, UnusableFilesGiveSilentSoundsOrTheReadersMessage) {
  // A missing file: a sound without a buffer.
  SoundRef sound = Load();
  ASSERT_TRUE(LoadSound(audio_, (dir_.path() / "NONE.WAV").string(), sound));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->Buffer, nullptr);

  // A damaged sample part: silent too, no buffer asked for.
  const std::string cut =
      dir_.Write("CUT.WAV",
                 std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x22\x56\0\0\x44\xAC\0\0\2\0\x10\0data\xFF\0\0\0",
                             44))
          .string();
  device_->Formats.clear();
  ASSERT_TRUE(LoadSound(audio_, cut, sound));
  EXPECT_EQ(sound->Buffer, nullptr);
  EXPECT_EQ(sound->Size, 0u);
  EXPECT_TRUE(device_->Formats.empty());

  // Not a wave: the message comes back and the reference is left empty.
  sound = Load();
  const std::string text = dir_.Write("TEXT.WAV", "hello, this is no wave").string();
  base::Status status = LoadSound(audio_, text, sound);
  ASSERT_FALSE(status);
  EXPECT_EQ(status.error(), "Not a wave file");
  EXPECT_EQ(sound, nullptr);
  EXPECT_EQ(LoadSound(audio_, text), nullptr);

  // A buffer the device cannot make: silent.
  device_->RefuseBuffers = true;
  sound = Load();
  EXPECT_EQ(sound->Buffer, nullptr);
  EXPECT_EQ(sound->Size, 8u);
}

TEST_F(SoundTest, PlayingWithoutPositionRestartsOnceOrLooping) {
  const SoundRef sound = Load();
  FakeBuffer& buffer = Fake(sound->Buffer);
  PlaySound(audio_, sound, false);
  EXPECT_EQ(buffer.Stops, 1);
  EXPECT_TRUE(buffer.Playing);
  EXPECT_FALSE(buffer.Looping);
  PlaySound(audio_, sound, true);
  EXPECT_EQ(buffer.Stops, 2);
  EXPECT_TRUE(buffer.Looping);
  PlaySound(audio_, nullptr, true);
}

TEST_F(SoundTest, PlacedSoundsTakeTheFirstQuietSlotWithADuplicateOfTheSamples) {
  const SoundRef sound = Load();
  view_.Cam.X = 100;
  PlaySoundAt(audio_, 1100, 0, 0, view_, sound, 254);
  ASSERT_EQ(device_->Duplicates.size(), 1u);
  FakeBuffer& first = Fake(audio_.Slots[0].Buffer);
  EXPECT_EQ(&first, device_->Duplicates[0].get());
  EXPECT_EQ(first.Samples, Fake(sound->Buffer).Samples);  // shared, not copied
  EXPECT_EQ(first.Volumes, (std::vector<std::int32_t>{-425}));
  EXPECT_EQ(first.Pans, (std::vector<std::int32_t>{4000}));
  EXPECT_TRUE(first.Playing);
  EXPECT_FALSE(first.Looping);
  EXPECT_EQ(audio_.Slots[0].X, 1100);
  EXPECT_EQ(audio_.Slots[0].Level, 254);

  // Slot 0 plays: the next goes to slot 1; once slot 0 is done it is taken again.
  PlaySoundAt(audio_, 0, 0, 0, view_, sound, 10);
  EXPECT_EQ(audio_.Slots[1].Level, 10);
  first.Playing = false;
  PlaySoundAt(audio_, 0, 0, 0, view_, sound, 20);
  EXPECT_EQ(audio_.Slots[0].Level, 20);
}

TEST_F(SoundTest, WithEverySlotPlayingTheLastIsTakenOver) {
  const SoundRef sound = Load();
  for (int i = 0; i < kVoiceSlotCount; ++i) PlaySoundAt(audio_, 0, 0, 0, view_, sound, i);
  for (int i = 0; i < kVoiceSlotCount; ++i) EXPECT_EQ(audio_.Slots[i].Level, i);
  PlaySoundAt(audio_, 0, 0, 0, view_, sound, 7);
  EXPECT_EQ(audio_.Slots[255].Level, 7);
  EXPECT_EQ(audio_.Slots[254].Level, 254);
}

TEST_F(SoundTest, UpdatingAndStoppingTouchOnlyPlayingSlots) {
  const SoundRef sound = Load();
  PlaySoundAt(audio_, 2500, 0, 0, view_, sound, 254);
  PlaySoundAt(audio_, -2500, 0, 0, view_, sound, 254);
  FakeBuffer& right = Fake(audio_.Slots[0].Buffer);
  FakeBuffer& left = Fake(audio_.Slots[1].Buffer);
  left.Playing = false;

  view_.Cam.X = 2500;  // the listener walks onto the first sound
  UpdateSounds(audio_, view_);
  EXPECT_EQ(right.Volumes, (std::vector<std::int32_t>{-1035, -20}));
  EXPECT_EQ(right.Pans, (std::vector<std::int32_t>{10000, 0}));
  EXPECT_EQ(left.Volumes.size(), 1u);

  StopAllSounds(audio_);
  EXPECT_FALSE(right.Playing);
  EXPECT_EQ(right.Stops, 1);
  EXPECT_EQ(left.Stops, 0);
  EXPECT_EQ(Fake(audio_.Slots[2].Buffer).Stops, 0);  // the primary placeholder
}

TEST_F(SoundTest, SilentSoundsAreNotPlacedAndTheWorldPlaysThroughTheCamera) {
  device_->RefuseBuffers = true;
  PlaySoundAt(audio_, 0, 0, 0, view_, Load(), 254);
  PlaySoundAt(audio_, 0, 0, 0, view_, nullptr, 254);
  EXPECT_TRUE(device_->Duplicates.empty());
  device_->RefuseBuffers = false;

  WorldSoundPlayer player;
  player.Attach(audio_, view_);
  world::WorldSounds& sounds = player;
  view_.Cam.Z = 4096;
  Load();
  const world::SoundHandle sound = player.Load((dir_.path() / "SOUND.WAV").string());
  EXPECT_EQ(player.Load((dir_.path() / "SOUND.WAV").string()), sound) << "a file is loaded once";
  sounds.PlayAt(sound, 0, 0, 4096, 128);
  EXPECT_EQ(audio_.Slots[0].Level, 128);
  EXPECT_EQ(Fake(audio_.Slots[0].Buffer).Volumes, (std::vector<std::int32_t>{-1250}));
}

TEST(SoundWithoutDevice, EverythingRunsSilently) {
  test::TempDir dir;
  const std::vector<std::uint8_t> file = EncodeWave(std::vector<std::int16_t>{1, 2}, 22050, 1, 16);
  const std::string path = dir.Write("A.WAV", std::string(file.begin(), file.end())).string();
  Audio audio;
  engine::RenderView view;

  // Before start-up a reference keeps what it holds.
  SoundRef kept = std::make_shared<TSoundBuffer>();
  const SoundRef before = kept;
  EXPECT_TRUE(LoadSound(audio, path, kept));
  EXPECT_EQ(kept, before);

  InitAudio(audio, nullptr);
  EXPECT_FALSE(audio.AudioReady);
  EXPECT_EQ(LoadSound(audio, path), nullptr);
  PlaySound(audio, kept, false);
  PlaySoundAt(audio, 0, 0, 0, view, kept, 254);
  UpdateSounds(audio, view);
  StopAllSounds(audio);
  EXPECT_EQ(audio.Slots[0].Buffer, nullptr);
}

}  // namespace
}  // namespace zandrel::audio
