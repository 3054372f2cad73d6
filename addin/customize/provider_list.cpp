#include "customize/provider_list.h"

#include <algorithm>

namespace loomkeys {

Result ProviderList::Register(const void* record, RegisteredProvider** handle, ProviderPlacement placement) {
  if (!record || !handle) return kCallFailed;
  const std::optional<ProviderRecord> fields = ReadProviderRecordAt(record);
  if (!fields) return kCallFailed;
  try {
    std::unique_ptr<RegisteredProvider> provider = MakeRegisteredProvider(*fields);
    provider->serial = ++lastSerial_;
    RegisteredProvider* added = provider.get();
    const auto where = placement == ProviderPlacement::kFront ? providers_.begin() : providers_.end();
    providers_.insert(where, std::move(provider));
    *handle = added;
    return kOk;
  } catch (...) {
    *handle = nullptr;
    return kCallFailed;
  }
}

Result ProviderList::Unregister(const RegisteredProvider* handle) {
  auto found =
      std::find_if(providers_.begin(), providers_.end(), [handle](const auto& e) { return e.get() == handle; });
  if (!handle || found == providers_.end()) return kUnknownProvider;
  providers_.erase(found);
  return kOk;
}

bool ProviderList::Contains(const RegisteredProvider* provider) const {
  return std::any_of(providers_.begin(), providers_.end(), [provider](const auto& e) { return e.get() == provider; });
}

RegisteredProvider* ProviderList::FindBySerial(uint64_t serial) const {
  for (const auto& provider : providers_) {
    if (provider->serial == serial) return provider.get();
  }
  return nullptr;
}

void ProviderList::ForgetUIData(const UIData* data) {
  if (!data) return;
  for (const auto& provider : providers_) {
    if (provider->tree == data) {
      provider->tree = nullptr;
      provider->treeHandle = 0;
    }
  }
}

}  // namespace loomkeys
