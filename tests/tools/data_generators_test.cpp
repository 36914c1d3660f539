// What holds for every generator of the data tree.
#include <gtest/gtest.h>

#include "tools/data/data_tree.h"
#include "tools/data/desktop_icons.h"
#include "tools/data/generators.h"

namespace zandrel::data {
namespace {

// A generator writes the same bytes each time it runs: the data tree of one build is the
// data tree of the next.
TEST(DataGenerators, TwoGenerationsAreByteIdentical) {
  const struct {
    const char* name;
    void (*generate)(DataTree&);
  } generators[] = {
      {"textures", GenerateTextures},
      {"meshes", GenerateMeshes},
      {"sounds", GenerateSounds},
      {"music", GenerateMusic},
      {"interface", GenerateInterface},
      {"editor icons", GenerateEditorIcons},
      {"desktop icons", GenerateDesktopIcons},
  };
  for (const auto& g : generators) {
    DataTree first, second;
    g.generate(first);
    g.generate(second);
    EXPECT_TRUE(first.Files() == second.Files()) << g.name;
  }
}

}  // namespace
}  // namespace zandrel::data
