#include "customize/provider_list.h"

#include <algorithm>

namespace loomkeys {

Result ProviderList::Register(const void* record, TUIProviderEntry** handle, ProviderPlacement placement) {
  if (!record || !handle) return kCallFailed;
  const std::optional<ProviderRecord> fields = ReadProviderRecordAt(record);
  if (!fields) return kCallFailed;
  try {
    std::unique_ptr<TUIProviderEntry> entry = MakeProviderEntry(*fields);
    entry->Serial = ++lastSerial_;
    TUIProviderEntry* added = entry.get();
    const auto where = placement == ProviderPlacement::kFront ? entries_.begin() : entries_.end();
    entries_.insert(where, std::move(entry));
    *handle = added;
    return kOk;
  } catch (...) {
    *handle = nullptr;
    return kCallFailed;
  }
}

Result ProviderList::Unregister(const TUIProviderEntry* handle) {
  auto found = std::find_if(entries_.begin(), entries_.end(), [handle](const auto& e) { return e.get() == handle; });
  if (!handle || found == entries_.end()) return kUnknownProvider;
  entries_.erase(found);
  return kOk;
}

bool ProviderList::Contains(const TUIProviderEntry* entry) const {
  return std::any_of(entries_.begin(), entries_.end(), [entry](const auto& e) { return e.get() == entry; });
}

TUIProviderEntry* ProviderList::FindBySerial(uint64_t serial) const {
  for (const auto& entry : entries_) {
    if (entry->Serial == serial) return entry.get();
  }
  return nullptr;
}

void ProviderList::ForgetUIData(const TUIData* data) {
  if (!data) return;
  for (const auto& entry : entries_) {
    if (entry->UIData == data) entry->UIData = nullptr;
  }
}

}  // namespace loomkeys
