// The host process ends while the library's thread is busy registering and
// removing keys: Windows ends that thread wherever it is (inside an export,
// holding the registry's lock, half-way through changing a table) before the
// library hears of the exit. The exit must still end at once and take every
// global atom of the library with it, since atoms outlive the process.
//
// The program runs itself 50 times as the host: a worker thread loads the
// library and registers and removes keys in a loop, and the main thread ends
// the process at a moment that differs from run to run. Five hosts run at a
// time, each with keys of its own shift keys, so that each is judged by its
// own atoms.
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
constexpr UINT kShiftKeysOfHost[] = {MOD_CONTROL | MOD_ALT | MOD_SHIFT, MOD_CONTROL | MOD_SHIFT, MOD_ALT | MOD_SHIFT,
                                     MOD_CONTROL | MOD_ALT, MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN};
constexpr int kHostsAtATime = static_cast<int>(std::size(kShiftKeysOfHost));
// The keys of the loop; each has its own atom, e.g. PowerPoint00410007.
constexpr UINT kFirstKey = 'A';
constexpr UINT kKeyCount = 12;
// The longest a host may take from ExitProcess to its end.
constexpr DWORD kExitBound = 1000;

// A host's last moment: it signals this event right before ExitProcess.
std::wstring ExitingEventName(int host) { return L"LoomkeysProcessExitTestExiting" + std::to_wstring(host); }

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

struct Loop {
  UINT shiftKeys;
  HANDLE running;
};

// The library's thread: it loads the library, then registers every key of the
// loop (each key twice, so that removals go through entry lists as well as
// through the hot-key table) and removes them again, for ever.
DWORD WINAPI RegisterAndRemoveKeys(LPVOID context) {
  const Loop& loop = *static_cast<const Loop*>(context);
  const auto& dll = loomkeys_dll::Load();
  for (;;) {
    uint32_t ids[kKeyCount * 2] = {};
    for (UINT i = 0; i < kKeyCount * 2; ++i) {
      dll.RegisterShortcut("Exit", static_cast<uint16_t>(kFirstKey + i % kKeyCount),
                           static_cast<uint16_t>(loop.shiftKeys), Ignore, "", &ids[i]);
    }
    SetEvent(loop.running);
    for (uint32_t id : ids) dll.UnregisterShortcut(id);
  }
}

// A host: ends the process `delay` microseconds after the loop has begun.
int RunHost(int host, long delay) {
  HANDLE exiting = OpenEventW(EVENT_MODIFY_STATE, FALSE, ExitingEventName(host).c_str());
  static Loop loop{kShiftKeysOfHost[host], CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  CreateThread(nullptr, 0, RegisterAndRemoveKeys, &loop, 0, nullptr);
  if (!exiting || WaitForSingleObject(loop.running, 10000) != WAIT_OBJECT_0) return 4;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  do {
    QueryPerformanceCounter(&now);
  } while ((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart < delay);
  SetEvent(exiting);
  ExitProcess(0);
}

std::wstring AtomName(UINT virtualKey, UINT shiftKeys) {
  wchar_t name[32];
  wsprintfW(name, L"PowerPoint%04X%04X", virtualKey, shiftKeys);
  return name;
}

// Whether the host left atoms; they go, so that the next run is judged on its own.
bool AtomsLeft(int host) {
  bool left = false;
  for (UINT key = kFirstKey; key < kFirstKey + kKeyCount; ++key) {
    const std::wstring name = AtomName(key, kShiftKeysOfHost[host]);
    while (ATOM atom = GlobalFindAtomW(name.c_str())) {
      left = true;
      GlobalDeleteAtom(atom);
    }
  }
  return left;
}

struct Tally {
  int notStarted = 0, lateExits = 0, failedExits = 0, leavingAtoms = 0, keysLeftBound = 0;
};

// Waits for a host's exit and judges it.
void Judge(int run, int host, long delay, HANDLE process, HANDLE exiting, Tally& tally) {
  if (!process || WaitForSingleObject(exiting, 30000) != WAIT_OBJECT_0) {
    ++tally.notStarted;
    if (process) TerminateProcess(process, 9);
  } else if (WaitForSingleObject(process, kExitBound) != WAIT_OBJECT_0) {
    std::printf("run %d: the host did not end within %lu ms of ExitProcess\n", run, kExitBound);
    ++tally.lateExits;
    TerminateProcess(process, 9);
  } else if (DWORD exitCode = 1; !GetExitCodeProcess(process, &exitCode) || exitCode != 0) {
    std::printf("run %d: the host ended with 0x%lx\n", run, exitCode);
    ++tally.failedExits;
  }
  if (process) host_windows::AwaitProgramEnd(process);
  if (AtomsLeft(host)) {
    std::printf("run %d (ended %ld us into the loop) left atoms\n", run, delay);
    ++tally.leavingAtoms;
  }
  // The hot keys go with the host's window, which the system destroys.
  for (UINT key = kFirstKey; key < kFirstKey + kKeyCount; ++key) {
    tally.keysLeftBound += !system_probes::KeyIsFree(kShiftKeysOfHost[host], key);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--host") == 0) return RunHost(std::atoi(argv[2]), std::atol(argv[3]));

  wine_check::Section("50 hosts end while their library's thread registers and removes keys");
  HANDLE exiting[kHostsAtATime];
  for (int host = 0; host < kHostsAtATime; ++host) {
    exiting[host] = CreateEventW(nullptr, FALSE, FALSE, ExitingEventName(host).c_str());
  }
  Tally tally;
  for (int first = 0; first < kRuns; first += kHostsAtATime) {
    HANDLE processes[kHostsAtATime];
    long delays[kHostsAtATime];
    for (int host = 0; host < kHostsAtATime; ++host) {
      // From at once to 20 ms into the loop, spread over the runs.
      delays[host] = ((first + host) * 7919L) % 20000;
      processes[host] =
          host_windows::StartThisProgram(L"--host " + std::to_wstring(host) + L" " + std::to_wstring(delays[host]));
    }
    for (int host = 0; host < kHostsAtATime; ++host) {
      Judge(first + host, host, delays[host], processes[host], exiting[host], tally);
    }
  }
  for (HANDLE event : exiting) CloseHandle(event);
  CHECK_EQ(tally.notStarted, 0);
  CHECK_EQ(tally.lateExits, 0);
  CHECK_EQ(tally.failedExits, 0);
  CHECK_EQ(tally.leavingAtoms, 0);
  CHECK_EQ(tally.keysLeftBound, 0);
  return wine_check::Finish();
}
