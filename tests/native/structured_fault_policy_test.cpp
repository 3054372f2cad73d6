#include "common/structured_fault_policy.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Code {
  const char* name;
  uint32_t code;
  LoomkeysFaultAction copyGuard;
  LoomkeysFaultAction clientCodeGuard;
};

constexpr LoomkeysFaultAction kPassOn = kLoomkeysPassOn;
constexpr LoomkeysFaultAction kCatch = kLoomkeysCatch;
constexpr LoomkeysFaultAction kCatchGuardPage = kLoomkeysCatchGuardPage;
constexpr LoomkeysFaultAction kCatchStackOverflow = kLoomkeysCatchStackOverflow;

// The copy guard takes only what an unusable pointer raises; the client-code
// guard takes what client code may raise and the process survives.
constexpr Code kCodes[] = {
    {"access violation", 0xC0000005, kCatch, kCatch},
    {"in-page error", 0xC0000006, kCatch, kCatch},
    {"datatype misalignment", 0x80000002, kCatch, kCatch},
    {"guard page touched", 0x80000001, kCatchGuardPage, kCatchGuardPage},
    {"stack overflow", 0xC00000FD, kPassOn, kCatchStackOverflow},
    {"integer division by zero", 0xC0000094, kPassOn, kCatch},
    {"illegal instruction", 0xC000001D, kPassOn, kCatch},
    {"privileged instruction", 0xC0000096, kPassOn, kCatch},
    {"floating-point overflow", 0xC0000091, kPassOn, kCatch},
    {"array bounds exceeded", 0xC000008C, kPassOn, kCatch},
    {"Microsoft C++ exception", 0xE06D7363, kPassOn, kCatch},
    {"GCC C++ exception", 0x20474343, kPassOn, kCatch},
    {".NET exception", 0xE0434352, kPassOn, kCatch},
    {"another runtime's exception", 0x0EEDFADE, kPassOn, kCatch},
    {"breakpoint", 0x80000003, kPassOn, kPassOn},
    {"single step", 0x80000004, kPassOn, kPassOn},
    {"noncontinuable exception", 0xC0000025, kPassOn, kPassOn},
    {"invalid disposition", 0xC0000026, kPassOn, kPassOn},
    {"bad stack", 0xC0000028, kPassOn, kPassOn},
    {"invalid unwind target", 0xC0000029, kPassOn, kPassOn},
    {"heap corruption", 0xC0000374, kPassOn, kPassOn},
    {"stack buffer overrun", 0xC0000409, kPassOn, kPassOn},
    {"assertion failure", 0xC0000420, kPassOn, kPassOn},
    {"fail fast", 0xC0000602, kPassOn, kPassOn},
    {"debug output", 0x40010006, kPassOn, kPassOn},
    {"wide debug output", 0x4001000A, kPassOn, kPassOn},
    {"thread name for a debugger", 0x406D1388, kPassOn, kPassOn},
};

TEST(StructuredFaultPolicyTest, EachGuardCatchesOnlyTheCodesItCanRecoverFrom) {
  for (const Code& code : kCodes) {
    SCOPED_TRACE(code.name);
    EXPECT_EQ(LoomkeysFaultActionFor(kLoomkeysCopyGuard, code.code), code.copyGuard);
    EXPECT_EQ(LoomkeysFaultActionFor(kLoomkeysClientCodeGuard, code.code), code.clientCodeGuard);
  }
}

}  // namespace
