#include "registry/namespace_blob.h"

#include <algorithm>

namespace loomkeys {
namespace {

constexpr uint32_t kVersionWritten = 20;
constexpr uint32_t kVersionOld = 10;
constexpr size_t kVersionSize = 4;
constexpr char kDigits[] = "0123456789ABCDEF";

// Bytes of a record before its context.
size_t RecordHeaderSize(BlobLayout layout) { return layout == BlobLayout::kWithActiveMode ? 10 : 8; }

void Put16(uint8_t*& out, uint16_t value) {
  *out++ = static_cast<uint8_t>(value);
  *out++ = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t*& out, uint32_t value) {
  Put16(out, static_cast<uint16_t>(value));
  Put16(out, static_cast<uint16_t>(value >> 16));
}

uint16_t Get16(const uint8_t* in) { return static_cast<uint16_t>(in[0] | in[1] << 8); }

uint32_t Get32(const uint8_t* in) { return Get16(in) | static_cast<uint32_t>(Get16(in + 2)) << 16; }

// The value of a hexadecimal digit, or -1.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Hands the raw blob to put, a few bytes at a time: the version word, then
// one record per entry, integers little-endian.
template <typename Put>
void EncodeBlob(std::span<const RegistryEntry* const> entries, BlobLayout layout, Put&& put) {
  if (entries.empty()) return;
  uint8_t header[10];
  uint8_t* out = header;
  Put32(out, kVersionWritten);
  put(header, kVersionSize);
  for (const RegistryEntry* entry : entries) {
    out = header;
    Put16(out, entry->virtualKey);
    Put16(out, entry->shiftKeys);
    if (layout == BlobLayout::kWithActiveMode) Put16(out, entry->activeMode);
    // A context is a client's string: far below 4 GB, or the client could
    // not have handed it to us as a C string in the first place.
    Put32(out, static_cast<uint32_t>(entry->context.size()));
    put(header, RecordHeaderSize(layout));
    put(reinterpret_cast<const uint8_t*>(entry->context.data()), entry->context.size());
  }
}

// Two digits per byte, high nibble first.
void PutHexDigits(const uint8_t* bytes, size_t count, char* out) {
  for (size_t i = 0; i < count; ++i) {
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 0x0F];
  }
}

}  // namespace

size_t NamespaceBlobSize(std::span<const RegistryEntry* const> entries, BlobLayout layout) {
  if (entries.empty()) return 0;
  size_t size = kVersionSize;
  for (const RegistryEntry* entry : entries) size += RecordHeaderSize(layout) + entry->context.size();
  return size;
}

std::vector<uint8_t> WriteNamespaceBlob(std::span<const RegistryEntry* const> entries, BlobLayout layout) {
  std::vector<uint8_t> blob(NamespaceBlobSize(entries, layout));
  uint8_t* out = blob.data();
  EncodeBlob(entries, layout,
             [&out](const uint8_t* bytes, size_t count) { out = std::copy(bytes, bytes + count, out); });
  return blob;
}

bool WriteNamespaceBlobText(std::span<const RegistryEntry* const> entries, BlobLayout layout,
                            const BlobTextSink& sink) {
  char piece[4096];
  size_t used = 0, offset = 0;
  bool taken = true;
  auto flush = [&] {
    if (taken && used != 0) taken = sink(offset, piece, used);
    offset += used;
    used = 0;
  };
  EncodeBlob(entries, layout, [&](const uint8_t* bytes, size_t count) {
    while (count != 0) {
      if (used == sizeof piece) flush();
      const size_t fits = std::min(count, (sizeof piece - used) / 2);
      PutHexDigits(bytes, fits, piece + used);
      used += 2 * fits, bytes += fits, count -= fits;
    }
  });
  flush();
  return taken;
}

std::string BytesToHexText(std::span<const uint8_t> bytes) {
  std::string text(bytes.size() * 2, '\0');
  PutHexDigits(bytes.data(), bytes.size(), text.data());
  return text;
}

std::optional<std::vector<uint8_t>> HexTextToBytes(std::string_view text) {
  std::vector<uint8_t> bytes(text.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int high = DigitValue(text[2 * i]);
    const int low = DigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return bytes;
}

Result ReadNamespaceBlob(std::span<const uint8_t> blob, BlobLayout layout,
                         const std::function<void(const BlobRecord&)>& registerRecord) {
  if (blob.size() < kVersionSize) return kErrorRaised;
  const uint32_t version = Get32(blob.data());
  if (version != kVersionWritten && version != kVersionOld) return kErrorRaised;

  const size_t headerSize = RecordHeaderSize(layout);
  size_t position = kVersionSize;
  while (position < blob.size()) {
    // Every length is compared with what is left, never added to the
    // position first, so that no length field can overflow or reach past
    // the end; the context is a view into the blob, so no length field
    // decides the size of an allocation either.
    const size_t left = blob.size() - position;
    if (left < headerSize) return kErrorRaised;
    const uint8_t* record = blob.data() + position;
    BlobRecord read;
    read.virtualKey = Get16(record);
    read.shiftKeys = Get16(record + 2);
    if (layout == BlobLayout::kWithActiveMode) read.activeMode = Get16(record + 4);
    const uint32_t contextSize = Get32(record + headerSize - 4);
    if (contextSize > left - headerSize) return kErrorRaised;
    read.context = {reinterpret_cast<const char*>(record + headerSize), contextSize};
    registerRecord(read);
    position += headerSize + contextSize;
  }
  return kOk;
}

}  // namespace loomkeys
