// Feeds arbitrary bytes to the UI provider record reader and registers what
// it accepts. A version-20 record's name addresses are pointed at strings cut
// from the input's tail, since the bytes themselves cannot hold live addresses.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "customize/provider_list.h"

using namespace loomkeys;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
  const std::optional<ProviderRecord> record = ReadProviderRecord(bytes);
  if (!record) return 0;
  const size_t recordSize = ProviderRecordSize(record->version);
  if (recordSize == 0 || size < recordSize) std::abort();

  std::vector<std::byte> copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(recordSize));
  const std::string tail(reinterpret_cast<const char*>(data) + recordSize, size - recordSize);
  const std::string createName = tail.substr(0, tail.find('\0'));
  const std::string destroyName = tail.substr(std::min(tail.size(), createName.size() + 1));
  if (record->version == kMacroProviderVersion) {
    const uint64_t create = reinterpret_cast<uintptr_t>(createName.c_str());
    const uint64_t destroy = (size % 2) ? 0 : reinterpret_cast<uintptr_t>(destroyName.c_str());
    std::memcpy(copy.data() + 8, &create, sizeof create);
    std::memcpy(copy.data() + 16, &destroy, sizeof destroy);
  }

  ProviderList providers;
  RegisteredProvider* handle = nullptr;
  if (providers.Register(copy.data(), &handle, ProviderPlacement::kFront) != kOk || !handle) std::abort();
  if (handle->version != record->version || handle->tree) std::abort();
  if (record->version == kMacroProviderVersion) {
    const std::string expectedDestroy = (size % 2) ? std::string() : std::string(destroyName.c_str());
    if (handle->onCreateUIMacro != createName || handle->onDestroyUIMacro != expectedDestroy) std::abort();
  } else if (reinterpret_cast<uintptr_t>(handle->onCreateUI) != record->onCreateUI ||
             reinterpret_cast<uintptr_t>(handle->onDestroyUI) != record->onDestroyUI) {
    std::abort();
  }
  if (providers.Unregister(handle) != kOk || providers.Unregister(handle) != kUnknownProvider) std::abort();
  return 0;
}
