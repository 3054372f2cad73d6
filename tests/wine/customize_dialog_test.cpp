// The Customize Shortcuts dialog and the About box through the real
// Loomkeys.dll. A version-10 provider and a version-20 provider (whose
// macros run through a small Application object of the test's own) fill
// their trees; a watcher thread then drives the real dialog with the mouse
// and the keyboard, as a user would, while ShowCustomizeShortcutsUI runs its
// modal loop on the main thread. The providers' OnDestroyUI show what was
// stored and whether the dialog was cancelled.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "automation_application.h"
#include "customize_dialog_ids.h"
#include "host_windows.h"
#include "loomkeys_dll.h"
#include "product_info.h"
#include "win32/box_watcher.h"
#include "win32/key_input.h"
#include "win32/user_input.h"
#include "wine_check.h"

namespace {

using user_input::Click;
using user_input::ClickListItem;
using user_input::ListItems;
using user_input::PressKey;
using user_input::Text;
using user_input::WaitUntil;
using Items = std::vector<std::wstring>;

HWND host = nullptr;  // PowerPoint's editing window, as far as the library can tell

// A command as a provider reads it back in OnDestroyUI.
struct Key {
  uint16_t vk = 0xEEEE, shiftKeys = 0xEEEE, mode = 0xEEEE;
  bool operator==(const Key&) const = default;
};

// Reads every command a provider put into its tree.
std::map<std::wstring, Key> ReadBack(TUIDataHandle tree,
                                     const std::vector<std::pair<const wchar_t*, const wchar_t*>>& names) {
  std::map<std::wstring, Key> keys;
  for (const auto& [category, name] : names) {
    Key key;
    if (loomkeys_dll::Exports().GetCommand2(tree, category, name, &key.vk, &key.shiftKeys, &key.mode) == LOOMKEYS_OK)
      keys[name] = key;
  }
  return keys;
}

// ---- The version-10 provider ------------------------------------------------

const std::vector<std::pair<const wchar_t*, const wchar_t*>> kNativeCommands = {
    {L"Format", L"Apply bold"}, {L"Format", L"Italic text"}, {L"Edit", L"Copy slide"}, {L"Edit", L"Paste slide"}};

struct NativeProvider {
  int destroyCalls = 0;
  uint16_t cancelled = 0xEEEE;
  std::map<std::wstring, Key> keys;
} native;

void LOOMKEYS_CALL NativeOnCreateUI(TUIDataHandle* slot) {
  const auto& dll = loomkeys_dll::Exports();
  TUIDataHandle tree = dll.CreateUIData();
  dll.AddCommand2(tree, L"Format", L"Apply bold", L"Bolds the selection.", 0, 0, 3);
  dll.AddCommand2(tree, L"Format", L"Italic text", L"Slants the selection.", 'I', MOD_CONTROL, 1);
  dll.AddCommand(tree, "Edit", "Copy slide", "Copies the slide.", 'C', MOD_CONTROL | MOD_SHIFT);
  dll.AddCommand2(tree, L"Edit", L"Paste slide", L"Pastes the slide & its notes.", 0, 0, 2);
  *slot = tree;
}

void LOOMKEYS_CALL NativeOnDestroyUI(TUIDataHandle tree, uint16_t cancelled) {
  ++native.destroyCalls;
  native.cancelled = cancelled;
  native.keys = ReadBack(tree, kNativeCommands);
  loomkeys_dll::Exports().DestroyUIData(tree);
}

// ---- The version-20 provider's macros -----------------------------------------

const std::vector<std::pair<const wchar_t*, const wchar_t*>> kMacroCommands = {{L"Edit", L"Macro command"},
                                                                               {L"Edit", L"Macro unassigned"}};

struct MacroProvider {
  int destroyRuns = 0;
  VARIANT_BOOL cancelled = 0x5555;
  std::map<std::wstring, Key> keys;
} macroProvider;

void DefineMacros(automation::Application& application) {
  application.macros[L"Module1.CreateUI"] = [](LONGLONG handle, VARIANT_BOOL) {
    auto tree = reinterpret_cast<TUIDataHandle>(static_cast<intptr_t>(handle));
    const auto& dll = loomkeys_dll::Exports();
    dll.AddCommand2(tree, L"Edit", L"Macro command", L"Runs a macro.", 'M', MOD_ALT, 2);
    dll.AddCommand2(tree, L"Edit", L"Macro unassigned", L"", 0, 0, 3);
  };
  application.macros[L"Module1.DestroyUI"] = [](LONGLONG handle, VARIANT_BOOL cancelled) {
    ++macroProvider.destroyRuns;
    macroProvider.cancelled = cancelled;
    macroProvider.keys = ReadBack(reinterpret_cast<TUIDataHandle>(static_cast<intptr_t>(handle)), kMacroCommands);
  };
}

// ---- Driving the dialog -----------------------------------------------------

constexpr UINT kLiveModifiers = MOD_CONTROL | MOD_SHIFT;
constexpr UINT kLiveKey = VK_F11;

void LOOMKEYS_CALL ShortcutCallback(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

// The library's key is live when the system will not give it to anyone else.
bool KeyIsLive() {
  if (!RegisterHotKey(nullptr, 0xB00, kLiveModifiers, kLiveKey)) return true;
  UnregisterHotKey(nullptr, 0xB00);
  return false;
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }
WORD HotKeyOf(HWND dialog) {
  return static_cast<WORD>(SendMessageW(Control(dialog, kAssignedHotKeyId), HKM_GETHOTKEY, 0, 0));
}
bool Checked(HWND dialog, int id) { return SendMessageW(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
HWND FocusOf(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}
bool ListsAre(HWND dialog, const Items& categories, const Items& commands) {
  return ListItems(Control(dialog, kCategoryListBoxId)) == categories &&
         ListItems(Control(dialog, kCommandsListBoxId)) == commands;
}
#define CHECK_LISTS(dialog, categories, commands) \
  CHECK(WaitUntil([&] { return ListsAre(dialog, categories, commands); }, 3000))
#define CHECK_TEXT(window, text) CHECK(WaitUntil([&] { return Text(window) == (text); }, 3000))
// The dialog's thread handles a click or a key in its own time.
#define CHECK_SOON(condition) CHECK(WaitUntil([&] { return (condition); }, 3000))

// With an editing window of this process in front, the tick would bind the
// key again, unless the hot keys are suspended while the dialog is open.
void CheckKeysSuspended(HWND dialog) {
  HWND probe = host_windows::Create(L"PPTFrameClass", L"Probe");
  CHECK(host_windows::BringToFront(probe));
  host_windows::Pump(300);
  CHECK(!KeyIsLive());
  DestroyWindow(probe);
  SetForegroundWindow(dialog);
  Sleep(200);
}

// Waits for the About box and checks that it has this owner, keeps
// `disabled` disabled while it shows, and names the product and its
// copyright. Null when no box comes.
HWND WaitForAboutBox(HWND owner, HWND disabled) {
  HWND about = box_watcher::WaitForDialog(L"About", 5000);
  CHECK(about != nullptr);
  if (!about) return nullptr;
  CHECK(GetWindow(about, GW_OWNER) == owner);
  CHECK(!IsWindowEnabled(disabled));
  const Items texts = user_input::ChildTexts(about, L"Static");
  CHECK(std::find(texts.begin(), texts.end(), L"Keyloom 9 for PowerPoint") != texts.end());
  CHECK(std::find(texts.begin(), texts.end(), LOOMKEYS_COPYRIGHT) != texts.end());
  return about;
}

// Opens the About box with the dialog's button, reads it and closes it with Enter.
void CheckAboutFromDialog(HWND dialog) {
  Click(Control(dialog, kAboutButtonId));
  HWND about = WaitForAboutBox(dialog, dialog);
  if (!about) return;
  PressKey(VK_RETURN);
  CHECK(user_input::WaitUntilClosed(about, 3000));
  CHECK(IsWindowEnabled(dialog));
}

// Presses Clear All and answers the question with Yes or No.
void ClearAll(HWND dialog, int answer) {
  Click(Control(dialog, kClearShortcutsButtonId));
  HWND box = box_watcher::WaitForDialog(L"Keyloom for PowerPoint", 5000);
  CHECK(box != nullptr);
  if (!box) return;
  Sleep(50);
  CHECK(box_watcher::MessageBoxText(box) == L"Clear all keyboard shortcuts defined through Keyloom for PowerPoint?");
  CHECK(GetWindow(box, GW_OWNER) == dialog);
  CHECK(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDCANCEL));
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  CHECK(user_input::WaitUntilClosed(box, 3000));
}

HWND WaitForCustomizeDialog() {
  HWND dialog = box_watcher::WaitForDialog(L"Customize Shortcuts", 10000);
  CHECK(dialog != nullptr);
  if (dialog) CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Apply bold", L"Italic text"}));
  return dialog;
}

// The first run: find, filter, select, assign a key, set modes, look at
// the About box, decline Clear All, and close with OK.
DWORD WINAPI FirstRun(LPVOID) {
  HWND dialog = WaitForCustomizeDialog();
  if (!dialog) return 0;
  wine_check::Section("the dialog is owned by the window in front, which takes no input meanwhile");
  CHECK(GetWindow(dialog, GW_OWNER) == host);
  CHECK(!IsWindowEnabled(host));
  CHECK_TEXT(Control(dialog, kCommandsLabelId), L"Co&mmands:");
  CheckKeysSuspended(dialog);

  wine_check::Section("Find searches the names only, A to Z without case, trimmed");
  Click(Control(dialog, kFilterEditId));
  user_input::Type(L" BOLD ");
  CHECK_LISTS(dialog, (Items{L"Format"}), (Items{L"Apply bold"}));
  CHECK_TEXT(Control(dialog, kCommandsLabelId), L"Co&mmands (Filtered):");
  for (int i = 0; i < 6; ++i) PressKey(VK_BACK);
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Apply bold", L"Italic text"}));
  CHECK_TEXT(Control(dialog, kCommandsLabelId), L"Co&mmands:");

  wine_check::Section("Show: assigned and unassigned commands");
  Click(Control(dialog, kFilterAssignedId));
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Italic text"}));
  Click(Control(dialog, kFilterUnassignedId));
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Apply bold"}));
  ClickListItem(Control(dialog, kCategoryListBoxId), 2);
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Macro unassigned"}));
  Click(Control(dialog, kFilterAllId));
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Apply bold", L"Italic text"}));

  wine_check::Section("selecting a category and a command shows the command");
  ClickListItem(Control(dialog, kCategoryListBoxId), 1);
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Copy slide", L"Paste slide"}));
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('C', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
  ClickListItem(Control(dialog, kCommandsListBoxId), 1);
  CHECK_TEXT(Control(dialog, kDescriptionLabelId), L"Pastes the slide & its notes.");
  CHECK_SOON(HotKeyOf(dialog) == 0);
  CHECK_SOON(!Checked(dialog, kActiveSlideDesignCheckBoxId) && Checked(dialog, kActiveSlideShowCheckBoxId));

  wine_check::Section("a key another command holds is named under the key field, a free key is not");
  Click(Control(dialog, kAssignedHotKeyId));
  const struct {
    UINT modifiers;
    WORD key;
    const wchar_t* notice;
  } kHeldKeys[] = {{MOD_ALT, 'M', L"Also assigned to \"Macro command\" (Edit)"},  // another provider's
                   {MOD_CONTROL, 'B', L""},
                   {MOD_CONTROL | MOD_SHIFT, 'C', L"Also assigned to \"Copy slide\" (Edit)"},
                   {MOD_CONTROL, 'I', L""}};  // held in slide design only, which is unchecked
  for (const auto& held : kHeldKeys) {
    key_input::PressChord(held.modifiers, held.key);
    CHECK_TEXT(Control(dialog, kAlsoAssignedLabelId), held.notice);
  }

  wine_check::Section("a key in the field: PowerPoint's notice, and Enter does not close the dialog");
  key_input::PressChord(MOD_CONTROL, 'B');
  CHECK_TEXT(Control(dialog, kPowerPointShortcutLabelId), L"Defined by PowerPoint to Apply bold formatting");
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('B', HOTKEYF_CONTROL));
  CHECK(HIWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) != DC_HASDEFID);  // OK is not the default button
  PressKey(VK_RETURN);
  Sleep(300);
  CHECK(IsWindow(dialog) && IsWindowVisible(dialog));
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('B', HOTKEYF_CONTROL));

  wine_check::Section("leaving the field and clicking the check boxes store into the command");
  Click(Control(dialog, kActiveSlideDesignCheckBoxId));  // the focus leaves the key field: the key is stored
  Click(Control(dialog, kActiveSlideShowCheckBoxId));
  CHECK_SOON(Checked(dialog, kActiveSlideDesignCheckBoxId) && !Checked(dialog, kActiveSlideShowCheckBoxId));
  CHECK(SendMessageW(dialog, DM_GETDEFID, 0, 0) == MAKELONG(IDOK, DC_HASDEFID));
  ClickListItem(Control(dialog, kCategoryListBoxId), 2);
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Macro command", L"Macro unassigned"}));
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('M', HOTKEYF_ALT));
  Click(Control(dialog, kActiveSlideShowCheckBoxId));  // mode 2 becomes 0
  CHECK_SOON(Text(Control(dialog, kPowerPointShortcutLabelId)).empty());

  wine_check::Section("the About box from the dialog; Clear All answered No");
  CheckAboutFromDialog(dialog);
  ClearAll(dialog, IDNO);
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('M', HOTKEYF_ALT));

  Click(Control(dialog, IDOK));
  return 0;
}

// The second run: Clear All answered Yes, then Esc.
DWORD WINAPI SecondRun(LPVOID) {
  HWND dialog = WaitForCustomizeDialog();
  if (!dialog) return 0;
  wine_check::Section("Clear All answered Yes clears every key and refreshes");
  CHECK_SOON(HotKeyOf(dialog) == 0);  // Apply bold
  ClickListItem(Control(dialog, kCommandsListBoxId), 1);
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('I', HOTKEYF_CONTROL));
  ClearAll(dialog, IDYES);
  CHECK_LISTS(dialog, (Items{L"Format", L"Edit", L"Edit"}), (Items{L"Apply bold", L"Italic text"}));
  ClickListItem(Control(dialog, kCommandsListBoxId), 1);
  CHECK_TEXT(Control(dialog, kDescriptionLabelId), L"Slants the selection.");
  CHECK_SOON(HotKeyOf(dialog) == 0);
  CHECK_SOON(Checked(dialog, kActiveSlideDesignCheckBoxId) && !Checked(dialog, kActiveSlideShowCheckBoxId));
  PressKey(VK_ESCAPE);
  return 0;
}

// The third run: Alt+letters typed into the key field are keys, not the
// dialog's access keys; with the focus on a list, Alt+C still cancels.
DWORD WINAPI AltLettersRun(LPVOID) {
  HWND dialog = WaitForCustomizeDialog();
  if (!dialog) return 0;
  wine_check::Section("Alt+letters in the key field are shown there and press, toggle or open nothing");
  HWND field = Control(dialog, kAssignedHotKeyId);
  Click(field);
  CHECK_SOON(FocusOf(dialog) == field);
  // The access keys of Cancel, OK, Slide show, Slide design and Clear All.
  const struct {
    UINT modifiers;
    WORD letter;
    BYTE flags;  // as the field shows them
  } kChords[] = {{MOD_ALT, 'C', HOTKEYF_ALT},
                 {MOD_ALT, 'O', HOTKEYF_ALT},
                 {MOD_ALT | MOD_SHIFT, 'H', HOTKEYF_ALT | HOTKEYF_SHIFT},
                 {MOD_ALT, 'D', HOTKEYF_ALT},
                 {MOD_ALT, 'L', HOTKEYF_ALT}};
  for (const auto& chord : kChords) {
    key_input::PressChord(chord.modifiers, chord.letter);
    CHECK_SOON(HotKeyOf(dialog) == MAKEWORD(chord.letter, chord.flags));
    Sleep(300);
    CHECK(IsWindow(dialog) && IsWindowVisible(dialog));
    CHECK(FindWindowW(L"#32770", L"Keyloom for PowerPoint") == nullptr);  // no Clear All question
    CHECK(FocusOf(dialog) == field);
    CHECK(Checked(dialog, kActiveSlideDesignCheckBoxId) && Checked(dialog, kActiveSlideShowCheckBoxId));
  }

  wine_check::Section("moving the focus on stores the last key; Alt+C on a list cancels");
  PressKey(VK_TAB);
  CHECK_SOON(FocusOf(dialog) == Control(dialog, kActiveSlideDesignCheckBoxId));
  ClickListItem(Control(dialog, kCommandsListBoxId), 1);
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('I', HOTKEYF_CONTROL));
  ClickListItem(Control(dialog, kCommandsListBoxId), 0);
  CHECK_SOON(HotKeyOf(dialog) == MAKEWORD('L', HOTKEYF_ALT));
  CHECK_SOON(FocusOf(dialog) == Control(dialog, kCommandsListBoxId));
  key_input::PressChord(MOD_ALT, 'C');
  CHECK(user_input::WaitUntilClosed(dialog, 3000));
  return 0;
}

// One run of the dialog, driven by `user` on a watcher thread. The shortcut's
// key is live before and after it.
void RunCustomize(VARIANT& application, LPTHREAD_START_ROUTINE user, HWND front = host) {
  native = NativeProvider();
  macroProvider = MacroProvider();
  CHECK(host_windows::BringToFront(front));
  CHECK(KeyIsLive());
  HANDLE thread = CreateThread(nullptr, 0, user, nullptr, 0, nullptr);
  loomkeys_dll::Exports().ShowCustomizeShortcutsUI(&application);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CHECK(IsWindowEnabled(host) && IsWindowEnabled(front));
  CHECK(host_windows::BringToFront(host));
  CHECK(KeyIsLive());
  CHECK_EQ(native.destroyCalls, 1);
  CHECK_EQ(macroProvider.destroyRuns, 1);
}

// A run with another thread's window in front: the dialog has no owner and
// leaves that window enabled.
HWND otherThreadWindow = nullptr;
DWORD WINAPI UnownedRun(LPVOID) {
  HWND dialog = WaitForCustomizeDialog();
  if (!dialog) return 0;
  wine_check::Section("with another thread's window in front the dialog has no owner, and that window stays enabled");
  CHECK(GetWindow(dialog, GW_OWNER) == nullptr);
  CHECK(IsWindowEnabled(otherThreadWindow));
  Click(Control(dialog, IDOK));
  return 0;
}

// A PowerPoint window of a thread of its own, which pumps its messages
// until stopped (as a modeless window of an add-in would).
class OtherThreadWindow {
 public:
  OtherThreadWindow() {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    WaitForSingleObject(ready_, 5000);
  }
  ~OtherThreadWindow() {
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  HWND Handle() const { return window_; }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    auto* owner = static_cast<OtherThreadWindow*>(self);
    owner->window_ = host_windows::Create(L"PPTFrameClass", L"Add-in window");
    SetEvent(owner->ready_);
    host_windows::PumpUntil([owner] { return owner->stop_.load(); }, INFINITE);
    DestroyWindow(owner->window_);
    return 0;
  }
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  HWND window_ = nullptr;
  std::atomic<bool> stop_{false};
};

// ShowAboutBox: modal to the thread's windows, closed by `close`.
void ShowAboutBoxClosedBy(void (*close)(HWND about)) {
  static void (*closer)(HWND);
  closer = close;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        HWND about = WaitForAboutBox(nullptr, host);
        if (!about) return 0;
        SetForegroundWindow(about);
        Sleep(100);
        closer(about);
        return 0;
      },
      nullptr, 0, nullptr);
  loomkeys_dll::Exports().ShowAboutBox();
  CHECK(WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0);
  CloseHandle(thread);
  CHECK(IsWindowEnabled(host));
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  const auto& dll = loomkeys_dll::Load();
  host = host_windows::Create(L"PPTFrameClass", L"Presentation1 - PowerPoint");

  TUIProviderNative nativeRecord = {LOOMKEYS_PROVIDER_NATIVE, NativeOnCreateUI, NativeOnDestroyUI};
  TUIProviderMacro macroRecord = {LOOMKEYS_PROVIDER_MACRO, 0, "Module1.CreateUI", "Module1.DestroyUI"};
  TUIProviderHandle nativeHandle = nullptr, macroHandle = nullptr;
  CHECK_EQ(dll.RegisterUIProvider(reinterpret_cast<const TUIProvider*>(&nativeRecord), &nativeHandle), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterUIProvider(reinterpret_cast<const TUIProvider*>(&macroRecord), &macroHandle), LOOMKEYS_OK);
  uint32_t shortcutId = 0;
  CHECK_EQ(
      dll.RegisterShortcut2("Test", kLiveKey, kLiveModifiers, LOOMKEYS_MODE_ALL, ShortcutCallback, "live", &shortcutId),
      LOOMKEYS_OK);
  automation::Application application;
  DefineMacros(application);
  VARIANT applicationVariant = automation::AsVariant(application);

  RunCustomize(applicationVariant, FirstRun);
  wine_check::Section("after OK the providers read back what was stored, told that it was not cancelled");
  CHECK_EQ(native.cancelled, 0);
  CHECK(native.keys[L"Paste slide"] == (Key{'B', MOD_CONTROL, 1}));
  CHECK(native.keys[L"Copy slide"] == (Key{'C', MOD_CONTROL | MOD_SHIFT, 0xFFFF}));
  CHECK(native.keys[L"Italic text"] == (Key{'I', MOD_CONTROL, 1}));
  CHECK(native.keys[L"Apply bold"] == (Key{0, 0, 3}));
  CHECK_EQ(macroProvider.cancelled, VARIANT_FALSE);
  CHECK(macroProvider.keys[L"Macro command"] == (Key{'M', MOD_ALT, 0}));
  CHECK(macroProvider.keys[L"Macro unassigned"] == (Key{0, 0, 3}));

  RunCustomize(applicationVariant, SecondRun);
  wine_check::Section(
      "after Clear All and Esc every key is cleared, modes kept, and the providers are told it was cancelled");
  CHECK_EQ(native.cancelled, 0xFFFF);
  CHECK(native.keys[L"Italic text"] == (Key{0, 0, 1}));
  CHECK(native.keys[L"Copy slide"] == (Key{0, 0, 0xFFFF}));
  CHECK(native.keys[L"Paste slide"] == (Key{0, 0, 2}));
  CHECK_EQ(macroProvider.cancelled, VARIANT_TRUE);
  CHECK(macroProvider.keys[L"Macro command"] == (Key{0, 0, 2}));

  RunCustomize(applicationVariant, AltLettersRun);
  wine_check::Section(
      "after Alt+C on a list the providers are told it was cancelled; only the command given keys changed");
  CHECK_EQ(native.cancelled, 0xFFFF);
  CHECK(native.keys[L"Apply bold"] == (Key{'L', MOD_ALT, 3}));
  CHECK(native.keys[L"Italic text"] == (Key{'I', MOD_CONTROL, 1}));
  CHECK(native.keys[L"Copy slide"] == (Key{'C', MOD_CONTROL | MOD_SHIFT, 0xFFFF}));
  CHECK(native.keys[L"Paste slide"] == (Key{0, 0, 2}));
  CHECK_EQ(macroProvider.cancelled, VARIANT_TRUE);
  CHECK(macroProvider.keys[L"Macro command"] == (Key{'M', MOD_ALT, 2}));

  {
    OtherThreadWindow other;
    otherThreadWindow = other.Handle();
    RunCustomize(applicationVariant, UnownedRun, other.Handle());
    CHECK_EQ(native.cancelled, 0);
  }

  wine_check::Section("the About box from the export closes with Esc and with its OK button");
  ShowAboutBoxClosedBy([](HWND) { PressKey(VK_ESCAPE); });
  ShowAboutBoxClosedBy([](HWND about) { Click(GetDlgItem(about, IDOK)); });

  dll.UnregisterShortcut(shortcutId);
  DestroyWindow(host);
  FreeLibrary(dll.module);
  CoUninitialize();
  return wine_check::Finish();
}
