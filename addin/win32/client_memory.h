#pragma once
// Reads and writes through the pointers that a client hands to an export.
// Any of them may point at memory that cannot be read or written; the fault
// is caught by the structured-exception guard and thrown on as
// ClientMemoryFault, which the export turns into its result.
//
// The guard only ever runs around C functions (strlen, memcpy): a structured
// fault is never unwound through C++ frames, and least of all through frames
// that hold a lock. So strings are copied into the library's own memory
// before any lock is taken, and out-values are computed into locals and
// written once the locks have been released.
#include <cstdint>
#include <string>

#include "platform/guarded_copy.h"

namespace loomkeys {

struct ClientMemoryFault {};

// A client's NUL-terminated string; null reads as empty.
std::string ClientText(const char* text);
std::u16string ClientText(const wchar_t* text);

template <typename T>
T ReadClientValue(const T* source) {
  T value{};
  if (!GuardedCopy(&value, source, sizeof value)) throw ClientMemoryFault();
  return value;
}

// A null target is not written.
template <typename T>
void WriteClientValue(T* target, T value) {
  if (target && !GuardedCopy(target, &value, sizeof value)) throw ClientMemoryFault();
}

}  // namespace loomkeys
