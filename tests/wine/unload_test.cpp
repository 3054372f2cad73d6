// Loads and unloads the real Loomkeys.dll many times, registers and removes
// keys many times, and unloads it from a thread other than the one that
// loaded it, from inside a callback, while a callback's message box is open
// and while keys are being pressed: nothing may stay behind (no window, atom,
// bound key or mutex) and the host must keep running.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/box_watcher.h"
#include "win32/key_input.h"
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

// The library is unloaded and has taken everything of its own with it. Its
// window goes when this thread next pumps, hence the wait.
bool LibraryGone() {
  return host_windows::PumpUntil(
      [] { return GetModuleHandleW(L"Loomkeys.dll") == nullptr && CountHotKeyWindows() == 0; }, 8000);
}

void CheckNothingLeft(UINT virtualKey) {
  CHECK(KeyIsFree(kCtrlAlt, virtualKey));
  CHECK(!AtomExists(virtualKey, kCtrlAlt));
  CHECK(!MutexExists());
}

// The module of the latest load: the test's only reference to the library.
HMODULE LoadedModule() { return loomkeys_dll::Exports().module; }

// Loads the library and gives Ctrl+Alt+`key` a shortcut of `nameSpace` that
// runs `callback`. The keys are bound once this thread has pumped a tick.
void LoadWithShortcut(const char* nameSpace, UINT key, TShortcutCallbackFunc callback) {
  uint32_t id = 0;
  CHECK_EQ(loomkeys_dll::Load().RegisterShortcut(nameSpace, static_cast<uint16_t>(key), kCtrlAlt, callback, "", &id),
           LOOMKEYS_OK);
}

// A callback that drops the test's only reference, and one on the same key
// registered after it.
int callsAfterUnload = 0;
void LOOMKEYS_CALL UnloadLibrary(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  FreeLibrary(LoadedModule());
}
void LOOMKEYS_CALL CountCallAfterUnload(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  ++callsAfterUnload;
}

int calls = 0;
void LOOMKEYS_CALL CountCall(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) { ++calls; }

// A callback whose message box stays open until a watcher closes it.
constexpr wchar_t kBoxCaption[] = L"Callback box";
void LOOMKEYS_CALL ShowBox(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  MessageBoxW(nullptr, L"A callback's box", kBoxCaption, MB_OK);
}

// Waits for the callback's box, unloads the library on a worker thread
// meanwhile, and closes the box.
struct BoxUnload {
  bool workerReturned = false;
  bool loadedWhileOpen = false;
};
DWORD WINAPI UnloadWhileBoxIsOpen(LPVOID result) {
  auto* seen = static_cast<BoxUnload*>(result);
  HWND box = box_watcher::WaitForDialog(kBoxCaption, 8000);
  if (!box) return 0;
  HANDLE worker = CreateThread(nullptr, 0, UnloadOnThisThread, LoadedModule(), 0, nullptr);
  seen->workerReturned = WaitForSingleObject(worker, 3000) == WAIT_OBJECT_0;
  CloseHandle(worker);
  seen->loadedWhileOpen = GetModuleHandleW(L"Loomkeys.dll") != nullptr;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return 0;
}

// A callback that takes a while, and presses that come faster than that, so
// that they queue up behind it: the next one is always waiting. At the 20th
// press a worker thread starts to unload the library.
std::atomic<int> presses{0};
HANDLE unloader = nullptr;
void LOOMKEYS_CALL CountPress(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  if (++presses == 20) unloader = CreateThread(nullptr, 0, UnloadOnThisThread, LoadedModule(), 0, nullptr);
  Sleep(2);
}

DWORD WINAPI PressRepeatedly(LPVOID) {
  for (int press = 0; press < 400; ++press) {
    key_input::PressChord(kCtrlAlt, 'P');
    Sleep(0);
  }
  return 0;
}

}  // namespace

int main() {
  host_windows::CreateEditingInFront();

  wine_check::Section("50 loads and unloads with live keys leave nothing behind");
  int failedLoads = 0, failedRegistrations = 0;
  for (int round = 0; round < 50; ++round) {
    HMODULE module = LoadLibraryW(L"Loomkeys.dll");
    if (!module) {
      ++failedLoads;
      continue;
    }
    const auto& dll = loomkeys_dll::Bind(module);
    for (UINT key = 'A'; key <= 'C'; ++key) {
      uint32_t id = 0;
      failedRegistrations += dll.RegisterShortcut("Round", static_cast<uint16_t>(key), kCtrlAlt, Ignore, "", &id) != 0;
    }
    if (round % 10 == 0) host_windows::Pump(120);  // let some ticks run
    FreeLibrary(module);
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
    const auto& dll = loomkeys_dll::Load();
    int failures = 0;
    for (int cycle = 0; cycle < 10000; ++cycle) {
      const auto key = static_cast<uint16_t>('D' + cycle % 8);
      uint32_t id = 0;
      failures += dll.RegisterShortcut("Cycle", key, kCtrlAlt, Ignore, "", &id) != 0;
      failures += dll.UnregisterShortcut(id) != 0;
    }
    CHECK_EQ(failures, 0);
    CHECK_EQ(CountHotKeyWindows(), 1);
    for (UINT key = 'D'; key < 'D' + 8; ++key) {
      CHECK(!AtomExists(key, kCtrlAlt));
      CHECK(KeyIsFree(kCtrlAlt, key));
    }
    FreeLibrary(dll.module);
  }

  wine_check::Section("unloaded from another thread: the keys, atoms and window still go");
  {
    LoadWithShortcut("Worker", 'M', Ignore);
    host_windows::Pump(200);
    CHECK(!KeyIsFree(kCtrlAlt, 'M'));
    HANDLE worker = CreateThread(nullptr, 0, UnloadOnThisThread, LoadedModule(), 0, nullptr);
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

  wine_check::Section("a callback unloads the library: the press ends, then the library goes");
  {
    LoadWithShortcut("Unload", 'U', UnloadLibrary);
    uint32_t id = 0;
    CHECK_EQ(loomkeys_dll::Exports().RegisterShortcut("Later", 'U', kCtrlAlt, CountCallAfterUnload, "", &id),
             LOOMKEYS_OK);
    host_windows::Pump(200);
    key_input::PressChord(kCtrlAlt, 'U');
    CHECK(LibraryGone());
    CHECK_EQ(callsAfterUnload, 1);  // the press's other callback ran, in a library still there
    CheckNothingLeft('U');
  }

  wine_check::Section("after presses that called a client, the host's one FreeLibrary unloads the library at once");
  {
    LoadWithShortcut("Counted", 'C', CountCall);
    host_windows::Pump(200);
    calls = 0;
    for (int press = 1; press <= 5; ++press) {
      key_input::PressChord(kCtrlAlt, 'C');
      CHECK(host_windows::PumpUntil([press] { return calls == press; }, 2000));
    }
    // Each press held the module while it called the client and has let go
    // of it on its way out: no reference is left over, and none is dropped late.
    FreeLibrary(LoadedModule());
    CHECK(GetModuleHandleW(L"Loomkeys.dll") == nullptr);
    CHECK(LibraryGone());
    CheckNothingLeft('C');
  }

  wine_check::Section("unloaded from another thread while a callback's box is open: it goes once the box closes");
  {
    LoadWithShortcut("Box", 'B', ShowBox);
    host_windows::Pump(200);
    BoxUnload seen;
    HANDLE watcher = CreateThread(nullptr, 0, UnloadWhileBoxIsOpen, &seen, 0, nullptr);
    key_input::PressChord(kCtrlAlt, 'B');
    CHECK(LibraryGone());
    CHECK_EQ(WaitForSingleObject(watcher, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(watcher);
    CHECK(seen.workerReturned);   // no deadlock: the unload did not wait for the box
    CHECK(seen.loadedWhileOpen);  // and did not pull the library away under it
    CheckNothingLeft('B');
  }

  wine_check::Section("unloaded from another thread while keys are being pressed");
  {
    LoadWithShortcut("Pressed", 'P', CountPress);
    // More keys make the shut-down take longer, while presses keep coming.
    const auto& dll = loomkeys_dll::Exports();
    uint32_t id = 0;
    int failedRegistrations = 0;
    for (UINT shift : {kCtrlAlt, kCtrlAlt | MOD_SHIFT, static_cast<UINT>(MOD_CONTROL | MOD_SHIFT)}) {
      for (UINT key = '0'; key <= 'Z'; ++key) {
        if (shift == kCtrlAlt && key == 'P') continue;
        failedRegistrations += dll.RegisterShortcut("Many", static_cast<uint16_t>(key), static_cast<uint16_t>(shift),
                                                    CountPress, "", &id) != LOOMKEYS_OK;
      }
    }
    CHECK_EQ(failedRegistrations, 0);
    host_windows::Pump(200);
    HANDLE presser = CreateThread(nullptr, 0, PressRepeatedly, nullptr, 0, nullptr);
    CHECK(LibraryGone());
    CHECK(unloader != nullptr);
    CHECK(host_windows::PumpUntil([presser] { return WaitForSingleObject(presser, 0) == WAIT_OBJECT_0; }, 10000));
    CHECK_EQ(WaitForSingleObject(unloader, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(presser);
    CloseHandle(unloader);
    CheckNothingLeft('P');
    CheckNothingLeft('5');
  }

  wine_check::Section("the library loads again afterwards");
  {
    const auto& dll = loomkeys_dll::Load();
    uint32_t id = 0;
    CHECK_EQ(dll.RegisterShortcut("Again", 'M', kCtrlAlt, Ignore, "", &id), LOOMKEYS_OK);
    CHECK_EQ(id, 1u);
    CHECK_EQ(CountHotKeyWindows(), 1);
    FreeLibrary(dll.module);
    CHECK_EQ(CountHotKeyWindows(), 0);
  }
  return wine_check::Finish();
}
