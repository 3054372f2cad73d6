#include "registry/entry_list.h"

namespace loomkeys {

EntryList::Slots::node_type EntryList::MakeSlot(std::unique_ptr<TRegistryEntry> entry) {
  Slots scratch;
  scratch.emplace(0, std::move(entry));
  return scratch.extract(scratch.begin());
}

EntryList::Slot EntryList::Append(Slots::node_type&& slot) noexcept {
  Count(slot.mapped()->FActiveMode, +1);
  return slots_.insert(slots_.end(), std::move(slot));
}

std::unique_ptr<TRegistryEntry> EntryList::Remove(Slot slot) noexcept {
  std::unique_ptr<TRegistryEntry> entry = std::move(slot->second);
  slots_.erase(slot);
  Count(entry->FActiveMode, -1);
  return entry;
}

void EntryList::Count(uint16_t activeMode, int change) noexcept {
  for (int bit = 0; bit < 16; ++bit) {
    if (!(activeMode & (1u << bit))) continue;
    bitCounts_[bit] += change;
    if (bitCounts_[bit] != 0) wantedModes_ |= static_cast<uint16_t>(1u << bit);
    else wantedModes_ &= static_cast<uint16_t>(~(1u << bit));
  }
}

}  // namespace loomkeys
