// A callback that overflows its thread's stack uses up the stack's guard page.
// The library reports the overflow only after it has armed a guard page again,
// so that the next overflow on that thread is reported too instead of ending
// the process. Wine ends a thread whose stack really overflows before any
// handler runs, so the callback here does what an overflow leaves behind: it
// takes the guard attribute off every page of the stack, then raises the
// overflow's code (0xC00000FD). Twice on the same thread: each time the press
// is reported in a box and the stack has a guard page again below the caller.
#include <windows.h>

#include <string>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/box_watcher.h"
#include "wine_check.h"

namespace {

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;
constexpr DWORD kStackOverflow = 0xC00000FD;

// The PAGE_GUARD pages of this thread's stack below `top`, optionally made
// plain read-write pages; their count.
size_t GuardPagesBelow(const void* top, bool unguard) {
  MEMORY_BASIC_INFORMATION region = {};
  VirtualQuery(top, &region, sizeof region);
  size_t found = 0;
  for (auto* at = static_cast<char*>(region.AllocationBase); at < top;) {
    MEMORY_BASIC_INFORMATION part = {};
    if (!VirtualQuery(at, &part, sizeof part)) break;
    if (part.State == MEM_COMMIT && (part.Protect & PAGE_GUARD)) {
      found += part.RegionSize / 4096;
      DWORD old = 0;
      if (unguard) VirtualProtect(part.BaseAddress, part.RegionSize, part.Protect & ~PAGE_GUARD, &old);
    }
    at = static_cast<char*>(part.BaseAddress) + part.RegionSize;
  }
  return found;
}

int calls = 0;
size_t guardPagesTakenOff = 0;

void LOOMKEYS_CALL Overflow(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  ++calls;
  char here = 0;
  guardPagesTakenOff = GuardPagesBelow(&here, true);
  RaiseException(kStackOverflow, 0, 0, nullptr);
}

}  // namespace

int main() {
  HWND editing = host_windows::CreateEditingInFront();
  const auto& dll = loomkeys_dll::Load();
  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut("Deep", 'K', kCtrlShift, Overflow, "", &id), LOOMKEYS_OK);
  host_windows::Pump(300);
  char caller = 0;
  std::printf("guard pages below the caller at the start: %zu\n", GuardPagesBelow(&caller, false));

  for (int overflow = 1; overflow <= 2; ++overflow) {
    wine_check::Section(overflow == 1 ? "an overflow in a callback" : "a second overflow on the same thread");
    box_watcher::MessageBoxAnswerer boxes(L"Keyloom Exception", IDOK);
    PostMessageW(system_probes::HotKeyWindow(), WM_HOTKEY, system_probes::HotKeyId('K', kCtrlShift),
                 MAKELPARAM(kCtrlShift, 'K'));
    CHECK(host_windows::PumpUntil([&] { return calls == overflow && boxes.Count() == 1; }, 5000));
    CHECK(guardPagesTakenOff > 0);  // the callback really left the stack without a guard page
    const std::vector<std::wstring> texts = boxes.Texts();
    CHECK(texts.size() == 1 && texts[0].rfind(L"Exception C00000FD at address ", 0) == 0);
    const size_t guarded = GuardPagesBelow(&caller, false);
    std::printf("guard pages below the caller afterwards: %zu\n", guarded);
    CHECK(guarded > 0);
  }

  wine_check::Section("the library still works and unloads cleanly");
  CHECK_EQ(dll.UnregisterShortcut(id), LOOMKEYS_OK);
  FreeLibrary(dll.module);
  CHECK(system_probes::HotKeyWindows().empty());
  DestroyWindow(editing);
  return wine_check::Finish();
}
