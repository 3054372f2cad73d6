#include "customize/registered_provider.h"

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

std::unique_ptr<RegisteredProvider> MakeRegisteredProvider(const ProviderRecord& record) {
  auto provider = std::make_unique<RegisteredProvider>();
  provider->version = record.version;
  if (record.version == kNativeProviderVersion) {
    provider->onCreateUI = AddressAs<OnCreateUIFunc>(record.onCreateUI);
    provider->onDestroyUI = AddressAs<OnDestroyUIFunc>(record.onDestroyUI);
  } else {
    provider->onCreateUIMacro = CopyName(record.onCreateUIMacro);
    provider->onDestroyUIMacro = CopyName(record.onDestroyUIMacro);
  }
  return provider;
}

}  // namespace loomkeys
