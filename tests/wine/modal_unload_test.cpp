// Drops the host's only reference on the real Loomkeys.dll while the About
// box or the Customize Shortcuts dialog is open on the thread that loaded it:
// from a worker thread, from the host's own timer that the dialog's message
// loop runs, and from a provider's OnDestroyUI. The library then goes when the
// export returns: the host must survive that return, find the module gone at
// once, and no window, atom, bound key or mutex may be left. Each case runs
// again with the host's thread pinned to one core beside a busy thread, so
// that it is slow to be scheduled again after a wait.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/box_watcher.h"
#include "wine_check.h"

namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr UINT kKey = 'H';
constexpr int kRepeats = 5;

enum class Shown { kAboutBox, kCustomizeDialog };
enum class Unloader { kWorkerThread, kTimerInLoop, kOnDestroyUI };

struct Case {
  const char* name;
  Shown shown;
  Unloader unloader;
};

const Case kCases[] = {
    {"About box, a worker unloads", Shown::kAboutBox, Unloader::kWorkerThread},
    {"About box, the host's timer unloads in the box's loop", Shown::kAboutBox, Unloader::kTimerInLoop},
    {"Customize dialog, a worker unloads", Shown::kCustomizeDialog, Unloader::kWorkerThread},
    {"Customize dialog, the host's timer unloads in the dialog's loop", Shown::kCustomizeDialog,
     Unloader::kTimerInLoop},
    {"Customize dialog, OnDestroyUI unloads", Shown::kCustomizeDialog, Unloader::kOnDestroyUI},
};

const char* runningCase = "";
std::atomic<bool> unloadedByHost{false};

// A crash is what this program looks for: name the case and end at once.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  std::printf("FAILED: the host crashed in \"%s\": exception %08lX at %p\n", runningCase,
              exception->ExceptionRecord->ExceptionCode, exception->ExceptionRecord->ExceptionAddress);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 4);
  return EXCEPTION_EXECUTE_HANDLER;
}

void DropHostReference() {
  FreeLibrary(loomkeys_dll::Exports().module);
  unloadedByHost = true;
}

void CALLBACK UnloadFromTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  DropHostReference();
}

void LOOMKEYS_CALL UnloadFromOnDestroyUI(TUIDataHandle, uint16_t) { DropHostReference(); }

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

DWORD WINAPI UnloadOnThisThread(LPVOID) {
  DropHostReference();
  return 0;
}

// Spins on one core until stopped.
std::atomic<bool> stopSpinning{false};
DWORD WINAPI Spin(LPVOID) {
  while (!stopSpinning) {
  }
  return 0;
}

// The user's side: waits for the box or dialog, has the host drop its
// reference meanwhile where a worker does it, and closes it.
struct Watch {
  const wchar_t* caption;
  int closeButton;
  Unloader unloader;
  bool found = false;
  bool workerReturned = false;
  bool loadedWhileOpen = false;
};

DWORD WINAPI WatchDialog(LPVOID context) {
  auto* watch = static_cast<Watch*>(context);
  HWND dialog = box_watcher::WaitForDialog(watch->caption, 8000);
  if (!dialog) return 0;
  watch->found = true;
  if (watch->unloader == Unloader::kWorkerThread) {
    HANDLE worker = CreateThread(nullptr, 0, UnloadOnThisThread, nullptr, 0, nullptr);
    watch->workerReturned = WaitForSingleObject(worker, 5000) == WAIT_OBJECT_0;
    CloseHandle(worker);
  } else if (watch->unloader == Unloader::kTimerInLoop) {
    for (int wait = 0; wait < 500 && !unloadedByHost; ++wait) Sleep(10);
  }
  watch->loadedWhileOpen = GetModuleHandleW(L"Loomkeys.dll") != nullptr;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(watch->closeButton, BN_CLICKED), 0);
  return 0;
}

void RunOnce(const Case& test, bool pinned) {
  const auto& dll = loomkeys_dll::Load();
  unloadedByHost = false;
  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut("Held", kKey, kCtrlAlt, Ignore, "", &id), LOOMKEYS_OK);
  if (test.unloader == Unloader::kOnDestroyUI) {
    TUIProvider provider = {};
    provider.Native = {10, nullptr, UnloadFromOnDestroyUI};
    TUIProviderHandle handle = nullptr;
    CHECK_EQ(dll.RegisterUIProvider(&provider, &handle), LOOMKEYS_OK);
  }
  if (test.unloader == Unloader::kTimerInLoop) SetTimer(nullptr, 0, 20, UnloadFromTimer);

  HANDLE spinner = nullptr;
  const DWORD_PTR previousMask = pinned ? SetThreadAffinityMask(GetCurrentThread(), 1) : 0;
  if (pinned) {
    stopSpinning = false;
    spinner = CreateThread(nullptr, 0, Spin, nullptr, CREATE_SUSPENDED, nullptr);
    SetThreadAffinityMask(spinner, 1);
    ResumeThread(spinner);
  }
  const bool about = test.shown == Shown::kAboutBox;
  Watch watch{about ? L"About" : L"Customize Shortcuts", about ? IDOK : IDCANCEL, test.unloader};
  HANDLE watcher = CreateThread(nullptr, 0, WatchDialog, &watch, 0, nullptr);

  if (about) {
    dll.ShowAboutBox();
  } else {
    dll.ShowCustomizeShortcutsUI(nullptr);
  }
  // The library's last reference went when the call returned, on this thread.
  const bool goneAtReturn = GetModuleHandleW(L"Loomkeys.dll") == nullptr;
  const int windowsAtReturn = static_cast<int>(system_probes::HotKeyWindows().size());

  if (pinned) {
    stopSpinning = true;
    WaitForSingleObject(spinner, 5000);
    CloseHandle(spinner);
    SetThreadAffinityMask(GetCurrentThread(), previousMask);
  }
  CHECK_EQ(WaitForSingleObject(watcher, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(watcher);
  CHECK(watch.found);
  CHECK(unloadedByHost);
  CHECK(watch.loadedWhileOpen);  // the host's FreeLibrary did not pull the library away under the dialog
  if (test.unloader == Unloader::kWorkerThread) CHECK(watch.workerReturned);
  CHECK(goneAtReturn);
  CHECK_EQ(windowsAtReturn, 0);
  CHECK(system_probes::KeyIsFree(kCtrlAlt, kKey));
  CHECK(!system_probes::AtomExists(kKey, kCtrlAlt));
  CHECK(!system_probes::MutexExists());
  // A library left behind would make every later run fail too.
  for (int attempt = 0; attempt < 10 && GetModuleHandleW(L"Loomkeys.dll"); ++attempt) {
    FreeLibrary(GetModuleHandleW(L"Loomkeys.dll"));
  }
}

}  // namespace

int main() {
  SetUnhandledExceptionFilter(ReportCrash);
  for (const bool pinned : {false, true}) {
    for (const Case& test : kCases) {
      static char title[160];
      std::snprintf(title, sizeof title, "%s%s, %d times", test.name, pinned ? ", pinned beside a busy thread" : "",
                    kRepeats);
      wine_check::Section(title);
      runningCase = title;
      for (int run = 0; run < kRepeats; ++run) RunOnce(test, pinned);
    }
  }
  return wine_check::Finish();
}
