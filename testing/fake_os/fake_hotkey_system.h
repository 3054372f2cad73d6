#pragma once
// A recording stand-in for the Windows hot-key and atom services: it logs
// every call, can be told to refuse a key, to keep one bound or to fail atom
// creation, and knows which keys are bound right now.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "hotkeys/key_code.h"
#include "platform/hotkey_system.h"

namespace loomkeys::testing {

struct HotKeyCall {
  enum Kind { kAddAtom, kDeleteAtom, kBind, kUnbind } kind;
  int id;                // the atom, or the hot key's id
  KeyCode key;           // kBind only
  std::string atomName;  // kAddAtom only
  bool operator==(const HotKeyCall&) const = default;
};

class FakeHotKeySystem : public HotKeySystem {
 public:
  LOOMKEYS_HOTKEY_SYSTEM_OVERRIDES

  // Another program holds this key: binding it fails.
  void Refuse(uint16_t virtualKey, uint16_t shiftKeys) { refused_.insert(MakeKeyCode(virtualKey, shiftKeys)); }
  void FailAtoms(bool fail) { failAtoms_ = fail; }
  // The system keeps this key bound: unbinding it fails.
  void KeepBound(uint16_t virtualKey, uint16_t shiftKeys) { keptBound_.insert(MakeKeyCode(virtualKey, shiftKeys)); }

  // Keys bound right now, in KeyCode order.
  std::vector<KeyCode> BoundKeys() const;
  // Names of the atoms that exist right now.
  std::set<std::string> LiveAtoms() const;
  const std::vector<HotKeyCall>& Calls() const { return calls_; }
  size_t CountCalls(HotKeyCall::Kind kind) const;
  void ClearCalls() { calls_.clear(); }

 private:
  struct Atom {
    std::string name;
    int references = 0;
  };
  std::vector<HotKeyCall> calls_;
  std::set<KeyCode> refused_;
  std::set<KeyCode> keptBound_;
  bool failAtoms_ = false;
  std::map<uint16_t, Atom> atoms_;
  static constexpr uint16_t kFirstAtom = 0xC000;  // global string atoms live from here to 0xFFFF
  uint16_t nextAtom_ = kFirstAtom;
  std::map<std::pair<WindowHandle, int>, KeyCode> bound_;
};

}  // namespace loomkeys::testing
