#include "platform/guarded_copy.h"

#include <cstring>

namespace loomkeys {

// The native build has no structured exceptions; tests inject failing copies.
bool GuardedCopy(void* destination, const void* source, size_t size) noexcept {
  if (size != 0) std::memcpy(destination, source, size);
  return true;
}

}  // namespace loomkeys
