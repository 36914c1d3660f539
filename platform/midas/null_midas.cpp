#include "platform/midas/midas.h"
#include "platform/midas/options.h"

namespace zandrel::midas {
namespace {

// No output to mix on: initialisation fails, so nothing can be loaded or played.
class NullMidas final : public Midas {
 public:
  bool MIDASstartup() override {
    options_.Startup();
    return true;
  }
  bool MIDASsetOption(int option, std::uintptr_t value) override { return options_.Set(option, value, false); }
  std::uintptr_t MIDASgetOption(int option) const override { return options_.Get(option); }
  bool MIDASinit() override { return false; }
  bool MIDASstartBackgroundPlay(unsigned) override { return false; }
  bool MIDASopenChannels(int) override { return false; }
  bool MIDASallocAutoEffectChannels(unsigned) override { return false; }
  ModuleHandle MIDASloadModule(const char*) override { return 0; }
  PlayHandle MIDASplayModule(ModuleHandle, bool) override { return 0; }
  bool MIDASsetMusicVolume(PlayHandle, unsigned) override { return false; }
  bool MIDASstopModule(PlayHandle) override { return false; }
  bool MIDASfreeModule(ModuleHandle) override { return false; }
  bool MIDASstopBackgroundPlay() override { return false; }
  bool MIDASclose() override {
    const bool started = options_.Started();
    options_.Close();
    return started;
  }

 private:
  OptionTable options_;
};

}  // namespace

std::unique_ptr<Midas> CreateNullMidas() { return std::make_unique<NullMidas>(); }

}  // namespace zandrel::midas
