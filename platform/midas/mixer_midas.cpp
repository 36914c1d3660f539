// The player over SDL2_mixer: each loaded module is one Mix_Music (MOD and XM through the
// mixer's module decoder), played on the mixer's single music stream, which SDL's audio
// thread mixes in the background with the sound effects' channels.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <map>

#include "platform/midas/midas.h"
#include "platform/midas/options.h"

namespace zandrel::midas {
namespace {

constexpr int kMaxChannels = 256;

class MixerMidas final : public Midas {
 public:
  ~MixerMidas() override { MIDASclose(); }

  bool MIDASstartup() override {
    if (initialised_) return false;
    options_.Startup();
    return true;
  }

  bool MIDASsetOption(int option, std::uintptr_t value) override { return options_.Set(option, value, initialised_); }
  std::uintptr_t MIDASgetOption(int option) const override { return options_.Get(option); }

  bool MIDASinit() override {
    if (!options_.Started() || initialised_) return false;
    // The sound device must have opened the output: the mixer plays on it as it is.
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (options_.Get(MIDAS_OPTION_DSOUND_OBJECT) == 0 || Mix_QuerySpec(&rate, &format, &channels) == 0) return false;
    if ((Mix_Init(MIX_INIT_MOD) & MIX_INIT_MOD) == 0) return false;
    initialised_ = true;
    return true;
  }

  bool MIDASstartBackgroundPlay(unsigned) override {
    if (!initialised_) return false;
    background_ = true;
    return true;
  }

  bool MIDASopenChannels(int channelCount) override {
    if (!initialised_ || channelCount < 1 || channelCount > kMaxChannels) return false;
    channels_ = channelCount;
    return true;
  }

  bool MIDASallocAutoEffectChannels(unsigned channelCount) override {
    return initialised_ && channelCount <= static_cast<unsigned>(channels_);
  }

  ModuleHandle MIDASloadModule(const char* fileName) override {
    if (!initialised_ || fileName == nullptr) return 0;
    Mix_Music* music = Mix_LoadMUS(fileName);
    if (music == nullptr) return 0;
    if (Mix_GetMusicType(music) != MUS_MOD) {
      Mix_FreeMusic(music);
      return 0;
    }
    const ModuleHandle handle = ++lastHandle_;
    modules_[handle] = music;
    return handle;
  }

  PlayHandle MIDASplayModule(ModuleHandle module, bool loopSong) override {
    const auto found = modules_.find(module);
    if (!background_ || found == modules_.end()) return 0;
    if (Mix_PlayMusic(found->second, loopSong ? -1 : 1) != 0) return 0;
    playing_ = ++lastHandle_;
    playingModule_ = module;
    return playing_;
  }

  bool MIDASsetMusicVolume(PlayHandle playHandle, unsigned volume) override {
    if (playHandle == 0 || playHandle != playing_) return false;
    Mix_VolumeMusic(static_cast<int>(std::min(volume, kMaxMusicVolume) * MIX_MAX_VOLUME / kMaxMusicVolume));
    return true;
  }

  bool MIDASstopModule(PlayHandle playHandle) override {
    if (playHandle == 0 || playHandle != playing_) return false;
    Halt();
    return true;
  }

  bool MIDASfreeModule(ModuleHandle module) override {
    const auto found = modules_.find(module);
    if (found == modules_.end()) return false;
    if (module == playingModule_) Halt();
    Mix_FreeMusic(found->second);
    modules_.erase(found);
    return true;
  }

  bool MIDASstopBackgroundPlay() override {
    if (!background_) return false;
    Halt();
    background_ = false;
    return true;
  }

  bool MIDASclose() override {
    if (!options_.Started()) return false;
    Halt();
    for (const auto& [handle, music] : modules_) Mix_FreeMusic(music);
    modules_.clear();
    background_ = false;
    initialised_ = false;
    channels_ = 0;
    options_.Close();
    return true;
  }

 private:
  void Halt() {
    if (playing_ != 0) Mix_HaltMusic();
    playing_ = 0;
    playingModule_ = 0;
  }

  OptionTable options_;
  bool initialised_ = false;
  bool background_ = false;
  int channels_ = 0;
  std::uintptr_t lastHandle_ = 0;
  std::map<ModuleHandle, Mix_Music*> modules_;
  PlayHandle playing_ = 0;
  ModuleHandle playingModule_ = 0;
};

}  // namespace

std::unique_ptr<Midas> CreateMixerMidas() { return std::make_unique<MixerMidas>(); }

}  // namespace zandrel::midas
