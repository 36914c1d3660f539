#include "tools/level/level_commands.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "platform/win/ansi.h"
#include "platform/win/files.h"
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
    "\n"
    "Exit status: 0 success, 1 check failed, 2 bad usage or unreadable input.\n";

constexpr std::size_t kMaxTextSource = 64u << 20;

int Fail(std::ostream& err, const std::string& message) {
  err << "zandrel-level: " << message << "\n";
  return kBadInput;
}

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
  win::Expected<world::LevelMap> map = world::LoadLevelFile(file);
  if (!map) return Fail(err, map.error());
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(win::ResolvePath(file), ec);
  // Non-finite sentry coordinates have no JSON form; they are written as null.
  out << Info(*map, ec ? 0 : size).dump(-1, ' ', false, ordered_json::error_handler_t::replace) << "\n";
  return kSuccess;
}

int DumpCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  win::Expected<world::LevelMap> map = world::LoadLevelFile(file);
  if (!map) return Fail(err, map.error());
  out << world::DumpLevelText(*map);
  return kSuccess;
}

int BuildCommand(const std::string& source, const std::string& target, std::ostream& err) {
  const std::optional<std::vector<std::uint8_t>> bytes = win::ReadWholeFile(win::ResolvePath(source), kMaxTextSource);
  if (!bytes) return Fail(err, "cannot read " + source);
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  win::Expected<world::LevelMap> map = world::ParseLevelText(text);
  if (!map) return Fail(err, source + ": " + map.error());
  if (win::Status written = world::WriteLevel(*map, target); !written) return Fail(err, written.error());
  return kSuccess;
}

}  // namespace

int RunLevelTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    out << kUsage;
    return kSuccess;
  }
  const std::string command = args.empty() ? "" : args[0];
  if (command == "info" && args.size() == 2) return InfoCommand(args[1], out, err);
  if (command == "dump" && args.size() == 2) return DumpCommand(args[1], out, err);
  if (command == "build" && args.size() == 3) return BuildCommand(args[1], args[2], err);
  err << kUsage;
  return kBadInput;
}

}  // namespace zandrel::tools
