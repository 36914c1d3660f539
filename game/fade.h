// The fade between screens: the transition meshes cover the screen triangle by triangle.
#pragma once

#include <array>
#include <cstdint>

#include "base/random.h"
#include "engine/engine.h"
#include "engine/mesh.h"
#include "engine/render_view.h"
#include "game/frame_state.h"

namespace zandrel::game {

// Starts a fade: +1 fades out (to black), -1 fades in. A running fade is never restarted
// or reversed. The caller resets the frame clock afterwards.
void StartFade(FrameState& frame, base::Random& random, std::uint32_t now, std::int32_t direction);

// Advances a running fade by its 40 ms steps (at most 3 a frame); ends it below 0 or above
// 16, setting FadeDone after a fade-out.
void AdvanceFade(FrameState& frame, std::uint32_t now);

// Draws the fade at its level: the first min(level, 16) triangles of transition mesh
// FadeStyle, in front of a camera at the origin. `scratch` keeps a copy so that the
// bank's mesh is never changed.
void DrawFade(engine::Engine& engine, engine::RenderView& view, const std::array<engine::Mesh, 3>& transitions,
              const FrameState& frame, engine::Mesh& scratch);

// Shows a text at the top left for 10000 ms, replacing any notice at once.
void ShowNotice(FrameState& frame, std::string text);

}  // namespace zandrel::game
