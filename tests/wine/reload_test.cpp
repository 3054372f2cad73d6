// A worker thread of the host unloads the real Loomkeys.dll while keys are
// bound, and the host's main thread, which loaded it, loads it again at once,
// before it pumps a message, and registers the same keys. The earlier load's
// hidden window still holds them then (only its own thread may destroy it):
// the new load must free them first, so that every key is bound, by one window.
#include <windows.h>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/key_input.h"
#include "wine_check.h"

namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr UINT kKeys[] = {'R', 'S', 'T'};
constexpr int kRounds = 5;

int presses = 0;
void LOOMKEYS_CALL CountPress(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) { ++presses; }

DWORD WINAPI UnloadOnThisThread(LPVOID module) {
  FreeLibrary(static_cast<HMODULE>(module));
  return 0;
}

// Registers every key; the number of keys refused.
int RegisterKeys(const loomkeys_dll::Library& dll) {
  int refused = 0;
  for (UINT key : kKeys) {
    uint32_t id = 0;
    refused += dll.RegisterShortcut("Reload", static_cast<uint16_t>(key), kCtrlAlt, CountPress, "", &id) != LOOMKEYS_OK;
  }
  return refused;
}

int FreeKeys() {
  int free = 0;
  for (UINT key : kKeys) free += system_probes::KeyIsFree(kCtrlAlt, key);
  return free;
}

}  // namespace

int main() {
  host_windows::CreateEditingInFront();

  wine_check::Section("loaded again at once after a worker's unload: every key bound, by one window");
  CHECK_EQ(RegisterKeys(loomkeys_dll::Load()), 0);
  host_windows::Pump(200);
  for (int round = 0; round < kRounds; ++round) {
    HANDLE worker = CreateThread(nullptr, 0, UnloadOnThisThread, loomkeys_dll::Exports().module, 0, nullptr);
    CHECK_EQ(WaitForSingleObject(worker, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(worker);
    // No message pumped since the unload: the earlier window is still here.
    const auto& dll = loomkeys_dll::Load();
    CHECK_EQ(static_cast<int>(system_probes::HotKeyWindows().size()), 1);
    CHECK_EQ(RegisterKeys(dll), 0);
    // Once the thread pumps, the earlier load can let go of nothing more: the
    // keys stay bound, and a press reaches the new load's callback.
    host_windows::Pump(200);
    CHECK_EQ(static_cast<int>(system_probes::HotKeyWindows().size()), 1);
    CHECK_EQ(FreeKeys(), 0);
    presses = 0;
    key_input::PressChord(kCtrlAlt, static_cast<WORD>(kKeys[round % 3]));
    CHECK(host_windows::PumpUntil([] { return presses == 1; }, 2000));
  }
  FreeLibrary(loomkeys_dll::Exports().module);
  CHECK(host_windows::PumpUntil([] { return system_probes::HotKeyWindows().empty(); }, 3000));
  CHECK_EQ(FreeKeys(), 3);
  CHECK(!system_probes::MutexExists());
  return wine_check::Finish();
}
