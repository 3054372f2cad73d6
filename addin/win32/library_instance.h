#pragma once
// The library's own module, for its resources and its windows.
#include <windows.h>

namespace loomkeys {

HINSTANCE LibraryInstance();

}  // namespace loomkeys
