#pragma once
// A registry over the recording fake, with helpers shared by the registry tests.
#include <gtest/gtest.h>

#include <memory>

#include "events/hotkey_press.h"
#include "fake_os/fake_hotkey_system.h"
#include "registry/shortcut_registry.h"

namespace loomkeys::testing {

inline WindowHandle const kTestWindow = reinterpret_cast<WindowHandle>(0x1234);

class RegistryFixture : public ::testing::Test {
 protected:
  FakeHotKeySystem system;
  HotKeyTable table{system};
  std::unique_ptr<ShortcutRegistry> registry = std::make_unique<ShortcutRegistry>(table, kTestWindow);

  uint32_t Register(const char* ns, uint16_t vk, uint16_t sk, const char* context, uint16_t mode = kEveryMode,
                    ShortcutCallback callback = nullptr) {
    uint32_t id = 0;
    EXPECT_EQ(registry->RegisterShortcut2(ns, vk, sk, mode, callback, context, &id), kOk);
    return id;
  }

  // A press of a key of the table as WM_HOTKEY reports it: the key's atom as
  // the id, and the chord with only the shift keys that the system reports.
  HotKeyPress PressOf(KeyCode key) {
    const KeyCode chord = MakeKeyCode(KeyCodeVirtualKey(key), KeyCodeShiftKeys(key) & kReportedShiftKeys);
    for (const auto& [code, hotKey] : table.Snapshot()) {
      if (code == key) return {hotKey.keyAtom, chord};
    }
    ADD_FAILURE() << "the table holds no key " << key;
    return {0, chord};
  }
};

}  // namespace loomkeys::testing
