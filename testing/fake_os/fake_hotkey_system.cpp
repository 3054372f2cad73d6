#include "fake_os/fake_hotkey_system.h"

namespace loomkeys::testing {

uint16_t FakeHotKeySystem::AddGlobalAtom(const std::string& name) {
  calls_.push_back({HotKeyCall::kAddAtom, 0, 0, name});
  if (failAtoms_) return 0;
  for (auto& [atom, entry] : atoms_) {
    if (entry.name == name) {
      ++entry.references;
      calls_.back().id = atom;
      return atom;
    }
  }
  // Like the system's table, values from 0xC000 up are handed out again once
  // deleted; a table with no free value fails the call.
  uint16_t atom = 0;
  for (uint32_t tried = 0; tried <= 0xFFFF - kFirstAtom && atom == 0; ++tried) {
    const uint16_t candidate = nextAtom_;
    nextAtom_ = nextAtom_ == 0xFFFF ? kFirstAtom : static_cast<uint16_t>(nextAtom_ + 1);
    if (!atoms_.count(candidate)) atom = candidate;
  }
  if (atom == 0) return 0;
  atoms_[atom] = {name, 1};
  calls_.back().id = atom;
  return atom;
}

void FakeHotKeySystem::DeleteGlobalAtom(uint16_t atom) {
  calls_.push_back({HotKeyCall::kDeleteAtom, atom, 0, {}});
  auto it = atoms_.find(atom);
  if (it != atoms_.end() && --it->second.references == 0) atoms_.erase(it);
}

uint16_t FakeHotKeySystem::FindGlobalAtom(std::string_view name) noexcept {
  for (const auto& [atom, entry] : atoms_) {
    if (entry.name == name) return atom;
  }
  return 0;
}

size_t FakeHotKeySystem::GlobalAtomName(uint16_t atom, char* name, size_t size) noexcept {
  const auto it = atoms_.find(atom);
  if (it == atoms_.end() || it->second.name.size() > size) return 0;
  it->second.name.copy(name, size);
  return it->second.name.size();
}

bool FakeHotKeySystem::BindHotKey(WindowHandle window, int id, uint16_t modifiers, uint16_t virtualKey) {
  const KeyCode key = MakeKeyCode(virtualKey, modifiers);
  calls_.push_back({HotKeyCall::kBind, id, key, {}});
  if (refused_.count(key) || bound_.count({window, id})) return false;
  for (const auto& [where, boundKey] : bound_) {
    if (boundKey == key) return false;  // one combination, one owner
  }
  bound_[{window, id}] = key;
  return true;
}

bool FakeHotKeySystem::UnbindHotKey(WindowHandle window, int id) {
  calls_.push_back({HotKeyCall::kUnbind, id, 0, {}});
  const auto it = bound_.find({window, id});
  if (it == bound_.end()) return true;
  if (keptBound_.count(it->second)) return false;
  bound_.erase(it);
  return true;
}

std::vector<KeyCode> FakeHotKeySystem::BoundKeys() const {
  std::set<KeyCode> keys;
  for (const auto& [where, key] : bound_) keys.insert(key);
  return {keys.begin(), keys.end()};
}

std::set<std::string> FakeHotKeySystem::LiveAtoms() const {
  std::set<std::string> names;
  for (const auto& [atom, entry] : atoms_) names.insert(entry.name);
  return names;
}

size_t FakeHotKeySystem::CountCalls(HotKeyCall::Kind kind) const {
  size_t count = 0;
  for (const HotKeyCall& call : calls_) count += call.kind == kind;
  return count;
}

}  // namespace loomkeys::testing
