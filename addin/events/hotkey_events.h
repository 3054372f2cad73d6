#pragma once
// The events of the hidden hot-key window: the tick, which decides from the
// window in front which keys are live, and a key press, which goes to the
// registry's dispatch when it belongs to PowerPoint and is typed again for
// the window in front when it does not.
#include <cstdint>

#include "events/hotkey_press.h"
#include "hotkeys/hotkey_table.h"
#include "hotkeys/key_code.h"
#include "platform/client_code.h"
#include "platform/foreground_window.h"
#include "platform/key_injector.h"
#include "platform/keyboard_layout.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {

class HotKeyEvents {
 public:
  HotKeyEvents(ShortcutRegistry& registry, HotKeyTable& hotKeys, WindowHandle window,
               ForegroundWindowReader& foreground, KeyInjector& keys, KeyboardLayouts& layouts, ClientCodeGuard& guard,
               ErrorBoxes& boxes);

  // Classifies the foreground window, logs "ActiveMode = %d" and applies the
  // mode. Runs on the 50 ms timer and whenever PowerPoint's thread gains or
  // loses activation.
  void Tick();
  // Judges the press by the window in front now: applies its mode first when
  // the key sets are not those of that mode yet, as a tick would. The key is
  // the one bound under the press's id. A key still bound is dispatched when
  // a window of this process is in front (or PowerPoint's multiple-window
  // main window of any process), unless it is AltGr typing a character; a key
  // no longer bound is typed again for the
  // window in front, unless a bound key would take the keystroke back or the
  // press waited too long in the queue; with no window in front the press is
  // dropped.
  void HandlePress(const HotKeyPress& press);

 private:
  void Classify();
  void ApplyMode();
  void Resend(KeyCode chord);
  bool TypedWithAltGr(KeyCode chord);

  ShortcutRegistry& registry_;
  HotKeyTable& hotKeys_;
  WindowHandle window_;
  ForegroundWindowReader& foreground_;
  KeyInjector& keys_;
  KeyboardLayouts& layouts_;
  ClientCodeGuard& guard_;
  ErrorBoxes& boxes_;
  // The window last classified, by a tick or a press, and its mode; reused,
  // so that a tick allocates nothing.
  ForegroundWindow current_;
  uint16_t mode_ = kModeNone;
};

}  // namespace loomkeys
