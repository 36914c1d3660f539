// The frame procedures of the screens and the keys that work on every screen.
#pragma once

#include <string>

#include "game/game.h"

namespace zandrel::game {

void TitleFrame(Game& game);
void CreditsFrame(Game& game);
void PlayFrame(Game& game);

// F9 frame counter, F7 music, F1 help, F4 resolution, F5 texture detail.
void OptionKeys(Game& game);

// The local hero dies: the dead pose for 2000 ms, then a life less and the level again;
// on the last life a fade back to the title.
void KillHero(Game& game);

// The local hero's box overlaps a sentry's.
bool HeroTouchesSentry(Game& game);

// Loads a level and enters play: fade-in, play screen, sounds stopped, level title shown.
void StartLevel(Game& game, const std::string& fileName);

// Plays one level file on its own, with three lives: it becomes the whole level list, so a
// death restarts it and its exit leaves the play screen. A file that is not a readable
// level fails with the reader's message and changes nothing.
base::Status StartOnlyLevel(Game& game, const std::string& fileName);

// The help text of F1, each carriage return a line break.
extern const char* const kHelpText;

}  // namespace zandrel::game
