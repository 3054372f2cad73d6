// Saves a namespace through the real Loomkeys.dll, unloads it and loads the
// saved text back under a new namespace and callback, checking with the
// system's own services that the keys are released and bound again.
#include <windows.h>

#include <string>

#include "loomkeys_dll.h"
#include "wine_check.h"

namespace {

// What the "Saver" namespace below saves, key by key in registry order:
// Alt+F7 "f7" (mode 2), Ctrl+Q "alpha" (mode 1), Ctrl+Q "beta" (mode 3),
// Ctrl+Shift+W with an empty context (mode 2).
const std::string kSavedWithModes =
    "14000000"
    "7600" "0100" "0200" "02000000" "6637"
    "5100" "0200" "0100" "05000000" "616C706861"
    "5100" "0200" "0300" "04000000" "62657461"
    "5700" "0600" "0200" "00000000";
const std::string kSavedWithoutModes =
    "14000000"
    "7600" "0100" "02000000" "6637"
    "5100" "0200" "05000000" "616C706861"
    "5100" "0200" "04000000" "62657461"
    "5700" "0600" "00000000";

bool AtomExists(const wchar_t* name) { return GlobalFindAtomW(name) != 0; }

// A window of the test program itself, standing for another program that
// wants the same key combinations.
HWND CreateOtherProgramWindow() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OtherProgram";
  RegisterClassW(&windowClass);
  return CreateWindowW(L"OtherProgram", L"Other program", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                       windowClass.hInstance, nullptr);
}

// True when the other program can take the combination, i.e. nobody holds it.
bool KeyIsFree(HWND other, UINT modifiers, UINT virtualKey) {
  if (!RegisterHotKey(other, 100, modifiers, virtualKey)) return false;
  UnregisterHotKey(other, 100);
  return true;
}

// True when the system refuses the combination to the other program because
// it is already registered.
bool KeyIsHeld(HWND other, UINT modifiers, UINT virtualKey) {
  SetLastError(0);
  if (RegisterHotKey(other, 101, modifiers, virtualKey)) {
    UnregisterHotKey(other, 101);
    return false;
  }
  return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

void LOOMKEYS_CALL SavedCallback(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}
void LOOMKEYS_CALL RestoredCallback(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

}  // namespace

int main() {
  HMODULE dll = loomkeys_dll::Load();
  auto RegisterShortcut2 = LOOMKEYS_EXPORT(dll, RegisterShortcut2);
  auto GetShortcutCount = LOOMKEYS_EXPORT(dll, GetShortcutCount);
  auto GetShortcutInfoByContext = LOOMKEYS_EXPORT(dll, GetShortcutInfoByContext);
  auto GetNamespaceDataSize = LOOMKEYS_EXPORT(dll, GetNamespaceDataSize);
  auto GetNamespaceDataSize2 = LOOMKEYS_EXPORT(dll, GetNamespaceDataSize2);
  auto GetNamespaceData = LOOMKEYS_EXPORT(dll, GetNamespaceData);
  auto GetNamespaceData2 = LOOMKEYS_EXPORT(dll, GetNamespaceData2);
  auto LoadNamespace = LOOMKEYS_EXPORT(dll, LoadNamespace);
  auto LoadNamespace2 = LOOMKEYS_EXPORT(dll, LoadNamespace2);
  auto UnloadNamespace = LOOMKEYS_EXPORT(dll, UnloadNamespace);
  auto NamespaceRename = LOOMKEYS_EXPORT(dll, NamespaceRename);
  HWND other = CreateOtherProgramWindow();

  // Keeper takes Alt+F7 first, so that key stays first in registry order.
  CHECK_EQ(RegisterShortcut2("Keeper", VK_F7, MOD_ALT, 0xFFFF, SavedCallback, "k", nullptr), LOOMKEYS_OK);
  CHECK_EQ(RegisterShortcut2("Saver", 'Q', MOD_CONTROL, 1, SavedCallback, "alpha", nullptr), LOOMKEYS_OK);
  CHECK_EQ(RegisterShortcut2("Saver", 'Q', MOD_CONTROL, 3, SavedCallback, "beta", nullptr), LOOMKEYS_OK);
  CHECK_EQ(RegisterShortcut2("Saver", 'W', MOD_CONTROL | MOD_SHIFT, 2, SavedCallback, nullptr, nullptr), LOOMKEYS_OK);
  CHECK_EQ(RegisterShortcut2("Saver", VK_F7, MOD_ALT, 2, SavedCallback, "f7", nullptr), LOOMKEYS_OK);

  wine_check::Section("the namespace saves as text in both layouts");
  CHECK_EQ(GetNamespaceDataSize2("Saver"), kSavedWithModes.size());
  CHECK_EQ(GetNamespaceDataSize("Saver"), kSavedWithoutModes.size());
  std::string buffer(200, '#');
  uint32_t size = static_cast<uint32_t>(kSavedWithModes.size() - 1);
  CHECK_EQ(GetNamespaceData2("Saver", buffer.data(), &size), LOOMKEYS_BUFFER_TOO_SMALL);
  CHECK_EQ(size, kSavedWithModes.size());
  CHECK(buffer == std::string(200, '#'));
  CHECK_EQ(GetNamespaceData2("Saver", buffer.data(), &size), LOOMKEYS_OK);
  const std::string savedWithModes = buffer.substr(0, size);
  CHECK(savedWithModes == kSavedWithModes);
  CHECK_EQ(buffer[size], '#');  // no terminator
  size = static_cast<uint32_t>(buffer.size());
  CHECK_EQ(GetNamespaceData("Saver", buffer.data(), &size), LOOMKEYS_OK);
  const std::string savedWithoutModes = buffer.substr(0, size);
  CHECK(savedWithoutModes == kSavedWithoutModes);

  wine_check::Section("an unwritable buffer gives 6, an unknown namespace 11");
  void* readOnly = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
  size = 4096;
  CHECK_EQ(GetNamespaceData2("Saver", readOnly, &size), LOOMKEYS_ERROR_RAISED);
  VirtualFree(readOnly, 0, MEM_RELEASE);
  size = 10;
  CHECK_EQ(GetNamespaceData("Nobody", buffer.data(), &size), LOOMKEYS_NO_ENTRIES);
  CHECK_EQ(size, 0u);
  CHECK_EQ(GetNamespaceData2("Saver", buffer.data(), nullptr), LOOMKEYS_BUFFER_TOO_SMALL);

  wine_check::Section("unloading frees the namespace's keys for other programs");
  UnloadNamespace("Saver");
  CHECK_EQ(GetShortcutCount("Saver"), 0u);
  CHECK(KeyIsFree(other, MOD_CONTROL, 'Q'));
  CHECK(KeyIsFree(other, MOD_CONTROL | MOD_SHIFT, 'W'));
  CHECK(!AtomExists(L"PowerPoint00510002"));
  CHECK(!AtomExists(L"PowerPoint00570006"));
  // Alt+F7 still has Keeper's shortcut.
  CHECK(KeyIsHeld(other, MOD_ALT, VK_F7));
  CHECK(AtomExists(L"PowerPoint00760001"));
  CHECK_EQ(GetShortcutCount("Keeper"), 1u);

  wine_check::Section("loading the text under a new namespace binds the keys again");
  CHECK_EQ(LoadNamespace2("Restored", RestoredCallback, savedWithModes.c_str(), 0), LOOMKEYS_OK);
  CHECK_EQ(GetShortcutCount("Restored"), 4u);
  CHECK(KeyIsHeld(other, MOD_CONTROL, 'Q'));
  CHECK(KeyIsHeld(other, MOD_CONTROL | MOD_SHIFT, 'W'));
  CHECK(AtomExists(L"PowerPoint00510002"));
  CHECK(AtomExists(L"PowerPoint00570006"));
  uint16_t key = 0, shift = 0, mode = 0;
  CHECK_EQ(GetShortcutInfoByContext("Restored", "beta", &key, &shift, &mode, nullptr), LOOMKEYS_OK);
  CHECK_EQ(key, 'Q');
  CHECK_EQ(shift, MOD_CONTROL);
  CHECK_EQ(mode, 3);
  CHECK_EQ(GetShortcutInfoByContext("Restored", "", &key, &shift, &mode, nullptr), LOOMKEYS_OK);
  CHECK_EQ(key, 'W');
  CHECK_EQ(mode, 2);
  size = static_cast<uint32_t>(buffer.size());
  CHECK_EQ(GetNamespaceData2("Restored", buffer.data(), &size), LOOMKEYS_OK);
  CHECK(buffer.substr(0, size) == kSavedWithModes);  // same keys, contexts, modes and order

  wine_check::Section("the first layout loads every shortcut active in every mode");
  UnloadNamespace("Restored");
  CHECK(KeyIsFree(other, MOD_CONTROL, 'Q'));
  CHECK_EQ(LoadNamespace(nullptr, RestoredCallback, savedWithoutModes.c_str(), 12345), LOOMKEYS_OK);
  CHECK_EQ(GetShortcutCount(""), 4u);
  CHECK_EQ(GetShortcutInfoByContext(nullptr, "alpha", &key, &shift, &mode, nullptr), LOOMKEYS_OK);
  CHECK_EQ(mode, 0xFFFF);
  CHECK(KeyIsHeld(other, MOD_CONTROL, 'Q'));

  wine_check::Section("renaming keeps the keys bound");
  NamespaceRename(nullptr, "Renamed");
  CHECK_EQ(GetShortcutCount(""), 0u);
  CHECK_EQ(GetShortcutCount("Renamed"), 4u);
  CHECK(KeyIsHeld(other, MOD_CONTROL, 'Q'));
  UnloadNamespace("Renamed");
  CHECK(KeyIsFree(other, MOD_CONTROL, 'Q'));

  wine_check::Section("rejected and cut-off texts");
  CHECK_EQ(LoadNamespace2("Bad", RestoredCallback, "1E000000" "5100020001000300000061", 0), LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(LoadNamespace("Bad", RestoredCallback, "140000005100020001000000G1", 0), LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(LoadNamespace("Bad", RestoredCallback, nullptr, 0), LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(GetShortcutCount("Bad"), 0u);
  CHECK(KeyIsFree(other, MOD_CONTROL, 'Q'));
  CHECK_EQ(LoadNamespace("Cut", RestoredCallback, "14000000" "510002000100000061" "57000600FF", 0),
           LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(GetShortcutCount("Cut"), 1u);
  CHECK(KeyIsHeld(other, MOD_CONTROL, 'Q'));
  CHECK(KeyIsFree(other, MOD_CONTROL | MOD_SHIFT, 'W'));

  wine_check::Section("unloading the library releases everything");
  FreeLibrary(dll);
  CHECK(KeyIsFree(other, MOD_CONTROL, 'Q'));
  CHECK(KeyIsFree(other, MOD_ALT, VK_F7));
  CHECK(!AtomExists(L"PowerPoint00510002"));
  CHECK(!AtomExists(L"PowerPoint00760001"));

  DestroyWindow(other);
  return wine_check::Finish();
}
