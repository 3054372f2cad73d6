#pragma once
// The UI data trees that the library has handed out and not yet freed. A
// client knows a tree only by its handle: a number that the library never
// hands out twice and that is never a tree's address, so that a handle kept
// after its tree was freed can never reach a newer tree that happens to sit
// at the same address. A handle is used only when it names a live tree: a
// freed tree's handle, a pointer from anywhere else or garbage is refused
// before anything reads or writes a tree.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "customize/ui_data.h"

namespace loomkeys {

// What the exports, provider events and macros pass around for a tree; 0 is
// no tree.
using UIDataHandle = std::uintptr_t;

class UIDataTrees {
 public:
  // A new, empty tree, live until it is freed, and its handle (never 0).
  UIDataHandle Create();
  // The live tree of `handle`, or null.
  UIData* Find(UIDataHandle handle) const {
    const auto found = trees_.find(handle);
    return found == trees_.end() ? nullptr : found->second.get();
  }
  // Frees a live tree; anything else is left alone.
  void Free(UIDataHandle handle) { trees_.erase(handle); }
  // Hands out only handles above `last` from now on: the library, loaded
  // again in the same process, so never gives a handle of an earlier load.
  void HandOutAbove(UIDataHandle last) {
    if (last > lastHandle_) lastHandle_ = last;
  }

 private:
  std::unordered_map<UIDataHandle, std::unique_ptr<UIData>> trees_;
  UIDataHandle lastHandle_ = 0;
};

}  // namespace loomkeys
