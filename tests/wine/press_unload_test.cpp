// A worker thread drops the host's only reference on the real Loomkeys.dll
// while the thread that loaded it handles key presses: the worker posts four
// WM_HOTKEY of a registered key to the hidden window and calls FreeLibrary 0
// to 80 ms later, while the loading thread pumps. 300 times: neither thread
// may wait for ever, the library must be gone afterwards with everything of
// its own, and the outcome of each round is counted and printed.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "wine_check.h"

namespace {

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;
constexpr UINT kKey = 'K';
constexpr int kRounds = 300;
constexpr int kPresses = 4;
constexpr DWORD kLongestDelay = 80;
// A round that has not ended by then is stuck.
constexpr DWORD kStuck = 15000;

std::atomic<int> callbacks{0};
void LOOMKEYS_CALL CountCall(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) { ++callbacks; }

struct Round {
  HMODULE dll;
  HWND window;
  ATOM atom;
  DWORD delay;
  bool goneWhenFreed = false;
};

DWORD WINAPI PressAndUnload(LPVOID context) {
  auto* round = static_cast<Round*>(context);
  const LPARAM chord = MAKELPARAM(kCtrlShift, kKey);
  for (int press = 0; press < kPresses; ++press) PostMessageW(round->window, WM_HOTKEY, round->atom, chord);
  Sleep(round->delay);
  FreeLibrary(round->dll);
  round->goneWhenFreed = GetModuleHandleW(L"Loomkeys.dll") == nullptr;
  return 0;
}

// Ends the program when a round stops making progress: the threads of a
// deadlock hold the loader's lock, so nothing else could end it.
HANDLE progress = nullptr;
std::atomic<int> currentRound{0};
DWORD WINAPI Watchdog(LPVOID) {
  while (WaitForSingleObject(progress, kStuck) == WAIT_OBJECT_0) {
  }
  std::printf("FAILED: round %d stuck for %lu ms (deadlock)\n", currentRound.load(),
              static_cast<unsigned long>(kStuck));
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 3);
  return 0;
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  std::printf("FAILED: the host crashed in round %d: exception %08lX at %p\n", currentRound.load(),
              exception->ExceptionRecord->ExceptionCode, exception->ExceptionRecord->ExceptionAddress);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 4);
  return EXCEPTION_EXECUTE_HANDLER;
}

bool NothingLeft() {
  return GetModuleHandleW(L"Loomkeys.dll") == nullptr && system_probes::HotKeyWindows().empty() &&
         system_probes::KeyIsFree(kCtrlShift, kKey) && !system_probes::AtomExists(kKey, kCtrlShift) &&
         !system_probes::MutexExists();
}

}  // namespace

int main() {
  SetUnhandledExceptionFilter(ReportCrash);
  progress = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
  HWND editing = host_windows::Create(L"PPTFrameClass", L"Deck - PowerPoint");
  host_windows::BringToFront(editing);

  wine_check::Section("300 rounds: presses on the loading thread, the last FreeLibrary on a worker");
  int unloadedByWorker = 0, unloadedAfterPresses = 0, failedRounds = 0;
  int roundsByCalls[kPresses + 1] = {};
  unsigned seed = 20;
  for (int round = 1; round <= kRounds; ++round) {
    currentRound = round;
    const auto& dll = loomkeys_dll::Load();
    Round work{dll.module, nullptr, 0, 0};
    uint32_t id = 0;
    const bool registered = dll.RegisterShortcut("Press", kKey, kCtrlShift, CountCall, "", &id) == LOOMKEYS_OK;
    work.window = system_probes::HotKeyWindow();
    wchar_t atomName[32];
    wsprintfW(atomName, L"PowerPoint%04X%04X", kKey, kCtrlShift);
    work.atom = GlobalFindAtomW(atomName);
    seed = seed * 1103515245u + 12345u;
    work.delay = (seed >> 16) % (kLongestDelay + 1);
    callbacks = 0;

    HANDLE worker = CreateThread(nullptr, 0, PressAndUnload, &work, 0, nullptr);
    const bool ended = host_windows::PumpUntil(
        [worker] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0 && NothingLeft(); }, 10000);
    CloseHandle(worker);
    SetEvent(progress);

    if (!registered || !ended) {
      ++failedRounds;
      std::printf("round %d (delay %lu ms): registered %d, everything gone %d\n", round,
                  static_cast<unsigned long>(work.delay), registered, ended);
      continue;
    }
    ++(work.goneWhenFreed ? unloadedByWorker : unloadedAfterPresses);
    ++roundsByCalls[callbacks.load()];
  }
  std::printf("unloaded by the worker's FreeLibrary: %d rounds; after a running press, on the loading thread: %d\n",
              unloadedByWorker, unloadedAfterPresses);
  for (int calls = 0; calls <= kPresses; ++calls) {
    std::printf("rounds with %d of %d presses calling back: %d\n", calls, kPresses, roundsByCalls[calls]);
  }
  CHECK_EQ(failedRounds, 0);
  CHECK_EQ(unloadedByWorker + unloadedAfterPresses, kRounds);
  return wine_check::Finish();
}
