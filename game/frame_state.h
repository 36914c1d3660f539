// The game's process-wide frame state: the screen machine, the frame clock, the fade
// transition, the notice line and the overlays.
#pragma once

#include <cstdint>
#include <string>

namespace zandrel::game {

enum Screen : std::int32_t {
  kNoScreen = -1,
  kScreenTitle = 0,
  kScreenPlay = 1,
  kScreenNetwork = 5,
  kScreenCredits = 10,
};

// What the play screen does when a fade-out completes.
enum EndAction : std::int32_t { kEndNothing = 0, kEndToTitle = 1, kEndNextLevel = 2 };

constexpr std::int32_t kNoticeMs = 10000;
constexpr std::int32_t kFadeSteps = 16;
constexpr std::uint32_t kFadeStepMs = 40;

struct FrameState {
  bool GameReady = false;
  std::int32_t CurrentScreen = kNoScreen;
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

  std::int32_t EndAction = kEndNothing;
};

}  // namespace zandrel::game
