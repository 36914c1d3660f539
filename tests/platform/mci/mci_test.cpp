#include "platform/mci/mci.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "audio/wave_writer.h"
#include "platform/win/clock.h"
#include "tests/platform/mci/clip_writer.h"
#include "tests/platform/mci/midi_writer.h"
#include "tests/support/temp_dir.h"

namespace zandrel::mci {
namespace {

// Every test runs the mixer on SDL's dummy driver, which plays in real time unheard.
const bool kDummyAudio = setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;

bool AudioAvailable() {
  static const bool available = [] {
    if (!kDummyAudio || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const bool opened = Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0;
    if (opened) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return opened;
  }();
  return available;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A silent 22050 Hz mono track of the given length.
std::vector<std::uint8_t> Track(int ms) {
  const std::vector<std::int16_t> samples(static_cast<std::size_t>(22050 * ms / 1000), 0);
  return audio::EncodeWave(samples, 22050, 1, 16);
}

MciOptions Options(const win::Clock* clock, std::string_view cdFolder = "CDAUDIO", std::string_view soundFont = {},
                   const std::filesystem::path& dataFolder = {}) {
  MciOptions options;
  options.DataFolder = dataFolder;
  options.Clock = clock;
  options.CdFolder = cdFolder;
  options.SoundFont = soundFont;
  return options;
}

struct Answer {
  std::uint32_t error;
  std::string text;
};

Answer Send(Mci& mci, std::string_view command) {
  char buffer[64];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  const std::uint32_t error = mci.SendString(command, buffer, sizeof buffer);
  return {error, buffer};
}

TEST(MciCommands, AnswerOrFailWithoutCrashing) {
  auto mci = CreateMci(nullptr);
  const struct {
    const char* command;
    bool ok;
    const char* answer;
  } cases[] = {
      {"", false, ""},
      {"    ", false, ""},
      {"open", false, ""},
      {"open cdaudio", true, ""},
      {"OPEN CDAUDIO", false, ""},  // the alias is taken
      {"status cdaudio", false, ""},
      {"status cdaudio mode", true, "stopped"},
      {"Status CDAudio MODE wait", true, "stopped"},
      {"status cdaudio modes", false, ""},
      {"status cdaudio number of", false, ""},
      {"set cdaudio time format tmsf", true, ""},
      {"set cdaudio time format", false, ""},
      {"set cdaudio time format frames", false, ""},
      {"play cdaudio from", false, ""},
      {"play cdaudio from x", false, ""},
      {"play cdaudio from 2 to", false, ""},
      {"play cdaudio from 99999999999999999999", false, ""},
      {"play cdaudio backwards", false, ""},
      {"frobnicate cdaudio", false, ""},
      {"put cdaudio destination at 0 0 1 1", false, ""},
      {"play", false, ""},
      {"play nothing", false, ""},
      {"status zique position", false, ""},
      {"open \"unclosed alias zique", false, ""},
      {"open \"\" alias zique", false, ""},
      {"open missing.mid alias", false, ""},
      {"open missing.mid alias zique", false, ""},
      {"open missing.mid frob zique", false, ""},
      {"close cdaudio now", false, ""},
      {"close cdaudio", true, ""},
      {"close cdaudio", false, ""},
      {"status cdaudio mode", false, ""},
  };
  for (const auto& c : cases) {
    const Answer answer = Send(*mci, c.command);
    EXPECT_EQ(answer.error == 0, c.ok) << c.command;
    EXPECT_EQ(answer.text, c.answer) << c.command;
  }
  const std::string longCommand(100000, 'a');
  EXPECT_NE(Send(*mci, longCommand).error, 0u);
  EXPECT_NE(Send(*mci, "open " + longCommand + " alias zique").error, 0u);
  EXPECT_NE(Send(*mci, std::string("open\0cdaudio", 12)).error, 0u);
  EXPECT_FALSE(mci->Poll());
}

TEST(MciCommands, CutAnswersToTheBuffer) {
  auto mci = CreateMci(nullptr);
  ASSERT_EQ(mci->SendString("open cdaudio"), 0u);
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(mci->SendString("status cdaudio mode", small, sizeof small), 0u);
  EXPECT_STREQ(small, "sto");
  char one = 'x';
  EXPECT_EQ(mci->SendString("status cdaudio mode", &one, 1), 0u);
  EXPECT_EQ(one, '\0');
  EXPECT_EQ(mci->SendString("status cdaudio mode", small, 0), 0u);
  EXPECT_EQ(small[0], 's');
}

TEST(MciCdAudio, CountsTheHighestTrackOfTheFolder) {
  const struct {
    std::vector<const char*> files;
    const char* tracks;
  } cases[] = {
      {{}, "0"},
      {{"README.TXT"}, "0"},
      {{"TRACK01.WAV", "TRACK02.OGG", "track03.flac", "Track07.Mp3"}, "7"},
      {{"TRACK02.WAV", "TRACK12.wav", "TRACK13.TXT", "TRACK100.OGG", "TRACK14.OGG.BAK", "XTRACK15.OGG"}, "12"},
      {{"TRACK4.OGG"}, "4"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "CDAUDIO");
    for (const char* file : c.files) dir.Write(std::string("CDAUDIO/") + file, "");
    const std::string folder = (dir / "cdaudio").string();  // found whatever its case
    auto mci = CreateMci(nullptr, Options(nullptr, folder));
    ASSERT_EQ(mci->SendString("open cdaudio"), 0u);
    EXPECT_EQ(Send(*mci, "status cdaudio number of tracks").text, c.tracks) << c.files.size();
  }
  test::TempDir empty;
  const std::string nowhere = (empty / "nowhere").string();
  auto mci = CreateMci(nullptr, Options(nullptr, nowhere));
  ASSERT_EQ(mci->SendString("open cdaudio"), 0u);
  EXPECT_EQ(Send(*mci, "status cdaudio number of tracks").text, "0");
  EXPECT_NE(mci->SendString("play cdaudio from 2"), 0u);
  EXPECT_EQ(Send(*mci, "status cdaudio mode").text, "stopped");
}

TEST(MciCdAudio, PlaysTracksOneAfterAnother) {
  if (!AudioAvailable()) GTEST_SKIP() << "SDL2_mixer cannot open the dummy audio driver";
  test::TempDir dir;
  WriteBytes(dir / "CDAUDIO" / "TRACK02.WAV", Track(200));
  WriteBytes(dir / "CDAUDIO" / "track03.wav", Track(300));
  WriteBytes(dir / "CDAUDIO" / "Track05.Wav", Track(100));
  win::ManualClock clock(5000);
  auto mci = CreateMci(nullptr, Options(&clock, "CDAUDIO", {}, dir.path()));
  ASSERT_EQ(mci->SendString("open cdaudio"), 0u);
  ASSERT_EQ(mci->SendString("set cdaudio time format tmsf"), 0u);
  ASSERT_EQ(Send(*mci, "status cdaudio number of tracks").text, "5");

  const struct {
    const char* command;
    std::vector<std::pair<std::uint32_t, int>> tracksAt;  // ms after the command: the track playing
  } cases[] = {
      {"play cdaudio from 2 to 3", {{0, 2}, {199, 2}, {200, 0}}},
      {"play cdaudio from 2 to 4", {{0, 2}, {199, 2}, {200, 3}, {499, 3}, {500, 0}}},
      {"play cdaudio from 3", {{0, 3}, {299, 3}, {300, 5}, {399, 5}, {400, 0}}},  // track 4 is missing
      {"play cdaudio from 5 to 9", {{0, 5}, {100, 0}}},
      {"play cdaudio", {{0, 2}, {200, 3}, {500, 5}, {600, 0}}},
      {"play cdaudio from 4 to 5", {{0, 0}}},
  };
  for (const auto& c : cases) {
    const std::uint32_t start = clock.Ticks();
    EXPECT_EQ(mci->SendString(c.command), 0u) << c.command;
    for (const auto& [at, track] : c.tracksAt) {
      clock.Set(start + at);
      EXPECT_FALSE(mci->Poll());
      EXPECT_EQ(Send(*mci, "status cdaudio current track").text, std::to_string(track)) << c.command << " at " << at;
      EXPECT_EQ(Send(*mci, "status cdaudio mode").text, track != 0 ? "playing" : "stopped")
          << c.command << " at " << at;
    }
  }

  // Tracks that are not on the disc, and a range that ends before it starts, play nothing;
  // so does an end at the lowest number, which a 32-bit "to - 1" would turn into the highest.
  for (const char* command : {"play cdaudio from 1", "play cdaudio from 6", "play cdaudio from 3 to 3",
                              "play cdaudio from 0 to 2", "play cdaudio to -2147483648"}) {
    ASSERT_EQ(mci->SendString("play cdaudio from 2"), 0u);
    EXPECT_NE(mci->SendString(command), 0u) << command;
    EXPECT_EQ(Send(*mci, "status cdaudio mode").text, "stopped") << command;
  }

  ASSERT_EQ(mci->SendString("play cdaudio from 2"), 0u);
  EXPECT_EQ(mci->SendString("stop cdaudio"), 0u);
  EXPECT_EQ(Send(*mci, "status cdaudio mode").text, "stopped");
  EXPECT_EQ(mci->SendString("play cdaudio from 2"), 0u);
  EXPECT_EQ(mci->SendString("close cdaudio"), 0u);
  EXPECT_EQ(Mix_PlayingMusic(), 0) << "closing stops the track";
}

TEST(MciMidi, AnswersLengthAndPositionByTheClock) {
  test::TempDir dir;
  using test::MidiEvent;
  const std::vector<std::uint8_t> on = {0x90, 0x3C, 0x64}, off = {0x80, 0x3C, 0x00};
  WriteBytes(dir / "MUSIC" / "THEME.MID",
             test::MidiFile(1, 480, {{{0, test::Tempo(1000000)}, {480, test::Tempo(250000)}}, {{0, on}, {1440, off}}}));
  win::ManualClock clock(100);
  auto mci = CreateMci(nullptr, Options(&clock, "CDAUDIO", {}, dir.path()));

  ASSERT_EQ(mci->SendString("open music\\theme.mid alias zique"), 0u);
  EXPECT_NE(mci->SendString("open MUSIC\\THEME.MID alias ZIQUE"), 0u);
  EXPECT_EQ(Send(*mci, "status zique length").text, "1500");
  EXPECT_EQ(Send(*mci, "status zique position").text, "0");
  const struct {
    const char* command;  // sent first, when not empty
    std::uint32_t advance;
    const char* position;
    const char* mode;
  } steps[] = {
      {"play zique", 0, "0", "playing"},     {"", 600, "600", "playing"},
      {"", 899, "1499", "playing"},          {"", 1, "1500", "stopped"},
      {"", 5000, "1500", "stopped"},  // the position never passes the length
      {"play zique", 200, "200", "playing"}, {"stop zique", 0, "200", "stopped"},
      {"", 700, "200", "stopped"},           {"play zique", 0, "0", "playing"},
  };
  for (const auto& s : steps) {
    if (*s.command != '\0') {
      EXPECT_EQ(mci->SendString(s.command), 0u) << s.command;
    }
    clock.Advance(s.advance);
    EXPECT_EQ(Send(*mci, "status zique position").text, s.position) << s.command << " +" << s.advance;
    EXPECT_EQ(Send(*mci, "status zique mode").text, s.mode) << s.command << " +" << s.advance;
  }
  if (AudioAvailable() && std::filesystem::exists("/usr/share/sounds/sf2/TimGM6mb.sf2")) {
    EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_MID) << "the synthesizer plays it";
  }
  EXPECT_EQ(mci->SendString("close zique"), 0u);
  EXPECT_EQ(Mix_PlayingMusic(), 0) << "closing stops it";
  // Reopened at its end, as a looping sequence is.
  ASSERT_EQ(mci->SendString("open MUSIC\\THEME.MID alias zique"), 0u);
  ASSERT_EQ(mci->SendString("play zique"), 0u);
  EXPECT_EQ(Send(*mci, "status zique position").text, "0");
  EXPECT_EQ(mci->SendString("close zique"), 0u);
  EXPECT_NE(mci->SendString("status zique position"), 0u);
  EXPECT_NE(mci->SendString("play zique"), 0u);

  // Not a MIDI file: MIDI's header opens as a sequence or nothing.
  dir.Write("MUSIC/BROKEN.MID", "MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00");
  EXPECT_NE(mci->SendString("open MUSIC\\BROKEN.MID alias zique"), 0u);
  EXPECT_NE(mci->SendString("open MUSIC\\THEME.MID type avivideo alias zique"), 0u);
  EXPECT_EQ(mci->SendString("open MUSIC\\THEME.MID type sequencer alias zique"), 0u);
}

TEST(MciMidi, PlaysSilentlyWithoutASoundFont) {
  test::TempDir dir;
  const auto path = dir / "SONG.MID";
  WriteBytes(path, test::MidiFile(0, 480, {{{0, {0x90, 0x3C, 0x64}}, {480, {0x80, 0x3C, 0x00}}}}));
  win::ManualClock clock;
  const std::string font = (dir / "none.sf2").string();
  auto mci = CreateMci(nullptr, Options(&clock, "CDAUDIO", font));
  ASSERT_EQ(mci->SendString("open " + path.string() + " alias zique"), 0u);
  EXPECT_EQ(mci->SendString("play zique"), 0u);
  clock.Advance(250);
  EXPECT_EQ(Send(*mci, "status zique position").text, "250");
  EXPECT_EQ(Send(*mci, "status zique length").text, "500");
}

// What a clip screen was asked to show, and when.
struct Shown {
  test::Colour centre;
  int width, height, x, y, destWidth, destHeight;
  std::uint32_t at;
};

class RecordingScreen final : public ClipScreen {
 public:
  explicit RecordingScreen(const win::Clock& clock) : clock_(clock) {}
  std::uint32_t Handle() const override { return 7; }
  void ClientSize(int& width, int& height) const override {
    width = 640;
    height = 480;
  }
  void ShowFrame(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                 int destHeight) override {
    const std::uint8_t* centre = rgba + (static_cast<std::size_t>(height / 2) * static_cast<std::size_t>(width) +
                                         static_cast<std::size_t>(width / 2)) *
                                            4;
    shown.push_back(
        {{centre[0], centre[1], centre[2]}, width, height, destX, destY, destWidth, destHeight, clock_.Ticks()});
  }
  std::vector<Shown> shown;

 private:
  const win::Clock& clock_;
};

// The colour of the four a decoded pixel comes nearest to.
int Nearest(test::Colour c, const std::vector<test::Colour>& colours) {
  int best = 0, bestDistance = 1 << 30;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const int dr = c.R - colours[i].R, dg = c.G - colours[i].G, db = c.B - colours[i].B;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

class MciClip : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "VIDEO");
    ASSERT_TRUE(test::WriteClip(dir_ / "VIDEO" / "CLIP.AVI", kColours, 10));
    mci_ = CreateMci(&screen_, Options(&clock_));
  }

  // Polls every 10 ms for `ms`; the clock times of the notifications.
  std::vector<std::uint32_t> PollFor(std::uint32_t ms) {
    std::vector<std::uint32_t> notified;
    for (std::uint32_t t = 0; t <= ms; t += 10) {
      if (mci_->Poll()) notified.push_back(clock_.Ticks());
      clock_.Advance(10);
    }
    return notified;
  }

  std::string Clip() const { return (dir_ / "VIDEO" / "CLIP.AVI").string(); }

  const std::vector<test::Colour> kColours = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  test::TempDir dir_;
  win::ManualClock clock_{1000};
  RecordingScreen screen_{clock_};
  std::unique_ptr<Mci> mci_;
};

TEST_F(MciClip, ShowsEachFrameWhenDueAndNotifiesOnce) {
  ASSERT_EQ(mci_->SendString("Open " + Clip() + " alias VidClip"), 0u);
  EXPECT_EQ(mci_->SendString("Window Vidclip handle 7"), 0u);
  EXPECT_NE(mci_->SendString("Window Vidclip handle 8"), 0u) << "no such window";
  EXPECT_NE(mci_->SendString("Window Vidclip handle seven"), 0u);
  EXPECT_NE(mci_->SendString("put Vidclip destination at 10 20 300"), 0u);
  EXPECT_NE(mci_->SendString("put Vidclip destination at 10 20 0 200"), 0u);
  EXPECT_EQ(mci_->SendString("put Vidclip destination at 10 20 300 200"), 0u);
  EXPECT_FALSE(mci_->Poll());
  EXPECT_TRUE(screen_.shown.empty()) << "nothing shows before play";
  EXPECT_EQ(mci_->SendString("Play Vidclip notify fullscreen"), 0u);
  EXPECT_EQ(Send(*mci_, "status vidclip mode").text, "playing");

  const std::vector<std::uint32_t> notified = PollFor(1000);
  ASSERT_EQ(screen_.shown.size(), kColours.size());
  for (std::size_t i = 0; i < kColours.size(); ++i) {
    const Shown& s = screen_.shown[i];
    EXPECT_EQ(Nearest(s.centre, kColours), static_cast<int>(i)) << "frame " << i;
    EXPECT_EQ(s.at, 1000 + 100 * i) << "frame " << i;
    EXPECT_EQ(s.width, 64);
    EXPECT_EQ(s.height, 48);
    EXPECT_EQ(std::vector<int>({s.x, s.y, s.destWidth, s.destHeight}), std::vector<int>({10, 20, 300, 200}));
  }
  EXPECT_EQ(notified, std::vector<std::uint32_t>{1400}) << "the last frame stands its 100 ms, then the end";
  EXPECT_EQ(Send(*mci_, "status vidclip mode").text, "stopped");
  EXPECT_EQ(mci_->SendString("Close Vidclip"), 0u);
  EXPECT_FALSE(mci_->Poll());
}

TEST_F(MciClip, LatePollsShowTheFrameDueNow) {
  ASSERT_EQ(mci_->SendString("open " + Clip() + " alias clip"), 0u);
  ASSERT_EQ(mci_->SendString("play clip notify window"), 0u);
  EXPECT_FALSE(mci_->Poll());
  clock_.Advance(250);
  EXPECT_FALSE(mci_->Poll());
  clock_.Advance(1000);
  EXPECT_TRUE(mci_->Poll());
  EXPECT_FALSE(mci_->Poll());
  ASSERT_EQ(screen_.shown.size(), 3u);
  EXPECT_EQ(Nearest(screen_.shown[0].centre, kColours), 0);
  EXPECT_EQ(Nearest(screen_.shown[1].centre, kColours), 2) << "green was skipped";
  EXPECT_EQ(Nearest(screen_.shown[2].centre, kColours), 3);
  EXPECT_EQ(std::vector<int>(
                {screen_.shown[0].x, screen_.shown[0].y, screen_.shown[0].destWidth, screen_.shown[0].destHeight}),
            std::vector<int>({0, 0, 64, 48}))
      << "without a destination the clip shows at its own size";

  // Played again after its end: from the start.
  screen_.shown.clear();
  ASSERT_EQ(mci_->SendString("play clip"), 0u);
  EXPECT_EQ(PollFor(600), std::vector<std::uint32_t>{}) << "no notify asked this time";
  EXPECT_EQ(screen_.shown.size(), kColours.size());
}

TEST_F(MciClip, StopsAndClosesMidway) {
  ASSERT_EQ(mci_->SendString("open " + Clip() + " alias VidClip"), 0u);
  ASSERT_EQ(mci_->SendString("play vidclip notify"), 0u);
  PollFor(150);
  EXPECT_EQ(mci_->SendString("stop VIDCLIP"), 0u);
  const std::size_t shown = screen_.shown.size();
  EXPECT_EQ(PollFor(1000), std::vector<std::uint32_t>{});
  EXPECT_EQ(screen_.shown.size(), shown);
  ASSERT_EQ(mci_->SendString("play vidclip notify"), 0u);
  PollFor(150);
  EXPECT_EQ(mci_->SendString("close vidclip"), 0u);
  EXPECT_EQ(PollFor(1000), std::vector<std::uint32_t>{}) << "a closed clip never ends";
}

TEST_F(MciClip, WithoutAScreenEndsShowingNothing) {
  auto blind = CreateMci(nullptr, Options(&clock_));
  ASSERT_EQ(blind->SendString("open " + Clip() + " alias VidClip"), 0u);
  ASSERT_EQ(blind->SendString("play VidClip notify fullscreen"), 0u);
  int notifications = 0;
  for (int i = 0; i < 100; ++i, clock_.Advance(10)) notifications += blind->Poll() ? 1 : 0;
  EXPECT_EQ(notifications, 1);
}

TEST_F(MciClip, RefusesMissingAndDamagedFiles) {
  std::ifstream in(Clip(), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 64u);
  dir_.Write("text.avi", "this is no clip at all");
  dir_.Write("header.avi", std::string(bytes.begin(), bytes.begin() + 64));
  dir_.Write("empty.avi", "");
  for (const char* name : {"missing.avi", "text.avi", "header.avi", "empty.avi"}) {
    EXPECT_NE(mci_->SendString("Open " + (dir_ / name).string() + " alias VidClip"), 0u) << name;
    EXPECT_NE(mci_->SendString("Play Vidclip notify fullscreen"), 0u) << name;
    EXPECT_FALSE(mci_->Poll()) << name;
  }
  EXPECT_TRUE(screen_.shown.empty());

  // Frames damaged or cut off after the first ones: what decodes shows, and the clip still
  // ends, once.
  const std::string whole(bytes.begin(), bytes.end());
  const std::size_t frames = whole.find("movi"), index = whole.find("idx1");
  ASSERT_LT(frames, index);
  std::string scrambled = whole;
  for (std::size_t i = (frames + index) / 2; i < index; i += 3) scrambled[i] = static_cast<char>(i * 31);
  dir_.Write("scrambled.avi", scrambled);
  dir_.Write("cut.avi", whole.substr(0, (frames + index) / 2));
  for (const char* name : {"scrambled.avi", "cut.avi"}) {
    screen_.shown.clear();
    ASSERT_EQ(mci_->SendString("Open " + (dir_ / name).string() + " alias VidClip"), 0u) << name;
    ASSERT_EQ(mci_->SendString("Play Vidclip notify fullscreen"), 0u);
    EXPECT_EQ(PollFor(2000).size(), 1u) << name;
    EXPECT_GE(screen_.shown.size(), 1u) << name;
    EXPECT_EQ(Send(*mci_, "status vidclip mode").text, "stopped") << name;
    EXPECT_EQ(mci_->SendString("Close Vidclip"), 0u);
  }
}

}  // namespace
}  // namespace zandrel::mci
