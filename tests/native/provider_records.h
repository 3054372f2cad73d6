#pragma once
// Provider records laid out byte by byte, as a client writes them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "customize/provider_record.h"

namespace loomkeys {

template <typename T>
void Put(std::vector<std::byte>& record, size_t offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

inline uint64_t Address(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }
inline uint64_t Address(void (*pointer)()) { return reinterpret_cast<uintptr_t>(pointer); }

// Records laid out byte by byte as a client writes them. The bytes around
// the fields are filled with 0xCC so that a field read at a wrong offset shows.
inline std::vector<std::byte> NativeRecord(uint64_t onCreateUI, uint64_t onDestroyUI) {
  std::vector<std::byte> record(kNativeProviderRecordSize, std::byte{0xCC});
  Put<int32_t>(record, 0, 10);
  Put(record, 4, onCreateUI);
  Put(record, 12, onDestroyUI);
  return record;
}

inline std::vector<std::byte> MacroRecord(const char* onCreateUIMacro, const char* onDestroyUIMacro) {
  std::vector<std::byte> record(kMacroProviderRecordSize, std::byte{0xCC});
  Put<int32_t>(record, 0, 20);
  Put(record, 8, Address(onCreateUIMacro));
  Put(record, 16, Address(onDestroyUIMacro));
  return record;
}

}  // namespace loomkeys
