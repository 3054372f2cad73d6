#pragma once
// The hot-key system as the hot-key table sees it, with a record of the
// global atoms that the table holds, for the end of the process. Global atoms
// outlive the process that added them, so they are the one thing the library
// must remove at process exit; but by then Windows has ended the other
// threads wherever they were, possibly inside the table, half-way through a
// change and holding its lock. This record can be read at any moment without
// a lock: each atom has a fixed slot set and cleared by one atomic store, and
// the one atom change in flight is noted by name before the system is asked,
// so that an exit that ends the change on its way can still settle it.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/hotkey_system.h"

namespace loomkeys {

class AtomRecordingHotKeySystem final : public HotKeySystem {
 public:
  explicit AtomRecordingHotKeySystem(HotKeySystem& system) : system_(system) {}

  // The table changes its atoms one at a time (under its lock), and holds an
  // atom of a name at most once.
  LOOMKEYS_HOTKEY_SYSTEM_OVERRIDES

  // Deletes every atom that the table holds, and the atom of a change that
  // was ended half-way if the system has it: without any lock and without
  // allocating. When another program holds an atom of the same name, a
  // change ended right at its system call cannot be told from a change that
  // was done, and that program may lose its reference.
  void DeleteRecordedAtoms() noexcept;

 private:
  // Atoms made from names lie from 0xC000 to 0xFFFF; integer atoms, below,
  // are never made from a name.
  static constexpr uint32_t kFirstNamedAtom = 0xC000;
  static constexpr uint32_t kNamedAtoms = 0x10000 - kFirstNamedAtom;

  std::atomic<bool>* Slot(uint16_t atom) noexcept {
    return atom >= kFirstNamedAtom ? &held_[atom - kFirstNamedAtom] : nullptr;
  }
  void BeginChange(std::string_view name) noexcept;
  void EndChange() noexcept { changeLength_ = 0; }

  HotKeySystem& system_;
  std::array<std::atomic<bool>, kNamedAtoms> held_{};
  // The name of the atom being added or deleted; a length of 0 means none.
  std::array<char, kLongestAtomName> changeName_{};
  std::atomic<size_t> changeLength_{0};
};

}  // namespace loomkeys
