// The heads-up display of the play screen: the bottom bar and the radar.
#pragma once

#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "engine/render_view.h"
#include "world/world.h"

namespace zandrel::game {

// A line of text centred across the screen at height y.
void DrawCentred(engine::Engine& engine, engine::RenderView& view, const std::string& text, bool big, float y);

// Decimal digits left-padded with "0" to the width; a longer number is not cut.
std::string FormatNumber(std::int64_t number, int width);

// The bar, the time limit (blinking in its last 20 seconds), the ingots of type 20, the
// lives and the level counter.
void DrawBottomBar(engine::Engine& engine, engine::RenderView& view, const world::World& world,
                   std::int32_t levelCount);

// Whether the time-limit tick sound is due: in the last 11 seconds, once for each new
// second (LastSecondTicked keeps the second last ticked).
bool TimeLimitTickDue(world::World& world);

// The radar of the sentries within 4096 units of the local hero, turning with him.
void DrawRadar(engine::Engine& engine, engine::RenderView& view, const world::World& world);

}  // namespace zandrel::game
