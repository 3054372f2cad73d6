#include "win32/press_entry_page.h"

#include <cstring>

#include "common/press_entry_code.h"
#include "win32/hotkey_window.h"
#include "win32/library_instance.h"
#include "win32/module_hold.h"
#include "win32/procedure_exit_release.h"

extern "C" {

// What the page calls for a press, holding the module's reference: that
// reference is the outermost hold of the press (module_hold.h).
LRESULT CALLBACK LoomkeysRunHeldPress(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return loomkeys::RunEntryHeldPress(
      [&] { return loomkeys::HotKeyWindow::WindowProc(window, message, wParam, lParam); });
}
}

namespace loomkeys {
namespace {

template <typename Function>
uint64_t AddressOf(Function* function) {
  return reinterpret_cast<uint64_t>(function);
}

}  // namespace

WNDPROC WritePressEntryPage() noexcept {
  PressEntryCode entry;
  try {
    // The system functions' addresses as the import table resolved them:
    // they lie outside the module.
    entry = WritePressEntryCode({AddressOf(LoomkeysHotKeyWindowEntry), AddressOf(LoomkeysRunHeldPress),
                                 reinterpret_cast<uint64_t>(LibraryInstance()), AddressOf(GetModuleHandleExW),
                                 AddressOf(FreeLibrary)});
  } catch (...) {
    return nullptr;
  }
  const size_t functionTableOffset = (entry.unwindInfoOffset + entry.unwindInfo.size() + 3) & ~size_t{3};
  SYSTEM_INFO system = {};
  GetSystemInfo(&system);
  if (functionTableOffset + sizeof(RUNTIME_FUNCTION) > system.dwPageSize) return nullptr;

  auto* page =
      static_cast<uint8_t*>(VirtualAlloc(nullptr, system.dwPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!page) return nullptr;
  std::memcpy(page, entry.code.data(), entry.code.size());
  std::memcpy(page + entry.unwindInfoOffset, entry.unwindInfo.data(), entry.unwindInfo.size());
  auto* function = reinterpret_cast<RUNTIME_FUNCTION*>(page + functionTableOffset);
  function->BeginAddress = 0;
  function->EndAddress = static_cast<DWORD>(entry.code.size());
  function->UnwindData = entry.unwindInfoOffset;
  DWORD previous = 0;
  if (!VirtualProtect(page, system.dwPageSize, PAGE_EXECUTE_READ, &previous)) {
    VirtualFree(page, 0, MEM_RELEASE);
    return nullptr;
  }
  FlushInstructionCache(GetCurrentProcess(), page, system.dwPageSize);
  // Exception dispatch and stack walks through a press (a callback's fault
  // caught by the library's guard, a debugger) unwind the page's frame with
  // this. Never removed, like the page.
  RtlAddFunctionTable(function, 1, reinterpret_cast<DWORD64>(page));
  return reinterpret_cast<WNDPROC>(page);
}

}  // namespace loomkeys
