#include "audio/music.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>

#include "base/text_case.h"
#include "platform/win/files.h"

namespace zandrel::audio {
namespace {

constexpr std::size_t kModuleNameLength = 255;
constexpr std::size_t kClipCommandLength = 255;
constexpr std::size_t kAnswerSize = 20;

// A command without an answer; nothing without a media control service.
void Send(Music& music, std::string_view command) {
  if (music.Mci != nullptr) music.Mci->SendString(command);
}

// A command's answer, empty when there is none.
std::string Ask(Music& music, std::string_view command) {
  char answer[kAnswerSize] = {};
  if (music.Mci != nullptr) music.Mci->SendString(command, answer, sizeof answer);
  answer[kAnswerSize - 1] = '\0';
  return answer;
}

// The value of a number text, when it fits.
bool ToNumber(std::string_view text, std::int64_t& value) {
  if (!IsNumber(text)) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value <= INT32_MAX;
}

void PlayCdTrack(Music& music, std::int64_t track) {
  Send(music, "open cdaudio");
  Send(music, "set cdaudio time format tmsf");
  std::int64_t tracks = 0;
  std::string command = "play cdaudio from " + std::to_string(track);
  // The last track plays to the end of the disc.
  if (ToNumber(Ask(music, "status cdaudio number of tracks"), tracks) && tracks > track) {
    command += " to " + std::to_string(track + 1);
  }
  Send(music, command);
}

}  // namespace

void StartModulePlayer(ModulePlayer& player, std::uint32_t mixingRate, bool normalQuality,
                       dsound::DirectSound* directSound, std::uintptr_t window) {
  using namespace midas;
  player.Ready = false;
  Midas* const library = player.Library;
  if (library == nullptr || !library->MIDASstartup()) return;
  const std::pair<int, std::uintptr_t> options[] = {
      {MIDAS_OPTION_MIXRATE, mixingRate},
      {MIDAS_OPTION_MIXING_MODE, normalQuality ? MIDAS_MIX_NORMAL_QUALITY : MIDAS_MIX_HIGH_QUALITY},
      {MIDAS_OPTION_OUTPUTMODE, MIDAS_MODE_16BIT_MONO},
      {MIDAS_OPTION_FILTER_MODE, MIDAS_FILTER_AUTO},
      {MIDAS_OPTION_DSOUND_MODE, MIDAS_DSOUND_FORCE_STREAM},
      {MIDAS_OPTION_DSOUND_HWND, window},
      {MIDAS_OPTION_DSOUND_OBJECT, reinterpret_cast<std::uintptr_t>(directSound)},
      {MIDAS_OPTION_MIXBUFLEN, 256},
      {MIDAS_OPTION_MIXBUFBLOCKS, 4},
  };
  for (const auto& [option, value] : options) library->MIDASsetOption(option, value);
  player.Ready = library->MIDASinit() && library->MIDASstartBackgroundPlay(0) && library->MIDASopenChannels(33) &&
                 library->MIDASallocAutoEffectChannels(1);
}

void PlayModule(ModulePlayer& player, const std::filesystem::path& folder, std::string_view fileName,
                std::uint8_t volume, bool loop) {
  if (!player.Ready) return;
  StopModule(player);
  if (player.Module != 0) {
    player.Library->MIDASfreeModule(player.Module);
    player.Module = 0;
  }
  const std::string path = win::ResolvePath(fileName.substr(0, kModuleNameLength), folder).string();
  player.Module = player.Library->MIDASloadModule(path.c_str());
  if (player.Module == 0) return;
  player.Play = player.Library->MIDASplayModule(player.Module, loop);
  SetMusicVolume(player, volume);
}

void SetMusicVolume(ModulePlayer& player, std::uint8_t volume) {
  if (player.Ready && player.Play != 0) player.Library->MIDASsetMusicVolume(player.Play, volume);
}

void StopModule(ModulePlayer& player) {
  if (player.Ready && player.Play != 0) player.Library->MIDASstopModule(player.Play);
  player.Play = 0;
}

void CloseModulePlayer(ModulePlayer& player) {
  if (!player.Ready) return;
  player.Library->MIDASstopBackgroundPlay();
  player.Library->MIDASclose();
  // The closed library has freed its modules.
  player = ModulePlayer{player.Library};
}

bool IsNumber(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

MusicChoice ChooseMusic(std::string_view fileName) {
  const std::string name = base::UpperAscii(fileName);
  if (name.ends_with("MOD") || name.ends_with(".XM")) return {MusicKind::Module, {}};
  if (name.ends_with("MID")) return {MusicKind::Midi, {}};
  if (name.size() >= 10 && name.starts_with("CDAUDIO_")) return {MusicKind::Cd, std::string(fileName.substr(8))};
  return {MusicKind::Wave, {}};
}

void PrepareMusic(Music& music, std::int32_t entry) {
  if (music.Entries == nullptr || entry < 0 || entry >= world::kMusicEntryCount) return;
  const world::MusicEntry& piece = (*music.Entries)[static_cast<std::size_t>(entry)];
  if (piece.File.empty() || ChooseMusic(piece.File).Kind != MusicKind::Midi) return;
  Send(music, "open " + piece.File + " alias ready");
  Send(music, "close ready");
}

void PlayMusic(Music& music, std::int32_t entry) {
  StopMusic(music);
  // Music numbers come from level files: one outside the table names no music.
  if (music.Entries == nullptr || entry < 0 || entry >= world::kMusicEntryCount) return;
  const world::MusicEntry& piece = (*music.Entries)[static_cast<std::size_t>(entry)];
  if (piece.File.empty()) return;
  music.Loop = piece.Loop;
  music.Current = entry;
  const MusicChoice choice = ChooseMusic(piece.File);
  music.IsModule = choice.Kind == MusicKind::Module;
  music.IsMidi = choice.Kind == MusicKind::Midi;
  music.IsCd = choice.Kind == MusicKind::Cd;
  switch (choice.Kind) {
    case MusicKind::Module:
      PlayModule(music.Player, music.DataFolder, piece.File, music.MusicOn ? kMusicVolumeOn : kMusicVolumeOff,
                 music.Loop);
      break;
    case MusicKind::Midi:
      Send(music, "open " + piece.File + " alias zique");
      Send(music, "play zique");
      break;
    case MusicKind::Cd: {
      std::int64_t track = 0;
      if (!ToNumber(choice.Track, track)) return;  // no track: no music and no clip
      PlayCdTrack(music, track);
      break;
    }
    case MusicKind::Wave:
      if (music.Sound != nullptr) {
        music.WaveMusic = LoadSound(*music.Sound, piece.File);
        if (music.WaveMusic != nullptr) {
          if (music.Loop) {
            music.WaveMusic->PlayLooped();
          } else {
            music.WaveMusic->PlayOnce();
          }
        }
      }
      break;
  }
  if (!piece.Video.empty()) PlayClip(music, piece.Video);
  if (music.Window != nullptr) music.Window->ResetFrameClock();
}

void StopMusic(Music& music) {
  if (music.IsModule) {
    StopModule(music.Player);
  } else if (music.IsMidi) {
    Send(music, "stop zique");
    Send(music, "close zique");
  } else if (music.IsCd) {
    Send(music, "stop cdaudio");
    Send(music, "close cdaudio");
  } else if (music.WaveMusic != nullptr) {
    music.WaveMusic->Stop();
    music.WaveMusic.reset();
  }
  music.Current = -1;
}

void PollMusic(Music& music) {
  if (!music.Loop) return;
  if (music.IsMidi) {
    std::int64_t position = -1, length = 0;
    if (!ToNumber(Ask(music, "status zique position"), position)) position = -1;
    if (!ToNumber(Ask(music, "status zique length"), length)) length = 0;
    if (position >= length) PlayMusic(music, music.Current);
  } else if (music.IsCd) {
    if (Ask(music, "status cdaudio mode") == "stopped") PlayMusic(music, music.Current);
  }
  // A module loops in the library, told so when it started.
}

void PlayClip(Music& music, std::string_view fileName) {
  if (music.Mci == nullptr || music.Window == nullptr) return;
  if (!std::ifstream(win::ResolvePath(fileName, music.DataFolder), std::ios::binary).is_open()) return;
  music.ClipFullScreen = music.Window->FullScreenDisplay();
  music.Window->ClipStarts();
  std::string open = "Open " + std::string(fileName) + " alias VidClip";
  open.resize(std::min(open.size(), kClipCommandLength));
  Send(music, open);
  Send(music, "Window Vidclip handle " + std::to_string(music.Window->Handle()));
  int width = 0, height = 0;
  music.Window->ClientSize(width, height);
  Send(music, "put Vidclip destination at 0 0 " + std::to_string(width) + " " + std::to_string(height));
  Send(music, std::string("Play Vidclip notify ") + (music.ClipFullScreen ? "fullscreen" : "window"));
  music.ClipOpen = true;
}

void CloseClip(Music& music) {
  if (!music.ClipOpen) return;
  Send(music, "Close Vidclip");
  music.Window->ClipEnded();
  music.ClipOpen = false;
  music.Window->ResetFrameClock();
}

}  // namespace zandrel::audio
