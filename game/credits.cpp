#include "game/credits.h"

#include <algorithm>
#include <cmath>

#include "engine/overlay.h"
#include "engine/scene.h"
#include "platform/win/files.h"
#include "world/level_list.h"

namespace zandrel::game {

base::Expected<std::vector<std::string>> ReadCreditsText(const std::filesystem::path& folder) {
  const std::filesystem::path path = win::ResolvePath("game.dat", folder);
  const std::optional<std::vector<std::uint8_t>> bytes =
      win::FileExists("game.dat", folder) ? win::ReadWholeFile(path, 1u << 20) : std::nullopt;
  if (!bytes) return base::Failure{"GAME: The file game.dat does not exist. Please re-install the application"};
  return ParseCreditsText(*bytes);
}

std::vector<std::string> ParseCreditsText(std::span<const std::uint8_t> file) {
  std::vector<std::string> lines =
      win::SplitLines(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
  if (!lines.empty()) lines.pop_back();  // the last line read is not shown
  if (lines.size() > kMaxCreditsLines) lines.resize(kMaxCreditsLines);
  return lines;
}

void DrawCreditsText(engine::Engine& engine, engine::RenderView& view, const std::vector<std::string>& lines,
                     float scroll) {
  float y = scroll;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const std::string text = world::Scramble(line);
    const bool big = !text.empty() && text[0] == '&';
    const std::string shown = text.substr(1);
    if (y > -0.03f && y < 1.07f)
      engine::DrawText(engine, view, shown, big, y, 0.5f - engine::TextWidth(shown, big) / 2);
    y += big ? 0.06f : 0.03f;
  }
}

void StartParticles(Particles& particles, base::Random& random) {
  for (Particle& p : particles) {
    p.Colour = random.Next(256);
    p.Spin1 = random.Next(32767);
    p.Spin2 = random.Next(32767);
    p.SpinSpeed1 = random.Next(1200);
    p.SpinSpeed2 = random.Next(1200);
    p.X = static_cast<float>(random.Next(2048) - 1024);
    p.Z = static_cast<float>(random.Next(2048) - 1024);
    p.Y = static_cast<float>(random.Next(3072) + 4096);
    p.Life = 100;
  }
}

void UpdateParticles(Particles& particles, engine::Engine& engine, engine::RenderView& view, world::World& world,
                     engine::Mesh& triangle) {
  if (triangle.Empty()) return;
  for (Particle& p : particles) {
    if (p.Y != -400) {
      p.Y = std::max(p.Y - world::TimeScaled(world, 20), -400.0f);
      p.Spin1 += static_cast<std::int32_t>(world::TimeScaled(world, static_cast<float>(p.SpinSpeed1)));
      p.Spin2 += static_cast<std::int32_t>(world::TimeScaled(world, static_cast<float>(p.SpinSpeed2)));
      p.Colour = world.Random.Next(256);
    } else {
      p.Life -= world::TimeScaled(world, 5);
      p.Colour = static_cast<std::int32_t>(
          std::lround(static_cast<float>(p.Colour) - world::TimeScaled(world, static_cast<float>(p.Colour) * 0.05f)));
      if (p.Life < 0) {
        p.Life = 100;
        p.Y = 2048;
      }
    }
    for (engine::MeshFace& face : triangle.Faces)
      face.Texture = static_cast<std::uint16_t>(std::clamp(p.Colour, 0, 255));
    engine::AddMesh(engine, view, triangle, static_cast<std::int32_t>(p.X), static_cast<std::int32_t>(p.Y),
                    static_cast<std::int32_t>(p.Z), p.Spin1, p.Spin2, 0, 0);
  }
}

}  // namespace zandrel::game
