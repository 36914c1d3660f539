// A module library and a media control service that play nothing and write down what
// they were asked.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/mci/mci.h"
#include "platform/midas/midas.h"

namespace zandrel::test {

using Log = std::vector<std::string>;

// The module library's calls, one line each; a step can be made to fail.
class RecordingMidas final : public midas::Midas {
 public:
  bool MIDASstartup() override { return Step("startup"); }
  bool MIDASsetOption(int option, std::uintptr_t value) override {
    if (option == midas::MIDAS_OPTION_DSOUND_OBJECT) value = value != 0;  // an address: only whether it is there
    return Step("option " + std::to_string(option) + " " + std::to_string(value));
  }
  std::uintptr_t MIDASgetOption(int) const override { return 0; }
  bool MIDASinit() override { return Step("init"); }
  bool MIDASstartBackgroundPlay(unsigned rate) override { return Step("background " + std::to_string(rate)); }
  bool MIDASopenChannels(int count) override { return Step("channels " + std::to_string(count)); }
  bool MIDASallocAutoEffectChannels(unsigned count) override { return Step("effects " + std::to_string(count)); }
  midas::ModuleHandle MIDASloadModule(const char* fileName) override {
    // Files below the data folder are logged as the data names them.
    std::string name(fileName);
    if (!dataFolder.empty() && name.starts_with(dataFolder.string() + "/"))
      name.erase(0, dataFolder.string().size() + 1);
    calls.push_back("load " + name);
    return name.find("MISSING") == std::string::npos ? ++lastHandle : 0;
  }
  midas::PlayHandle MIDASplayModule(midas::ModuleHandle module, bool loop) override {
    calls.push_back("play " + std::to_string(module) + (loop ? " loop" : " once"));
    return 100 + module;
  }
  bool MIDASsetMusicVolume(midas::PlayHandle play, unsigned volume) override {
    return Step("volume " + std::to_string(play) + " " + std::to_string(volume));
  }
  bool MIDASstopModule(midas::PlayHandle play) override { return Step("stop " + std::to_string(play)); }
  bool MIDASfreeModule(midas::ModuleHandle module) override { return Step("free " + std::to_string(module)); }
  bool MIDASstopBackgroundPlay() override { return Step("stop background"); }
  bool MIDASclose() override { return Step("close"); }

  Log calls;
  std::string failing;  // the call (its first word) that fails
  midas::ModuleHandle lastHandle = 0;
  std::filesystem::path dataFolder;

 private:
  bool Step(std::string call) {
    const bool fails = !failing.empty() && call.starts_with(failing);
    calls.push_back(std::move(call));
    return !fails;
  }
};

// Media control commands as sent; answers are looked up by command.
class RecordingMci final : public mci::Mci {
 public:
  std::uint32_t SendString(std::string_view command, char* answer, std::size_t answerSize) override {
    commands.emplace_back(command);
    if (answer != nullptr && answerSize > 0) {
      const auto found = answers.find(std::string(command));
      const std::string text = found != answers.end() ? found->second : "";
      const std::size_t n = std::min(text.size(), answerSize - 1);
      text.copy(answer, n);
      answer[n] = '\0';
    }
    return 0;
  }
  bool Poll() override { return std::exchange(clipEnded, false); }

  Log commands;
  bool clipEnded = false;  // the next Poll reports a clip's end
  std::map<std::string, std::string> answers;
};

}  // namespace zandrel::test
