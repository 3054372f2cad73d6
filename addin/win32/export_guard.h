#pragma once
// Helpers shared by the exported functions: nothing thrown inside an export
// may reach the client, and null string pointers read as empty strings.
#include <string_view>

#include "win32/library.h"

namespace loomkeys {

// Runs body with the loaded library and returns its result, or onFailure
// when the library is not loaded or body throws (for example when memory
// runs out). The locks inside are scoped, so they are released either way.
template <typename Result, typename Body>
Result GuardedExport(Result onFailure, Body&& body) noexcept {
  try {
    Library* library = TheLibrary();
    return library ? body(*library) : onFailure;
  } catch (...) {
    return onFailure;
  }
}

// Windows binds and unbinds hot keys only for the thread that created their
// window, the one that loaded the library. Calls that would bind or unbind a
// key on any other thread are refused before they change anything, rather
// than leaving a key half-registered or bound with nobody owning it.
inline bool OnLibraryThread(const Library& library) { return GetCurrentThreadId() == library.WindowThreadId(); }

inline std::string_view AnsiArgument(const char* text) { return text ? std::string_view(text) : std::string_view(); }

}  // namespace loomkeys
