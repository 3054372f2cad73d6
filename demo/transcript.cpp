#include "transcript.h"

#include <windows.h>

#include <cstdio>

namespace transcript {
namespace {

// Both threads print; the lock keeps their lines whole.
struct PrintLock {
  PrintLock() { InitializeCriticalSection(&section); }
  CRITICAL_SECTION section;
};
PrintLock printLock;

}  // namespace

void Line(const std::wstring& text) {
  EnterCriticalSection(&printLock.section);
  std::printf("%ls\n", text.c_str());
  std::fflush(stdout);
  LeaveCriticalSection(&printLock.section);
}

}  // namespace transcript
