#include "game/headless.h"

#include <charconv>
#include <map>
#include <sstream>

namespace zandrel::game {
namespace {

const std::map<std::string, std::size_t, std::less<>>& ControlNames() {
  static const std::map<std::string, std::size_t, std::less<>> names{
      {"up", kUp},        {"down", kDown},       {"left", kLeft},     {"right", kRight},
      {"jump", kButton1}, {"look", kButton2},    {"action", kButton3}, {"menu", kButton4}};
  return names;
}

const std::map<std::string, int, std::less<>>& KeyNames() {
  static const std::map<std::string, int, std::less<>> names{{"kp_plus", kKeyPadPlus}, {"kp_minus", kKeyPadMinus},
                                                             {"f1", kKeyF1},           {"f4", kKeyF4},
                                                             {"f5", kKeyF5},           {"f7", kKeyF7},
                                                             {"f9", kKeyF9}};
  return names;
}

template <class T>
bool Number(std::string_view text, T& value) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

win::Expected<std::vector<ScriptLine>> ParseInputScript(std::string_view text) {
  std::vector<ScriptLine> script;
  std::istringstream in{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string from, to, controls, extra;
    if (!(words >> from)) continue;
    const auto fail = [&](const std::string& what) {
      return win::Failure{"input script line " + std::to_string(number) + ": " + what};
    };
    ScriptLine entry;
    if (!(words >> to >> controls) || (words >> extra)) return fail("expected FROM TO CONTROL[+CONTROL...]");
    if (!Number(from, entry.From) || !Number(to, entry.To) || entry.From < 0 || entry.To < entry.From) {
      return fail("frames must be 0 <= FROM <= TO");
    }
    std::size_t pos = 0;
    while (pos <= controls.size()) {
      std::size_t end = controls.find('+', pos);
      if (end == std::string::npos) end = controls.size();
      const std::string_view name(controls.data() + pos, end - pos);
      if (const auto c = ControlNames().find(name); c != ControlNames().end()) {
        entry.Controls[c->second] = true;
      } else if (const auto k = KeyNames().find(name); k != KeyNames().end()) {
        entry.Keys.push_back(k->second);
      } else {
        return fail("unknown control '" + std::string(name) + "'");
      }
      pos = end + 1;
    }
    script.push_back(std::move(entry));
  }
  return script;
}

void ScriptedControls::ReadControls(ControlFlags& flags) {
  flags = {};
  for (const ScriptLine& line : script_) {
    if (frame_ < line.From || frame_ > line.To) continue;
    for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = flags[i] || line.Controls[i];
  }
}

bool ScriptedControls::KeyDown(int virtualKey) {
  for (const ScriptLine& line : script_) {
    if (frame_ < line.From || frame_ > line.To) continue;
    for (int key : line.Keys) {
      if (key == virtualKey) return true;
    }
  }
  return false;
}

win::Expected<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args) {
  HeadlessOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) return win::Failure{"missing value after " + name};
    const std::string& value = args[++i];
    const auto bad = [&] { return win::Failure{"bad value for " + name + ": " + value}; };
    if (name == "--level") {
      options.Level = value;
    } else if (name == "--level-index") {
      std::int32_t index = 0;
      if (!Number(value, index) || index < 0) return bad();
      options.LevelIndex = index;
    } else if (name == "--frames") {
      if (!Number(value, options.Frames) || options.Frames < 0) return bad();
    } else if (name == "--frame-ms") {
      if (!Number(value, options.FrameMs) || options.FrameMs < 1 || options.FrameMs > 1000) return bad();
    } else if (name == "--input") {
      options.Input = value;
    } else if (name == "--lives") {
      if (!Number(value, options.Lives) || options.Lives < 0 || options.Lives > 99) return bad();
    } else if (name == "--json") {
      options.Json = value;
    } else if (name == "--data") {
      options.Data = value;
    } else if (name == "--cells") {
      std::array<std::int32_t, 6> box{};
      std::istringstream in(value);
      char sep = 0;
      for (std::size_t k = 0; k < 6; ++k) {
        if (k > 0 && (!(in >> sep) || sep != (k == 3 ? ':' : ','))) return bad();
        if (!(in >> box[k])) return bad();
      }
      if (!in.eof() && in.peek() != EOF) return bad();
      options.Cells = box;
    } else {
      return win::Failure{"unknown option " + name};
    }
  }
  if (options.Level.empty() == !options.LevelIndex.has_value()) {
    return win::Failure{"give exactly one of --level FILE.lev and --level-index N"};
  }
  return options;
}

}  // namespace zandrel::game
