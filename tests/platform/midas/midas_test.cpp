#include "platform/midas/midas.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/dsound/dsound.h"
#include "tests/platform/midas/module_file.h"
#include "tests/support/temp_dir.h"

namespace zandrel::midas {
namespace {

std::uintptr_t Address(const void* object) { return reinterpret_cast<std::uintptr_t>(object); }

TEST(NullMidas, TakesOptionsButCannotInitialise) {
  std::unique_ptr<Midas> midas = CreateNullMidas();
  EXPECT_FALSE(midas->MIDASsetOption(MIDAS_OPTION_MIXRATE, 22050)) << "options come after start-up";
  ASSERT_TRUE(midas->MIDASstartup());
  EXPECT_TRUE(midas->MIDASsetOption(MIDAS_OPTION_MIXRATE, 22050));
  EXPECT_TRUE(midas->MIDASsetOption(MIDAS_OPTION_DSOUND_OBJECT, 0x1234));
  EXPECT_FALSE(midas->MIDASsetOption(8, 1)) << "not an option of the library";
  EXPECT_EQ(midas->MIDASgetOption(MIDAS_OPTION_MIXRATE), 22050u);
  EXPECT_FALSE(midas->MIDASinit());
  EXPECT_FALSE(midas->MIDASstartBackgroundPlay(0));
  EXPECT_EQ(midas->MIDASloadModule("TUNE.MOD"), 0u);
  EXPECT_EQ(midas->MIDASplayModule(1, true), 0u);
  EXPECT_TRUE(midas->MIDASclose());
}

// The real player needs the output that the sound device opens; SDL's dummy driver mixes
// in real time without being heard, enough to see modules load, play and stop.
class MixerMidasTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    midas_ = CreateMixerMidas();
    ASSERT_TRUE(midas_->MIDASstartup());
    ASSERT_TRUE(midas_->MIDASsetOption(MIDAS_OPTION_DSOUND_OBJECT, 1));
    ASSERT_FALSE(midas_->MIDASinit()) << "no output is open yet";
    device_ = dsound::DirectSoundCreate(dsound::Drivers::Any);
    if (device_ == nullptr) GTEST_SKIP() << "SDL2_mixer could not open the dummy audio driver";
  }
  void TearDown() override {
    midas_.reset();  // the player goes before the output it plays on
    device_.reset();
  }

  // The whole start-up the music code runs, with the options it gives.
  bool Start() {
    const std::pair<int, std::uintptr_t> options[] = {
        {MIDAS_OPTION_MIXRATE, 22050},
        {MIDAS_OPTION_MIXING_MODE, MIDAS_MIX_NORMAL_QUALITY},
        {MIDAS_OPTION_OUTPUTMODE, MIDAS_MODE_16BIT_MONO},
        {MIDAS_OPTION_FILTER_MODE, MIDAS_FILTER_AUTO},
        {MIDAS_OPTION_DSOUND_MODE, MIDAS_DSOUND_FORCE_STREAM},
        {MIDAS_OPTION_DSOUND_HWND, 77},
        {MIDAS_OPTION_DSOUND_OBJECT, Address(device_.get())},
        {MIDAS_OPTION_MIXBUFLEN, 256},
        {MIDAS_OPTION_MIXBUFBLOCKS, 4},
    };
    if (!midas_->MIDASstartup()) return false;
    for (const auto& [option, value] : options) {
      if (!midas_->MIDASsetOption(option, value)) return false;
    }
    return midas_->MIDASinit() && midas_->MIDASstartBackgroundPlay(0) && midas_->MIDASopenChannels(33) &&
           midas_->MIDASallocAutoEffectChannels(1);
  }

  test::TempDir dir_;
  std::unique_ptr<Midas> midas_;
  std::unique_ptr<dsound::DirectSound> device_;
};

TEST_F(MixerMidasTest, InitialisesOnTheSoundDevicesOutput) {
  ASSERT_TRUE(midas_->MIDASstartup());
  ASSERT_FALSE(midas_->MIDASinit()) << "the DirectSound object option names the device";
  ASSERT_TRUE(Start());
  EXPECT_EQ(midas_->MIDASgetOption(MIDAS_OPTION_MIXRATE), 22050u) << "options are remembered";
  EXPECT_EQ(midas_->MIDASgetOption(MIDAS_OPTION_DSOUND_HWND), 77u);
  EXPECT_FALSE(midas_->MIDASsetOption(MIDAS_OPTION_MIXRATE, 44100)) << "too late after initialisation";
  EXPECT_FALSE(midas_->MIDASallocAutoEffectChannels(34)) << "more than the open channels";
  int rate = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
  EXPECT_EQ(rate, 44100) << "the mixer keeps the device's format";
  EXPECT_EQ(channels, 2);
  EXPECT_TRUE(midas_->MIDASclose());
  EXPECT_FALSE(midas_->MIDASclose());
  ASSERT_TRUE(Start()) << "start-up runs again after a close";
}

TEST_F(MixerMidasTest, LoadsOnlyModules) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(midas_->MIDASloadModule((dir_ / "MISSING.MOD").c_str()), 0u);
  EXPECT_EQ(midas_->MIDASloadModule(nullptr), 0u);
  EXPECT_EQ(midas_->MIDASloadModule(dir_.Write("EMPTY.MOD", "").c_str()), 0u);
  const std::string riff = std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(28, '\0');
  EXPECT_EQ(midas_->MIDASloadModule(dir_.Write("WAVE.XM", riff).c_str()), 0u) << "a wave file is no module";
  EXPECT_NE(midas_->MIDASloadModule(dir_.Write("TUNE.MOD", test::SquareWaveModule()).c_str()), 0u);
}

TEST_F(MixerMidasTest, PlaysSetsVolumeStopsAndFrees) {
  ASSERT_TRUE(Start());
  const ModuleHandle module = midas_->MIDASloadModule(dir_.Write("TUNE.MOD", test::SquareWaveModule()).c_str());
  ASSERT_NE(module, 0u);
  EXPECT_EQ(midas_->MIDASplayModule(module + 100, true), 0u) << "not a loaded module";

  const PlayHandle play = midas_->MIDASplayModule(module, true);
  ASSERT_NE(play, 0u);
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  const struct {
    unsigned volume;
    int mixer;
  } volumes[] = {{63, 126}, {0, 0}, {64, 128}, {255, 128}};
  for (const auto& v : volumes) {
    EXPECT_TRUE(midas_->MIDASsetMusicVolume(play, v.volume));
    EXPECT_EQ(Mix_VolumeMusic(-1), v.mixer) << v.volume;
  }

  EXPECT_FALSE(midas_->MIDASstopModule(play + 1)) << "not the play handle";
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  EXPECT_TRUE(midas_->MIDASstopModule(play));
  EXPECT_EQ(Mix_PlayingMusic(), 0);
  EXPECT_FALSE(midas_->MIDASsetMusicVolume(play, 63)) << "nothing plays";

  const PlayHandle again = midas_->MIDASplayModule(module, false);
  ASSERT_NE(again, 0u) << "a stopped module stays loaded";
  EXPECT_NE(again, play);
  EXPECT_TRUE(midas_->MIDASfreeModule(module));
  EXPECT_EQ(Mix_PlayingMusic(), 0) << "freeing a playing module stops it";
  EXPECT_FALSE(midas_->MIDASfreeModule(module));
  EXPECT_EQ(midas_->MIDASplayModule(module, true), 0u);
}

TEST_F(MixerMidasTest, StoppingTheBackgroundPlayerSilencesAndRefusesPlay) {
  ASSERT_TRUE(Start());
  const ModuleHandle module = midas_->MIDASloadModule(dir_.Write("TUNE.MOD", test::SquareWaveModule()).c_str());
  ASSERT_NE(midas_->MIDASplayModule(module, true), 0u);
  EXPECT_TRUE(midas_->MIDASstopBackgroundPlay());
  EXPECT_EQ(Mix_PlayingMusic(), 0);
  EXPECT_EQ(midas_->MIDASplayModule(module, true), 0u);
  EXPECT_TRUE(midas_->MIDASclose());
  EXPECT_EQ(midas_->MIDASloadModule(dir_.Write("TUNE2.MOD", test::SquareWaveModule()).c_str()), 0u)
      << "closed: nothing loads";
}

}  // namespace
}  // namespace zandrel::midas
