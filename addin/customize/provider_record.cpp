#include "customize/provider_record.h"

#include <bit>
#include <cstring>

namespace loomkeys {
namespace {

static_assert(std::endian::native == std::endian::little, "the record is read in the machine's byte order");

template <typename T>
T ReadAt(std::span<const std::byte> bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

}  // namespace

size_t ProviderRecordSize(int32_t version) {
  if (version == kNativeProviderVersion) return kNativeProviderRecordSize;
  if (version == kMacroProviderVersion) return kMacroProviderRecordSize;
  return 0;
}

int32_t ReadProviderVersion(std::span<const std::byte> bytes) { return ReadAt<int32_t>(bytes, 0); }

std::optional<ProviderRecord> ReadProviderRecord(std::span<const std::byte> bytes) {
  if (bytes.size() < kVersionFieldSize) return std::nullopt;
  ProviderRecord record;
  record.version = ReadProviderVersion(bytes);
  const size_t size = ProviderRecordSize(record.version);
  if (size == 0 || bytes.size() < size) return std::nullopt;
  if (record.version == kNativeProviderVersion) {
    record.onCreateUI = ReadAt<uint64_t>(bytes, 4);
    record.onDestroyUI = ReadAt<uint64_t>(bytes, 12);
  } else {
    record.onCreateUIMacro = ReadAt<uint64_t>(bytes, 8);
    record.onDestroyUIMacro = ReadAt<uint64_t>(bytes, 16);
  }
  return record;
}

std::optional<ProviderRecord> ReadProviderRecordAt(const void* record) {
  const auto* bytes = static_cast<const std::byte*>(record);
  const size_t size = ProviderRecordSize(ReadProviderVersion({bytes, kVersionFieldSize}));
  if (size == 0) return std::nullopt;
  return ReadProviderRecord({bytes, size});
}

}  // namespace loomkeys
