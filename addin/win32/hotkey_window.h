#pragma once
// The hidden window that owns every system hot key of the library and its
// 50 ms foreground timer. Hot keys are registered to a window of our own, not
// to a thread, so that WM_HOTKEY still arrives while a message box or a modal
// dialog runs its own message loop.
#include <windows.h>

#include "events/hotkey_press.h"

namespace loomkeys {

// What the window's messages run, on the window's thread.
class HotKeyWindowEvents {
 public:
  virtual ~HotKeyWindowEvents() = default;
  // WM_TIMER of the 50 ms timer, and WM_ACTIVATEAPP.
  virtual void Tick() noexcept = 0;
  // WM_HOTKEY, unpacked.
  virtual void HandlePress(const HotKeyPress& press) noexcept = 0;
};

class HotKeyWindow {
 public:
  static constexpr UINT kTimerInterval = 50;

  // Creates the window: class "THotKeyForm", caption "HotKeyForm", never
  // shown; the timer is created stopped.
  HotKeyWindow(HINSTANCE instance, HotKeyWindowEvents& events);
  // The window and its timer go (after DetachProcedure).
  ~HotKeyWindow();
  HotKeyWindow(const HotKeyWindow&) = delete;
  HotKeyWindow& operator=(const HotKeyWindow&) = delete;

  HWND Handle() const { return window_; }
  // The window gets the default procedure and no user data, so that no
  // message enters the library's code from now on. Called on another thread
  // than the window's, it then waits, up to a bound, until a message that
  // the window's thread is handling right now has been handled, unless
  // waitForRunningMessage is false (the process is exiting: its other
  // threads are gone).
  void DetachProcedure(bool waitForRunningMessage);
  void StartHotKeyTimer();
  void StopHotKeyTimer();

  // The procedure itself; Windows calls it through the entry page
  // (press_entry_page.h), or through LoomkeysHotKeyWindowEntry
  // (procedure_exit_release.h) where no page could be written.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HINSTANCE instance_;
  HotKeyWindowEvents& events_;
  HWND window_ = nullptr;
};

}  // namespace loomkeys
