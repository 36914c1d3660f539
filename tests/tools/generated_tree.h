// What one generator writes, made once and shared by every test of the program.
#pragma once

#include "tools/data/data_tree.h"

namespace zandrel::data {

template <void (*Generate)(DataTree&)>
const DataTree& GeneratedTree() {
  static const DataTree tree = [] {
    DataTree made;
    Generate(made);
    return made;
  }();
  return tree;
}

}  // namespace zandrel::data
