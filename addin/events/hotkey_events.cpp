#include "events/hotkey_events.h"

#include "debuglog/debug_log.h"
#include "foreground/powerpoint_windows.h"

namespace loomkeys {

HotKeyEvents::HotKeyEvents(ShortcutRegistry& registry, WindowHandle window, ForegroundWindowReader& foreground,
                           ClientCodeGuard& guard, ErrorBoxes& boxes)
    : registry_(registry), window_(window), foreground_(foreground), guard_(guard), boxes_(boxes) {}

void HotKeyEvents::Tick() {
  foreground_.Read(current_);
  const uint16_t mode = ActiveModeOf(current_);
  DebugLog("ActiveMode = %d", {mode});
  registry_.ApplyActiveMode(window_, mode);
}

void HotKeyEvents::HandlePress(KeyCode key) {
  const auto logged = static_cast<int64_t>(key);
  DebugLog("HotKey = %.8x", {logged});
  // The tick unbinds keys within 50 ms of a change of foreground window; a
  // press that slipped in meanwhile for another program is dropped here.
  ForegroundWindow window;
  foreground_.Read(window);
  if (!window.exists) return;
  if (window.ownProcess) {
    DebugLog("HotKey called = %.8x", {logged});
    registry_.DispatchHotKey(key, guard_, boxes_);
  } else if (IsMultipleMainWindowClass(window.ClassName())) {
    registry_.DispatchHotKey(key, guard_, boxes_);
  }
}

}  // namespace loomkeys
