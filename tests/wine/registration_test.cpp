// Registers shortcuts through the real Loomkeys.dll and checks, with the
// system's own services, that their keys are bound as system hot keys of the
// library's hidden window and released again.
#include <windows.h>

#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "wine_check.h"

namespace {

using system_probes::AtomExists;
using system_probes::HotKeyWindows;
using system_probes::KeyIsFree;

constexpr UINT kModControl = MOD_CONTROL;

void LoomkeysCall(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

}  // namespace

int main() {
  const auto& dll = loomkeys_dll::Load();
  HWND other = host_windows::CreateHidden(L"OtherProgram");

  wine_check::Section("one hidden THotKeyForm window while loaded");
  const std::vector<HWND> windows = HotKeyWindows();
  CHECK_EQ(windows.size(), 1u);
  HWND hotKeyWindow = windows.empty() ? nullptr : windows[0];
  wchar_t caption[64] = {};
  GetWindowTextW(hotKeyWindow, caption, 64);
  CHECK(lstrcmpW(caption, L"HotKeyForm") == 0);
  CHECK(!IsWindowVisible(hotKeyWindow));
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Keyloom for PowerPoint");
  CHECK(mutex != nullptr);
  if (mutex) CloseHandle(mutex);

  wine_check::Section("a registered key is bound as a system hot key under its atom");
  uint32_t first = 0;
  CHECK_EQ(dll.RegisterShortcut2("Alpha", 'A', kModControl, 1, LoomkeysCall, "x", &first), LOOMKEYS_OK);
  CHECK_EQ(first, 1u);
  CHECK(AtomExists(L"PowerPoint00410002"));
  SetLastError(0);
  CHECK(!RegisterHotKey(other, 1, kModControl, 'A'));
  CHECK_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));

  wine_check::Section("a second namespace shares the key; the last removal frees it");
  uint32_t second = 0;
  CHECK_EQ(dll.RegisterShortcut("Beta", 'A', kModControl, LoomkeysCall, "x", &second), LOOMKEYS_OK);
  CHECK_EQ(second, 2u);
  CHECK_EQ(dll.UnregisterShortcut(first), LOOMKEYS_OK);
  CHECK(AtomExists(L"PowerPoint00410002"));
  CHECK(!KeyIsFree(kModControl, 'A'));
  CHECK_EQ(dll.UnregisterShortcut(second), LOOMKEYS_OK);
  CHECK(!AtomExists(L"PowerPoint00410002"));
  CHECK(KeyIsFree(kModControl, 'A'));
  CHECK_EQ(dll.UnregisterShortcut(second), LOOMKEYS_UNKNOWN_SHORTCUT_ID);

  wine_check::Section("a combination another program holds gives 3 and stays refused");
  CHECK(RegisterHotKey(other, 2, kModControl, 'B'));
  uint32_t untouched = 0xDEADBEEF;
  CHECK_EQ(dll.RegisterShortcut2("Alpha", 'B', kModControl, 3, LoomkeysCall, "b", &untouched), LOOMKEYS_KEY_NOT_BOUND);
  CHECK_EQ(untouched, 0xDEADBEEFu);
  CHECK_EQ(dll.GetShortcutCount("Alpha"), 0u);
  UnregisterHotKey(other, 2);
  CHECK_EQ(dll.RegisterShortcut2("Alpha", 'B', kModControl, 3, LoomkeysCall, "b", &untouched), LOOMKEYS_KEY_NOT_BOUND);
  CHECK(KeyIsFree(kModControl, 'B'));

  wine_check::Section("queries, null arguments and an unwritable buffer");
  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut2(nullptr, VK_F5, MOD_CONTROL | MOD_SHIFT, 2, LoomkeysCall, nullptr, &id), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("", VK_F6, 0, 2, LoomkeysCall, "context", nullptr), LOOMKEYS_OK);
  CHECK_EQ(dll.GetShortcutCount(nullptr), 2u);
  uint16_t key = 0, shift = 0, mode = 0;
  CHECK_EQ(dll.GetShortcutInfoByShortcutId(id, &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, VK_F5);
  CHECK_EQ(shift, MOD_CONTROL | MOD_SHIFT);
  CHECK_EQ(mode, 2);
  CHECK_EQ(dll.GetShortcutInfoByShortcutId(id, nullptr, nullptr, nullptr), LOOMKEYS_OK);
  CHECK_EQ(dll.GetShortcutInfoByContext("", "context", nullptr, nullptr, nullptr, nullptr), LOOMKEYS_OK);
  CHECK_EQ(dll.GetShortcutInfoByContext("", "other", &key, &shift, &mode, &id), LOOMKEYS_NO_SUCH_CONTEXT);
  CHECK_EQ(dll.GetShortcutInfoByContext("Gamma", "", &key, &shift, &mode, &id), LOOMKEYS_NO_ENTRIES);
  uint32_t size = 0;
  CHECK_EQ(dll.GetShortcutDataSize("", 2, &size), LOOMKEYS_OK);
  CHECK_EQ(size, 7u);
  CHECK_EQ(dll.GetShortcutDataSize("", 3, &size), LOOMKEYS_INDEX_PAST_ENTRIES);
  char buffer[16] = {};
  size = sizeof buffer;
  CHECK_EQ(dll.GetShortcutData("", 2, buffer, &size, &id), LOOMKEYS_OK);
  CHECK(memcmp(buffer, "context", 7) == 0);
  void* readOnly = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
  size = 4096;
  CHECK_EQ(dll.GetShortcutData("", 2, readOnly, &size, &id), LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(size, 7u);
  VirtualFree(readOnly, 0, MEM_RELEASE);
  CHECK_EQ(dll.GetShortcutCount(""), 2u);  // the registry still answers after the fault

  wine_check::Section("the hidden window stays the same one");
  CHECK(HotKeyWindows() == windows);

  wine_check::Section("unloading releases every key, atom, window and the mutex");
  CHECK(!KeyIsFree(MOD_CONTROL | MOD_SHIFT, VK_F5));
  FreeLibrary(dll.module);
  CHECK(HotKeyWindows().empty());
  CHECK(KeyIsFree(MOD_CONTROL | MOD_SHIFT, VK_F5));
  CHECK(KeyIsFree(0, VK_F6));
  CHECK(!AtomExists(L"PowerPoint00740006"));
  CHECK(!AtomExists(L"PowerPoint00750000"));
  CHECK(!AtomExists(L"PowerPoint00420002"));
  CHECK(OpenMutexW(SYNCHRONIZE, FALSE, L"Keyloom for PowerPoint") == nullptr);

  DestroyWindow(other);
  return wine_check::Finish();
}
