#pragma once
// The namespace data blob: what a client keeps of its shortcuts and hands
// back years later. Raw form: a little-endian version word, then one record
// per entry of the namespace in registry order, back to back, with no count.
// Clients see it as text, two hexadecimal digits per byte.
//
// First layout:  virtual key (2), shift keys (2), context length L (4), context (L).
// Second layout: virtual key (2), shift keys (2), active mode (2), L (4), context (L).
// Both write version 20; a load accepts 10 or 20. The version word does not
// tell the layouts apart: a blob is loaded by the pair of exports that wrote it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result_codes.h"
#include "registry/registry_entry.h"

namespace loomkeys {

enum class BlobLayout {
  kWithoutActiveMode,  // GetNamespaceData / LoadNamespace; loads as active in every mode
  kWithActiveMode,     // GetNamespaceData2 / LoadNamespace2
};

// One record as read from a blob. The context points into the blob.
struct BlobRecord {
  uint16_t virtualKey = 0;
  uint16_t shiftKeys = 0;
  uint16_t activeMode = kEveryMode;
  std::string_view context;
};

// The raw size of a blob for these entries: 0 when there are none (not even
// the version word is written), otherwise 4 plus one record per entry.
size_t NamespaceBlobSize(std::span<const RegistryEntry* const> entries, BlobLayout layout);
// The raw blob for these entries, NamespaceBlobSize bytes long.
std::vector<uint8_t> WriteNamespaceBlob(std::span<const RegistryEntry* const> entries, BlobLayout layout);

// Receives the text form piece by piece: the characters from `offset` on.
// False when they could not be taken.
using BlobTextSink = std::function<bool(size_t offset, const char* text, size_t size)>;
// Writes the text form of the blob for these entries (what BytesToHexText
// makes of WriteNamespaceBlob) through sink, a few kilobytes at a time, so
// that neither the raw blob nor the text is ever held whole. False as soon
// as the sink refused a piece.
bool WriteNamespaceBlobText(std::span<const RegistryEntry* const> entries, BlobLayout layout, const BlobTextSink& sink);

// Two upper-case hexadecimal digits per byte, high nibble first.
std::string BytesToHexText(std::span<const uint8_t> bytes);
// The bytes of a text of hexadecimal digits in either case; a trailing odd
// character is ignored. Nothing when a pair is not two hexadecimal digits.
std::optional<std::vector<uint8_t>> HexTextToBytes(std::string_view text);

// Checks the version word and hands every record to registerRecord in blob
// order. 0 when every record was read. 6 when the blob is shorter than the
// version word or its version is neither 10 nor 20: no record is handed on.
// 6 as well when the last record runs past the end of the blob: the complete
// records before it have been handed on, and nothing is read past the end.
Result ReadNamespaceBlob(std::span<const uint8_t> blob, BlobLayout layout,
                         const std::function<void(const BlobRecord&)>& registerRecord);

}  // namespace loomkeys
