// Opens the Customize Shortcuts dialog through the real Loomkeys.dll with a
// native (version 10) and two macro (version 20) providers, and checks what
// the providers and the Application object's "Run" receive in both passes,
// the error boxes, and that the shortcuts' keys rest while the dialog is open.
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "automation_application.h"
#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/box_watcher.h"
#include "wine_check.h"

namespace {

// What the native provider saw.
std::vector<uint16_t> nativeCancelled;
uint16_t nativeKeyRead = 0;

void LOOMKEYS_CALL NativeCreate(TUIDataHandle* slot) {
  const auto& dll = loomkeys_dll::Exports();
  *slot = dll.CreateUIData();
  dll.AddCommand(*slot, "Tools", "Native command", "Runs the native command", 'N', MOD_CONTROL);
}

void LOOMKEYS_CALL NativeDestroy(TUIDataHandle tree, uint16_t cancelled) {
  nativeCancelled.push_back(cancelled);
  uint16_t shift = 0;
  const auto& dll = loomkeys_dll::Exports();
  dll.GetCommand(tree, "Tools", "Native command", &nativeKeyRead, &shift);
  dll.DestroyUIData(tree);
}

// A native provider that stores garbage in its slot, and what it gets back.
TUIDataHandle strayHandleAtDestroy = reinterpret_cast<TUIDataHandle>(1);
void LOOMKEYS_CALL StoreNoTree(TUIDataHandle* slot) { *slot = reinterpret_cast<TUIDataHandle>(0x12345678); }
void LOOMKEYS_CALL RecordStrayHandle(TUIDataHandle tree, uint16_t) { strayHandleAtDestroy = tree; }

// Closes the "Customize Shortcuts" dialog with a button as a user would,
// after noting whether a shortcut's key was free for others meanwhile.
class DialogCloser {
 public:
  explicit DialogCloser(int button) : button_(button) { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  ~DialogCloser() {
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
  }
  std::atomic<bool> found{false};
  std::atomic<bool> keyFreeWhileOpen{false};

 private:
  static DWORD WINAPI Run(LPVOID self) {
    static_cast<DialogCloser*>(self)->Close();
    return 0;
  }
  void Close() {
    HWND dialog = box_watcher::WaitForDialog(L"Customize Shortcuts", 8000);
    if (!dialog) return;
    found = true;
    keyFreeWhileOpen = system_probes::KeyIsFree(MOD_CONTROL | MOD_SHIFT, 'K');
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
  }
  int button_;
  HANDLE thread_;
};

bool KeyIsLive() { return !system_probes::KeyIsFree(MOD_CONTROL | MOD_SHIFT, 'K'); }

void LOOMKEYS_CALL Ignore(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

}  // namespace

int main() {
  CoInitialize(nullptr);
  host_windows::CreateEditingInFront();
  const auto& dll = loomkeys_dll::Load();

  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut("Alpha", 'K', MOD_CONTROL | MOD_SHIFT, Ignore, "", &id), LOOMKEYS_OK);
  host_windows::Pump(200);
  CHECK(KeyIsLive());

  TUIProvider native = {};
  native.Native = {10, NativeCreate, NativeDestroy};
  TUIProvider macro = {};
  macro.Macro = {20, 0, "FillTree", "ReadTree"};
  TUIProvider unnamed = {};
  unnamed.Macro = {20, 0, nullptr, ""};
  TUIProviderHandle handle = nullptr;
  CHECK_EQ(dll.RegisterUIProvider(&native, &handle), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterUIProvider(&macro, &handle), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterUIProvider(&unnamed, &handle), LOOMKEYS_OK);

  automation::Application application;
  uint16_t boldKey = 0, boldShift = 0, boldMode = 0;
  application.macros[L"FillTree"] = [&](LONGLONG tree, VARIANT_BOOL) {
    dll.AddCommand2(reinterpret_cast<TUIDataHandle>(tree), L"Format", L"Bold", L"Makes text bold", 'B', MOD_CONTROL, 3);
  };
  application.macros[L"ReadTree"] = [&](LONGLONG tree, VARIANT_BOOL) {
    dll.GetCommand2(reinterpret_cast<TUIDataHandle>(tree), L"Format", L"Bold", &boldKey, &boldShift, &boldMode);
  };
  VARIANT app = automation::AsVariant(application);

  wine_check::Section("OK: both passes, Run's arguments by reference, boxes for the unnamed macros");
  {
    box_watcher::MessageBoxAnswerer createBoxes(L"OnCreateUI Exception", IDOK);
    box_watcher::MessageBoxAnswerer destroyBoxes(L"OnDestroyUI Exception", IDOK);
    DialogCloser closer(IDOK);
    dll.ShowCustomizeShortcutsUI(&app);
    CHECK(closer.found);
    CHECK(closer.keyFreeWhileOpen);
    host_windows::Pump(300);
    CHECK_EQ(createBoxes.Count(), 1u);
    CHECK_EQ(destroyBoxes.Count(), 1u);
    if (createBoxes.Count() == 1) CHECK(createBoxes.Texts()[0] == L"Cannot run the macro ''.");
  }
  CHECK(KeyIsLive());
  CHECK_EQ(nativeCancelled.size(), 1u);
  if (!nativeCancelled.empty()) CHECK_EQ(nativeCancelled[0], 0);
  CHECK_EQ(nativeKeyRead, 'N');
  CHECK_EQ(boldKey, 'B');
  CHECK_EQ(boldMode, 3);
  CHECK_EQ(application.calls.size(), 4u);
  if (application.calls.size() == 4) {
    const automation::RunCall& fill = application.calls[0];
    CHECK(fill.macro == L"FillTree");
    CHECK((fill.types == std::vector<VARTYPE>{VT_BSTR | VT_BYREF, VT_I8 | VT_BYREF}));
    CHECK(fill.handle != 0);
    CHECK(application.calls[1].macro.empty());
    const automation::RunCall& read = application.calls[2];
    CHECK(read.macro == L"ReadTree");
    CHECK((read.types == std::vector<VARTYPE>{VT_BSTR | VT_BYREF, VT_I8 | VT_BYREF, VT_BOOL | VT_BYREF}));
    CHECK_EQ(read.handle, fill.handle);
    CHECK_EQ(read.cancelled, VARIANT_FALSE);
  }
  CHECK_EQ(application.references, 1u);  // the library let go of its reference

  wine_check::Section("Cancel: the providers are told so");
  application.calls.clear();
  {
    box_watcher::MessageBoxAnswerer createBoxes(L"OnCreateUI Exception", IDOK);
    box_watcher::MessageBoxAnswerer destroyBoxes(L"OnDestroyUI Exception", IDOK);
    DialogCloser closer(IDCANCEL);
    dll.ShowCustomizeShortcutsUI(&app);
    CHECK(closer.found);
  }
  CHECK_EQ(nativeCancelled.size(), 2u);
  if (nativeCancelled.size() == 2) CHECK_EQ(nativeCancelled[1], 0xFFFF);
  CHECK_EQ(application.calls.size(), 4u);
  if (application.calls.size() == 4) CHECK_EQ(application.calls[2].cancelled, VARIANT_TRUE);

  wine_check::Section("no Application object: every macro provider is reported in both passes");
  {
    box_watcher::MessageBoxAnswerer createBoxes(L"OnCreateUI Exception", IDOK);
    box_watcher::MessageBoxAnswerer destroyBoxes(L"OnDestroyUI Exception", IDOK);
    DialogCloser closer(IDOK);
    VARIANT empty;
    VariantInit(&empty);
    dll.ShowCustomizeShortcutsUI(&empty);
    CHECK(closer.found);
    host_windows::Pump(300);
    CHECK_EQ(createBoxes.Count(), 2u);
    CHECK_EQ(destroyBoxes.Count(), 2u);
    if (createBoxes.Count() == 2)
      CHECK(createBoxes.Texts()[0] == L"The Application object is not an Automation object.");
  }
  CHECK_EQ(nativeCancelled.size(), 3u);  // the native provider is unaffected

  wine_check::Section("a slot left holding no tree is reported, and the dialog opens without it");
  TUIProvider stray = {};
  stray.Native = {10, StoreNoTree, RecordStrayHandle};
  CHECK_EQ(dll.RegisterUIProvider(&stray, &handle), LOOMKEYS_OK);
  {
    box_watcher::MessageBoxAnswerer createBoxes(L"OnCreateUI Exception", IDOK);
    box_watcher::MessageBoxAnswerer destroyBoxes(L"OnDestroyUI Exception", IDOK);
    DialogCloser closer(IDOK);
    dll.ShowCustomizeShortcutsUI(&app);
    CHECK(closer.found);
    host_windows::Pump(300);
    const std::vector<std::wstring> texts = createBoxes.Texts();
    CHECK(std::count(texts.begin(), texts.end(), L"OnCreateUI stored a handle that is no UI data tree.") == 1);
  }
  CHECK(strayHandleAtDestroy == nullptr);
  CHECK_EQ(nativeCancelled.size(), 4u);
  CHECK_EQ(nativeKeyRead, 'N');

  FreeLibrary(dll.module);
  CoUninitialize();
  return wine_check::Finish();
}
