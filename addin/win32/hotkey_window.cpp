#include "win32/hotkey_window.h"

#include <atomic>
#include <iterator>
#include <vector>

#include "win32/press_entry_page.h"
#include "win32/procedure_exit_release.h"

namespace loomkeys {
namespace {

constexpr wchar_t kClassName[] = L"THotKeyForm";
constexpr wchar_t kCaption[] = L"HotKeyForm";
constexpr UINT_PTR kTimerId = 1;
// The longest a shut-down on another thread waits for a running message.
constexpr ULONGLONG kRunningMessageWait = 2000;

// Calls of WindowProc in progress, and whether the procedure has been
// detached. A call counts itself before it looks at the flag, and the
// shut-down sets the flag before it looks at the count, so that one of the
// two always sees the other.
std::atomic<int> runningCalls{0};
std::atomic<bool> detached{false};

class RunningCall {
 public:
  RunningCall() noexcept { ++runningCalls; }
  ~RunningCall() { --runningCalls; }
  RunningCall(const RunningCall&) = delete;
  RunningCall& operator=(const RunningCall&) = delete;
};

// A window of an earlier load that is still on this thread: that load was
// unloaded on another thread, which could only post it WM_CLOSE, and this
// thread has not pumped since. It still holds that load's hot keys, which
// this load would then be refused. Its procedure is the default one, so it
// can go at once, with its keys and its timer.
void DestroyEarlierWindows() {
  std::vector<HWND> earlier;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        wchar_t className[std::size(kClassName) + 1] = {};
        GetClassNameW(window, className, static_cast<int>(std::size(className)));
        if (lstrcmpW(className, kClassName) == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&earlier));
  for (HWND window : earlier) DestroyWindow(window);
}

}  // namespace

HotKeyWindow::HotKeyWindow(HINSTANCE instance, HotKeyWindowEvents& events) : instance_(instance), events_(events) {
  // The class itself points at DefWindowProcW, not into this DLL: should the
  // DLL be unloaded while the window outlives it, neither the window nor a
  // class left registered can call into code that is gone. Our procedure is
  // set on the window alone.
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // may already exist from an earlier load: it is the same class
  DestroyEarlierWindows();
  // A border-less top-level popup, 116 x 29 at 192, 107, that is never shown.
  window_ = CreateWindowExW(0, kClassName, kCaption, WS_POPUP, 192, 107, 116, 29, nullptr, nullptr, instance_, nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  WNDPROC entry = WritePressEntryPage();
  if (!entry) entry = LoomkeysHotKeyWindowEntry;  // a press then takes its reference inside the module
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry));
}

HotKeyWindow::~HotKeyWindow() {
  DetachProcedure(false);
  if (window_) {
    if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId()) {
      StopHotKeyTimer();
      DestroyWindow(window_);
    } else {
      // Unloaded from another thread: Windows lets only the window's own
      // thread destroy it. That thread's default handling of WM_CLOSE does,
      // and with the window go its timer and every hot key bound to it.
      PostMessageW(window_, WM_CLOSE, 0, 0);
    }
  }
  // The class belongs to this load of the DLL; it cannot go while a window of
  // it remains, which is harmless now that it calls no code of ours.
  UnregisterClassW(kClassName, instance_);
}

void HotKeyWindow::DetachProcedure(bool waitForRunningMessage) {
  detached = true;
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  // On the window's own thread a running call is the caller itself. On
  // another, this runs under the loader lock: the wait is bounded, and a
  // message needs no loader lock to finish, except a press that is taking its
  // module reference right now (module_hold.h).
  if (!waitForRunningMessage || GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId()) return;
  const ULONGLONG end = GetTickCount64() + kRunningMessageWait;
  while (runningCalls != 0 && GetTickCount64() < end) Sleep(1);
}

void HotKeyWindow::StartHotKeyTimer() { SetTimer(window_, kTimerId, kTimerInterval, nullptr); }

void HotKeyWindow::StopHotKeyTimer() { KillTimer(window_, kTimerId); }

LRESULT CALLBACK HotKeyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const RunningCall call;
  auto* self = detached ? nullptr : reinterpret_cast<HotKeyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_TIMER && wParam == kTimerId) {
    self->events_.Tick();
    return 0;
  }
  // Windows sends WM_ACTIVATEAPP to every top-level window of a thread,
  // hidden ones included, when the thread's windows gain or lose the
  // activation: the keys then follow a switch to or from another program at
  // once instead of at the next tick. No hook is needed for it, so nothing
  // is left for Windows to call once the library is gone.
  if (self && message == WM_ACTIVATEAPP) {
    self->events_.Tick();
    return 0;
  }
  if (self && message == WM_HOTKEY) {
    // GetMessageTime is the time of this WM_HOTKEY, which the system posts
    // at the moment of the key press.
    const uint32_t waited = MessageWait(static_cast<uint32_t>(GetMessageTime()), GetTickCount());
    self->events_.HandlePress(
        {static_cast<int>(wParam), KeyCodeOfHotKeyMessage(static_cast<uint64_t>(lParam)), waited});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace loomkeys
