#pragma once

namespace loomkeys {

// An HWND, kept opaque so that the portable core never sees <windows.h>.
using WindowHandle = void*;

}  // namespace loomkeys
