#include "customize/provider_entry.h"

namespace loomkeys {
namespace {

template <typename Pointer>
Pointer AddressAs(uint64_t address) {
  return reinterpret_cast<Pointer>(static_cast<uintptr_t>(address));
}

std::string CopyName(uint64_t address) {
  const char* name = AddressAs<const char*>(address);
  return name ? std::string(name) : std::string();
}

}  // namespace

std::unique_ptr<TUIProviderEntry> MakeProviderEntry(const ProviderRecord& record) {
  auto entry = std::make_unique<TUIProviderEntry>();
  entry->Version = record.Version;
  if (record.Version == kNativeProviderVersion) {
    entry->OnCreateUI = AddressAs<OnCreateUIFunc>(record.OnCreateUI);
    entry->OnDestroyUI = AddressAs<OnDestroyUIFunc>(record.OnDestroyUI);
  } else {
    entry->OnCreateUIMacro = CopyName(record.OnCreateUIMacro);
    entry->OnDestroyUIMacro = CopyName(record.OnDestroyUIMacro);
  }
  return entry;
}

}  // namespace loomkeys
