#include "platform/guarded_copy.h"

#include <cstring>

#include "win32/seh_guard.h"

namespace loomkeys {

bool GuardedCopy(void* destination, const void* source, size_t size) noexcept {
  auto copy = [&] { std::memcpy(destination, source, size); };
  return RunCopyGuarded(copy);
}

}  // namespace loomkeys
