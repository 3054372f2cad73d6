#include "customize/ui_data_trees.h"

namespace loomkeys {

UIData* UIDataTrees::Create() {
  auto tree = std::make_unique<UIData>();
  UIData* handle = tree.get();
  trees_.emplace(handle, std::move(tree));
  return handle;
}

}  // namespace loomkeys
