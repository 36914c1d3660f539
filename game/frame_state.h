// The game's process-wide frame state: the screen machine, the frame clock, the fade
// transition, the notice line and the overlays.
#pragma once

#include <cstdint>
#include <string>

namespace zandrel::game {

// The screens by their codes.
enum class Screen : std::int32_t { None = -1, Title = 0, Play = 1, Network = 5, Credits = 10 };

// What the play screen does when a fade-out completes.
enum class EndAction : std::int32_t { Nothing = 0, ToTitle = 1, NextLevel = 2 };

constexpr std::int32_t kNoticeMs = 10000;
constexpr std::int32_t kFadeSteps = 16;
constexpr std::uint32_t kFadeStepMs = 40;

struct FrameState {
  bool GameReady = false;
  Screen CurrentScreen = Screen::None;
  bool ScreenEntered = false;
  std::uint32_t ScreenStartTime = 0;
  std::uint32_t LastTick = 0;
  std::int32_t FrameTime = 0;
  bool FreeRunning = false;
  bool VideoPlaying = false;
  bool ShowFps = false;
  std::string DebugText;

  std::string NoticeText;
  std::int32_t NoticeTimeLeft = 0;
  bool NoticeVisible = false;

  bool FadeActive = false;
  std::int32_t FadeLevel = 0;
  std::int32_t FadeStep = 0;
  std::int32_t FadeStyle = 0;  // which of the three transition meshes
  std::uint32_t FadeLastTick = 0;
  bool FadeDone = false;

  game::EndAction EndAction = game::EndAction::Nothing;
};

}  // namespace zandrel::game
