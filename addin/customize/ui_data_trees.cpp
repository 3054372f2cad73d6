#include "customize/ui_data_trees.h"

namespace loomkeys {

// A 64-bit count does not come round again within a process's life.
static_assert(sizeof(UIDataHandle) >= sizeof(uint64_t), "handles are never reused");

UIDataHandle UIDataTrees::Create() {
  auto tree = std::make_unique<UIData>();
  const UIDataHandle handle = lastHandle_ + 1;
  trees_.emplace(handle, std::move(tree));
  lastHandle_ = handle;
  return handle;
}

}  // namespace loomkeys
