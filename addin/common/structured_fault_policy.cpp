#include "common/structured_fault_policy.h"

namespace {

// The codes as <winnt.h> and <ntstatus.h> name them.
constexpr uint32_t kGuardPageViolation = 0x80000001;
constexpr uint32_t kDatatypeMisalignment = 0x80000002;
constexpr uint32_t kBreakpoint = 0x80000003;
constexpr uint32_t kSingleStep = 0x80000004;
constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr uint32_t kInPageError = 0xC0000006;
constexpr uint32_t kNoncontinuableException = 0xC0000025;
constexpr uint32_t kInvalidDisposition = 0xC0000026;
constexpr uint32_t kBadStack = 0xC0000028;
constexpr uint32_t kInvalidUnwindTarget = 0xC0000029;
constexpr uint32_t kStackOverflow = 0xC00000FD;
constexpr uint32_t kHeapCorruption = 0xC0000374;
constexpr uint32_t kStackBufferOverrun = 0xC0000409;
constexpr uint32_t kAssertionFailure = 0xC0000420;
constexpr uint32_t kFailFast = 0xC0000602;

// Codes whose top two bits are 01 inform a debugger (debug output, a thread's
// name); their raisers expect to go on.
constexpr bool IsInformational(uint32_t code) { return code >> 30 == 1; }

// The process's state is broken (heap, stack, exception dispatch) or a
// debugger's event is meant for the debugger: going on would hide it.
constexpr bool IsUnrecoverable(uint32_t code) {
  switch (code) {
    case kBreakpoint:
    case kSingleStep:
    case kNoncontinuableException:
    case kInvalidDisposition:
    case kBadStack:
    case kInvalidUnwindTarget:
    case kHeapCorruption:
    case kStackBufferOverrun:
    case kAssertionFailure:
    case kFailFast:
      return true;
    default:
      return IsInformational(code);
  }
}

}  // namespace

extern "C" LoomkeysFaultAction LoomkeysFaultActionFor(LoomkeysGuardKind guard, uint32_t code) {
  if (code == kGuardPageViolation) return kLoomkeysCatchGuardPage;
  if (guard == kLoomkeysCopyGuard) {
    const bool unusablePointer = code == kAccessViolation || code == kInPageError || code == kDatatypeMisalignment;
    return unusablePointer ? kLoomkeysCatch : kLoomkeysPassOn;
  }
  if (code == kStackOverflow) return kLoomkeysCatchStackOverflow;
  return IsUnrecoverable(code) ? kLoomkeysPassOn : kLoomkeysCatch;
}
