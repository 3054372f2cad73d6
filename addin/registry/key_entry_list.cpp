#include "registry/key_entry_list.h"

namespace loomkeys {

KeyEntryList::Slots::node_type KeyEntryList::MakeSlot(std::unique_ptr<RegistryEntry> entry) {
  Slots scratch;
  scratch.emplace(0, std::move(entry));
  return scratch.extract(scratch.begin());
}

KeyEntryList::Slot KeyEntryList::Append(Slots::node_type&& slot) noexcept {
  Count(slot.mapped()->activeMode, +1);
  return slots_.insert(slots_.end(), std::move(slot));
}

std::unique_ptr<RegistryEntry> KeyEntryList::Remove(Slot slot) noexcept {
  std::unique_ptr<RegistryEntry> entry = std::move(slot->second);
  slots_.erase(slot);
  Count(entry->activeMode, -1);
  return entry;
}

void KeyEntryList::Count(uint16_t activeMode, int change) noexcept {
  for (int bit = 0; bit < 16; ++bit) {
    if (!(activeMode & (1u << bit))) continue;
    bitCounts_[bit] += change;
    if (bitCounts_[bit] != 0) wantedModes_ |= static_cast<uint16_t>(1u << bit);
    else wantedModes_ &= static_cast<uint16_t>(~(1u << bit));
  }
}

}  // namespace loomkeys
