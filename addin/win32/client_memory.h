#pragma once
// Reads and writes through the pointers that a client hands to an export.
// Any of them may point at memory that cannot be read or written (or at a
// guard page, which is guarded again afterwards); the fault is caught by the
// copy guard and thrown on as ClientMemoryFault, which the export turns into
// its result.
//
// Here the guard runs around strlen and memcpy only, so a fault unwinds no
// frame of the library's: the C++ exception is thrown from the guard's caller.
// The client-code guard does unwind foreign frames (the client's own, and
// VariantCopyInd's around the client's AddRef), never one of the library's
// that holds a lock or a resource. Strings are copied into the library's own
// memory before any lock is taken, and out-values are computed into locals
// and written once the locks have been released.
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
