// The hero's reaction to the controls while a level is played, and the in-game menu.
#pragma once

#include "game/game.h"

namespace zandrel::game {

// Pickups, poses, turning, walking, jumping, looking, ladders, button 3 on the target
// cell, the camera-distance keys and the menu; run when the hero's ActionTimer is out.
void HeroControls(Game& game);

// The names of the four views: 0, 512, 1024 and 1536 units behind the hero.
const char* ViewName(float view);

}  // namespace zandrel::game
