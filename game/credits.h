// The credits text ("game.dat") and the pieces of the credits screen that do not need the
// hero: the scrolling lines and the falling particles.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "base/expected.h"
#include "base/random.h"
#include "engine/engine.h"
#include "engine/mesh.h"
#include "engine/render_view.h"
#include "world/world.h"

namespace zandrel::game {

constexpr std::size_t kMaxCreditsLines = 1001;
constexpr std::size_t kParticleCount = 1001;

// The lines of "game.dat" in the folder, still scrambled; the last line read is not one
// of them (a file of N lines gives N - 1). At most 1001 lines are kept. A missing file
// fails with "GAME: The file game.dat does not exist. Please re-install the application".
base::Expected<std::vector<std::string>> ReadCreditsText(const std::filesystem::path& folder);
// The same lines from the file's contents.
std::vector<std::string> ParseCreditsText(std::span<const std::uint8_t> file);

// Draws the lines from y = scroll down: "&" lines in the big font (0.06 apart), others
// in the small font (0.03), each centred and only while -0.03 < y < 1.07; empty lines
// take no room.
void DrawCreditsText(engine::Engine& engine, engine::RenderView& view, const std::vector<std::string>& lines,
                     float scroll);

struct Particle {
  float X = 0, Y = 0, Z = 0;
  std::int32_t Spin1 = 0, Spin2 = 0;
  std::int32_t SpinSpeed1 = 0, SpinSpeed2 = 0;
  float Life = 100;
  std::int32_t Colour = 0;
};
using Particles = std::array<Particle, kParticleCount>;

// Scatters the particles above the podium: colours 0..255, spins, x and z in -1024..1023,
// y in 4096..7167, life 100.
void StartParticles(Particles& particles, base::Random& random);

// Lets them fall to y -400, then fade and start again from 2048, and adds each as the
// bank's particle triangle in its colour.
void UpdateParticles(Particles& particles, engine::Engine& engine, engine::RenderView& view, world::World& world,
                     engine::Mesh& triangle);

}  // namespace zandrel::game
