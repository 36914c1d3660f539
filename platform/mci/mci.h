// The media control service as the music code calls it: command strings for MIDI files
// (under an alias), the "cdaudio" device (tracks played from files of the data tree's
// CDAUDIO folder) and video clips drawn into the program's window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace zandrel::win {
class Clock;
}

namespace zandrel::mci {

// Where video clips appear: the program's window.
class ClipScreen {
 public:
  virtual ~ClipScreen() = default;
  // The number that "Window <alias> handle N" names this screen by.
  virtual std::uint32_t Handle() const = 0;
  // The window's client area in pixels.
  virtual void ClientSize(int& width, int& height) const = 0;
  // Shows one frame (8-bit red, green, blue, alpha, rows top-down) scaled into the
  // destination rectangle of the client area, and presents it.
  virtual void ShowFrame(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                         int destHeight) = 0;
};

class Mci {
 public:
  virtual ~Mci() = default;
  // Runs one command string. A command that answers writes its answer, cut to fit and
  // zero-terminated, into `answer` when one is given. Returns 0 on success, else an error
  // number (the game never examines it).
  virtual std::uint32_t SendString(std::string_view command, char* answer = nullptr, std::size_t answerSize = 0) = 0;
  // Called once a frame: a playing clip shows its frame due now. Answers true once when a
  // clip played with "notify" has come to its end: the notification the window receives.
  virtual bool Poll() = 0;
};

struct MciOptions {
  // The data tree: file names in commands are relative to it.
  std::filesystem::path DataFolder;
  // Where "cdaudio" finds its tracks (TRACK02.OGG, TRACK03.WAV ...), in the data tree.
  std::string_view CdFolder = "CDAUDIO";
  // The General MIDI soundfont; empty: the first one the system has.
  std::string_view SoundFont;
  // What paces clips, MIDI positions and CD tracks; null: the wall clock. Must outlive
  // the service.
  const win::Clock* Clock = nullptr;
};

// The service over SDL2_mixer (MIDI, tracks) and the FFmpeg libraries (clips). `screen`
// may be null: clips then open and end but show nothing. Without an audio device the
// commands still answer and the music is silent.
std::unique_ptr<Mci> CreateMci(ClipScreen* screen, const MciOptions& options = {});

}  // namespace zandrel::mci
