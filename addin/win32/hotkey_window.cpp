#include "win32/hotkey_window.h"

namespace loomkeys {
namespace {

constexpr wchar_t kClassName[] = L"THotKeyForm";
constexpr wchar_t kCaption[] = L"HotKeyForm";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

HotKeyWindow::HotKeyWindow(HINSTANCE instance, HotKeyWindowEvents& events)
    : instance_(instance), events_(events) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  // A border-less top-level popup, 116 x 29 at 192, 107, that is never shown.
  window_ = CreateWindowExW(0, kClassName, kCaption, WS_POPUP, 192, 107, 116, 29, nullptr, nullptr,
                            instance_, nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HotKeyWindow::~HotKeyWindow() {
  if (window_) {
    StopHotKeyTimer();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  // The class belongs to this load of the DLL: a later load registers it anew.
  UnregisterClassW(kClassName, instance_);
}

void HotKeyWindow::StartHotKeyTimer() { SetTimer(window_, kTimerId, kTimerInterval, nullptr); }

void HotKeyWindow::StopHotKeyTimer() { KillTimer(window_, kTimerId); }

LRESULT CALLBACK HotKeyWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<HotKeyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_TIMER && wParam == kTimerId) {
    self->events_.HotKeyTimerTick();
    return 0;
  }
  if (self && message == WM_HOTKEY) {
    self->events_.WMHotKey(wParam, lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace loomkeys
