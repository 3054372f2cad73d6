// Hands the real Loomkeys.dll strings and out-pointers that cannot be used,
// in a page that cannot be read (PAGE_NOACCESS), in a page that can only be
// read (PAGE_READONLY), in a guard page (PAGE_GUARD), and strings that run
// into an unreadable page without a terminator: every export answers its
// code, and afterwards the shortcuts, their bound keys, the UI data and the
// providers are as they were, the guard page is guarded again, and the
// registry's lock is free (a call from another thread gets through).
#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/box_watcher.h"
#include "wine_check.h"
#include "worker_thread.h"

namespace {

using system_probes::KeyIsFree;

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr size_t kPage = 4096;
// What the exports without a result "answer" in the table.
constexpr int64_t kNoResult = -1;

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

int providerCalls = 0;
void LOOMKEYS_CALL CountCreate(TUIDataHandle*) { ++providerCalls; }

// Four pages: one that cannot be touched, one that can only be read, a
// readable one right before an unreadable one, for strings without an end,
// and a guard page (as at the end of another thread's stack) holding
// well-formed strings.
class ClientPages {
 public:
  ClientPages() {
    base_ = static_cast<char*>(VirtualAlloc(nullptr, 5 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    std::strcpy(base_ + kPage, "Guard");
    std::memcpy(base_ + kPage + 16, "one", 4);
    const uint32_t room = 100;
    std::memcpy(base_ + kPage + 64, &room, sizeof room);
    std::memcpy(base_ + 3 * kPage - 5, "Guard", 5);  // no terminator: the next page is unreadable
    std::strcpy(base_ + 4 * kPage, "Guard");
    std::strcpy(base_ + 4 * kPage + 16, "14000000");
    DWORD old = 0;
    VirtualProtect(base_, kPage, PAGE_NOACCESS, &old);
    VirtualProtect(base_ + kPage, kPage, PAGE_READONLY, &old);
    VirtualProtect(base_ + 3 * kPage, kPage, PAGE_NOACCESS, &old);
    VirtualProtect(base_ + 4 * kPage, kPage, PAGE_READWRITE | PAGE_GUARD, &old);
  }
  ~ClientPages() { VirtualFree(base_, 0, MEM_RELEASE); }

  template <typename T>
  T* NoAccess() const {
    return reinterpret_cast<T*>(base_ + 256);
  }
  // A variable that holds 100 and cannot be written.
  template <typename T>
  T* ReadOnly() const {
    return reinterpret_cast<T*>(base_ + kPage + 64);
  }
  // "Guard" and "one" in read-only memory.
  const char* ReadOnlyNamespace() const { return base_ + kPage; }
  const char* ReadOnlyContext() const { return base_ + kPage + 16; }
  const char* Unterminated() const { return base_ + 3 * kPage - 5; }
  // "Guard" and "14000000" (a blob's text) in the guard page.
  const char* GuardedNamespace() const { return base_ + 4 * kPage; }
  const char* GuardedBlobText() const { return base_ + 4 * kPage + 16; }
  bool GuardPageIsGuarded() const {
    MEMORY_BASIC_INFORMATION page = {};
    return VirtualQuery(base_ + 4 * kPage, &page, sizeof page) && (page.Protect & PAGE_GUARD) != 0;
  }

 private:
  char* base_ = nullptr;
};

struct Row {
  const char* what;
  std::function<int64_t()> call;
  int64_t expected;
};

// GetShortcutCount on a thread of its own, given 5 s: a registry lock left
// held by a faulted call would keep it waiting.
uint32_t CountFromAnotherThread(decltype(&::GetShortcutCount) count, const char* nameSpace) {
  uint32_t result = 0xFFFFFFFF;
  worker_thread::Run([&] { result = count(nameSpace); }, 5000);
  return result;
}

// Watches for the Customize Shortcuts dialog for a while and closes it with
// Cancel if it comes.
class DialogWatcher {
 public:
  explicit DialogWatcher(DWORD milliseconds) : milliseconds_(milliseconds) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~DialogWatcher() {
    WaitForSingleObject(thread_, milliseconds_ + 2000);
    CloseHandle(thread_);
  }
  std::atomic<bool> found{false};

 private:
  static DWORD WINAPI Run(LPVOID self) {
    auto* watcher = static_cast<DialogWatcher*>(self);
    if (HWND dialog = box_watcher::WaitForDialog(L"Customize Shortcuts", watcher->milliseconds_)) {
      watcher->found = true;
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return 0;
  }
  DWORD milliseconds_;
  HANDLE thread_;
};

}  // namespace

int main() {
  HWND editing = host_windows::CreateEditingInFront();
  const auto& dll = loomkeys_dll::Load();

  const ClientPages pages;
  const char* badText = pages.NoAccess<char>();
  const wchar_t* badWide = pages.NoAccess<wchar_t>();
  const char* endless = pages.Unterminated();
  uint16_t* badKey = pages.NoAccess<uint16_t>();
  uint16_t* readOnlyKey = pages.ReadOnly<uint16_t>();
  uint32_t* badSize = pages.NoAccess<uint32_t>();
  uint32_t* readOnlySize = pages.ReadOnly<uint32_t>();

  // Two shortcuts on two keys; Ctrl+Alt+N stays free.
  uint32_t one = 0, two = 0;
  CHECK_EQ(dll.RegisterShortcut2("Guard", VK_F1, kCtrlAlt, LOOMKEYS_MODE_ALL, Ignore, "one", &one), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Guard", VK_F2, kCtrlAlt, LOOMKEYS_MODE_ALL, Ignore, "two", &two), LOOMKEYS_OK);
  std::string blob(dll.GetNamespaceDataSize2("Guard"), '\0');  // the longer of the two texts
  TUIDataHandle tree = dll.CreateUIData();
  CHECK_EQ(dll.AddCommand2(tree, L"Cat", L"Cmd", L"", 'A', MOD_CONTROL, 1), LOOMKEYS_OK);

  TUIProvider native = {};
  native.Native = {LOOMKEYS_PROVIDER_NATIVE, CountCreate, nullptr};
  TUIProvider macro = {};
  macro.Macro = {LOOMKEYS_PROVIDER_MACRO, 0, badText, nullptr};
  uint8_t room[100];
  uint16_t key = 0, shift = 0, mode = 0;
  uint32_t id = 0, size = 0;
  TUIProviderHandle handle = nullptr;
  VARIANT* badApplication = pages.NoAccess<VARIANT>();

  const std::vector<Row> rows = {
      {"RegisterShortcut2, unreadable namespace",
       [&] { return dll.RegisterShortcut2(badText, 'N', kCtrlAlt, 1, Ignore, "", &id); }, LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, unreadable context",
       [&] { return dll.RegisterShortcut2("Guard", 'N', kCtrlAlt, 1, Ignore, badText, &id); }, LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, namespace in a guard page",
       [&] { return dll.RegisterShortcut2(pages.GuardedNamespace(), 'N', kCtrlAlt, 1, Ignore, "", &id); },
       LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, the same namespace in the same guard page again",
       [&] { return dll.RegisterShortcut2(pages.GuardedNamespace(), 'N', kCtrlAlt, 1, Ignore, "", &id); },
       LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, namespace without an end",
       [&] { return dll.RegisterShortcut2(endless, 'N', kCtrlAlt, 1, Ignore, "", &id); }, LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, read-only id of a new key",
       [&] { return dll.RegisterShortcut2("Guard", 'N', kCtrlAlt, 1, Ignore, "", readOnlySize); },
       LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, unreadable id of a new key",
       [&] { return dll.RegisterShortcut2("Guard", 'N', kCtrlAlt, 1, Ignore, "", badSize); }, LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut2, read-only id on a shared key",
       [&] { return dll.RegisterShortcut2("Other", VK_F1, kCtrlAlt, 1, Ignore, "", readOnlySize); },
       LOOMKEYS_ERROR_RAISED},
      {"RegisterShortcut, read-only id",
       [&] { return dll.RegisterShortcut("Guard", 'N', kCtrlAlt, Ignore, "x", readOnlySize); }, LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByShortcutId, read-only key",
       [&] { return dll.GetShortcutInfoByShortcutId(one, readOnlyKey, &shift, &mode); }, LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByShortcutId, unreadable shift keys",
       [&] { return dll.GetShortcutInfoByShortcutId(one, &key, badKey, &mode); }, LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByShortcutId, read-only mode",
       [&] { return dll.GetShortcutInfoByShortcutId(one, &key, &shift, readOnlyKey); }, LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByContext, unreadable namespace",
       [&] { return dll.GetShortcutInfoByContext(badText, "one", &key, &shift, &mode, &id); }, LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByContext, context without an end",
       [&] { return dll.GetShortcutInfoByContext("Guard", endless, &key, &shift, &mode, &id); }, LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByContext, read-only key",
       [&] { return dll.GetShortcutInfoByContext("Guard", "one", readOnlyKey, &shift, &mode, &id); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutInfoByContext, unreadable id",
       [&] { return dll.GetShortcutInfoByContext("Guard", "one", &key, &shift, &mode, badSize); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutCount, unreadable namespace", [&] { return dll.GetShortcutCount(badText); }, 0},
      {"GetShortcutDataSize, unreadable namespace", [&] { return dll.GetShortcutDataSize(badText, 1, &size); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutDataSize, read-only size", [&] { return dll.GetShortcutDataSize("Guard", 1, readOnlySize); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutDataSize, unreadable size", [&] { return dll.GetShortcutDataSize("Guard", 1, badSize); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutData, unreadable namespace",
       [&] {
         size = sizeof room;
         return dll.GetShortcutData(badText, 1, room, &size, &id);
       },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutData, unreadable size", [&] { return dll.GetShortcutData("Guard", 1, room, badSize, &id); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutData, read-only size", [&] { return dll.GetShortcutData("Guard", 1, room, readOnlySize, &id); },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutData, read-only id",
       [&] {
         size = sizeof room;
         return dll.GetShortcutData("Guard", 1, room, &size, readOnlySize);
       },
       LOOMKEYS_ERROR_RAISED},
      {"GetShortcutData, unwritable buffer",
       [&] {
         size = sizeof room;
         return dll.GetShortcutData("Guard", 1, pages.ReadOnly<char>(), &size, &id);
       },
       LOOMKEYS_ERROR_RAISED},
      {"GetNamespaceDataSize, unreadable namespace", [&] { return dll.GetNamespaceDataSize(badText); }, 0},
      {"GetNamespaceDataSize2, namespace without an end", [&] { return dll.GetNamespaceDataSize2(endless); }, 0},
      {"GetNamespaceData, unreadable namespace",
       [&] {
         size = static_cast<uint32_t>(blob.size());
         return dll.GetNamespaceData(badText, blob.data(), &size);
       },
       LOOMKEYS_ERROR_RAISED},
      {"GetNamespaceData, unreadable size", [&] { return dll.GetNamespaceData("Guard", blob.data(), badSize); },
       LOOMKEYS_ERROR_RAISED},
      {"GetNamespaceData, read-only size", [&] { return dll.GetNamespaceData("Guard", blob.data(), readOnlySize); },
       LOOMKEYS_ERROR_RAISED},
      {"GetNamespaceData2, read-only size", [&] { return dll.GetNamespaceData2("Guard", blob.data(), readOnlySize); },
       LOOMKEYS_ERROR_RAISED},
      {"GetNamespaceData2, unwritable buffer",
       [&] {
         size = 4096;
         return dll.GetNamespaceData2("Guard", pages.ReadOnly<char>(), &size);
       },
       LOOMKEYS_ERROR_RAISED},
      {"LoadNamespace, unreadable namespace", [&] { return dll.LoadNamespace(badText, Ignore, "14000000", 8); },
       LOOMKEYS_ERROR_RAISED},
      {"LoadNamespace, unreadable text", [&] { return dll.LoadNamespace("Other", Ignore, badText, 8); },
       LOOMKEYS_ERROR_RAISED},
      {"LoadNamespace, text in a guard page",
       [&] { return dll.LoadNamespace("Other", Ignore, pages.GuardedBlobText(), 8); }, LOOMKEYS_ERROR_RAISED},
      {"LoadNamespace2, text without an end", [&] { return dll.LoadNamespace2("Other", Ignore, endless, 5); },
       LOOMKEYS_ERROR_RAISED},
      {"UnloadNamespace, unreadable namespace",
       [&] {
         dll.UnloadNamespace(badText);
         return kNoResult;
       },
       kNoResult},
      {"NamespaceRename, unreadable namespace",
       [&] {
         dll.NamespaceRename(badText, "Other");
         return kNoResult;
       },
       kNoResult},
      {"NamespaceRename, unreadable new namespace",
       [&] {
         dll.NamespaceRename("Guard", badText);
         return kNoResult;
       },
       kNoResult},
      {"AddCommand2, unreadable category", [&] { return dll.AddCommand2(tree, badWide, L"New", L"", 'B', 0, 1); },
       LOOMKEYS_ERROR_RAISED},
      {"AddCommand2, unreadable name", [&] { return dll.AddCommand2(tree, L"Cat", badWide, L"", 'B', 0, 1); },
       LOOMKEYS_ERROR_RAISED},
      {"AddCommand2, unreadable description", [&] { return dll.AddCommand2(tree, L"Cat", L"New", badWide, 'B', 0, 1); },
       LOOMKEYS_ERROR_RAISED},
      {"AddCommand, description without an end", [&] { return dll.AddCommand(tree, "Cat", "New", endless, 'B', 0); },
       LOOMKEYS_ERROR_RAISED},
      {"GetCommand2, unreadable category", [&] { return dll.GetCommand2(tree, badWide, L"Cmd", &key, &shift, &mode); },
       LOOMKEYS_ERROR_RAISED},
      {"GetCommand2, read-only key", [&] { return dll.GetCommand2(tree, L"Cat", L"Cmd", readOnlyKey, &shift, &mode); },
       LOOMKEYS_ERROR_RAISED},
      {"GetCommand2, unreadable mode", [&] { return dll.GetCommand2(tree, L"Cat", L"Cmd", &key, &shift, badKey); },
       LOOMKEYS_ERROR_RAISED},
      {"GetCommand, read-only shift keys", [&] { return dll.GetCommand(tree, "Cat", "Cmd", &key, readOnlyKey); },
       LOOMKEYS_ERROR_RAISED},
      {"RegisterUIProvider, unreadable record",
       [&] { return dll.RegisterUIProvider(pages.NoAccess<TUIProvider>(), &handle); }, LOOMKEYS_ERROR_RAISED},
      {"RegisterUIProvider, unreadable macro name", [&] { return dll.RegisterUIProvider(&macro, &handle); },
       LOOMKEYS_ERROR_RAISED},
      {"RegisterUIProvider, read-only handle",
       [&] { return dll.RegisterUIProvider(&native, pages.ReadOnly<TUIProviderHandle>()); }, LOOMKEYS_ERROR_RAISED},
      {"RegisterUIProvider, unreadable handle",
       [&] { return dll.RegisterUIProvider(&native, pages.NoAccess<TUIProviderHandle>()); }, LOOMKEYS_ERROR_RAISED},
      {"InitializeKeyloomAddin, read-only handle",
       [&] { return dll.InitializeKeyloomAddin(&native, pages.ReadOnly<TUIProviderHandle>()); }, LOOMKEYS_ERROR_RAISED},
      {"ShowCustomizeShortcutsUI, unreadable Application",
       [&] {
         DialogWatcher watcher(1000);  // long enough for a dialog that must not come
         dll.ShowCustomizeShortcutsUI(reinterpret_cast<tagVARIANT*>(badApplication));
         return watcher.found ? 1 : kNoResult;  // the dialog must not open
       },
       kNoResult},
  };

  wine_check::Section("every export answers its code; shortcuts, keys and the lock stay as they were");
  for (const Row& row : rows) {
    const int64_t result = row.call();
    wine_check::Report(
        result == row.expected,
        std::string(row.what) + ": got " + std::to_string(result) + ", want " + std::to_string(row.expected), __FILE__,
        __LINE__);
    const bool unchanged = CountFromAnotherThread(dll.GetShortcutCount, "Guard") == 2 &&
                           dll.GetShortcutCount("Other") == 0 && !KeyIsFree(kCtrlAlt, VK_F1) &&
                           !KeyIsFree(kCtrlAlt, VK_F2) && KeyIsFree(kCtrlAlt, 'N');
    wine_check::Report(unchanged, std::string(row.what) + ": the registry changed", __FILE__, __LINE__);
  }

  wine_check::Section("a guard page that a client string sat in is guarded again");
  CHECK(pages.GuardPageIsGuarded());

  wine_check::Section("the tree and the provider list are as they were");
  CHECK_EQ(dll.GetCommand2(tree, L"Cat", L"New", &key, &shift, &mode), LOOMKEYS_NO_SUCH_COMMAND);
  CHECK_EQ(dll.GetCommand2(tree, L"Cat", L"Cmd", &key, &shift, &mode), LOOMKEYS_OK);
  CHECK_EQ(key, 'A');
  {
    // A provider that had been kept would be asked for its tree here, and a
    // macro provider would fail without an Application object.
    box_watcher::MessageBoxAnswerer boxes(L"OnCreateUI Exception", IDOK);
    DialogWatcher watcher(8000);
    dll.ShowCustomizeShortcutsUI(nullptr);
    CHECK(watcher.found);
    host_windows::Pump(200);
    CHECK_EQ(providerCalls, 0);
    CHECK_EQ(boxes.Count(), 0u);
  }

  wine_check::Section("strings in read-only memory are read as usual");
  uint32_t readOnlyStrings = 0;
  CHECK_EQ(dll.RegisterShortcut2(pages.ReadOnlyNamespace(), 'R', kCtrlAlt, 1, Ignore, pages.ReadOnlyContext(),
                                 &readOnlyStrings),
           LOOMKEYS_OK);
  CHECK_EQ(dll.GetShortcutCount(pages.ReadOnlyNamespace()), 3u);
  CHECK_EQ(dll.GetShortcutInfoByContext("Guard", pages.ReadOnlyContext(), &key, &shift, &mode, &id), LOOMKEYS_OK);
  CHECK_EQ(id, one);  // the earliest entry with that context
  CHECK_EQ(dll.UnregisterShortcut(readOnlyStrings), LOOMKEYS_OK);
  CHECK(KeyIsFree(kCtrlAlt, 'R'));

  wine_check::Section("an out-pointer that nothing is written to may be read-only");
  CHECK_EQ(dll.GetShortcutDataSize("Guard", 9, readOnlySize), LOOMKEYS_INDEX_PAST_ENTRIES);
  CHECK_EQ(dll.GetShortcutData("Guard", 9, room, readOnlySize, readOnlySize), LOOMKEYS_INDEX_PAST_ENTRIES);
  CHECK_EQ(dll.GetShortcutInfoByShortcutId(999, readOnlyKey, readOnlyKey, readOnlyKey), LOOMKEYS_UNKNOWN_SHORTCUT_ID);
  CHECK_EQ(dll.GetCommand2(tree, L"Cat", L"New", readOnlyKey, readOnlyKey, readOnlyKey), LOOMKEYS_NO_SUCH_COMMAND);

  wine_check::Section("the library still works and unloads cleanly");
  CHECK_EQ(dll.RegisterShortcut2("Guard", 'N', kCtrlAlt, 1, Ignore, "", &id), LOOMKEYS_OK);
  CHECK(!KeyIsFree(kCtrlAlt, 'N'));
  FreeLibrary(dll.module);
  CHECK(KeyIsFree(kCtrlAlt, 'N'));
  CHECK(KeyIsFree(kCtrlAlt, VK_F1));
  CHECK(system_probes::HotKeyWindows().empty());
  DestroyWindow(editing);
  return wine_check::Finish();
}
