// The command-string service: devices by alias, each a MIDI sequence, a video clip or the
// "cdaudio" player. MIDI files and CD tracks share the mixer's one music stream, as the
// game plays one music at a time; times come from the clock, so answers do not depend on
// whether an audio device exists.
#include "platform/mci/mci.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/text_case.h"
#include "platform/mci/cd_tracks.h"
#include "platform/mci/clip_decoder.h"
#include "platform/mci/midi_length.h"
#include "platform/win/clock.h"
#include "platform/win/files.h"

namespace zandrel::mci {
namespace {

// Error numbers, as the system's table has them.
enum Error : std::uint32_t {
  kOk = 0,
  kUnrecognizedKeyword = 259,
  kUnrecognizedCommand = 261,
  kInvalidDeviceName = 263,
  kMissingCommandString = 267,
  kBadInteger = 270,
  kMissingParameter = 273,
  kUnsupportedFunction = 274,
  kFileNotFound = 275,
  kOutOfRange = 282,
  kDuplicateAlias = 289,
  kNoClosingQuote = 294,
  kInvalidFile = 296,
  kNoWindow = 346,
};

constexpr std::size_t kMaxMidiBytes = 16u << 20;
constexpr std::size_t kMidiKept = 4;
constexpr int kMaxDecodesPerPoll = 8;  // a late frame catches up by skipping, within bounds
constexpr std::string_view kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

using base::EqualIgnoringCase;
using base::LowerAscii;

// The words of a command: runs of characters between blanks; a word in double quotes may
// hold blanks. Empty on an unclosed quote, with `closed` false.
std::vector<std::string_view> Words(std::string_view command, bool& closed) {
  std::vector<std::string_view> words;
  closed = true;
  std::size_t at = 0;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (at < command.size()) {
    if (blank(command[at])) {
      ++at;
    } else if (command[at] == '"') {
      const std::size_t end = command.find('"', at + 1);
      if (end == std::string_view::npos) {
        closed = false;
        return {};
      }
      words.push_back(command.substr(at + 1, end - at - 1));
      at = end + 1;
    } else {
      const std::size_t start = at;
      while (at < command.size() && !blank(command[at])) ++at;
      words.push_back(command.substr(start, at - start));
    }
  }
  return words;
}

std::optional<int> Number(std::string_view word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// The soundfont the options name, else the system's default one, else the first found.
std::string FindSoundFont(std::string_view wanted) {
  if (!wanted.empty()) return win::ResolvePath(wanted).string();
  std::error_code ec;
  if (std::filesystem::is_regular_file(kDefaultSoundFont, ec)) return std::string(kDefaultSoundFont);
  for (const char* folder : {"/usr/share/sounds/sf2", "/usr/share/soundfonts"}) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      if (base::EqualIgnoringCase(entry.path().extension().string(), ".sf2")) found.push_back(entry.path());
    }
    if (!found.empty()) return std::min_element(found.begin(), found.end())->string();
  }
  return {};
}

// Music loaded into the mixer; freeing it stops it only when it is the one playing.
struct MusicDeleter {
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
using Music = std::unique_ptr<Mix_Music, MusicDeleter>;

// The audio output, opened at the first music that needs it; when another part of the
// program already opened the mixer, its format is kept and shared.
class Mixer {
 public:
  explicit Mixer(std::string soundFontWanted) : soundFontWanted_(std::move(soundFontWanted)) {}
  ~Mixer() {
    midiKept_.clear();
    if (open_) Mix_CloseAudio();
    if (audioInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  bool Ready() {
    if (tried_) return open_;
    tried_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    audioInit_ = true;
    int rate = 44100, channels = 2;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate, &format, &channels);
    open_ = Mix_OpenAudio(rate, format, channels, 1024) == 0;
    return open_;
  }

  // The music of a file, or null without audio or when the mixer cannot read it.
  Music Load(const std::filesystem::path& path) {
    if (!Ready()) return nullptr;
    return Music(Mix_LoadMUS(path.c_str()));
  }

  // A MIDI file's music, which stays loaded: every load builds a synthesizer and reads
  // the soundfont again, too slow for a looping sequence closed and reopened at its end.
  Mix_Music* Midi(const std::filesystem::path& path) {
    const auto kept = std::find_if(midiKept_.begin(), midiKept_.end(), [&](const auto& k) { return k.first == path; });
    if (kept != midiKept_.end()) {
      std::rotate(kept, kept + 1, midiKept_.end());
      return midiKept_.back().second.get();
    }
    if (!Ready()) return nullptr;
    if (!soundFontSet_) {
      // Set once: every MIDI file plays with the same instruments.
      soundFontSet_ = true;
      Mix_Init(MIX_INIT_MID);
      if (const std::string font = FindSoundFont(soundFontWanted_); !font.empty()) Mix_SetSoundFonts(font.c_str());
    }
    Music music = Load(path);
    if (!music) return nullptr;
    if (midiKept_.size() >= kMidiKept) midiKept_.erase(midiKept_.begin());
    midiKept_.emplace_back(path, std::move(music));
    return midiKept_.back().second.get();
  }

  // Stops the MIDI music playing, and only that: the music stream may carry another's.
  static void StopMidi() {
    if (Mix_GetMusicType(nullptr) == MUS_MID) Mix_HaltMusic();
  }

 private:
  std::string soundFontWanted_;
  bool tried_ = false, open_ = false, audioInit_ = false, soundFontSet_ = false;
  std::vector<std::pair<std::filesystem::path, Music>> midiKept_;  // the most recent last
};

struct MidiDevice {
  std::filesystem::path Path;
  std::uint32_t Length = 0;
  bool Playing = false;
  std::uint32_t Start = 0, Position = 0;
};

struct CdDevice {
  std::map<int, std::string> Tracks;
  int Current = 0, Last = 0;  // the track playing (0: none) and the last one to play
  Music Loaded;
  std::uint32_t TrackStart = 0, TrackLength = 0;  // length 0: until the mixer ends it
};

struct Rectangle {
  int X = 0, Y = 0, Width = 0, Height = 0;
};

struct ClipDevice {
  std::filesystem::path Path;
  std::unique_ptr<ClipDecoder> Decoder;
  Rectangle Destination;
  bool Playing = false, Notify = false, Decoded = false, Exhausted = false;
  std::uint32_t Start = 0;
  std::int64_t ShownTime = -1;  // time of the frame shown last, -1 before the first
};

using Device = std::variant<MidiDevice, CdDevice, ClipDevice>;

class Service final : public Mci {
 public:
  Service(ClipScreen* screen, const MciOptions& options)
      : screen_(screen),
        ownClock_(options.Clock ? nullptr : std::make_unique<win::RealClock>()),
        clock_(options.Clock ? options.Clock : ownClock_.get()),
        dataFolder_(options.DataFolder),
        cdFolder_(win::ResolvePath(options.CdFolder, options.DataFolder)),
        mixer_(std::string(options.SoundFont)) {}

  std::uint32_t SendString(std::string_view command, char* answer, std::size_t answerSize) override {
    std::string text;
    const std::uint32_t result = Run(command, text);
    if (answer != nullptr && answerSize > 0) {
      const std::size_t length = std::min(text.size(), answerSize - 1);
      std::copy_n(text.data(), length, answer);
      answer[length] = '\0';
    }
    return result;
  }

  bool Poll() override {
    const std::uint32_t now = clock_->Ticks();
    bool notified = false;
    for (auto& [alias, device] : devices_) {
      if (auto* cd = std::get_if<CdDevice>(&device)) AdvanceTracks(*cd, now);
      if (auto* clip = std::get_if<ClipDevice>(&device)) notified |= AdvanceClip(*clip, now);
    }
    return notified;
  }

 private:
  std::uint32_t Run(std::string_view command, std::string& answer) {
    bool closed = true;
    std::vector<std::string_view> words = Words(command, closed);
    if (!closed) return kNoClosingQuote;
    if (words.empty()) return kMissingCommandString;
    // "wait" only asks the caller to be patient, which every command here already is.
    std::erase_if(words, [](std::string_view w) { return base::EqualIgnoringCase(w, "wait"); });
    const std::string_view verb = words[0];
    if (base::EqualIgnoringCase(verb, "open")) return Open(words);
    if (words.size() < 2) return kMissingParameter;
    const auto found = devices_.find(base::LowerAscii(words[1]));
    if (found == devices_.end()) return kInvalidDeviceName;
    Device& device = found->second;
    const std::span<const std::string_view> rest(words.begin() + 2, words.end());
    if (base::EqualIgnoringCase(verb, "close")) {
      if (!rest.empty()) return kUnrecognizedKeyword;
      if (const auto* midi = std::get_if<MidiDevice>(&device); midi != nullptr && midi->Playing) Mixer::StopMidi();
      devices_.erase(found);
      return kOk;
    }
    const std::uint32_t now = clock_->Ticks();
    if (auto* cd = std::get_if<CdDevice>(&device)) AdvanceTracks(*cd, now);
    if (base::EqualIgnoringCase(verb, "status")) return Status(device, rest, now, answer);
    return std::visit([&](auto& d) { return Command(d, verb, rest, now); }, device);
  }

  // open NAME [type T] [alias A] [shareable]: "cdaudio", a MIDI file or a clip.
  std::uint32_t Open(std::span<const std::string_view> words) {
    if (words.size() < 2) return kMissingParameter;
    const std::string_view name = words[1];
    std::string_view alias = name, type;
    for (std::size_t i = 2; i < words.size(); ++i) {
      if (base::EqualIgnoringCase(words[i], "shareable")) continue;
      if (i + 1 >= words.size()) return kMissingParameter;
      if (base::EqualIgnoringCase(words[i], "alias")) {
        alias = words[++i];
      } else if (base::EqualIgnoringCase(words[i], "type")) {
        type = words[++i];
      } else {
        return kUnrecognizedKeyword;
      }
    }
    std::string key = base::LowerAscii(alias);
    if (devices_.contains(key)) return kDuplicateAlias;
    if (base::EqualIgnoringCase(name, "cdaudio") || base::EqualIgnoringCase(type, "cdaudio")) {
      devices_.emplace(std::move(key), CdDevice{});
      return kOk;
    }
    const std::filesystem::path path = win::ResolvePath(name, dataFolder_);
    const auto head = win::ReadFilePrefix(path, 4);
    if (!head) return kFileNotFound;
    const bool midi = head->size() == 4 && std::equal(head->begin(), head->end(), "MThd");
    if (!type.empty() &&
        !(midi ? base::EqualIgnoringCase(type, "sequencer")
               : base::EqualIgnoringCase(type, "avivideo") || base::EqualIgnoringCase(type, "mpegvideo"))) {
      return kInvalidFile;
    }
    if (midi) {
      const auto bytes = win::ReadWholeFile(path, kMaxMidiBytes);
      const auto length = bytes ? MidiLengthMs(*bytes) : std::nullopt;
      if (!length) return kInvalidFile;
      // The sequence loads when it is opened, as on a real device: play then starts at once.
      mixer_.Midi(path);
      MidiDevice device;
      device.Path = path;
      device.Length = *length;
      devices_.emplace(std::move(key), std::move(device));
      return kOk;
    }
    ClipDevice clip;
    clip.Path = path;
    clip.Decoder = ClipDecoder::Open(path);
    if (!clip.Decoder) return kInvalidFile;
    clip.Destination = {0, 0, clip.Decoder->Width(), clip.Decoder->Height()};
    devices_.emplace(std::move(key), std::move(clip));
    return kOk;
  }

  std::uint32_t Status(Device& device, std::span<const std::string_view> rest, std::uint32_t now, std::string& answer) {
    if (rest.empty()) return kMissingParameter;
    const auto is = [&](std::initializer_list<std::string_view> item) {
      return rest.size() == item.size() && std::equal(rest.begin(), rest.end(), item.begin(), EqualIgnoringCase);
    };
    if (is({"mode"})) {
      const bool playing = std::visit([&](const auto& d) { return IsPlaying(d, now); }, device);
      answer = playing ? "playing" : "stopped";
      return kOk;
    }
    if (auto* midi = std::get_if<MidiDevice>(&device)) {
      if (is({"length"})) {
        answer = std::to_string(midi->Length);
        return kOk;
      }
      if (is({"position"})) {
        answer = std::to_string(MidiPosition(*midi, now));
        return kOk;
      }
    }
    if (auto* cd = std::get_if<CdDevice>(&device)) {
      if (is({"number", "of", "tracks"})) {
        const auto tracks = ListTracks(cdFolder_);
        answer = std::to_string(tracks.empty() ? 0 : tracks.rbegin()->first);
        return kOk;
      }
      if (is({"current", "track"})) {  // 0 when none plays
        answer = std::to_string(cd->Current);
        return kOk;
      }
    }
    return kUnsupportedFunction;
  }

  static std::uint32_t MidiPosition(const MidiDevice& midi, std::uint32_t now) {
    return midi.Playing ? std::min(now - midi.Start, midi.Length) : midi.Position;
  }
  static bool IsPlaying(const MidiDevice& midi, std::uint32_t now) {
    return midi.Playing && MidiPosition(midi, now) < midi.Length;
  }
  static bool IsPlaying(const CdDevice& cd, std::uint32_t) { return cd.Current > 0; }
  static bool IsPlaying(const ClipDevice& clip, std::uint32_t) { return clip.Playing; }

  // MIDI: play, stop. The sequence plays from its start; its end is where the clock
  // passes its length.
  std::uint32_t Command(MidiDevice& midi, std::string_view verb, std::span<const std::string_view> rest,
                        std::uint32_t now) {
    if (!OnlyNotify(rest)) return kUnrecognizedKeyword;
    if (base::EqualIgnoringCase(verb, "play")) {
      if (Mix_Music* music = mixer_.Midi(midi.Path)) Mix_PlayMusic(music, 0);
      midi.Playing = true;
      midi.Start = now;
      return kOk;
    }
    if (base::EqualIgnoringCase(verb, "stop")) {
      midi.Position = MidiPosition(midi, now);
      if (midi.Playing) Mixer::StopMidi();
      midi.Playing = false;
      return kOk;
    }
    return Unknown(verb);
  }

  // cdaudio: set time format, play [from N] [to M], stop. Track numbers stand for the
  // positions whatever the time format.
  std::uint32_t Command(CdDevice& cd, std::string_view verb, std::span<const std::string_view> rest,
                        std::uint32_t now) {
    if (base::EqualIgnoringCase(verb, "set")) {
      if (rest.size() == 3 && base::EqualIgnoringCase(rest[0], "time") && base::EqualIgnoringCase(rest[1], "format") &&
          (base::EqualIgnoringCase(rest[2], "tmsf") || base::EqualIgnoringCase(rest[2], "msf") ||
           base::EqualIgnoringCase(rest[2], "milliseconds"))) {
        return kOk;
      }
      return kUnrecognizedKeyword;
    }
    if (base::EqualIgnoringCase(verb, "stop")) {
      if (!OnlyNotify(rest)) return kUnrecognizedKeyword;
      StopTracks(cd);
      return kOk;
    }
    if (!base::EqualIgnoringCase(verb, "play")) return Unknown(verb);
    std::optional<int> from, to;
    for (std::size_t i = 0; i < rest.size(); ++i) {
      if (base::EqualIgnoringCase(rest[i], "notify")) continue;
      const bool isFrom = base::EqualIgnoringCase(rest[i], "from");
      if (!isFrom && !base::EqualIgnoringCase(rest[i], "to")) return kUnrecognizedKeyword;
      if (i + 1 >= rest.size()) return kMissingParameter;
      const auto number = Number(rest[++i]);
      if (!number) return kBadInteger;
      (isFrom ? from : to) = *number;
    }
    StopTracks(cd);
    cd.Tracks = ListTracks(cdFolder_);
    const int count = cd.Tracks.empty() ? 0 : cd.Tracks.rbegin()->first;
    const int first = from.value_or(2);
    // "to" names the track after the last; in 64 bits so that no number overflows.
    const std::int64_t last = to ? std::min<std::int64_t>(std::int64_t{*to} - 1, count) : count;
    if (first < 2 || first > count || last < first) return kOutOfRange;
    cd.Last = static_cast<int>(last);
    StartTrack(cd, first, now);
    return kOk;
  }

  // Clips: window, put, play, stop.
  std::uint32_t Command(ClipDevice& clip, std::string_view verb, std::span<const std::string_view> rest,
                        std::uint32_t now) {
    if (base::EqualIgnoringCase(verb, "window")) {
      if (rest.size() != 2 || !base::EqualIgnoringCase(rest[0], "handle")) return kMissingParameter;
      if (base::EqualIgnoringCase(rest[1], "default")) return kOk;
      const auto handle = Number(rest[1]);
      if (!handle) return kBadInteger;
      if (screen_ == nullptr || static_cast<std::uint32_t>(*handle) != screen_->Handle()) return kNoWindow;
      return kOk;
    }
    if (base::EqualIgnoringCase(verb, "put")) {
      if (rest.empty() || !base::EqualIgnoringCase(rest[0], "destination")) return kUnrecognizedKeyword;
      if (rest.size() == 1) {
        clip.Destination = {0, 0, clip.Decoder->Width(), clip.Decoder->Height()};
        return kOk;
      }
      if (rest.size() != 6 || !base::EqualIgnoringCase(rest[1], "at")) return kMissingParameter;
      int values[4] = {};
      for (int i = 0; i < 4; ++i) {
        const auto value = Number(rest[static_cast<std::size_t>(2 + i)]);
        if (!value) return kBadInteger;
        values[i] = *value;
      }
      if (values[2] <= 0 || values[3] <= 0) return kOutOfRange;
      clip.Destination = {values[0], values[1], values[2], values[3]};
      return kOk;
    }
    if (base::EqualIgnoringCase(verb, "play")) {
      bool notify = false;
      for (std::string_view word : rest) {
        if (base::EqualIgnoringCase(word, "notify")) {
          notify = true;
        } else if (!base::EqualIgnoringCase(word, "window") && !base::EqualIgnoringCase(word, "fullscreen")) {
          return kUnrecognizedKeyword;
        }
      }
      // The whole window is the screen: both ways show in the destination rectangle.
      clip.Notify = notify;
      if (clip.Playing) return kOk;
      if (clip.Exhausted || clip.ShownTime >= 0 || clip.Decoded) {
        auto again = ClipDecoder::Open(clip.Path);
        if (!again) return kInvalidFile;
        clip.Decoder = std::move(again);
        clip.Decoded = clip.Exhausted = false;
        clip.ShownTime = -1;
      }
      clip.Playing = true;
      clip.Start = now;
      return kOk;
    }
    if (base::EqualIgnoringCase(verb, "stop")) {
      if (!OnlyNotify(rest)) return kUnrecognizedKeyword;
      clip.Playing = false;
      return kOk;
    }
    return Unknown(verb);
  }

  static bool OnlyNotify(std::span<const std::string_view> rest) {
    return std::all_of(rest.begin(), rest.end(),
                       [](std::string_view w) { return base::EqualIgnoringCase(w, "notify"); });
  }

  // A verb some device knows but this one does not, or one nobody knows.
  static std::uint32_t Unknown(std::string_view verb) {
    for (std::string_view known : {"play", "stop", "set", "window", "put"}) {
      if (base::EqualIgnoringCase(verb, known)) return kUnsupportedFunction;
    }
    return kUnrecognizedCommand;
  }

  void StopTracks(CdDevice& cd) {
    cd.Loaded.reset();
    cd.Current = 0;
  }

  // Starts the first track from `track` on that the mixer can play.
  void StartTrack(CdDevice& cd, int track, std::uint32_t now) {
    cd.Loaded.reset();
    for (; track <= cd.Last; ++track) {
      const auto file = cd.Tracks.find(track);
      if (file == cd.Tracks.end()) continue;
      Music music = mixer_.Load(cdFolder_ / file->second);
      if (!music || Mix_PlayMusic(music.get(), 0) != 0) continue;
      const double seconds = Mix_MusicDuration(music.get());
      cd.Loaded = std::move(music);
      cd.Current = track;
      cd.TrackStart = now;
      cd.TrackLength = seconds > 0 ? static_cast<std::uint32_t>(std::min(seconds * 1000.0, 4294967295.0)) : 0;
      return;
    }
    cd.Current = 0;
  }

  // The next track follows when the playing one has run its length on the clock.
  void AdvanceTracks(CdDevice& cd, std::uint32_t now) {
    if (cd.Current == 0) return;
    const bool ended = cd.TrackLength > 0 ? now - cd.TrackStart >= cd.TrackLength : Mix_PlayingMusic() == 0;
    if (ended) StartTrack(cd, cd.Current + 1, now);
  }

  // Decodes the frames due, shows the last of them; true when a clip played with
  // "notify" has just ended.
  bool AdvanceClip(ClipDevice& clip, std::uint32_t now) {
    if (!clip.Playing) return false;
    ClipDecoder& decoder = *clip.Decoder;
    const std::int64_t elapsed = now - clip.Start;
    bool advanced = false;
    for (int i = 0; i < kMaxDecodesPerPoll && !clip.Exhausted; ++i) {
      if (!clip.Decoded) {
        clip.Decoded = decoder.DecodeNext();
        clip.Exhausted = !clip.Decoded;
        if (clip.Exhausted) break;
      }
      if (decoder.NextTime() > elapsed) break;
      decoder.Advance();
      clip.ShownTime = decoder.NextTime();
      clip.Decoded = false;
      advanced = true;
    }
    if (advanced && screen_ != nullptr) {
      int width = 0, height = 0;
      const auto rgba = decoder.CurrentRgba(width, height);
      if (!rgba.empty()) {
        const Rectangle& d = clip.Destination;
        screen_->ShowFrame(rgba.data(), width, height, d.X, d.Y, d.Width, d.Height);
      }
    }
    const std::int64_t end = clip.ShownTime < 0 ? 0 : clip.ShownTime + decoder.FrameMs();
    if (!clip.Exhausted || elapsed < end) return false;
    clip.Playing = false;
    return clip.Notify;
  }

  ClipScreen* screen_;
  std::unique_ptr<win::Clock> ownClock_;
  const win::Clock* clock_;
  std::filesystem::path dataFolder_;
  std::filesystem::path cdFolder_;
  Mixer mixer_;
  std::map<std::string, Device> devices_;  // after the mixer: the music goes before it closes
};

}  // namespace

std::unique_ptr<Mci> CreateMci(ClipScreen* screen, const MciOptions& options) {
  return std::make_unique<Service>(screen, options);
}

}  // namespace zandrel::mci
