#pragma once
// The key-press and tick events over the registry fixture, with recording
// fakes for the window in front, the keystrokes typed again, the keyboard
// layouts, client code and error boxes.
#include "events/hotkey_events.h"
#include "fake_os/fake_foreground_window.h"
#include "fake_os/fake_keyboard_layouts.h"
#include "fake_os/recording_client_code.h"
#include "fake_os/recording_key_injector.h"
#include "registry_fixture.h"

namespace loomkeys::testing {

class HotKeyEventsFixture : public RegistryFixture {
 protected:
  void ShowEditingWindow() { foreground.Show(u"PPTFrameClass", u"Deck - PowerPoint", true); }

  FakeForegroundWindow foreground;
  RecordingKeyInjector keys;
  CatchingClientCodeGuard guard;
  RecordingErrorBoxes boxes;
  FakeKeyboardLayouts layouts;
  HotKeyEvents events{*registry, table, kTestWindow, foreground, keys, layouts, guard, boxes};
};

}  // namespace loomkeys::testing
