// The host process ends while the library's thread is busy registering and
// removing keys: Windows ends that thread wherever it is (inside an export,
// holding the registry's lock, half-way through changing a table) before the
// library hears of the exit. The exit must still end at once and take every
// global atom of the library with it, since atoms outlive the process.
//
// The program runs itself 50 times as the host: a worker thread loads the
// library and registers and removes keys in a loop, and the main thread ends
// the process at a moment that differs from run to run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "wine_check.h"

namespace {

constexpr int kRuns = 50;
constexpr UINT kShiftKeys = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
// The keys of the loop; each has its own atom, PowerPoint00xx0007.
constexpr UINT kFirstKey = 'A';
constexpr UINT kKeyCount = 12;
// The host's last moment: it signals this event right before ExitProcess.
constexpr wchar_t kExitingEvent[] = L"LoomkeysProcessExitTestExiting";
// The longest a host may take from ExitProcess to its end.
constexpr DWORD kExitBound = 1000;

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

HANDLE loopRunning = nullptr;

// The library's thread: it loads the library, then registers every key of the
// loop (each key a few times, so that removals go through entry lists as well
// as through the hot-key table) and removes them again, for ever.
DWORD WINAPI RegisterAndRemoveKeys(LPVOID) {
  HMODULE dll = loomkeys_dll::Load();
  auto RegisterShortcut = LOOMKEYS_EXPORT(dll, RegisterShortcut);
  auto UnregisterShortcut = LOOMKEYS_EXPORT(dll, UnregisterShortcut);
  for (;;) {
    uint32_t ids[kKeyCount * 2] = {};
    for (UINT i = 0; i < kKeyCount * 2; ++i) {
      RegisterShortcut("Exit", static_cast<uint16_t>(kFirstKey + i % kKeyCount), kShiftKeys, Ignore, "", &ids[i]);
    }
    SetEvent(loopRunning);
    for (uint32_t id : ids) UnregisterShortcut(id);
  }
}

// The host: ends the process `delay` microseconds after the loop has begun.
int RunHost(long delay) {
  HANDLE exiting = OpenEventW(EVENT_MODIFY_STATE, FALSE, kExitingEvent);
  loopRunning = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CreateThread(nullptr, 0, RegisterAndRemoveKeys, nullptr, 0, nullptr);
  if (WaitForSingleObject(loopRunning, 10000) != WAIT_OBJECT_0) return 4;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  do {
    QueryPerformanceCounter(&now);
  } while ((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart < delay);
  SetEvent(exiting);
  ExitProcess(0);
}

bool AnyAtomLeft() {
  for (UINT key = kFirstKey; key < kFirstKey + kKeyCount; ++key) {
    if (system_probes::AtomExists(key, kShiftKeys)) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--host") == 0) return RunHost(std::atol(argv[2]));

  wine_check::Section("50 hosts end while their library's thread registers and removes keys");
  HANDLE exiting = CreateEventW(nullptr, FALSE, FALSE, kExitingEvent);
  int notStarted = 0, lateExits = 0, failedExits = 0, runsLeavingAtoms = 0;
  for (int run = 0; run < kRuns; ++run) {
    // From at once to 20 ms into the loop, spread over the runs.
    const long delay = (run * 7919L) % 20000;
    HANDLE host = host_windows::StartThisProgram(L"--host " + std::to_wstring(delay));
    if (!host || WaitForSingleObject(exiting, 20000) != WAIT_OBJECT_0) {
      ++notStarted;
      if (host) TerminateProcess(host, 9);
      host_windows::AwaitProgramEnd(host);
      continue;
    }
    DWORD exitCode = 0;
    if (WaitForSingleObject(host, kExitBound) != WAIT_OBJECT_0) {
      ++lateExits;
      TerminateProcess(host, 9);
    } else if (!GetExitCodeProcess(host, &exitCode) || exitCode != 0) {
      std::printf("run %d: the host ended with 0x%lx\n", run, exitCode);
      ++failedExits;
    }
    host_windows::AwaitProgramEnd(host);
    if (AnyAtomLeft()) {
      std::printf("run %d (ended %ld us into the loop) left atoms\n", run, delay);
      ++runsLeavingAtoms;
      // Clean up, so that the next run is judged on its own.
      for (UINT key = kFirstKey; key < kFirstKey + kKeyCount; ++key) {
        wchar_t name[32];
        wsprintfW(name, L"PowerPoint%04X%04X", key, kShiftKeys);
        while (ATOM atom = GlobalFindAtomW(name)) GlobalDeleteAtom(atom);
      }
    }
  }
  CloseHandle(exiting);
  CHECK_EQ(notStarted, 0);
  CHECK_EQ(lateExits, 0);
  CHECK_EQ(failedExits, 0);
  CHECK_EQ(runsLeavingAtoms, 0);
  return wine_check::Finish();
}
