// The object bank reader over a small data tree that holds the meshes every bank needs
// and one more, "BOX.3DO", for the bank's objects to name.
#include <memory>
#include <vector>

#include "engine/mesh_writer.h"
#include "platform/win/clock.h"
#include "tests/fuzz/fuzz.h"
#include "world/object_bank.h"
#include "world/world.h"

namespace {

const std::filesystem::path& DataTree() {
  static const std::filesystem::path folder = [] {
    using namespace zandrel;
    engine::Mesh box;
    box.X = {-256, 255, 255, -256};
    box.Y = {0, 0, 511, 511};
    box.Z = {0, 0, 0, 0};
    box.Faces = {{0, 1, 2, 0, 0, 0, 0}, {0, 2, 3, 0, 1, 0, 0}};
    const std::vector<std::uint8_t> file = engine::EncodeMesh(box);
    for (const char* name : {"TRANSI1.3DO", "TRANSI2.3DO", "TRANSI3.3DO", "PODIUM.3DO", "FLAG.3DO", "BOX.3DO"}) {
      fuzz::WriteScratchFile(std::filesystem::path("3DO/GAME") / name, file);
    }
    return fuzz::ScratchFolder();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  world::NoDevices devices;
  const win::ManualClock clock(1000);
  world::BankServices services{devices, clock, DataTree()};
  const auto world = std::make_unique<world::World>();
  world::ReadObjectBank(services, *world, fuzz::Bytes(data, size));
  return 0;
}
