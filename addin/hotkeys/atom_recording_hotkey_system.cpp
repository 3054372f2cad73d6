#include "hotkeys/atom_recording_hotkey_system.h"

#include <algorithm>

namespace loomkeys {

void AtomRecordingHotKeySystem::BeginChange(std::string_view name) noexcept {
  // The length goes last: a change ended while its name is being written has
  // not reached the system yet.
  if (name.size() > changeName_.size()) return;
  std::copy(name.begin(), name.end(), changeName_.begin());
  changeLength_ = name.size();
}

uint16_t AtomRecordingHotKeySystem::AddGlobalAtom(const std::string& name) {
  BeginChange(name);
  const uint16_t atom = system_.AddGlobalAtom(name);
  if (auto* slot = Slot(atom)) *slot = true;
  EndChange();
  return atom;
}

void AtomRecordingHotKeySystem::DeleteGlobalAtom(uint16_t atom) {
  // The system knows the atom's name; an exit during the delete looks it up.
  std::array<char, kLongestAtomName> name;
  const size_t length = system_.GlobalAtomName(atom, name.data(), name.size());
  BeginChange({name.data(), length});
  if (auto* slot = Slot(atom)) *slot = false;
  system_.DeleteGlobalAtom(atom);
  EndChange();
}

uint16_t AtomRecordingHotKeySystem::FindGlobalAtom(std::string_view name) noexcept {
  return system_.FindGlobalAtom(name);
}

size_t AtomRecordingHotKeySystem::GlobalAtomName(uint16_t atom, char* name, size_t size) noexcept {
  return system_.GlobalAtomName(atom, name, size);
}

bool AtomRecordingHotKeySystem::BindHotKey(WindowHandle window, int id, uint16_t modifiers, uint16_t virtualKey) {
  return system_.BindHotKey(window, id, modifiers, virtualKey);
}

bool AtomRecordingHotKeySystem::UnbindHotKey(WindowHandle window, int id) { return system_.UnbindHotKey(window, id); }

void AtomRecordingHotKeySystem::DeleteRecordedAtoms() noexcept {
  // A change ended half-way: its atom is the table's if the system has it
  // but the record does not (yet, or any more).
  uint16_t unsettled = 0;
  if (const size_t length = changeLength_) {
    const uint16_t atom = system_.FindGlobalAtom({changeName_.data(), length});
    const auto* slot = Slot(atom);
    if (slot && !*slot) unsettled = atom;
  }
  for (uint32_t index = 0; index < kNamedAtoms; ++index) {
    if (held_[index].exchange(false)) system_.DeleteGlobalAtom(static_cast<uint16_t>(kFirstNamedAtom + index));
  }
  if (unsettled) system_.DeleteGlobalAtom(unsettled);
  EndChange();
}

}  // namespace loomkeys
