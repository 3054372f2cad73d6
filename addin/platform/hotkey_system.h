#pragma once
// The few Windows services that the hot-key table needs: global atoms and
// system hot keys of a window. The DLL uses the Win32 implementation; native
// tests use a recording fake.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_handle.h"

namespace loomkeys {

// The system's limit on the length of an atom's name.
constexpr size_t kLongestAtomName = 255;

class HotKeySystem {
 public:
  virtual ~HotKeySystem() = default;
  // GlobalAddAtomW; returns 0 when the atom could not be created.
  virtual uint16_t AddGlobalAtom(const std::string& name) = 0;
  // GlobalDeleteAtom.
  virtual void DeleteGlobalAtom(uint16_t atom) = 0;
  // GlobalFindAtomW; 0 when no atom has the name. Allocates nothing.
  virtual uint16_t FindGlobalAtom(std::string_view name) noexcept = 0;
  // GlobalGetAtomNameW into name[0..size); the name's length, or 0 when the
  // atom does not exist. Allocates nothing.
  virtual size_t GlobalAtomName(uint16_t atom, char* name, size_t size) noexcept = 0;
  // RegisterHotKey(window, id, modifiers, virtualKey); true when accepted.
  virtual bool BindHotKey(WindowHandle window, int id, uint16_t modifiers, uint16_t virtualKey) = 0;
  // UnregisterHotKey(window, id); true when the key is not bound afterwards
  // (unbound now, or the system did not hold it).
  virtual bool UnbindHotKey(WindowHandle window, int id) = 0;
};

// Declares every function of HotKeySystem, in a class that implements them all.
#define LOOMKEYS_HOTKEY_SYSTEM_OVERRIDES                                                          \
  uint16_t AddGlobalAtom(const std::string& name) override;                                       \
  void DeleteGlobalAtom(uint16_t atom) override;                                                  \
  uint16_t FindGlobalAtom(std::string_view name) noexcept override;                               \
  size_t GlobalAtomName(uint16_t atom, char* name, size_t size) noexcept override;                \
  bool BindHotKey(WindowHandle window, int id, uint16_t modifiers, uint16_t virtualKey) override; \
  bool UnbindHotKey(WindowHandle window, int id) override;

}  // namespace loomkeys
