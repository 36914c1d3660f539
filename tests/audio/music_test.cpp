#include "audio/music.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "audio/wave_writer.h"
#include "tests/audio/fake_dsound.h"
#include "tests/audio/fake_music.h"
#include "tests/support/temp_dir.h"

namespace zandrel::audio {
namespace {

using test::Log;
using test::RecordingMci;
using test::RecordingMidas;

class RecordingWindow final : public MusicWindow {
 public:
  std::uint32_t Handle() const override { return 4242; }
  void ClientSize(int& width, int& height) const override {
    width = 800;
    height = 600;
  }
  bool FullScreenDisplay() const override { return fullScreen; }
  void ClipStarts() override { events.push_back("clip starts"); }
  void ClipEnded() override { events.push_back("clip ended"); }
  void ResetFrameClock() override { events.push_back("clock"); }

  bool fullScreen = true;
  Log events;
};

const Log kStartup = {"startup",    "option 1 22050", "option 11 0", "option 2 9",   "option 10 3",
                      "option 5 3", "option 6 77",    "option 7 1",  "option 3 256", "option 4 4",
                      "init",       "background 0",   "channels 33", "effects 1"};

class MusicTest : public testing::Test {
 protected:
  void SetUp() override {
    music_.Entries = &entries_;
    music_.Mci = &mci_;
    music_.Window = &window_;
    music_.Player.Library = &midas_;
    music_.DataFolder = dir_.path();
    midas_.dataFolder = dir_.path();
  }

  void Start() {
    StartModulePlayer(music_.Player, kModuleMixingRate, true, &device_, 77);
    ASSERT_TRUE(music_.Player.Ready);
    midas_.calls.clear();
  }
  void Entry(int n, std::string file, bool loop = false, std::string video = {}) {
    entries_[static_cast<std::size_t>(n)] = {std::move(file), "", std::move(video), loop};
  }
  // What was sent since the last look.
  Log Commands() { return std::exchange(mci_.commands, {}); }
  Log Calls() { return std::exchange(midas_.calls, {}); }
  Log Events() { return std::exchange(window_.events, {}); }

  test::TempDir dir_;
  world::MusicTable entries_;
  RecordingMidas midas_;
  RecordingMci mci_;
  RecordingWindow window_;
  test::FakeDirectSound device_;
  Music music_;
};

TEST(ChooseMusic, KindFromTheNameIgnoringCase) {
  const struct {
    const char* name;
    MusicKind kind;
    const char* track;
  } cases[] = {
      {"mod", MusicKind::Module, ""},
      {"MUSIC\\TITLE.MOD", MusicKind::Module, ""},
      {"music/level.Xm", MusicKind::Module, ""},
      {"SONG.XM", MusicKind::Module, ""},
      {"songxm", MusicKind::Wave, ""},
      {"song.xm2", MusicKind::Wave, ""},
      {"mid", MusicKind::Midi, ""},
      {"MUSIC\\CAVE.mid", MusicKind::Midi, ""},
      {"CDAUDIO_03", MusicKind::Cd, "03"},
      {"cdaudio_12", MusicKind::Cd, "12"},
      {"CDAUDIO_XY", MusicKind::Cd, "XY"},
      {"CDAUDIO_7", MusicKind::Wave, ""},
      {"CDAUDIO_0MOD", MusicKind::Module, ""},
      {"MUSIC\\RAIN.WAV", MusicKind::Wave, ""},
      {"", MusicKind::Wave, ""},
  };
  for (const auto& c : cases) {
    const MusicChoice choice = ChooseMusic(c.name);
    EXPECT_EQ(choice.Kind, c.kind) << c.name;
    EXPECT_EQ(choice.Track, c.track) << c.name;
  }
}

TEST(IsNumber, OnlyDigitsAndNotEmpty) {
  const struct {
    const char* text;
    bool number;
  } cases[] = {{"0", true}, {"0123", true}, {"", false}, {" 1", false}, {"-1", false}, {"12a", false}, {"1.5", false}};
  for (const auto& c : cases) EXPECT_EQ(IsNumber(c.text), c.number) << '"' << c.text << '"';
}

TEST_F(MusicTest, ModulePlayerStartsWithItsOptionsInOrder) {
  StartModulePlayer(music_.Player, kModuleMixingRate, true, &device_, 77);
  EXPECT_TRUE(music_.Player.Ready);
  EXPECT_EQ(Calls(), kStartup);

  StartModulePlayer(music_.Player, kModuleMixingRate, false, &device_, 77);
  EXPECT_EQ(Calls()[2], "option 11 1") << "high quality without the normal-quality flag";
}

TEST_F(MusicTest, ModulePlayerStartupFailureAtAnyStepLeavesItNotReady) {
  for (const char* failing : {"startup", "init", "background", "channels", "effects"}) {
    SCOPED_TRACE(failing);
    RecordingMidas midas;
    midas.failing = failing;
    ModulePlayer player{&midas};
    StartModulePlayer(player, kModuleMixingRate, true, &device_, 77);
    EXPECT_FALSE(player.Ready);
    EXPECT_EQ(midas.calls.back().substr(0, std::string(failing).size()), failing) << "nothing runs after the failure";

    midas.calls.clear();
    PlayModule(player, dir_.path(), "TITLE.XM", kMusicVolumeOn, true);
    SetMusicVolume(player, kMusicVolumeOn);
    StopModule(player);
    CloseModulePlayer(player);
    EXPECT_EQ(midas.calls, Log{}) << "a player that is not ready is never called";
  }
}

TEST_F(MusicTest, ModuleEntriesPlayAtTheVolumeMusicOnGives) {
  Start();
  Entry(0, "TITLE.XM", true);
  Entry(1, "music\\credits.mod");
  PlayMusic(music_, 0);
  EXPECT_EQ(music_.Current, 0);
  EXPECT_TRUE(music_.IsModule);
  EXPECT_EQ(Calls(), (Log{"load TITLE.XM", "play 1 loop", "volume 101 63"}));
  EXPECT_EQ(Commands(), Log{}) << "modules need no media control";
  EXPECT_EQ(Events(), Log{"clock"}) << "loading took time";

  music_.MusicOn = false;
  PlayMusic(music_, 1);
  EXPECT_EQ(Calls(), (Log{"stop 101", "free 1", "load music/credits.mod", "play 2 once", "volume 102 0"}));
  SetMusicVolume(music_.Player, kMusicVolumeOn);
  EXPECT_EQ(Calls(), Log{"volume 102 63"}) << "turning music on";

  PlayMusic(music_, 1);
  EXPECT_EQ(Calls(), (Log{"stop 102", "free 2", "load music/credits.mod", "play 3 once", "volume 103 0"}))
      << "the current entry starts again";

  StopMusic(music_);
  EXPECT_EQ(Calls(), Log{"stop 103"}) << "a stopped module stays loaded";
  SetMusicVolume(music_.Player, kMusicVolumeOn);
  EXPECT_EQ(Calls(), Log{}) << "no module plays";
  PollMusic(music_);
  EXPECT_EQ(Commands(), Log{});

  CloseModulePlayer(music_.Player);
  EXPECT_EQ(Calls(), (Log{"stop background", "close"}));
  EXPECT_FALSE(music_.Player.Ready);
}

TEST_F(MusicTest, ModuleThatDoesNotLoadIsSilent) {
  Start();
  Entry(4, "MISSING.XM");
  PlayMusic(music_, 4);
  EXPECT_EQ(Calls(), Log{"load MISSING.XM"});
  EXPECT_EQ(music_.Current, 4);
  SetMusicVolume(music_.Player, kMusicVolumeOn);
  StopMusic(music_);
  EXPECT_EQ(Calls(), Log{}) << "no play handle";
}

TEST_F(MusicTest, ModuleNamesAreCutTo255Characters) {
  Start();
  Entry(0, std::string(300, 'A') + ".XM");
  PlayMusic(music_, 0);
  EXPECT_EQ(Calls().front(), "load " + std::string(255, 'A'));
}

TEST_F(MusicTest, EmptyOrUnknownEntryStopsTheMusicAndLeavesNoneCurrent) {
  Entry(2, "TUNE.MID", true);
  for (const std::int32_t silent : {5, -1, 256, 100000}) {
    SCOPED_TRACE(silent);
    PlayMusic(music_, 2);
    Commands();
    Events();
    PlayMusic(music_, silent);
    EXPECT_EQ(Commands(), (Log{"stop zique", "close zique"}));
    EXPECT_EQ(music_.Current, -1);
    EXPECT_EQ(Events(), Log{}) << "nothing loaded";
  }
}

TEST_F(MusicTest, PreparingLoadsOnlyMidiEntriesAndChangesNothingElse) {
  Start();
  Entry(1, "MUSIC\\CHASE.MID");
  Entry(2, "MUSIC\\CAVES.XM");
  Entry(3, "MUSIC\\WIND.WAV");
  Entry(4, "CDAUDIO_03");
  PlayMusic(music_, 2);
  Commands();
  Calls();
  PrepareMusic(music_, 1);
  EXPECT_EQ(Commands(), (Log{"open MUSIC\\CHASE.MID alias ready", "close ready"}));
  for (const std::int32_t other : {2, 3, 4, 5, -1, 256}) {
    PrepareMusic(music_, other);
    EXPECT_EQ(Commands(), Log{}) << other;
  }
  EXPECT_EQ(Calls(), Log{}) << "the playing module goes on";
  EXPECT_EQ(music_.Current, 2);
}

TEST_F(MusicTest, MidiOpensUnderItsAliasAndLoopsWhenPositionReachesLength) {
  Entry(3, "MUSIC\\CAVE.MID", true);
  PlayMusic(music_, 3);
  EXPECT_EQ(Commands(), (Log{"open MUSIC\\CAVE.MID alias zique", "play zique"}));
  EXPECT_TRUE(music_.IsMidi);

  const struct {
    const char* position;
    const char* length;
    bool restarts;
  } cases[] = {
      {"1000", "5000", false}, {"5000", "5000", true}, {"5001", "5000", true}, {"", "5000", false},
      {"", "", false},         {"12x", "5000", false}, {"-1", "0", false},     {"4999", "5000", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.position) + " of " + c.length);
    mci_.answers = {{"status zique position", c.position}, {"status zique length", c.length}};
    PollMusic(music_);
    const Log asked = {"status zique position", "status zique length"};
    const Log restart = {"status zique position",
                         "status zique length",
                         "stop zique",
                         "close zique",
                         "open MUSIC\\CAVE.MID alias zique",
                         "play zique"};
    EXPECT_EQ(Commands(), c.restarts ? restart : asked);
    EXPECT_EQ(music_.Current, 3);
  }

  Entry(3, "MUSIC\\CAVE.MID", false);
  PlayMusic(music_, 3);
  Commands();
  mci_.answers = {{"status zique position", "5000"}, {"status zique length", "5000"}};
  PollMusic(music_);
  EXPECT_EQ(Commands(), Log{}) << "music without the loop flag is not watched";
}

TEST_F(MusicTest, CdTrackPlaysToTheNextTrackOrToTheEndOfTheDisc) {
  Entry(6, "CDAUDIO_03");
  const struct {
    const char* tracks;
    const char* play;
  } cases[] = {
      {"10", "play cdaudio from 3 to 4"}, {"4", "play cdaudio from 3 to 4"}, {"3", "play cdaudio from 3"},
      {"2", "play cdaudio from 3"},       {"", "play cdaudio from 3"},       {"ten", "play cdaudio from 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tracks);
    mci_.answers = {{"status cdaudio number of tracks", c.tracks}};
    PlayMusic(music_, 6);
    Log sent = Commands();
    if (sent.front() == "stop cdaudio") sent.erase(sent.begin(), sent.begin() + 2);
    EXPECT_EQ(sent, (Log{"open cdaudio", "set cdaudio time format tmsf", "status cdaudio number of tracks", c.play}));
  }
}

TEST_F(MusicTest, CdTrackThatIsNoNumberPlaysNothingAndShowsNoClip) {
  dir_.Write("INTRO.AVI", "clip");
  Entry(7, "CDAUDIO_X3", true, "INTRO.AVI");
  PlayMusic(music_, 7);
  EXPECT_EQ(Commands(), Log{});
  EXPECT_FALSE(music_.ClipOpen);
  EXPECT_EQ(Events(), Log{});
}

TEST_F(MusicTest, LoopingCdTrackStartsAgainWhenStopped) {
  Entry(8, "CDAUDIO_05", true);
  mci_.answers = {{"status cdaudio number of tracks", "9"}};
  PlayMusic(music_, 8);
  Commands();
  for (const char* mode : {"playing", "Stopped", "stopped ", ""}) {
    mci_.answers["status cdaudio mode"] = mode;
    PollMusic(music_);
    EXPECT_EQ(Commands(), Log{"status cdaudio mode"}) << '"' << mode << '"';
  }
  mci_.answers["status cdaudio mode"] = "stopped";
  PollMusic(music_);
  EXPECT_EQ(Commands(),
            (Log{"status cdaudio mode", "stop cdaudio", "close cdaudio", "open cdaudio", "set cdaudio time format tmsf",
                 "status cdaudio number of tracks", "play cdaudio from 5 to 6"}));
}

TEST_F(MusicTest, WaveMusicPlaysFromTheDataFolderAndStopsFreed) {
  Audio audio;
  auto device = std::make_unique<test::FakeDirectSound>();
  InitAudio(audio, std::move(device));
  audio.DataFolder = dir_.path();
  music_.Sound = &audio;
  const std::vector<std::int16_t> samples(64, 1000);
  const std::vector<std::uint8_t> wave = EncodeWave(samples, 22050, 1, 16);
  dir_.Write("MUSIC/RAIN.WAV", std::string(wave.begin(), wave.end()));
  Entry(9, "music\\rain.wav", true);
  Entry(10, "music\\rain.wav", false);
  Entry(11, "music\\missing.wav", true);

  PlayMusic(music_, 9);
  ASSERT_NE(music_.WaveMusic, nullptr) << "found from the data folder";
  std::shared_ptr<test::FakeBuffer> buffer = std::dynamic_pointer_cast<test::FakeBuffer>(music_.WaveMusic->Buffer);
  ASSERT_NE(buffer, nullptr);
  EXPECT_TRUE(buffer->Playing);
  EXPECT_TRUE(buffer->Looping);

  PlayMusic(music_, 10);
  EXPECT_FALSE(buffer->Playing) << "the previous piece stopped";
  ASSERT_NE(music_.WaveMusic, nullptr);
  buffer = std::dynamic_pointer_cast<test::FakeBuffer>(music_.WaveMusic->Buffer);
  ASSERT_NE(buffer, nullptr);
  EXPECT_TRUE(buffer->Playing);
  EXPECT_FALSE(buffer->Looping);

  StopMusic(music_);
  EXPECT_FALSE(buffer->Playing);
  EXPECT_EQ(music_.WaveMusic, nullptr);

  PlayMusic(music_, 11);
  EXPECT_EQ(music_.Current, 11);
  EXPECT_TRUE(music_.WaveMusic == nullptr || music_.WaveMusic->Buffer == nullptr) << "a missing file is silent";
  EXPECT_EQ(Commands(), Log{});
}

TEST_F(MusicTest, ClipCommandsInOrderAndCloseClip) {
  dir_.Write("VIDEO/INTRO.AVI", "clip");
  Entry(12, "TUNE.MID", false, "VIDEO\\INTRO.AVI");
  for (const bool fullScreen : {true, false}) {
    SCOPED_TRACE(fullScreen);
    window_.fullScreen = fullScreen;
    PlayMusic(music_, 12);
    Log sent = Commands();
    if (sent.front() == "stop zique") sent.erase(sent.begin(), sent.begin() + 2);
    EXPECT_EQ(sent, (Log{"open TUNE.MID alias zique", "play zique", "Open VIDEO\\INTRO.AVI alias VidClip",
                         "Window Vidclip handle 4242", "put Vidclip destination at 0 0 800 600",
                         std::string("Play Vidclip notify ") + (fullScreen ? "fullscreen" : "window")}));
    EXPECT_EQ(Events(), (Log{"clip starts", "clock"}));
    EXPECT_TRUE(music_.ClipOpen);
    EXPECT_EQ(music_.ClipFullScreen, fullScreen);

    StopMusic(music_);
    EXPECT_TRUE(music_.ClipOpen) << "the clip plays on to its end";
    Commands();
    CloseClip(music_);
    EXPECT_EQ(Commands(), Log{"Close Vidclip"});
    EXPECT_EQ(Events(), (Log{"clip ended", "clock"}));
    EXPECT_FALSE(music_.ClipOpen);
  }
  CloseClip(music_);
  EXPECT_EQ(Commands(), Log{}) << "no clip is open";
  EXPECT_EQ(Events(), Log{});
}

TEST_F(MusicTest, ClipThatCannotBeReadChangesNothing) {
  Entry(13, "TUNE.MID", false, "VIDEO\\MISSING.AVI");
  PlayMusic(music_, 13);
  EXPECT_EQ(Commands(), (Log{"open TUNE.MID alias zique", "play zique"}));
  EXPECT_EQ(Events(), Log{"clock"}) << "the display stays";
  EXPECT_FALSE(music_.ClipOpen);
}

TEST_F(MusicTest, ClipOpenCommandIsCutTo255Characters) {
  const std::string name = std::string(250, 'V') + ".AVI";
  dir_.Write(name, "clip");
  PlayClip(music_, name);
  ASSERT_FALSE(mci_.commands.empty());
  EXPECT_EQ(mci_.commands.front(), ("Open " + name + " alias VidClip").substr(0, 255));
}

TEST_F(MusicTest, WithoutMediaControlMidiCdAndClipsAreSilent) {
  music_.Mci = nullptr;
  dir_.Write("INTRO.AVI", "clip");
  Entry(14, "TUNE.MID", true, "INTRO.AVI");
  Entry(15, "CDAUDIO_02", true);
  for (const std::int32_t n : {14, 15}) {
    PlayMusic(music_, n);
    EXPECT_EQ(music_.Current, n);
    PollMusic(music_);
    EXPECT_EQ(music_.Current, n) << "nothing answers, nothing restarts";
  }
  EXPECT_FALSE(music_.ClipOpen);
  EXPECT_EQ(Events(), (Log{"clock", "clock"})) << "the display never made way";
}

}  // namespace
}  // namespace zandrel::audio
