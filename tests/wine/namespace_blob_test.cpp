// The test program acts as PowerPoint with an add-in that saves its
// shortcuts: it saves a namespace through the real Loomkeys.dll, unloads it,
// loads the saved text back under a new namespace and callback, and presses
// the keys again, checking with the system's own services that the keys are
// released and bound again.
#include <windows.h>

#include <string>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/key_input.h"
#include "wine_check.h"

namespace {

// What the "Saver" namespace below saves, key by key in registry order:
// Alt+F7 "f7" (slide show), Ctrl+Q "alpha" (slide design), Ctrl+Q "beta"
// (both), Ctrl+Shift+W with an empty context (slide show).
// Hex texts stay split into records and fields; clang-format would give every piece a line.
// clang-format off
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
// clang-format on

struct Call {
  std::wstring nameSpace;
  uint16_t virtualKey;
  std::wstring context;
};
std::vector<Call> restoredCalls;
int savedCalls = 0;

// The callback's strings are counted: the word before the text holds the
// length that a BSTR reader takes as bytes.
std::wstring ReadCounted(const wchar_t* text) {
  const uint32_t bytes = reinterpret_cast<const uint32_t*>(text)[-1];
  return std::wstring(text, bytes / sizeof(wchar_t));
}

void LOOMKEYS_CALL SavedCallback(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) { ++savedCalls; }

void LOOMKEYS_CALL RestoredCallback(const wchar_t* ns, uint16_t vk, uint16_t, const wchar_t* context, uint32_t) {
  restoredCalls.push_back({ReadCounted(ns), vk, ReadCounted(context)});
}

bool PressAndWait(UINT modifiers, WORD key, size_t expectedCalls) {
  key_input::PressChord(modifiers, key);
  const bool arrived = host_windows::PumpUntil([&] { return restoredCalls.size() >= expectedCalls; }, 3000);
  host_windows::Pump(100);  // room for calls that should not come
  return arrived;
}

using system_probes::AtomExists;
using system_probes::KeyIsFree;

// A hidden window of the test program, standing for another program that
// wants the same key combinations.
HWND other = nullptr;

// True when the system refuses the combination to the other program
// because it is registered already.
bool KeyIsHeld(UINT modifiers, UINT virtualKey) {
  SetLastError(0);
  if (RegisterHotKey(other, 101, modifiers, virtualKey)) {
    UnregisterHotKey(other, 101);
    return false;
  }
  return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

}  // namespace

int main() {
  HWND slideShow = host_windows::Create(L"screenClass", L"PowerPoint Slide Show - Deck");
  other = host_windows::CreateHidden(L"OtherProgramFrame");
  HWND editing = host_windows::CreateEditingInFront();

  const auto& dll = loomkeys_dll::Load();

  // Keeper takes Alt+F7 first, so that this shared key stays first in
  // registry order and the reloaded text comes out in the saved order.
  CHECK_EQ(dll.RegisterShortcut2("Keeper", VK_F7, MOD_ALT, LOOMKEYS_MODE_ALL, SavedCallback, "k", nullptr),
           LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Saver", 'Q', MOD_CONTROL, 1, SavedCallback, "alpha", nullptr), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Saver", 'Q', MOD_CONTROL, 3, SavedCallback, "beta", nullptr), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Saver", 'W', MOD_CONTROL | MOD_SHIFT, 2, SavedCallback, nullptr, nullptr),
           LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Saver", VK_F7, MOD_ALT, 2, SavedCallback, "f7", nullptr), LOOMKEYS_OK);
  host_windows::Pump(200);

  wine_check::Section("the namespace saves as text in both layouts");
  CHECK_EQ(dll.GetNamespaceDataSize2("Saver"), kSavedWithModes.size());
  CHECK_EQ(dll.GetNamespaceDataSize("Saver"), kSavedWithoutModes.size());
  std::string buffer(200, '#');
  uint32_t size = static_cast<uint32_t>(kSavedWithModes.size() - 1);
  CHECK_EQ(dll.GetNamespaceData2("Saver", buffer.data(), &size), LOOMKEYS_BUFFER_TOO_SMALL);
  CHECK_EQ(size, kSavedWithModes.size());
  CHECK(buffer == std::string(200, '#'));
  CHECK_EQ(dll.GetNamespaceData2("Saver", buffer.data(), &size), LOOMKEYS_OK);
  const std::string savedWithModes = buffer.substr(0, size);
  CHECK(savedWithModes == kSavedWithModes);
  CHECK_EQ(buffer[size], '#');  // no terminator
  size = static_cast<uint32_t>(buffer.size());
  CHECK_EQ(dll.GetNamespaceData("Saver", buffer.data(), &size), LOOMKEYS_OK);
  const std::string savedWithoutModes = buffer.substr(0, size);
  CHECK(savedWithoutModes == kSavedWithoutModes);

  wine_check::Section("an unwritable buffer gives 6, an unknown namespace 11");
  void* readOnly = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
  size = 4096;
  CHECK_EQ(dll.GetNamespaceData2("Saver", readOnly, &size), LOOMKEYS_ERROR_RAISED);
  VirtualFree(readOnly, 0, MEM_RELEASE);
  size = 10;
  CHECK_EQ(dll.GetNamespaceData("Nobody", buffer.data(), &size), LOOMKEYS_NO_ENTRIES);
  CHECK_EQ(size, 0u);
  CHECK_EQ(dll.GetNamespaceData2("Saver", buffer.data(), nullptr), LOOMKEYS_BUFFER_TOO_SMALL);

  wine_check::Section("unloading frees the namespace's keys for other programs");
  CHECK(KeyIsHeld(MOD_CONTROL, 'Q'));
  dll.UnloadNamespace("Saver");
  CHECK_EQ(dll.GetShortcutCount("Saver"), 0u);
  CHECK(KeyIsFree(MOD_CONTROL, 'Q'));
  CHECK(KeyIsFree(MOD_CONTROL | MOD_SHIFT, 'W'));
  CHECK(!AtomExists(L"PowerPoint00510002"));
  CHECK(!AtomExists(L"PowerPoint00570006"));
  // Alt+F7 still has Keeper's shortcut.
  CHECK(KeyIsHeld(MOD_ALT, VK_F7));
  CHECK(AtomExists(L"PowerPoint00760001"));
  CHECK_EQ(dll.GetShortcutCount("Keeper"), 1u);

  wine_check::Section("loading the text under a new namespace binds the keys again");
  CHECK_EQ(dll.LoadNamespace2("Restored", RestoredCallback, savedWithModes.c_str(), 0), LOOMKEYS_OK);
  host_windows::Pump(200);
  CHECK_EQ(dll.GetShortcutCount("Restored"), 4u);
  CHECK(KeyIsHeld(MOD_CONTROL, 'Q'));
  CHECK(AtomExists(L"PowerPoint00510002"));
  CHECK(AtomExists(L"PowerPoint00570006"));
  uint16_t key = 0, shift = 0, mode = 0;
  CHECK_EQ(dll.GetShortcutInfoByContext("Restored", "beta", &key, &shift, &mode, nullptr), LOOMKEYS_OK);
  CHECK_EQ(key, 'Q');
  CHECK_EQ(shift, MOD_CONTROL);
  CHECK_EQ(mode, 3);
  CHECK_EQ(dll.GetShortcutInfoByContext("Restored", "", &key, &shift, &mode, nullptr), LOOMKEYS_OK);
  CHECK_EQ(key, 'W');
  CHECK_EQ(mode, 2);
  size = static_cast<uint32_t>(buffer.size());
  CHECK_EQ(dll.GetNamespaceData2("Restored", buffer.data(), &size), LOOMKEYS_OK);
  CHECK(buffer.substr(0, size) == kSavedWithModes);  // same keys, contexts, modes and order

  wine_check::Section("the reloaded keys fire the new callback with the new namespace");
  CHECK(PressAndWait(MOD_CONTROL, 'Q', 2));
  CHECK_EQ(restoredCalls.size(), 2u);
  if (restoredCalls.size() == 2) {
    CHECK(restoredCalls[0].nameSpace == L"Restored");
    CHECK(restoredCalls[0].context == L"alpha");
    CHECK(restoredCalls[1].context == L"beta");
    CHECK_EQ(restoredCalls[1].virtualKey, 'Q');
  }
  CHECK_EQ(savedCalls, 0);
  // Ctrl+Shift+W came back for the slide show only.
  CHECK(KeyIsFree(MOD_CONTROL | MOD_SHIFT, 'W'));
  CHECK(host_windows::BringToFront(slideShow));
  CHECK(KeyIsHeld(MOD_CONTROL | MOD_SHIFT, 'W'));
  restoredCalls.clear();
  CHECK(PressAndWait(MOD_CONTROL | MOD_SHIFT, 'W', 1));
  CHECK_EQ(restoredCalls.size(), 1u);
  if (!restoredCalls.empty()) CHECK(restoredCalls[0].context.empty());
  CHECK(host_windows::BringToFront(editing));

  wine_check::Section("the first layout loads every shortcut active in every mode");
  dll.UnloadNamespace("Restored");
  CHECK(KeyIsFree(MOD_CONTROL, 'Q'));
  CHECK_EQ(dll.LoadNamespace(nullptr, RestoredCallback, savedWithoutModes.c_str(), 12345), LOOMKEYS_OK);
  host_windows::Pump(200);
  CHECK_EQ(dll.GetShortcutCount(""), 4u);
  CHECK_EQ(dll.GetShortcutInfoByContext(nullptr, "alpha", &key, &shift, &mode, nullptr), LOOMKEYS_OK);
  CHECK_EQ(mode, LOOMKEYS_MODE_ALL);
  CHECK(KeyIsHeld(MOD_CONTROL | MOD_SHIFT, 'W'));  // live in slide design now
  restoredCalls.clear();
  CHECK(PressAndWait(MOD_CONTROL | MOD_SHIFT, 'W', 1));
  CHECK_EQ(restoredCalls.size(), 1u);
  if (!restoredCalls.empty()) CHECK(restoredCalls[0].nameSpace.empty());

  wine_check::Section("renaming keeps the keys bound");
  dll.NamespaceRename(nullptr, "Renamed");
  CHECK_EQ(dll.GetShortcutCount(""), 0u);
  CHECK_EQ(dll.GetShortcutCount("Renamed"), 4u);
  CHECK(KeyIsHeld(MOD_CONTROL, 'Q'));
  restoredCalls.clear();
  CHECK(PressAndWait(MOD_CONTROL, 'Q', 2));
  if (!restoredCalls.empty()) CHECK(restoredCalls[0].nameSpace == L"Renamed");
  dll.UnloadNamespace("Renamed");
  CHECK(KeyIsFree(MOD_CONTROL, 'Q'));

  wine_check::Section("rejected and cut-off texts");
  // clang-format off
  CHECK_EQ(dll.LoadNamespace2("Bad", RestoredCallback, "1E000000" "5100020001000300000061", 0), LOOMKEYS_ERROR_RAISED);
  // clang-format on
  CHECK_EQ(dll.LoadNamespace("Bad", RestoredCallback, "140000005100020001000000G1", 0), LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(dll.LoadNamespace("Bad", RestoredCallback, nullptr, 0), LOOMKEYS_ERROR_RAISED);
  CHECK_EQ(dll.GetShortcutCount("Bad"), 0u);
  CHECK(KeyIsFree(MOD_CONTROL, 'Q'));
  // clang-format off
  CHECK_EQ(dll.LoadNamespace("Cut", RestoredCallback, "14000000" "510002000100000061" "57000600FF", 0),
           LOOMKEYS_ERROR_RAISED);
  // clang-format on
  CHECK_EQ(dll.GetShortcutCount("Cut"), 1u);
  CHECK(KeyIsHeld(MOD_CONTROL, 'Q'));
  CHECK(KeyIsFree(MOD_CONTROL | MOD_SHIFT, 'W'));

  wine_check::Section("unloading the library releases everything");
  FreeLibrary(dll.module);
  CHECK(KeyIsFree(MOD_CONTROL, 'Q'));
  CHECK(KeyIsFree(MOD_ALT, VK_F7));
  CHECK(!AtomExists(L"PowerPoint00510002"));
  CHECK(!AtomExists(L"PowerPoint00760001"));

  DestroyWindow(other);
  DestroyWindow(slideShow);
  DestroyWindow(editing);
  return wine_check::Finish();
}
