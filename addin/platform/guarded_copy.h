#pragma once
// Copies into a buffer that a client handed us. On Windows a fault while
// writing (an unwritable or too short buffer) is caught and reported as
// false instead of taking the host process down.
#include <cstddef>

namespace loomkeys {

using CopyFunction = bool (*)(void* destination, const void* source, size_t size) noexcept;

bool GuardedCopy(void* destination, const void* source, size_t size) noexcept;

}  // namespace loomkeys
