#include "win32/module_hold.h"

#include <atomic>
#include <utility>

#include "win32/hotkey_window.h"
#include "win32/library_instance.h"
#include "win32/procedure_exit_release.h"

namespace loomkeys {
namespace {

// The longest the library's thread waits for the release: only a loader lock
// that another thread holds for long makes it take more than moments, and
// then the release completes later on its own.
constexpr ULONGLONG kReleaseWait = 2000;

std::atomic<DWORD> holdingThread{0};
// Used by the holding thread only.
int depth = 0;
HMODULE heldModule = nullptr;

DWORD WINAPI ReleaseModule(LPVOID module) { FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0); }

}  // namespace

ModuleHold::ModuleHold(Taken taken) noexcept : taken_(taken) {
  if (GetCurrentThreadId() != holdingThread) return;
  ++depth;
  if (taken == Taken::kAtOnce) TakeDeferredHold();
}

void TakeDeferredHold() noexcept {
  if (GetCurrentThreadId() != holdingThread || depth == 0 || heldModule) return;
  HMODULE module = nullptr;
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(LibraryInstance()),
                         &module)) {
    heldModule = module;
  }
}

ModuleHold::~ModuleHold() {
  if (GetCurrentThreadId() != holdingThread || --depth != 0 || !heldModule) return;
  if (taken_ == Taken::kForKeyPress) {
    ReleaseOnProcedureExit(std::exchange(heldModule, nullptr));
    return;
  }
  HANDLE thread = CreateThread(nullptr, 0, ReleaseModule, heldModule, 0, nullptr);
  // Without a thread the reference stays: a library that can no longer be
  // unloaded is better than one unmapped under running code.
  if (!thread) return;
  heldModule = nullptr;
  const ULONGLONG end = GetTickCount64() + kReleaseWait;
  while (WaitForSingleObject(thread, 1) == WAIT_TIMEOUT && !HotKeyWindow::ProcedureDetached() &&
         GetTickCount64() < end) {
  }
  CloseHandle(thread);
}

void BeginModuleHolds(DWORD thread) { holdingThread = thread; }

void EndModuleHolds() { holdingThread = 0; }

}  // namespace loomkeys
