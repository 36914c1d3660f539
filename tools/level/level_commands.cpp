#include "tools/level/level_commands.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "platform/win/ansi.h"
#include "platform/win/files.h"
#include "tools/level/bank_session.h"
#include "world/level_check.h"
#include "tools/level/level_render.h"
#include "world/level_file.h"
#include "world/level_text.h"

namespace zandrel::tools {
namespace {

using nlohmann::ordered_json;

constexpr const char* kUsage =
    "Usage: zandrel-level COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  info FILE.lev            print the level's header, counts and tables as one JSON object\n"
    "  dump FILE.lev            print the level as text\n"
    "  build SRC.txt OUT.lev    write the level described by a text file\n"
    "  check FILE.lev [--data DIR]\n"
    "                           report what would make the level unplayable (exit 1 if anything)\n"
    "  render FILE.lev OUT.png [--data DIR] [--size WxH] [--camera x,y,z,yaw,pitch]\n"
    "                           draw the level with the software back end (default camera:\n"
    "                           behind the start point)\n"
    "\n"
    "Exit status: 0 success, 1 check failed, 2 bad usage or unreadable input.\n";

constexpr std::size_t kMaxTextSource = 64u << 20;

ordered_json Info(const world::LevelMap& map, std::uintmax_t fileSize) {
  ordered_json info;
  info["bank"] = win::AnsiToUtf8(map.BankName);
  info["size"] = {map.SizeX(), map.SizeY(), map.SizeZ()};
  info["start"] = {map.StartX, map.StartY, map.StartZ};
  info["start_heading"] = map.StartHeading;
  info["exit"] = {map.ExitX, map.ExitY, map.ExitZ};
  info["name"] = win::AnsiToUtf8(map.LevelName);
  info["author"] = win::AnsiToUtf8(map.Author);
  info["outside"] = map.Outside != 0;
  info["sentry_count"] = map.SentryCount;
  info["seed"] = map.RandomSeed;
  ordered_json sentries = ordered_json::array();
  for (std::int32_t i = 0; i < map.SentryCount; ++i) {
    const world::Sentry& s = map.Sentries[static_cast<std::size_t>(i)];
    sentries.push_back({s.X, s.Y, s.Z, s.Heading});
  }
  info["sentries"] = std::move(sentries);
  ordered_json music = ordered_json::array();
  for (const world::MusicCell& cell : map.MusicCells) {
    if (cell.Used()) music.push_back({cell.X, cell.Y, cell.Z, cell.Music});
  }
  info["music_cells"] = std::move(music);
  std::map<int, std::size_t> counts;
  for (std::uint8_t code : map.ObjectGrid()) ++counts[code];
  ordered_json objects = ordered_json::object();
  for (const auto& [code, count] : counts) objects[std::to_string(code)] = count;
  info["objects"] = std::move(objects);
  info["file_size"] = fileSize;
  return info;
}

int InfoCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  base::Expected<world::LevelMap> map = world::LoadLevelFile(file, {});
  if (!map) return Fail(err, map.error());
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(win::ResolvePath(file), ec);
  // Non-finite sentry coordinates have no JSON form; they are written as null.
  out << Info(*map, ec ? 0 : size).dump(-1, ' ', false, ordered_json::error_handler_t::replace) << "\n";
  return kSuccess;
}

int DumpCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  base::Expected<world::LevelMap> map = world::LoadLevelFile(file, {});
  if (!map) return Fail(err, map.error());
  out << world::DumpLevelText(*map);
  return kSuccess;
}

int BuildCommand(const std::string& source, const std::string& target, std::ostream& err) {
  const std::optional<std::vector<std::uint8_t>> bytes = win::ReadWholeFile(win::ResolvePath(source), kMaxTextSource);
  if (!bytes) return Fail(err, "cannot read " + source);
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  base::Expected<world::LevelMap> map = world::ParseLevelText(text);
  if (!map) return Fail(err, source + ": " + map.error());
  if (base::Status written = world::WriteLevel(*map, target, {}); !written) return Fail(err, written.error());
  return kSuccess;
}

// Options after the positional arguments: --data DIR, --size WxH, --camera x,y,z,yaw,pitch.
bool ParseOptions(const std::vector<std::string>& args, std::size_t from, RenderOptions& options) {
  for (std::size_t i = from; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return false;
    const std::string& value = args[i + 1];
    if (args[i] == "--data") {
      options.Data = value;
    } else if (args[i] == "--size") {
      char x = 0;
      std::istringstream in(value);
      if (!(in >> options.Width >> x >> options.Height) || x != 'x' || !in.eof() || options.Width < 1 ||
          options.Height < 1 || options.Width > 8192 || options.Height > 8192) {
        return false;
      }
    } else if (args[i] == "--camera") {
      std::array<std::int32_t, 5> camera{};
      std::istringstream in(value);
      for (std::size_t k = 0; k < camera.size(); ++k) {
        char comma = ',';
        if (k > 0 && !(in >> comma)) return false;
        if (comma != ',' || !(in >> camera[k])) return false;
      }
      if (!in.eof()) return false;
      options.Camera = camera;
    } else {
      return false;
    }
  }
  return true;
}

int CheckCommand(const std::string& file, const RenderOptions& options, std::ostream& out, std::ostream& err) {
  base::Expected<world::LevelMap> map = world::LoadLevelFile(file, {});
  if (!map) return Fail(err, map.error());
  BankSession session;
  if (base::Status loaded = session.LoadTypes(map->BankName, options.Data); !loaded) {
    return Fail(err, loaded.error());
  }
  const std::vector<std::string> problems = world::CheckLevel(*map, session.World().Types);
  for (const std::string& problem : problems) out << file << ": " << problem << "\n";
  if (problems.empty()) out << file << ": playable\n";
  return problems.empty() ? kSuccess : kCheckFailed;
}

}  // namespace

int Fail(std::ostream& err, const std::string& message) {
  err << "zandrel-level: " << message << "\n";
  return kBadInput;
}

int RunLevelTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    out << kUsage;
    return kSuccess;
  }
  const std::string command = args.empty() ? "" : args[0];
  RenderOptions options;
  if (command == "info" && args.size() == 2) return InfoCommand(args[1], out, err);
  if (command == "dump" && args.size() == 2) return DumpCommand(args[1], out, err);
  if (command == "build" && args.size() == 3) return BuildCommand(args[1], args[2], err);
  if (command == "check" && args.size() >= 2 && ParseOptions(args, 2, options) && !options.Camera &&
      options.Width == 640 && options.Height == 480) {
    return CheckCommand(args[1], options, out, err);
  }
  if (command == "render" && args.size() >= 3 && ParseOptions(args, 3, options)) {
    return RenderLevel(args[1], args[2], options, err);
  }
  err << kUsage;
  return kBadInput;
}

}  // namespace zandrel::tools
