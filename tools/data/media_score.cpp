#include "tools/data/media_score.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zandrel::data::score {

int Key(std::string_view name) {
  static constexpr int kLetterClass[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') throw std::logic_error("score: bad note " + std::string(name));
  int pitchClass = kLetterClass[name[0] - 'A'];
  std::size_t at = 1;
  if (name[at] == '#' || name[at] == 'b') pitchClass += name[at++] == '#' ? 1 : -1;
  if (at + 1 != name.size() || name[at] < '0' || name[at] > '9')
    throw std::logic_error("score: bad note " + std::string(name));
  const int key = (name[at] - '0' + 1) * 12 + pitchClass;
  if (key < 0 || key > 127) throw std::logic_error("score: note out of range " + std::string(name));
  return key;
}

std::vector<Tone> Phrase(std::string_view text) {
  std::vector<Tone> tones;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    const std::size_t colon = word.find(':');
    if (colon == std::string_view::npos || colon + 1 == word.size())
      throw std::logic_error("score: bad tone " + std::string(word));
    int steps = 0;
    for (char c : word.substr(colon + 1)) {
      if (c < '0' || c > '9') throw std::logic_error("score: bad length " + std::string(word));
      steps = steps * 10 + (c - '0');
    }
    const std::string_view name = word.substr(0, colon);
    tones.push_back({name == "r" ? -1 : Key(name), steps});
    at = end;
  }
  return tones;
}

int PhraseSteps(const std::vector<Tone>& phrase) {
  int steps = 0;
  for (const Tone& t : phrase) steps += t.Steps;
  return steps;
}

std::vector<int> ChordClasses(std::string_view name) {
  std::size_t rootLength = name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? 2 : 1;
  const int root = Key(std::string(name.substr(0, rootLength)) + "4") % 12;
  const std::string_view quality = name.substr(rootLength);
  int third = 4, fifth = 7;
  if (quality == "m") {
    third = 3;
  } else if (quality == "dim") {
    third = 3;
    fifth = 6;
  } else if (!quality.empty()) {
    throw std::logic_error("score: bad chord " + std::string(name));
  }
  return {root, (root + third) % 12, (root + fifth) % 12};
}

int InRange(int pitchClass, int low) { return low + ((pitchClass - low) % 12 + 12) % 12; }

std::vector<Hit> Pattern(std::string_view steps) {
  if (steps.size() != 16) throw std::logic_error("score: a pattern has 16 steps: " + std::string(steps));
  std::vector<Hit> hits;
  for (int i = 0; i < 16; ++i) {
    const char c = steps[static_cast<std::size_t>(i)];
    if (c == '-') {
      if (!hits.empty() && hits.back().Step + hits.back().Steps == i) ++hits.back().Steps;
    } else if (c != '.') {
      hits.push_back({i, 1, c});
    }
  }
  return hits;
}

int Humaniser::Velocity(int velocity, int spread) {
  return std::clamp(velocity + random_.Next(2 * spread + 1) - spread, 1, 127);
}

}  // namespace zandrel::data::score
