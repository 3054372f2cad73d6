#pragma once
// The two events of the hidden hot-key window: the 50 ms timer tick, which
// decides from the window in front which keys are live, and a key press,
// which goes to the registry's dispatch when it belongs to PowerPoint.
#include <cstdint>

#include "hotkeys/key_code.h"
#include "platform/client_code.h"
#include "platform/foreground_window.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {

class HotKeyEvents {
 public:
  HotKeyEvents(ShortcutRegistry& registry, WindowHandle window, ForegroundWindowReader& foreground,
               ClientCodeGuard& guard, ErrorBoxes& boxes);

  // Classifies the foreground window, logs "ActiveMode = %d" and applies the mode.
  void Tick();
  // Logs the key and dispatches it when a window of this process is in front
  // (or PowerPoint's multiple-window main window of any process).
  void HandlePress(KeyCode key);

 private:
  ShortcutRegistry& registry_;
  WindowHandle window_;
  ForegroundWindowReader& foreground_;
  ClientCodeGuard& guard_;
  ErrorBoxes& boxes_;
  ForegroundWindow current_;  // reused, so that a tick allocates nothing
};

}  // namespace loomkeys
