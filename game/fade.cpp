#include "game/fade.h"

#include <algorithm>

#include "engine/mesh_file.h"
#include "engine/scene.h"

namespace zandrel::game {

void StartFade(FrameState& frame, base::Random& random, std::uint32_t now, std::int32_t direction) {
  if (frame.FadeActive) return;
  frame.FadeActive = true;
  frame.FadeLevel = direction < 0 ? kFadeSteps : 0;
  frame.FadeStep = direction;
  frame.FadeStyle = random.Next(3);
  frame.FadeDone = false;
  frame.FadeLastTick = now;
}

void AdvanceFade(FrameState& frame, std::uint32_t now) {
  if (!frame.FadeActive) return;
  if (now - frame.FadeLastTick > kFadeStepMs) {
    const std::int32_t steps =
        static_cast<std::int32_t>(std::min<std::uint32_t>((now - frame.FadeLastTick) / kFadeStepMs, 3));
    frame.FadeLevel += frame.FadeStep * steps;
    frame.FadeLastTick = now;
  }
  if (frame.FadeLevel < 0 || frame.FadeLevel > kFadeSteps) frame.FadeActive = false;
  if (frame.FadeLevel > kFadeSteps) frame.FadeDone = true;
}

void DrawFade(engine::Engine& engine, engine::RenderView& view, const std::array<engine::Mesh, 3>& transitions,
              const FrameState& frame, engine::Mesh& scratch) {
  if (frame.FadeLevel <= 0) return;
  const engine::Mesh& mesh = transitions[static_cast<std::size_t>(std::clamp(frame.FadeStyle, 0, 2))];
  if (mesh.Empty()) return;
  // Only the first min(level, 16) triangles: the copy keeps its arrays between frames.
  engine::CopyMesh(mesh, scratch);
  scratch.Faces.resize(
      std::min<std::size_t>(static_cast<std::size_t>(std::min(frame.FadeLevel, kFadeSteps)), scratch.FaceCount()));
  engine::BeginScene(engine, view, 0, 0, 0, 0, 0, 0);
  engine::AddLight(view, 0, 0, 0, 10000);
  engine::AddMesh(engine, view, scratch, 0, 0, 170, 0, 0, 0, 0);
  engine::EndScene(engine, view);
}

void ShowNotice(FrameState& frame, std::string text) {
  frame.NoticeVisible = true;
  frame.NoticeText = std::move(text);
  frame.NoticeTimeLeft = kNoticeMs;
}

}  // namespace zandrel::game
