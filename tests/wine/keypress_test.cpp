// The test program acts as PowerPoint: it loads the real Loomkeys.dll, shows
// windows of PowerPoint's classes in front, presses keys with SendInput and
// checks which callbacks run, which keys are live, and what happens when a
// callback throws or faults.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "system_probes.h"
#include "win32/box_watcher.h"
#include "win32/key_input.h"
#include "wine_check.h"
#include "worker_thread.h"

namespace {

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;

struct Call {
  std::wstring nameSpaceCounted;  // read by the length word as bytes, like a BSTR
  std::wstring nameSpaceToZero;   // read up to the terminating zero
  uint16_t virtualKey;
  uint16_t shiftKeys;
  std::wstring context;
  uint32_t id;
};
std::vector<Call> calls;

std::wstring ReadCounted(const wchar_t* text) {
  const uint32_t bytes = reinterpret_cast<const uint32_t*>(text)[-1];
  return std::wstring(text, bytes / sizeof(wchar_t));
}

void LOOMKEYS_CALL Record(const wchar_t* ns, uint16_t vk, uint16_t sk, const wchar_t* context, uint32_t id) {
  calls.push_back({ReadCounted(ns), ns, vk, sk, ReadCounted(context), id});
}

void LOOMKEYS_CALL Throw(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  throw std::runtime_error("callback failed");
}

// Writes to a page that allows no access. (Wine maps the page at address 0,
// so a null pointer would not fault.)
void LOOMKEYS_CALL Fault(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  int* volatile target = static_cast<int*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS));
  *target = 1;
}

// Which Alt key was down when an AltGr-test callback ran: 'R' right, 'L' left.
std::vector<char> altsAtCall;
void LOOMKEYS_CALL RecordAlt(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {
  altsAtCall.push_back(GetAsyncKeyState(VK_RMENU) < 0 ? 'R' : GetAsyncKeyState(VK_LMENU) < 0 ? 'L' : '-');
}

// Left Ctrl, then the left or the right Alt key (AltGr where the layout has
// it, which sends the E0 prefix), then the key; or all of them up again.
void CtrlAlt(WORD virtualKey, bool rightAlt, bool up) {
  const WORD alt = rightAlt ? VK_RMENU : VK_LMENU;
  const WORD keys[] = {VK_LCONTROL, alt, virtualKey};
  INPUT inputs[3] = {};
  for (int i = 0; i < 3; ++i) {
    const WORD vk = keys[up ? 2 - i : i];
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = vk;
    inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    inputs[i].ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_RMENU ? KEYEVENTF_EXTENDEDKEY : 0);
  }
  SendInput(3, inputs, sizeof(INPUT));
}

HWND hotKeyWindow = nullptr;
HWND editingWindow = nullptr;

// The visible "Keyloom Exception" boxes, newest first.
std::vector<HWND> ErrorBoxes() {
  std::vector<HWND> boxes;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        wchar_t className[16] = {}, caption[64] = {};
        GetClassNameW(window, className, 16);
        GetWindowTextW(window, caption, 64);
        if (lstrcmpW(className, L"#32770") == 0 && lstrcmpW(caption, L"Keyloom Exception") == 0 &&
            IsWindowVisible(window)) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

// While the first error box is open, the user goes back to the editing
// window and presses a second key, whose callback faults too: the watcher
// sees both boxes, then closes the inner one and the outer one, as a user
// would.
struct NestedBoxes {
  std::wstring outerText, innerText;
  bool sawBoth = false;
};

DWORD WINAPI WatchNestedBoxes(LPVOID result) {
  auto& seen = *static_cast<NestedBoxes*>(result);
  HWND outer = box_watcher::WaitForDialog(L"Keyloom Exception", 5000);
  if (!outer) return 0;
  Sleep(50);
  seen.outerText = box_watcher::MessageBoxText(outer);
  // The box is in front, so no key is live; the editing window's keys are
  // again once it is back in front (the ticks run in the box's own loop).
  SetForegroundWindow(editingWindow);
  for (int i = 0; i < 200 && GetForegroundWindow() != editingWindow; ++i) Sleep(10);
  Sleep(200);
  key_input::PressChord(MOD_CONTROL | MOD_SHIFT, 'J');
  HWND inner = nullptr;
  for (int i = 0; i < 500 && !inner; ++i, Sleep(10)) {
    for (HWND box : ErrorBoxes()) {
      if (box != outer) inner = box;
    }
  }
  if (!inner) return 0;
  Sleep(50);
  seen.sawBoth = true;
  seen.innerText = box_watcher::MessageBoxText(inner);
  PostMessageW(inner, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  for (int i = 0; i < 200 && IsWindow(inner); ++i) Sleep(10);
  PostMessageW(outer, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return 0;
}

// A key is live exactly when the library holds it, so that nobody else can
// register it.
bool IsLive(UINT modifiers, UINT key) { return !system_probes::KeyIsFree(modifiers, key); }

bool PressAndWait(UINT modifiers, WORD key, size_t expectedCalls) {
  key_input::PressChord(modifiers, key);
  return host_windows::PumpUntil([&] { return calls.size() >= expectedCalls; }, 3000);
}

// The second process: a window of another program that takes the front.
int RunOtherProgram(const wchar_t* quitEventName) {
  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, quitEventName);
  HWND window = host_windows::Create(L"OtherProgramFrame", L"Other program");
  SetForegroundWindow(window);
  host_windows::PumpUntil([quit] { return WaitForSingleObject(quit, 0) == WAIT_OBJECT_0; }, 20000);
  DestroyWindow(window);
  return 0;
}

bool ForegroundIsOtherProcess() {
  DWORD processId = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &processId);
  return processId != 0 && processId != GetCurrentProcessId();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && lstrcmpW(argv[1], L"--other-program") == 0) return RunOtherProgram(argv[2]);

  HWND slideShow = host_windows::Create(L"screenClass", L"PowerPoint Slide Show - Deck");
  HWND presenter = host_windows::Create(L"PresenterFrame", L"PowerPoint Presenter View - [Deck]");
  HWND editing = host_windows::CreateEditingInFront();
  editingWindow = editing;

  const auto& dll = loomkeys_dll::Load();
  hotKeyWindow = system_probes::HotKeyWindow();
  CHECK(hotKeyWindow != nullptr);

  uint32_t idK = 0, idL = 0, idM = 0;
  CHECK_EQ(dll.RegisterShortcut("Alpha", 'K', kCtrlShift, Record, "first", &idK), LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Alpha", 'L', kCtrlShift, LOOMKEYS_MODE_SLIDE_DESIGN, Record, "design", &idL),
           LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Beta", 'M', kCtrlShift, LOOMKEYS_MODE_SLIDE_SHOW, Record, "show", &idM), LOOMKEYS_OK);
  host_windows::Pump(300);

  wine_check::Section("a key pressed in the editing window runs its callback once");
  CHECK(IsLive(kCtrlShift, 'K'));
  CHECK(PressAndWait(kCtrlShift, 'K', 1));
  host_windows::Pump(200);
  CHECK_EQ(calls.size(), 1u);
  if (!calls.empty()) {
    CHECK(calls[0].nameSpaceCounted == L"Alpha");
    CHECK(calls[0].nameSpaceToZero == L"AlphaAlpha");
    CHECK_EQ(calls[0].virtualKey, 'K');
    CHECK_EQ(calls[0].shiftKeys, kCtrlShift);
    CHECK(calls[0].context == L"first");
    CHECK_EQ(calls[0].id, idK);
  }

  wine_check::Section("a key bound with MOD_NOREPEAT runs its callback once per press, and the thread comes back");
  {
    constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT: WM_HOTKEY reports the key without it
    uint32_t id = 0;
    CHECK_EQ(dll.RegisterShortcut2("NoRepeat", 'H', kNoRepeat | kCtrlShift, LOOMKEYS_MODE_ALL, Record, "", &id),
             LOOMKEYS_OK);
    host_windows::Pump(100);
    calls.clear();
    CHECK(PressAndWait(kCtrlShift, 'H', 1));
    host_windows::Pump(200);
    CHECK_EQ(calls.size(), 1u);
    if (!calls.empty()) CHECK_EQ(calls[0].shiftKeys, kNoRepeat | kCtrlShift);
    calls.clear();
  }

  // Wine 8 keeps the US layout (LoadKeyboardLayoutW answers it for any other),
  // which has no AltGr: right Alt+Ctrl+Q gives no character there, so both
  // presses are the shortcut.
  wine_check::Section("Ctrl+Alt+Q runs its callback with either Alt key on a layout without AltGr");
  {
    uint32_t id = 0;
    CHECK_EQ(dll.RegisterShortcut("AltGr", 'Q', MOD_CONTROL | MOD_ALT, RecordAlt, "", &id), LOOMKEYS_OK);
    host_windows::Pump(100);
    for (const bool rightAlt : {true, false}) {
      const size_t before = altsAtCall.size();
      CtrlAlt('Q', rightAlt, false);  // held while the press is handled, as a user's hand does
      CHECK(host_windows::PumpUntil([&] { return altsAtCall.size() > before; }, 3000));
      CtrlAlt('Q', rightAlt, true);
      host_windows::Pump(100);
      CHECK_EQ(altsAtCall.size(), before + 1);
      if (altsAtCall.size() == before + 1) CHECK_EQ(altsAtCall.back(), rightAlt ? 'R' : 'L');
    }
  }

  wine_check::Section("keys follow the window in front: design, slide show, presenter view");
  CHECK(IsLive(kCtrlShift, 'L'));
  CHECK(!IsLive(kCtrlShift, 'M'));
  CHECK(host_windows::BringToFront(slideShow));
  CHECK(!IsLive(kCtrlShift, 'L'));
  CHECK(IsLive(kCtrlShift, 'M'));
  CHECK(IsLive(kCtrlShift, 'K'));
  host_windows::keyDowns = 0;
  calls.clear();
  key_input::PressChord(kCtrlShift, 'L');
  CHECK(host_windows::PumpUntil([] { return host_windows::lastKeyDown == 'L'; }, 2000));
  CHECK(calls.empty());
  CHECK(PressAndWait(kCtrlShift, 'M', 1));
  CHECK(host_windows::BringToFront(presenter));
  CHECK(IsLive(kCtrlShift, 'M'));
  CHECK(!IsLive(kCtrlShift, 'L'));
  CHECK(host_windows::BringToFront(editing));
  CHECK(IsLive(kCtrlShift, 'L'));
  CHECK(!IsLive(kCtrlShift, 'M'));

  wine_check::Section("no key of ours is live while another program is in front");
  HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"LoomkeysTestOtherProgramQuit");
  HANDLE process = host_windows::StartThisProgram(L"--other-program LoomkeysTestOtherProgramQuit");
  CHECK(process != nullptr);
  CHECK(host_windows::PumpUntil(ForegroundIsOtherProcess, 5000));
  host_windows::Pump(200);
  CHECK(!IsLive(kCtrlShift, 'K'));
  calls.clear();
  PostMessageW(hotKeyWindow, WM_HOTKEY, system_probes::HotKeyId('K', kCtrlShift), MAKELPARAM(kCtrlShift, 'K'));
  host_windows::Pump(200);
  CHECK(calls.empty());
  SetEvent(quit);
  host_windows::AwaitProgramEnd(process);
  CHECK(host_windows::BringToFront(editing));
  CHECK(IsLive(kCtrlShift, 'K'));

  // A press takes the library's reference before it enters the library, so
  // an unload on another thread meanwhile cannot leave it in code that is
  // gone (wine_press_unload_test); exception dispatch and stack walks find
  // the procedure's frame described.
  wine_check::Section("the hidden window's procedure lies outside the library and has unwind information");
  {
    const auto procedure = static_cast<DWORD64>(GetWindowLongPtrW(hotKeyWindow, GWLP_WNDPROC));
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(procedure), &module);
    CHECK(module == nullptr);
    DWORD64 base = 0;
    const RUNTIME_FUNCTION* function = RtlLookupFunctionEntry(procedure, &base, nullptr);
    CHECK(function != nullptr);
    if (function) CHECK_EQ(base + function->BeginAddress, procedure);
  }

  wine_check::Section("a callback that throws or faults is reported and the next one runs");
  {
    box_watcher::MessageBoxAnswerer answerer(L"Keyloom Exception", IDOK);
    uint32_t id = 0;
    CHECK_EQ(dll.RegisterShortcut("Gamma", 'E', kCtrlShift, Throw, "", &id), LOOMKEYS_OK);
    CHECK_EQ(dll.RegisterShortcut("Delta", 'E', kCtrlShift, Fault, "", &id), LOOMKEYS_OK);
    CHECK_EQ(dll.RegisterShortcut("Omega", 'E', kCtrlShift, Record, "after", &id), LOOMKEYS_OK);
    host_windows::Pump(200);
    calls.clear();
    CHECK(PressAndWait(kCtrlShift, 'E', 1));
    const std::vector<std::wstring> texts = answerer.Texts();
    CHECK_EQ(texts.size(), 2u);
    if (texts.size() == 2) {
      CHECK(texts[0] == L"callback failed");
      CHECK(texts[1].find(L"C0000005") != std::wstring::npos);
    }
    CHECK_EQ(calls.size(), 1u);
    if (!calls.empty()) CHECK(calls[0].context == L"after");
  }
  // The registry's lock was released: another thread gets an answer.
  uint32_t count = 0;
  worker_thread::Run([&] { count = dll.GetShortcutCount("Omega"); }, 3000);
  CHECK_EQ(count, 1u);

  wine_check::Section("a fault in a press nested inside another press's error box");
  {
    uint32_t id = 0;
    CHECK_EQ(dll.RegisterShortcut("Outer", 'N', kCtrlShift, Throw, "", &id), LOOMKEYS_OK);
    CHECK_EQ(dll.RegisterShortcut("Outer", 'N', kCtrlShift, Record, "outer done", &id), LOOMKEYS_OK);
    CHECK_EQ(dll.RegisterShortcut("Inner", 'J', kCtrlShift, Fault, "", &id), LOOMKEYS_OK);
    CHECK_EQ(dll.RegisterShortcut("Inner", 'J', kCtrlShift, Record, "inner done", &id), LOOMKEYS_OK);
    host_windows::Pump(200);
    calls.clear();
    NestedBoxes seen;
    HANDLE watcher = CreateThread(nullptr, 0, WatchNestedBoxes, &seen, 0, nullptr);
    key_input::PressChord(kCtrlShift, 'N');
    CHECK(host_windows::PumpUntil([] { return calls.size() >= 2; }, 8000));
    WaitForSingleObject(watcher, 5000);
    CloseHandle(watcher);
    CHECK(seen.sawBoth);
    CHECK(seen.outerText == L"callback failed");
    CHECK(seen.innerText.find(L"C0000005") != std::wstring::npos);
    // The inner press finished first, inside the outer one's box.
    CHECK_EQ(calls.size(), 2u);
    if (calls.size() == 2) {
      CHECK(calls[0].context == L"inner done");
      CHECK(calls[1].context == L"outer done");
    }
    worker_thread::Run([&] { count = dll.GetShortcutCount("Inner"); }, 3000);
    CHECK_EQ(count, 2u);
  }

  FreeLibrary(dll.module);
  return wine_check::Finish();
}
