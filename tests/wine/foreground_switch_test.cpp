// Key presses right after the window in front changed. The test program acts
// as PowerPoint (an editing window and a slide show of PowerPoint's classes,
// the real Loomkeys.dll loaded); a second process of the same program is
// another program, whose window records every key it receives with the
// shift keys held at the time. A press must land where the window in front
// at the moment of the press says: in a callback when that window's mode
// wants the key, otherwise as the same chord in that window.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "host_windows.h"
#include "loomkeys_dll.h"
#include "platform/key_injector.h"
#include "system_probes.h"
#include "win32/key_input.h"
#include "wine_check.h"

namespace {

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;
// Live in both modes, in slide design only, in the slide show only.
constexpr WORD kBothKey = 'K', kDesignKey = 'L', kShowKey = 'M';

// A key that reached a window.
struct Received {
  WORD virtualKey;
  UINT shiftKeys;  // MOD_* bits of the shift keys held when it arrived
  BOOL typedByLibrary;
};

// What the other program shares with the test program: its window and the
// keys it received.
struct OtherProgramRecord {
  HWND window;
  volatile LONG count;
  Received keys[8192];
};

constexpr wchar_t kRecordName[] = L"LoomkeysSwitchTestRecord";
constexpr wchar_t kQuitName[] = L"LoomkeysSwitchTestQuit";
constexpr wchar_t kTakeFrontName[] = L"LoomkeysSwitchTestTakeFront";

Received KeyOfMessage(WPARAM wParam) {
  UINT held = 0;
  if (GetKeyState(VK_CONTROL) < 0) held |= MOD_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) held |= MOD_SHIFT;
  if (GetKeyState(VK_MENU) < 0) held |= MOD_ALT;
  if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) held |= MOD_WIN;
  const bool typedByLibrary = static_cast<uintptr_t>(GetMessageExtraInfo()) == loomkeys::kInjectedInputMarker;
  return {static_cast<WORD>(wParam), held, typedByLibrary};
}

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

// ---- The other program ----

OtherProgramRecord* otherRecord = nullptr;

LRESULT CALLBACK OtherProgramProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsKeyDown(message)) {
    const LONG at = otherRecord->count;
    if (at < static_cast<LONG>(std::size(otherRecord->keys))) {
      otherRecord->keys[at] = KeyOfMessage(wParam);
      InterlockedIncrement(&otherRecord->count);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int RunOtherProgram() {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kRecordName);
  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, kQuitName);
  HANDLE takeFront = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kTakeFrontName);
  if (!mapping || !quit || !takeFront) return 2;
  otherRecord = static_cast<OtherProgramRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = OtherProgramProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OtherProgramFrame";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(windowClass.lpszClassName, L"Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 520, 100,
                              400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
  otherRecord->window = window;
  const HANDLE events[2] = {quit, takeFront};
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) break;
    if (woken == WAIT_OBJECT_0 + 1) {
      ResetEvent(takeFront);
      SetForegroundWindow(window);
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DestroyWindow(window);
  return 0;
}

// ---- PowerPoint ----

enum Place { kEditing, kSlideShow, kOtherProgram, kPlaces };
const char* const kPlaceNames[kPlaces] = {"editing window", "slide show", "other program"};

std::vector<Received> receivedHere[2];  // by the editing window and the slide show
HWND windows[kPlaces] = {};
int callbacks = 0;
WORD lastCalledKey = 0;
OtherProgramRecord* record = nullptr;

LRESULT CALLBACK PowerPointWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsKeyDown(message)) {
    for (int place : {kEditing, kSlideShow}) {
      if (window == windows[place]) receivedHere[place].push_back(KeyOfMessage(wParam));
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePowerPointWindow(const wchar_t* className, const wchar_t* title, int x) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = PowerPointWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  return CreateWindowW(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 100, 400, 300, nullptr, nullptr,
                       windowClass.hInstance, nullptr);
}

void LOOMKEYS_CALL Called(const wchar_t*, uint16_t virtualKey, uint16_t, const wchar_t*, uint32_t) {
  ++callbacks;
  lastCalledKey = virtualKey;
}

// The keys a place has received so far.
std::vector<Received> ReceivedBy(Place place) {
  if (place != kOtherProgram) return receivedHere[place];
  return std::vector<Received>(record->keys, record->keys + record->count);
}

size_t CountReceived(Place place, WORD virtualKey) {
  size_t count = 0;
  for (const Received& key : ReceivedBy(place)) count += key.virtualKey == virtualKey;
  return count;
}

// The last key other than a shift key that a place received.
const Received* LastKey(const std::vector<Received>& keys) {
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    if (it->virtualKey != VK_CONTROL && it->virtualKey != VK_SHIFT && it->virtualKey != VK_MENU) return &*it;
  }
  return nullptr;
}

// Waits until the window's thread has taken the focus, as a user's next key
// would find it.
bool WaitForFocus(HWND window) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  for (const ULONGLONG end = GetTickCount64() + 3000; GetTickCount64() < end;) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) && info.hwndFocus == window) return true;
    if (thread == GetCurrentThreadId()) SetFocus(window);
    Sleep(1);
  }
  return false;
}

// Makes a place the window in front without running this thread's messages:
// no tick can run meanwhile.
bool SwitchTo(Place place) {
  SetForegroundWindow(windows[place]);
  if (place != kOtherProgram) SetFocus(windows[place]);
  return WaitForFocus(windows[place]);
}

bool IsLive(WORD key) { return !system_probes::KeyIsFree(kCtrlShift, key); }

bool Wanted(Place place, WORD key) {
  if (place == kEditing) return key == kBothKey || key == kDesignKey;
  if (place == kSlideShow) return key == kBothKey || key == kShowKey;
  return false;
}

// Hot keys are posted where a press must come from a moment when the key
// was still bound for the window that was in front before.
void PostHotKey(WORD key) {
  PostMessageW(system_probes::HotKeyWindow(), WM_HOTKEY, system_probes::HotKeyId(key, kCtrlShift),
               MAKELPARAM(kCtrlShift, key));
}

// The outcome of one press.
enum Outcome { kDispatched, kTypedAgain, kTypedThrough, kBeforeTick, kLost, kMisplaced, kOutcomes };
const char* const kOutcomeNames[kOutcomes] = {
    "dispatched", "typed again by the library", "typed through", "typed through before the tick", "lost", "misplaced"};

// Waits for the press of `key` to land and says how it did: a callback, or the
// key in `target` (typed again by the library, or reaching it as an
// ordinary key that was not bound), or somewhere else, or nowhere. A switch
// inside PowerPoint sends no WM_ACTIVATEAPP, so a key that the new window's
// mode wants becomes live at the next tick; until then it reaches that
// window as an ordinary key (kBeforeTick).
Outcome AwaitPress(Place target, WORD key, int callbacksBefore, const size_t (&receivedBefore)[kPlaces],
                   Place previous = kOtherProgram) {
  auto landed = [&] {
    if (callbacks > callbacksBefore) return true;
    for (int place = 0; place < kPlaces; ++place) {
      if (CountReceived(static_cast<Place>(place), key) > receivedBefore[place]) return true;
    }
    return false;
  };
  if (!host_windows::PumpUntil(landed, 1000)) return kLost;
  host_windows::Pump(5);  // the key-up events go by
  if (callbacks > callbacksBefore) {
    return Wanted(target, key) && lastCalledKey == key && callbacks == callbacksBefore + 1 ? kDispatched : kMisplaced;
  }
  for (int place = 0; place < kPlaces; ++place) {
    if (place != target && CountReceived(static_cast<Place>(place), key) > receivedBefore[place]) return kMisplaced;
  }
  const std::vector<Received> keys = ReceivedBy(target);
  const Received* last = LastKey(keys);
  if (!last || last->virtualKey != key || last->shiftKeys != kCtrlShift) return kMisplaced;
  if (!Wanted(target, key)) return last->typedByLibrary ? kTypedAgain : kTypedThrough;
  return previous != kOtherProgram && !last->typedByLibrary ? kBeforeTick : kMisplaced;
}

struct PressBefore {
  int callbacks;
  size_t received[kPlaces];
};

PressBefore Snapshot(WORD key) {
  PressBefore before{callbacks, {}};
  for (int place = 0; place < kPlaces; ++place) before.received[place] = CountReceived(static_cast<Place>(place), key);
  return before;
}

void HoldShiftKeys(bool down) {
  INPUT inputs[2] = {};
  const WORD keys[2] = {VK_CONTROL, VK_SHIFT};
  for (int i = 0; i < 2; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[down ? i : 1 - i];
    inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(inputs[i].ki.wVk, MAPVK_VK_TO_VSC));
    inputs[i].ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(2, inputs, sizeof(INPUT));
}

// The shift keys that the library pressed itself since `from`.
size_t ShiftKeysTypedByLibrary(Place place, size_t from) {
  const std::vector<Received> keys = ReceivedBy(place);
  size_t count = 0;
  for (size_t i = from; i < keys.size(); ++i) {
    count += keys[i].typedByLibrary && (keys[i].virtualKey == VK_CONTROL || keys[i].virtualKey == VK_SHIFT);
  }
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && lstrcmpW(argv[1], L"--other-program") == 0) return RunOtherProgram();

  HANDLE mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(OtherProgramRecord), kRecordName);
  record = static_cast<OtherProgramRecord*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, kQuitName);
  HANDLE takeFront = CreateEventW(nullptr, TRUE, FALSE, kTakeFrontName);
  HANDLE process = host_windows::StartThisProgram(L"--other-program");
  CHECK(process != nullptr);
  for (int i = 0; i < 500 && !record->window; ++i) Sleep(10);
  CHECK(record->window != nullptr);

  windows[kEditing] = CreatePowerPointWindow(L"PPTFrameClass", L"Deck - PowerPoint", 20);
  windows[kSlideShow] = CreatePowerPointWindow(L"screenClass", L"PowerPoint Slide Show - Deck", 270);
  windows[kOtherProgram] = record->window;
  const auto& dll = loomkeys_dll::Load();
  uint32_t id = 0;
  CHECK_EQ(dll.RegisterShortcut2("Switch", kBothKey, kCtrlShift, LOOMKEYS_MODE_SLIDE_DESIGN | LOOMKEYS_MODE_SLIDE_SHOW,
                                 Called, "both", &id),
           LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Switch", kDesignKey, kCtrlShift, LOOMKEYS_MODE_SLIDE_DESIGN, Called, "design", &id),
           LOOMKEYS_OK);
  CHECK_EQ(dll.RegisterShortcut2("Switch", kShowKey, kCtrlShift, LOOMKEYS_MODE_SLIDE_SHOW, Called, "show", &id),
           LOOMKEYS_OK);
  CHECK(host_windows::BringToFront(windows[kEditing]));

  wine_check::Section("after WM_ACTIVATEAPP the keys match the window in front without waiting for the timer");
  CHECK(IsLive(kBothKey) && IsLive(kDesignKey) && !IsLive(kShowKey));
  // The other program takes the front itself; only messages sent to this
  // thread run (PM_QS_SENDMESSAGE), never its timer.
  SetEvent(takeFront);
  CHECK(WaitForFocus(windows[kOtherProgram]));
  MSG message;
  for (int i = 0; i < 20; ++i, Sleep(5)) PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  CHECK(!IsLive(kBothKey) && !IsLive(kDesignKey) && !IsLive(kShowKey));
  SetForegroundWindow(windows[kEditing]);
  CHECK(IsLive(kBothKey) && IsLive(kDesignKey) && !IsLive(kShowKey));
  host_windows::Pump(100);

  wine_check::Section("a press that slips in before the switch is seen reaches the other program as the same chord");
  {
    const PressBefore before = Snapshot(kBothKey);
    PostHotKey(kBothKey);  // pressed while the editing window was in front
    CHECK(SwitchTo(kOtherProgram));
    CHECK_EQ(AwaitPress(kOtherProgram, kBothKey, before.callbacks, before.received), kTypedAgain);
    CHECK_EQ(callbacks, before.callbacks);
    CHECK_EQ(ShiftKeysTypedByLibrary(kOtherProgram, before.received[kOtherProgram]), 2u);
  }
  wine_check::Section("the shift keys that the user still holds are not pressed again");
  {
    CHECK(host_windows::BringToFront(windows[kEditing]));
    const PressBefore before = Snapshot(kBothKey);
    CHECK(SwitchTo(kOtherProgram));
    // Held in the other program, so that its own key state has them too.
    // Waits for this Shift: the program may have received one before.
    const size_t shiftsBefore = CountReceived(kOtherProgram, VK_SHIFT);
    HoldShiftKeys(true);
    CHECK(host_windows::PumpUntil([&] { return CountReceived(kOtherProgram, VK_SHIFT) > shiftsBefore; }, 1000));
    const size_t from = ReceivedBy(kOtherProgram).size();
    PostHotKey(kBothKey);  // pressed while the editing window was in front
    CHECK_EQ(AwaitPress(kOtherProgram, kBothKey, before.callbacks, before.received), kTypedAgain);
    CHECK_EQ(ShiftKeysTypedByLibrary(kOtherProgram, from), 0u);
    HoldShiftKeys(false);
    host_windows::Pump(20);
  }

  wine_check::Section("a press that waited while PowerPoint's thread was busy is not typed into the program in front");
  {
    CHECK(host_windows::BringToFront(windows[kEditing]));
    const PressBefore before = Snapshot(kBothKey);
    key_input::PressChord(kCtrlShift, kBothKey);  // its WM_HOTKEY waits: this thread runs no message
    Sleep(600);
    CHECK(SwitchTo(kOtherProgram));
    CHECK_EQ(AwaitPress(kOtherProgram, kBothKey, before.callbacks, before.received), kLost);
    CHECK_EQ(callbacks, before.callbacks);
  }
  wine_check::Section("a slide-design key pressed in the slide show before a tick reaches the show window");
  {
    CHECK(host_windows::BringToFront(windows[kEditing]));
    CHECK(IsLive(kDesignKey));
    CHECK(SwitchTo(kSlideShow));
    CHECK(IsLive(kDesignKey));  // no tick has run yet
    const PressBefore before = Snapshot(kDesignKey);
    key_input::PressChord(kCtrlShift, kDesignKey);
    CHECK_EQ(AwaitPress(kSlideShow, kDesignKey, before.callbacks, before.received), kTypedAgain);
    CHECK_EQ(callbacks, before.callbacks);
    CHECK(!IsLive(kDesignKey));
    const PressBefore show = Snapshot(kShowKey);
    key_input::PressChord(kCtrlShift, kShowKey);
    CHECK_EQ(AwaitPress(kSlideShow, kShowKey, show.callbacks, show.received), kDispatched);
  }

  wine_check::Section("200 switches with presses at random moments land where the window in front says");
  {
    std::mt19937 random(14);
    int outcomes[kOutcomes] = {};
    int inTheSwitch = 0;
    Place current = kSlideShow;
    const ULONGLONG started = GetTickCount64();
    for (int round = 0; round < 200; ++round) {
      const Place previous = current;
      current = static_cast<Place>((current + 1 + random() % 2) % kPlaces);
      const WORD key = std::vector<WORD>{kBothKey, kDesignKey, kShowKey}[random() % 3];
      const PressBefore before = Snapshot(key);
      // One press in four comes from the moment of the switch, while the key
      // was still bound for the window before: a posted hot key. The others
      // come from the keyboard 0 to 70 ms after it, before or after a tick.
      if (random() % 4 == 0 && Wanted(previous, key)) {
        ++inTheSwitch;
        PostHotKey(key);
        CHECK(SwitchTo(current));
      } else {
        CHECK(SwitchTo(current));
        host_windows::Pump(random() % 71);
        key_input::PressChord(kCtrlShift, key);
      }
      const Outcome outcome = AwaitPress(current, key, before.callbacks, before.received, previous);
      ++outcomes[outcome];
      if (outcome == kLost || outcome == kMisplaced) {
        std::printf("press %d: Ctrl+Shift+%c in the %s (after the %s): %s\n", round, key, kPlaceNames[current],
                    kPlaceNames[previous], kOutcomeNames[outcome]);
      }
    }
    std::printf("200 switches in %.1f s, %d presses from the moment of the switch:", (GetTickCount64() - started) / 1e3,
                inTheSwitch);
    for (int outcome = 0; outcome < kOutcomes; ++outcome)
      std::printf(" %s %d,", kOutcomeNames[outcome], outcomes[outcome]);
    std::printf("\n");
    CHECK_EQ(outcomes[kLost], 0);
    CHECK_EQ(outcomes[kMisplaced], 0);
    CHECK_EQ(outcomes[kDispatched] + outcomes[kTypedAgain] + outcomes[kTypedThrough] + outcomes[kBeforeTick], 200);
  }

  SetEvent(quit);
  host_windows::AwaitProgramEnd(process);
  FreeLibrary(dll.module);
  return wine_check::Finish();
}
