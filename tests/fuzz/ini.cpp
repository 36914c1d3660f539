// The INI profile reader under the bank, the settings and the saved game.
#include "platform/win/ini.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  const win::IniFile ini({}, fuzz::Bytes(data, size));
  for (const char* section : {"General", "Object 1", "Network", "Save"}) {
    for (const char* key : {"Texture", "Mesh1", "Xmin", "Cube", "Port", "Index"}) {
      ini.ReadString(section, key, "");
      ini.ReadInteger(section, key, 999);
    }
  }
  std::int32_t value = 0;
  win::ParseDecimal(fuzz::Text(data, size), value);
  return 0;
}
