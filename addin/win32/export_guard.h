#pragma once
// Helpers shared by the exported functions: nothing thrown inside an export
// may reach the client, and a pointer argument that cannot be used answers
// like any other error raised inside the call.
#include <type_traits>

#include "common/result_codes.h"
#include "win32/client_memory.h"
#include "win32/library.h"

namespace loomkeys {

// Runs body with the loaded library and returns its result, or onFailure
// when the library is not loaded or body throws (for example when memory
// runs out). A client's pointer that cannot be read or written answers 6
// from the exports with a result code (int32_t), and onFailure from the
// others. The locks inside are scoped, so they are released either way.
template <typename Result, typename Body>
Result GuardedExport(Result onFailure, Body&& body) noexcept {
  try {
    Library* library = TheLibrary();
    return library ? body(*library) : onFailure;
  } catch (const ClientMemoryFault&) {
    if constexpr (std::is_same_v<Result, int32_t>) return kErrorRaised;
    return onFailure;
  } catch (...) {
    return onFailure;
  }
}

// Windows binds and unbinds hot keys only for the thread that created their
// window, the one that loaded the library. Calls that would bind or unbind a
// key on any other thread are refused before they change anything, rather
// than leaving a key half-registered or bound with nobody owning it.
inline bool OnLibraryThread(const Library& library) { return GetCurrentThreadId() == library.WindowThreadId(); }

}  // namespace loomkeys
