// Calls the real Loomkeys.dll from a worker thread: calls that would bind or
// unbind a key there are refused with LOOMKEYS_WRONG_THREAD and change
// nothing, queries and saves work, and the keys of the loading thread stay
// bound and owned.
#include <windows.h>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "wine_check.h"
#include "worker_thread.h"

namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

bool KeyIsFree(UINT key) { return system_probes::KeyIsFree(kCtrlAlt, key); }

}  // namespace

int main() {
  host_windows::CreateEditingInFront();
  const auto& dll = loomkeys_dll::Load();

  uint32_t owned = 0;
  CHECK_EQ(dll.RegisterShortcut("Main", 'P', kCtrlAlt, Ignore, "main", &owned), LOOMKEYS_OK);
  host_windows::Pump(200);
  CHECK(!KeyIsFree('P'));

  wine_check::Section("a worker thread cannot register, remove, load or unload");
  worker_thread::Run([&] {
    uint32_t id = 0xDEADBEEF;
    CHECK_EQ(dll.RegisterShortcut2("Worker", 'Q', kCtrlAlt, 3, Ignore, "", &id), LOOMKEYS_WRONG_THREAD);
    CHECK_EQ(id, 0xDEADBEEFu);
    CHECK_EQ(dll.RegisterShortcut("Main", 'P', kCtrlAlt, Ignore, "other", &id), LOOMKEYS_WRONG_THREAD);
    CHECK_EQ(dll.UnregisterShortcut(owned), LOOMKEYS_WRONG_THREAD);
    CHECK_EQ(dll.LoadNamespace2("Worker", Ignore, "1400000051000300030000000000", 0), LOOMKEYS_WRONG_THREAD);
    dll.UnloadNamespace("Main");
  });
  CHECK_EQ(dll.GetShortcutCount("Worker"), 0u);
  CHECK_EQ(dll.GetShortcutCount("Main"), 1u);
  CHECK(KeyIsFree('Q'));
  host_windows::Pump(200);
  CHECK(!KeyIsFree('P'));

  wine_check::Section("a worker thread can query, save and rename");
  worker_thread::Run([&] {
    CHECK_EQ(dll.GetShortcutCount("Main"), 1u);
    uint16_t key = 0, shift = 0, mode = 0;
    CHECK_EQ(dll.GetShortcutInfoByShortcutId(owned, &key, &shift, &mode), LOOMKEYS_OK);
    CHECK_EQ(key, 'P');
    char text[64] = {};
    uint32_t size = sizeof text;
    CHECK_EQ(dll.GetNamespaceData2("Main", text, &size), LOOMKEYS_OK);
    CHECK_EQ(size, 2u * (4 + 10 + 4));
    dll.NamespaceRename("Main", "Renamed");
  });
  CHECK_EQ(dll.GetShortcutCount("Renamed"), 1u);

  wine_check::Section("the loading thread still removes its key");
  CHECK_EQ(dll.UnregisterShortcut(owned), LOOMKEYS_OK);
  CHECK(KeyIsFree('P'));

  FreeLibrary(dll.module);
  return wine_check::Finish();
}
