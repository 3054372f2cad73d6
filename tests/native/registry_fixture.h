#pragma once
// A registry over the recording fake, with helpers shared by the registry tests.
#include <gtest/gtest.h>

#include <memory>

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
};

}  // namespace loomkeys::testing
