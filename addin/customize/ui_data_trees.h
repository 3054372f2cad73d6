#pragma once
// The UI data trees that the library has handed out and not yet freed. Their
// addresses are the handles that clients pass back, and a handle is used
// only when it is one of them: a tree already freed, a pointer from anywhere
// else or garbage is refused before anything reads or writes through it.
#include <memory>
#include <unordered_map>

#include "customize/ui_data.h"

namespace loomkeys {

class UIDataTrees {
 public:
  // A new, empty tree, live until it is freed.
  UIData* Create();
  bool IsLive(const UIData* tree) const { return trees_.count(tree) != 0; }
  // Frees a live tree; anything else is left alone.
  void Free(const UIData* tree) { trees_.erase(tree); }

 private:
  std::unordered_map<const UIData*, std::unique_ptr<UIData>> trees_;
};

}  // namespace loomkeys
