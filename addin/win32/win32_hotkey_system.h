#pragma once
// Global atoms and system hot keys through user32 and kernel32.
#include "platform/hotkey_system.h"

namespace loomkeys {

class Win32HotKeySystem final : public HotKeySystem {
 public:
  uint16_t AddGlobalAtom(const std::string& name) override;
  void DeleteGlobalAtom(uint16_t atom) override;
  uint16_t FindGlobalAtom(std::string_view name) noexcept override;
  size_t GlobalAtomName(uint16_t atom, char* name, size_t size) noexcept override;
  bool BindHotKey(WindowHandle window, int id, uint16_t modifiers, uint16_t virtualKey) override;
  bool UnbindHotKey(WindowHandle window, int id) override;
};

}  // namespace loomkeys
