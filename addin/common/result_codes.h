#pragma once
// The results that the exports answer, shared by every unit of the library.
#include <cstdint>

namespace loomkeys {

enum Result : int32_t {
  kOk = 0,
  kDuplicate = 2,       // the namespace's earliest entry on the key has that context
  kKeyNotBound = 3,     // the system would not bind the key
  kBufferTooSmall = 4,  // the needed size was written back
  kUnknownShortcutId = 5,
  kErrorRaised = 6,  // failed copy, malformed blob, wrong version, or an internal error
  kCallFailed = 7,
  kUnknownProvider = 8,
  kCommandExists = 9,
  kNoSuchCommand = 10,
  kNoEntries = 11,         // the namespace has no entries
  kIndexPastEntries = 12,  // fewer entries than the 1-based index
  kNoSuchContext = 13,
  kWrongThread = 14,  // would bind or unbind keys on another thread than the library's
};

}  // namespace loomkeys
