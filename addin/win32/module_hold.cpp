#include "win32/module_hold.h"

#include <atomic>
#include <utility>

#include "win32/library_instance.h"
#include "win32/procedure_exit_release.h"

namespace loomkeys {
namespace {

std::atomic<DWORD> holdingThread{0};
// Used by the holding thread only.
int depth = 0;
HMODULE heldModule = nullptr;

}  // namespace

ModuleHold::ModuleHold() noexcept {
  if (GetCurrentThreadId() != holdingThread || depth++ != 0) return;
  HMODULE module = nullptr;
  // Without the reference the hold protects nothing, but a later unload
  // still works as if there were no hold.
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(LibraryInstance()),
                         &module)) {
    heldModule = module;
  }
}

ModuleHold::~ModuleHold() {
  if (GetCurrentThreadId() != holdingThread || --depth != 0 || !heldModule) return;
  ReleaseOnEntryExit(std::exchange(heldModule, nullptr));
}

bool CountEntryHold() noexcept {
  if (GetCurrentThreadId() != holdingThread) return false;
  ++depth;
  return true;
}

void UncountEntryHold() noexcept { --depth; }

void BeginModuleHolds(DWORD thread) { holdingThread = thread; }

void EndModuleHolds() { holdingThread = 0; }

}  // namespace loomkeys
