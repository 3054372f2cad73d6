#pragma once
// The hidden window that owns every system hot key of the library and its
// 50 ms foreground timer. Hot keys are registered to a window of our own, not
// to a thread, so that WM_HOTKEY still arrives while a message box or a modal
// dialog runs its own message loop.
#include <windows.h>

#include "hotkeys/key_code.h"

namespace loomkeys {

// What the window's messages run, on the window's thread.
class HotKeyWindowEvents {
 public:
  virtual ~HotKeyWindowEvents() = default;
  // WM_TIMER of the 50 ms timer, and WM_ACTIVATEAPP.
  virtual void Tick() noexcept = 0;
  // WM_HOTKEY, with the key unpacked from its lParam.
  virtual void HandlePress(KeyCode key) noexcept = 0;
};

class HotKeyWindow {
 public:
  static constexpr UINT kTimerInterval = 50;

  // Creates the window: class "THotKeyForm", caption "HotKeyForm", never
  // shown; the timer is created stopped.
  HotKeyWindow(HINSTANCE instance, HotKeyWindowEvents& events);
  // The window and its timer go.
  ~HotKeyWindow();
  HotKeyWindow(const HotKeyWindow&) = delete;
  HotKeyWindow& operator=(const HotKeyWindow&) = delete;

  HWND Handle() const { return window_; }
  void StartHotKeyTimer();
  void StopHotKeyTimer();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HotKeyWindowEvents& events_;
  HWND window_ = nullptr;
};

}  // namespace loomkeys
