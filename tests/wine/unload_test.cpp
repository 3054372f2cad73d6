// Loads and unloads the real Loomkeys.dll many times, registers and removes
// keys many times, and unloads it from a thread other than the one that
// loaded it: nothing may stay behind (no window, atom, bound key or mutex)
// and the host must keep running.
#include <windows.h>

#include <cstdio>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "wine_check.h"

namespace {

using system_probes::AtomExists;
using system_probes::KeyIsFree;
using system_probes::MutexExists;

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

int CountHotKeyWindows() { return static_cast<int>(system_probes::HotKeyWindows().size()); }

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

DWORD WINAPI UnloadOnThisThread(LPVOID module) {
  FreeLibrary(static_cast<HMODULE>(module));
  return 0;
}

}  // namespace

int main() {
  HWND editing = host_windows::Create(L"PPTFrameClass", L"Deck - PowerPoint");
  host_windows::BringToFront(editing);

  wine_check::Section("50 loads and unloads with live keys leave nothing behind");
  int failedLoads = 0, failedRegistrations = 0;
  for (int round = 0; round < 50; ++round) {
    HMODULE dll = LoadLibraryW(L"Loomkeys.dll");
    if (!dll) {
      ++failedLoads;
      continue;
    }
    auto RegisterShortcut = LOOMKEYS_EXPORT(dll, RegisterShortcut);
    for (UINT key = 'A'; key <= 'C'; ++key) {
      uint32_t id = 0;
      failedRegistrations += RegisterShortcut("Round", static_cast<uint16_t>(key), kCtrlAlt, Ignore, "", &id) != 0;
    }
    if (round % 10 == 0) host_windows::Pump(120);  // let some ticks run
    FreeLibrary(dll);
  }
  CHECK_EQ(failedLoads, 0);
  CHECK_EQ(failedRegistrations, 0);
  CHECK_EQ(CountHotKeyWindows(), 0);
  for (UINT key = 'A'; key <= 'C'; ++key) {
    CHECK(!AtomExists(key, kCtrlAlt));
    CHECK(KeyIsFree(kCtrlAlt, key));
  }
  CHECK(!MutexExists());

  wine_check::Section("10,000 register and unregister cycles leave one window and no atom");
  {
    HMODULE dll = loomkeys_dll::Load();
    auto RegisterShortcut = LOOMKEYS_EXPORT(dll, RegisterShortcut);
    auto UnregisterShortcut = LOOMKEYS_EXPORT(dll, UnregisterShortcut);
    int failures = 0;
    for (int cycle = 0; cycle < 10000; ++cycle) {
      const auto key = static_cast<uint16_t>('D' + cycle % 8);
      uint32_t id = 0;
      failures += RegisterShortcut("Cycle", key, kCtrlAlt, Ignore, "", &id) != 0;
      failures += UnregisterShortcut(id) != 0;
    }
    CHECK_EQ(failures, 0);
    CHECK_EQ(CountHotKeyWindows(), 1);
    for (UINT key = 'D'; key < 'D' + 8; ++key) {
      CHECK(!AtomExists(key, kCtrlAlt));
      CHECK(KeyIsFree(kCtrlAlt, key));
    }
    FreeLibrary(dll);
  }

  wine_check::Section("unloaded from another thread: the keys, atoms and window still go");
  {
    HMODULE dll = loomkeys_dll::Load();
    auto RegisterShortcut = LOOMKEYS_EXPORT(dll, RegisterShortcut);
    uint32_t id = 0;
    CHECK_EQ(RegisterShortcut("Worker", 'M', kCtrlAlt, Ignore, "", &id), LOOMKEYS_OK);
    host_windows::Pump(200);
    CHECK(!KeyIsFree(kCtrlAlt, 'M'));
    HANDLE worker = CreateThread(nullptr, 0, UnloadOnThisThread, dll, 0, nullptr);
    CHECK_EQ(WaitForSingleObject(worker, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(worker);
    // The window's own thread goes on pumping: its timer and messages must
    // no longer reach the unloaded code, and its window goes.
    host_windows::PumpUntil([] { return CountHotKeyWindows() == 0; }, 3000);
    host_windows::Pump(200);
    CHECK_EQ(CountHotKeyWindows(), 0);
    CHECK(KeyIsFree(kCtrlAlt, 'M'));
    CHECK(!AtomExists('M', kCtrlAlt));
    CHECK(!MutexExists());
  }

  wine_check::Section("the library loads again afterwards");
  {
    HMODULE dll = loomkeys_dll::Load();
    auto RegisterShortcut = LOOMKEYS_EXPORT(dll, RegisterShortcut);
    uint32_t id = 0;
    CHECK_EQ(RegisterShortcut("Again", 'M', kCtrlAlt, Ignore, "", &id), LOOMKEYS_OK);
    CHECK_EQ(id, 1u);
    CHECK_EQ(CountHotKeyWindows(), 1);
    FreeLibrary(dll);
    CHECK_EQ(CountHotKeyWindows(), 0);
  }
  return wine_check::Finish();
}
