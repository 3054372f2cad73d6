#include "foreground/hotkey_events.h"

#include "debuglog/debug_log.h"
#include "foreground/window_tests.h"

namespace loomkeys {

HotKeyEvents::HotKeyEvents(ShortcutRegistry& registry, WindowHandle window, ForegroundWindowReader& foreground,
                           ClientCodeGuard& guard, ErrorBoxes& boxes)
    : registry_(registry), window_(window), foreground_(foreground), guard_(guard), boxes_(boxes) {}

void HotKeyEvents::HotKeyTimerTick() {
  foreground_.Read(current_);
  const uint16_t mode = ActiveModeOf(current_);
  DebugLog("ActiveMode = %d", {mode});
  registry_.ApplyActiveMode(window_, mode);
}

void HotKeyEvents::WMHotKey(uintptr_t wParam, uintptr_t lParam) {
  const auto key = static_cast<int64_t>(static_cast<uint32_t>(lParam));
  DebugLog("HotKey = %.8x", {key});
  // The tick unbinds keys within 50 ms of a change of foreground window; a
  // press that slipped in meanwhile for another program is dropped here.
  ForegroundWindow window;
  foreground_.Read(window);
  if (!window.exists) return;
  if (window.ownProcess) {
    DebugLog("HotKey called = %.8x", {key});
    registry_.DispatchHotKey(wParam, lParam, guard_, boxes_);
  } else if (IsMultipleMainWindowClass(window.ClassName())) {
    registry_.DispatchHotKey(wParam, lParam, guard_, boxes_);
  }
}

}  // namespace loomkeys
