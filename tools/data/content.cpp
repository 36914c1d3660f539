#include "tools/data/content.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/files.h"
#include "world/level_file.h"
#include "world/level_list.h"
#include "world/level_text.h"

namespace zandrel::data {
namespace {

constexpr std::size_t kMaxSource = 16u << 20;

base::Expected<std::string> ReadText(const std::filesystem::path& path) {
  std::optional<std::vector<std::uint8_t>> bytes = win::ReadWholeFile(path, kMaxSource);
  if (!bytes) return base::Failure{"cannot read " + path.string()};
  return std::string(bytes->begin(), bytes->end());
}

}  // namespace

base::Status AddTextSources(const std::filesystem::path& content, DataTree& tree) {
  struct Source {
    const char* from;
    const char* to;
  };
  for (const Source& s : {Source{"Standard.bnk", "Standard.bnk"}, Source{"TEXTURES.LST", "TEXTURES/TEXTURES.LST"}}) {
    base::Expected<std::string> text = ReadText(content / s.from);
    if (!text) return base::Failure{text.error()};
    tree.Add(s.to, *text);
  }
  return {};
}

base::Status AddLevels(const std::filesystem::path& content, DataTree& tree) {
  std::vector<std::filesystem::path> sources;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(content / "levels", ec)) {
    if (entry.path().extension() == ".txt") sources.push_back(entry.path());
  }
  if (ec) return base::Failure{"cannot list " + (content / "levels").string()};
  std::sort(sources.begin(), sources.end());
  for (const std::filesystem::path& source : sources) {
    base::Expected<std::string> text = ReadText(source);
    if (!text) return base::Failure{text.error()};
    base::Expected<world::LevelMap> level = world::ParseLevelText(*text);
    if (!level) return base::Failure{source.string() + ": " + level.error()};
    tree.Add("LEVEL/" + source.stem().string() + ".lev", world::SerializeLevel(*level));
  }
  return {};
}

base::Status AddCredits(const std::filesystem::path& content, DataTree& tree) {
  base::Expected<std::string> text = ReadText(content / "credits.txt");
  if (!text) return base::Failure{text.error()};
  std::string out;
  const std::vector<std::string> lines = win::SplitLines(*text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // The first character marks the font and is not shown: "&" big, a space small.
    if (!lines[i].empty() && lines[i][0] != '&' && lines[i][0] != ' ') {
      return base::Failure{"credits.txt line " + std::to_string(i + 1) +
                           " does not start with its font mark (\"&\" big, a space small)"};
    }
    const std::string scrambled = world::Scramble(lines[i]);
    // A scrambled line must still read back as one line.
    if (scrambled.find_first_of("\r\n") != std::string::npos) {
      return base::Failure{"credits.txt line " + std::to_string(i + 1) + " scrambles into a line break; reword it"};
    }
    out += scrambled + "\r\n";
  }
  // The reader does not show the last line it reads.
  out += "\r\n";
  tree.Add("game.dat", out);
  return {};
}

}  // namespace zandrel::data
