#pragma once
// The UI provider record that a client passes to RegisterUIProvider and
// InitializeKeyloomAddin. It is an interface format with fixed little-endian
// offsets whose layout depends on its first field:
//
//   version 10, 20 bytes: 0 Version (int32), 4 OnCreateUI, 12 OnDestroyUI
//                         (callback addresses, 8 bytes each, unaligned)
//   version 20, 24 bytes: 0 Version (int32), 4 reserved, 8 OnCreateUIMacro,
//                         16 OnDestroyUIMacro (addresses of NUL-terminated
//                         ANSI macro names, null meaning empty)
//
// It is read from raw bytes so that a client's packing can never matter.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace loomkeys {

constexpr int32_t kNativeProviderVersion = 10;  // native callbacks
constexpr int32_t kMacroProviderVersion = 20;   // macros run through "Run"

constexpr size_t kVersionFieldSize = 4;
constexpr size_t kNativeProviderRecordSize = 20;
constexpr size_t kMacroProviderRecordSize = 24;

// The record's fields as read. The addresses point into the client's memory.
struct ProviderRecord {
  int32_t version = 0;
  uint64_t onCreateUI = 0;  // version 10
  uint64_t onDestroyUI = 0;
  uint64_t onCreateUIMacro = 0;  // version 20
  uint64_t onDestroyUIMacro = 0;
};

// The record size that `version` implies, or 0 when it is neither 10 nor 20.
size_t ProviderRecordSize(int32_t version);

// The Version field at the start of `bytes` (at least 4 of them).
int32_t ReadProviderVersion(std::span<const std::byte> bytes);

// Reads a whole record; empty when the version is neither 10 nor 20 or when
// `bytes` is shorter than that version's record.
std::optional<ProviderRecord> ReadProviderRecord(std::span<const std::byte> bytes);

// Reads the record at a client's address: its version first, then exactly as
// many bytes as that version's record has, so nothing past it is touched.
std::optional<ProviderRecord> ReadProviderRecordAt(const void* record);

}  // namespace loomkeys
