#include "world/level_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

#include "platform/win/ansi.h"

namespace zandrel::world {
namespace {

constexpr std::size_t kMaxText = 255;

// Characters the dump gives to codes, after '.' for 0 and '#' for 1.
constexpr std::string_view kLegendChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
    "+*=%&@$!?<>^~-_/|:()[]{}'\"`,";

const char* kHexDigits = "0123456789ABCDEF";

// ---- writing ----

// A text field as UTF-8 with escapes for what would not survive a line of text.
std::string EscapeText(const std::string& ansi) {
  std::string out;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto c = static_cast<unsigned char>(ansi[i]);
    const bool edgeBlank = c == ' ' && (i == 0 || i + 1 == ansi.size());
    const bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F || undefined || edgeBlank) {
      out += "\\x";
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 15];
    } else {
      out += win::AnsiToUtf8(std::string_view(&ansi[i], 1));
    }
  }
  return out;
}

std::string FloatText(float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
  return buffer;
}

std::uint8_t MostCommon(std::span<const std::uint8_t> bytes) {
  std::array<std::size_t, 256> counts{};
  for (std::uint8_t b : bytes) ++counts[b];
  return static_cast<std::uint8_t>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

}  // namespace

std::string DumpLevelText(const LevelMap& map) {
  std::ostringstream out;
  out << "zandrel-level: 1\n";
  out << "bank: " << EscapeText(map.BankName) << "\n";
  out << "name: " << EscapeText(map.LevelName) << "\n";
  out << "author: " << EscapeText(map.Author) << "\n";
  out << "size: " << map.SizeX() << ' ' << map.SizeY() << ' ' << map.SizeZ() << "\n";
  out << "start: " << map.StartX << ' ' << map.StartY << ' ' << map.StartZ << "\n";
  out << "start_heading: " << map.StartHeading << "\n";
  out << "exit: " << map.ExitX << ' ' << map.ExitY << ' ' << map.ExitZ << "\n";
  out << "outside: "
      << (map.Outside == 0   ? std::string("no")
          : map.Outside == 1 ? std::string("yes")
                             : std::to_string(map.Outside))
      << "\n";
  out << "seed: " << map.RandomSeed << "\n";
  for (std::int32_t i = 0; i < map.SentryCount; ++i) {
    const Sentry& s = map.Sentries[static_cast<std::size_t>(i)];
    out << "sentry: " << FloatText(s.X) << ' ' << FloatText(s.Y) << ' ' << FloatText(s.Z) << ' ' << FloatText(s.Heading)
        << "\n";
  }
  std::size_t nextSlot = 0;
  for (std::size_t slot = 0; slot < map.MusicCells.size(); ++slot) {
    const MusicCell& m = map.MusicCells[slot];
    if (m == MusicCell{}) continue;
    out << "music";
    if (slot != nextSlot) out << ' ' << slot;
    out << ": " << m.X << ' ' << m.Y << ' ' << m.Z << ' ' << m.Music << "\n";
    nextSlot = slot + 1;
  }

  const std::span<const std::uint8_t> lights = map.LightGrid();
  const std::uint8_t defaultLight = map.CellCount() == 0 ? kNeutralLight : MostCommon(lights);
  out << "light: " << int{defaultLight} << "\n";
  for (std::int32_t z = 0; z < map.SizeZ(); ++z) {
    for (std::int32_t y = 0; y < map.SizeY(); ++y) {
      for (std::int32_t x = 0; x < map.SizeX(); ++x) {
        const std::uint8_t light = map.GetLight(x, y, z);
        if (light != defaultLight) out << "light: " << x << ' ' << y << ' ' << z << ' ' << int{light} << "\n";
      }
    }
  }

  // The legend: '.' and '#' for the two commonest codes of any level, then the rest.
  std::array<bool, 256> present{};
  for (std::uint8_t code : map.ObjectGrid()) present[code] = true;
  const std::size_t distinct = static_cast<std::size_t>(std::count(present.begin(), present.end(), true));
  const bool hex = distinct > kLegendChars.size() + 2;
  std::array<char, 256> symbol{};
  if (hex) {
    out << "cells: hex\n";
  } else {
    std::size_t next = 0;
    for (int code = 0; code < 256; ++code) {
      if (!present[static_cast<std::size_t>(code)]) continue;
      const char c = code == 0 ? '.' : code == 1 ? '#' : kLegendChars[next++];
      symbol[static_cast<std::size_t>(code)] = c;
      out << "cell " << c << " = " << code << "\n";
    }
  }
  for (std::int32_t y = 0; y < map.SizeY(); ++y) {
    out << "layer " << y << "\n";
    for (std::int32_t z = 0; z < map.SizeZ(); ++z) {
      std::string row;
      for (std::int32_t x = 0; x < map.SizeX(); ++x) {
        const std::uint8_t code = map.GetCell(x, y, z);
        if (hex) {
          row += kHexDigits[code >> 4];
          row += kHexDigits[code & 15];
        } else {
          row += symbol[code];
        }
      }
      out << row << "\n";
    }
  }
  return out.str();
}

namespace {

// ---- reading ----

struct Line {
  std::size_t number;
  std::string_view text;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

template <class T>
bool ParseNumber(std::string_view word, T& value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return !word.empty() && ec == std::errc() && ptr == end;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Two hex digits as a byte; -1 when they are not.
int HexByte(std::string_view two) {
  if (two.size() != 2 || HexValue(two[0]) < 0 || HexValue(two[1]) < 0) return -1;
  return HexValue(two[0]) * 16 + HexValue(two[1]);
}

class TextParser {
 public:
  explicit TextParser(std::string_view text) {
    std::size_t number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back({++number, line});
      pos = end + 1;
    }
  }

  base::Expected<LevelMap> Parse();

 private:
  using Problem = std::optional<base::Failure>;

  static base::Failure Error(std::size_t line, const std::string& message) {
    return base::Failure{"line " + std::to_string(line) + ": " + message};
  }
  Problem Field(const Line& line, std::string_view key, std::string_view value);
  Problem Legend(const Line& line);
  Problem Layer(std::size_t& index);
  Problem Finish();
  Problem Numbers(const Line& line, std::string_view value, std::span<std::int32_t> out);
  Problem Text(const Line& line, std::string_view value, std::string& out);

  struct Light {
    std::size_t line;
    std::array<std::int32_t, 4> xyzv;
  };
  struct Row {
    std::size_t line;
    std::string_view text;
  };
  // The object code of cell x of a row; -1 when the row does not give one.
  int CellCode(const Row& row, std::int32_t x) const;

  std::vector<Line> lines_;
  LevelMap map_;
  std::vector<std::string> seen_;
  std::array<std::int32_t, 3> size_{};
  bool haveSize_ = false;
  std::int32_t defaultLight_ = kNeutralLight;
  std::vector<Light> lights_;
  std::array<std::int16_t, 256> legend_ = [] {
    std::array<std::int16_t, 256> none{};
    none.fill(-1);
    return none;
  }();
  bool hex_ = false;
  std::size_t musicSlot_ = 0;
  // The rows of each y whose block has been read: as many as the text holds, whatever the
  // size line claims.
  std::map<std::int32_t, std::vector<Row>> layers_;
};

TextParser::Problem TextParser::Numbers(const Line& line, std::string_view value, std::span<std::int32_t> out) {
  const std::vector<std::string_view> words = Words(value);
  if (words.size() != out.size()) {
    return Error(line.number, "expected " + std::to_string(out.size()) + " whole number(s)");
  }
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!ParseNumber(words[i], out[i]))
      return Error(line.number, "not a 32-bit whole number: " + std::string(words[i]));
  }
  return std::nullopt;
}

TextParser::Problem TextParser::Text(const Line& line, std::string_view value, std::string& out) {
  out.clear();
  std::size_t i = 0;
  while (i < value.size()) {
    if (value[i] == '\\') {
      if (value.substr(i, 2) == "\\\\") {
        out += '\\';
        i += 2;
        continue;
      }
      const int byte = value.substr(i + 1, 1) == "x" ? HexByte(value.substr(i + 2, 2)) : -1;
      if (byte < 0) return Error(line.number, "a backslash must start \\\\ or \\xHH");
      out += static_cast<char>(byte);
      i += 4;
      continue;
    }
    std::size_t end = value.find('\\', i);
    if (end == std::string_view::npos) end = value.size();
    const std::optional<std::string> ansi = win::Utf8ToAnsi(value.substr(i, end - i));
    if (!ansi) return Error(line.number, "text is not UTF-8 made of Windows-1252 characters");
    out += *ansi;
    i = end;
  }
  if (out.size() > kMaxText) return Error(line.number, "text longer than 255 bytes");
  return std::nullopt;
}

TextParser::Problem TextParser::Field(const Line& line, std::string_view key, std::string_view value) {
  const std::vector<std::string_view> keyWords = Words(key);
  if (keyWords.empty()) return Error(line.number, "missing key before ':'");
  const std::string name(keyWords[0]);
  const bool repeatable = name == "sentry" || name == "music" || name == "light";
  if (keyWords.size() > 1 && name != "music") return Error(line.number, "unexpected words in key: " + std::string(key));
  if (!repeatable) {
    if (std::find(seen_.begin(), seen_.end(), name) != seen_.end())
      return Error(line.number, "'" + name + "' given twice");
    seen_.push_back(name);
  }
  const std::string_view v = Trim(value);
  if (name == "zandrel-level") {
    if (v != "1") return Error(line.number, "unknown format version " + std::string(v));
    return std::nullopt;
  }
  if (name == "bank") return Text(line, v, map_.BankName);
  if (name == "name") return Text(line, v, map_.LevelName);
  if (name == "author") return Text(line, v, map_.Author);
  if (name == "size") {
    if (Problem p = Numbers(line, v, size_)) return p;
    if (LevelMap::CellCountFor(size_[0], size_[1], size_[2]) == 0) {
      return Error(line.number,
                   "sizes must be at least 1 and hold at most " + std::to_string(LevelMap::kMaxCells) + " cells");
    }
    haveSize_ = true;
    return std::nullopt;
  }
  if (name == "start" || name == "exit") {
    std::array<std::int32_t, 3> xyz{};
    if (Problem p = Numbers(line, v, xyz)) return p;
    std::tie(name == "start" ? map_.StartX : map_.ExitX, name == "start" ? map_.StartY : map_.ExitY,
             name == "start" ? map_.StartZ : map_.ExitZ) = std::tuple(xyz[0], xyz[1], xyz[2]);
    return std::nullopt;
  }
  if (name == "start_heading") return Numbers(line, v, std::span(&map_.StartHeading, 1));
  if (name == "seed") return Numbers(line, v, std::span(&map_.RandomSeed, 1));
  if (name == "outside") {
    std::int32_t byte = 0;
    if (v == "yes")
      byte = 1;
    else if (v != "no" && (!ParseNumber(v, byte) || byte < 0 || byte > 255)) {
      return Error(line.number, "outside must be yes, no or a byte");
    }
    map_.Outside = static_cast<std::uint8_t>(byte);
    return std::nullopt;
  }
  if (name == "cells") {
    if (v != "hex") return Error(line.number, "cells must be 'hex'");
    hex_ = true;
    return std::nullopt;
  }
  if (name == "light") {
    Light light{line.number, {}};
    if (Words(v).size() == 1) {
      if (Problem p = Numbers(line, v, std::span(&defaultLight_, 1))) return p;
      if (defaultLight_ < 0 || defaultLight_ > 255) return Error(line.number, "light must be 0..255");
      return std::nullopt;
    }
    if (Problem p = Numbers(line, v, light.xyzv)) return p;
    if (light.xyzv[3] < 0 || light.xyzv[3] > 255) return Error(line.number, "light must be 0..255");
    lights_.push_back(light);
    return std::nullopt;
  }
  if (name == "sentry") {
    const std::vector<std::string_view> words = Words(v);
    if (map_.SentryCount >= kMaxSentries) return Error(line.number, "more than 255 sentries");
    Sentry& sentry = map_.Sentries[static_cast<std::size_t>(map_.SentryCount)];
    float* fields[] = {&sentry.X, &sentry.Y, &sentry.Z, &sentry.Heading};
    if (words.size() != 4) return Error(line.number, "a sentry is x y z heading");
    for (std::size_t i = 0; i < 4; ++i) {
      // strtof reads every form %.9g writes, including inf and nan.
      const std::string word(words[i]);
      char* end = nullptr;
      *fields[i] = std::strtof(word.c_str(), &end);
      if (end != word.c_str() + word.size()) return Error(line.number, "not a number: " + word);
    }
    ++map_.SentryCount;
    return std::nullopt;
  }
  if (name == "music") {
    std::size_t slot = musicSlot_;
    if (keyWords.size() == 2 && (!ParseNumber(keyWords[1], slot) || slot >= kMusicCellCount)) {
      return Error(line.number, "music slot must be 0..255");
    }
    if (keyWords.size() > 2) return Error(line.number, "unexpected words in key: " + std::string(key));
    if (slot >= kMusicCellCount) return Error(line.number, "more than 256 music cells");
    std::array<std::int32_t, 4> xyzm{};
    if (Problem p = Numbers(line, v, xyzm)) return p;
    map_.MusicCells[slot] = MusicCell{xyzm[0], xyzm[1], xyzm[2], xyzm[3]};
    musicSlot_ = slot + 1;
    return std::nullopt;
  }
  return Error(line.number, "unknown key '" + name + "'");
}

TextParser::Problem TextParser::Legend(const Line& line) {
  // "cell C = CODE"
  const std::vector<std::string_view> words = Words(line.text);
  std::int32_t code = 0;
  if (words.size() != 4 || words[1].size() != 1 || words[2] != "=" || !ParseNumber(words[3], code)) {
    return Error(line.number, "a legend line is 'cell C = CODE'");
  }
  if (code < 0 || code > 255) return Error(line.number, "object codes are 0..255");
  const auto c = static_cast<unsigned char>(words[1][0]);
  if (legend_[c] >= 0) return Error(line.number, std::string("'") + words[1][0] + "' given twice");
  legend_[c] = static_cast<std::int16_t>(code);
  return std::nullopt;
}

TextParser::Problem TextParser::Layer(std::size_t& index) {
  const Line& head = lines_[index];
  const std::vector<std::string_view> words = Words(head.text);
  std::int32_t y = 0;
  if (words.size() != 2 || !ParseNumber(words[1], y)) return Error(head.number, "a layer starts 'layer Y'");
  if (!haveSize_) return Error(head.number, "'size' must come before the layers");
  if (y < 0 || y >= size_[1]) return Error(head.number, "layer " + std::to_string(y) + " is outside the level");
  std::vector<Row>& rows = layers_[y];
  if (!rows.empty()) return Error(head.number, "layer " + std::to_string(y) + " given twice");
  for (std::int32_t z = 0; z < size_[2]; ++z) {
    if (++index >= lines_.size()) return Error(head.number, "layer " + std::to_string(y) + " has too few rows");
    std::string_view text = lines_[index].text;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    rows.push_back({lines_[index].number, text});
  }
  return std::nullopt;
}

int TextParser::CellCode(const Row& row, std::int32_t x) const {
  if (hex_) return HexByte(row.text.substr(static_cast<std::size_t>(x) * 2, 2));
  return legend_[static_cast<unsigned char>(row.text[static_cast<std::size_t>(x)])];
}

TextParser::Problem TextParser::Finish() {
  const std::size_t last = lines_.empty() ? 0 : lines_.back().number;
  if (!haveSize_) return Error(last, "no 'size' given");
  // Every row is checked before the grids are made, so that they take no more memory than
  // the rows of the text fill.
  const std::size_t width = static_cast<std::size_t>(size_[0]) * (hex_ ? 2 : 1);
  for (std::int32_t y = 0; y < size_[1]; ++y) {
    const auto layer = layers_.find(y);
    if (layer == layers_.end()) return Error(last, "layer " + std::to_string(y) + " is missing");
    for (const Row& row : layer->second) {
      if (row.text.size() != width) {
        return Error(row.line,
                     "row has " + std::to_string(row.text.size()) + " characters, expected " + std::to_string(width));
      }
      for (std::int32_t x = 0; x < size_[0]; ++x) {
        if (CellCode(row, x) >= 0) continue;
        if (hex_) return Error(row.line, "cells are two hex digits each");
        return Error(row.line, std::string("'") + row.text[static_cast<std::size_t>(x)] + "' is not in the legend");
      }
    }
  }
  if (!map_.SetLevelSize(size_[0], size_[1], size_[2])) return Error(last, "not enough memory for the level");
  for (const auto& [y, rows] : layers_) {
    for (std::int32_t z = 0; z < size_[2]; ++z) {
      for (std::int32_t x = 0; x < size_[0]; ++x) {
        map_.ObjectGrid()[map_.Offset(x, y, z)] =
            static_cast<std::uint8_t>(CellCode(rows[static_cast<std::size_t>(z)], x));
      }
    }
  }
  std::fill(map_.LightGrid().begin(), map_.LightGrid().end(), static_cast<std::uint8_t>(defaultLight_));
  for (const Light& light : lights_) {
    const auto [x, y, z, value] = light.xyzv;
    if (!map_.Contains(x, y, z)) return Error(light.line, "light cell is outside the level");
    map_.SetLight(x, y, z, static_cast<std::uint8_t>(value));
  }
  return std::nullopt;
}

base::Expected<LevelMap> TextParser::Parse() {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    const std::string_view text = Trim(line.text);
    if (text.empty() || text.front() == ';') continue;
    Problem problem;
    if (text.starts_with("layer ") || text == "layer") {
      problem = Layer(i);
    } else if (text.starts_with("cell ")) {
      problem = Legend(line);
    } else if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
      problem = Field(line, text.substr(0, colon), text.substr(colon + 1));
    } else {
      problem = Error(line.number, "expected 'key: value', 'cell C = CODE' or 'layer Y'");
    }
    if (problem) return *problem;
  }
  if (Problem problem = Finish()) return *problem;
  return std::move(map_);
}

}  // namespace

base::Expected<LevelMap> ParseLevelText(std::string_view text) { return TextParser(text).Parse(); }

}  // namespace zandrel::world
