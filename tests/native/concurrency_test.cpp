// Several client threads call the registry at once (register, unregister,
// query, save, load, unload, rename) while the window thread ticks and
// dispatches presses whose callbacks call back into the registry. Run under
// ThreadSanitizer by the test command; afterwards the registry, the hot-key
// table and the system's bound keys must agree.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fake_os/fake_hotkey_system.h"
#include "fake_os/recording_client_code.h"
#include "hotkeys/atom_name.h"
#include "registry/namespace_blob.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {
namespace {

constexpr int kClientThreads = 3;
constexpr int kOperationsPerThread = 3000;
constexpr int kTicks = 2000;

ShortcutRegistry* theRegistry = nullptr;
std::atomic<int> callbacksRun{0};
std::atomic<int> clientsRunning{0};

// A callback that registers and removes a shortcut of its own while the
// press is being dispatched, as a client's command may.
void LOOMKEYS_STDCALL ReenteringCallback(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t id) {
  ++callbacksRun;
  uint32_t added = 0;
  if (theRegistry->RegisterShortcut2("Callback", 0x70, 1, kEveryMode, nullptr, std::to_string(id), &added) == kOk) {
    theRegistry->UnregisterShortcut(added);
  }
  theRegistry->GetShortcutCount("Callback");
}

// A small deterministic generator per thread (std::rand is not thread-safe).
struct Random {
  uint32_t state;
  uint32_t Next(uint32_t bound) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % bound;
  }
};

class ConcurrencyTest : public ::testing::Test {
 protected:
  testing::FakeHotKeySystem system;
  HotKeyTable table{system};
  ShortcutRegistry registry{table, nullptr};
  std::mutex idsLock;
  std::vector<uint32_t> allIds;

  void Client(int number) {
    Random random{static_cast<uint32_t>(number * 7919 + 1)};
    const std::string ns = "Client" + std::to_string(number);
    std::vector<uint32_t> mine;
    for (int i = 0; i < kOperationsPerThread; ++i) {
      const auto key = static_cast<uint16_t>(0x41 + random.Next(12));
      switch (random.Next(8)) {
        case 0:
        case 1: {
          uint32_t id = 0;
          if (registry.RegisterShortcut2(ns, key, 2, kEveryMode, ReenteringCallback, std::to_string(i), &id) == kOk) {
            mine.push_back(id);
          }
          break;
        }
        case 2:
          if (!mine.empty()) {
            registry.UnregisterShortcut(mine.back());
            mine.pop_back();
          }
          break;
        case 3: {
          ShortcutInfo info;
          registry.GetShortcutInfoByContext(ns, std::to_string(random.Next(i + 1)), &info);
          registry.GetShortcutCount(ns);
          break;
        }
        case 4: {
          // Save, load the text as a copy, and remove the copy again.
          std::string text(registry.GetNamespaceDataSize(ns, BlobLayout::kWithActiveMode), '\0');
          uint32_t size = static_cast<uint32_t>(text.size());
          if (registry.GetNamespaceData(ns, BlobLayout::kWithActiveMode, text.data(), &size) == kOk) {
            registry.LoadNamespace(ns + "Copy", BlobLayout::kWithActiveMode, ReenteringCallback, text);
            registry.UnloadNamespace(ns + "Copy");
          }
          break;
        }
        case 5:
          if (random.Next(20) == 0) {
            registry.UnloadNamespace(ns);
            mine.clear();
          }
          break;
        case 6:
          registry.NamespaceRename(ns, ns);  // touches every entry of the namespace under the lock
          break;
        case 7: {
          uint32_t dataSize = 0;
          registry.GetShortcutDataSize(ns, 1 + random.Next(4), &dataSize);
          break;
        }
      }
    }
    std::lock_guard hold(idsLock);
    allIds.insert(allIds.end(), mine.begin(), mine.end());
  }

  // Ticks and presses for at least kTicks rounds and for as long as a client
  // runs, however the threads happen to be scheduled; returns the rounds.
  int WindowThread() {
    testing::CatchingClientCodeGuard guard;
    testing::RecordingErrorBoxes boxes;
    int tick = 0;
    for (; tick < kTicks || clientsRunning > 0; ++tick) {
      registry.ApplyActiveMode(nullptr, tick % 3 == 0 ? kModeNone : kModeSlideDesign);
      registry.DispatchHotKey(MakeKeyCode(static_cast<uint16_t>(0x41 + tick % 12), 2), guard, boxes);
    }
    return tick;
  }
};

TEST_F(ConcurrencyTest, ClientsTicksAndReenteringCallbacksLeaveTheRegistryTableAndSystemInStep) {
  theRegistry = &registry;
  // One key always has a callback, whatever the clients have registered at the moment of a press.
  uint32_t seed = 0;
  ASSERT_EQ(registry.RegisterShortcut2("Seed", 0x41, 2, kEveryMode, ReenteringCallback, "", &seed), kOk);
  clientsRunning = kClientThreads;
  std::vector<std::thread> threads;
  for (int number = 0; number < kClientThreads; ++number) {
    threads.emplace_back([this, number] {
      Client(number);
      --clientsRunning;
    });
  }
  int rounds = 0;
  threads.emplace_back([this, &rounds] { rounds = WindowThread(); });
  for (std::thread& thread : threads) thread.join();
  theRegistry = nullptr;

  EXPECT_GT(callbacksRun.load(), 0);
  // Make every key live once more, then compare the three views.
  registry.ApplyActiveMode(nullptr, kModeSlideDesign);
  std::set<KeyCode> registryKeys;
  std::set<std::string> atomNames;
  std::set<uint32_t> ids;
  size_t entries = 0;
  for (const KeyEntries& key : registry.Keys()) {
    EXPECT_FALSE(key.entries.empty());
    EXPECT_TRUE(registryKeys.insert(key.keyCode).second) << "a key stands twice in the registry";
    atomNames.insert(HotKeyAtomName(KeyCodeVirtualKey(key.keyCode), KeyCodeShiftKeys(key.keyCode)));
    for (const auto& entry : key.entries) {
      EXPECT_EQ(MakeKeyCode(entry->virtualKey, entry->shiftKeys), key.keyCode);
      EXPECT_TRUE(ids.insert(entry->shortcutId).second) << "an id is used twice";
      ++entries;
    }
  }
  const std::vector<KeyCode> bound = system.BoundKeys();
  EXPECT_EQ(std::set<KeyCode>(bound.begin(), bound.end()), registryKeys);
  EXPECT_EQ(bound.size(), registryKeys.size());
  EXPECT_EQ(system.LiveAtoms(), atomNames);
  std::set<KeyCode> tableKeys;
  for (const auto& [key, shortcut] : table.Snapshot()) tableKeys.insert(key);
  EXPECT_EQ(tableKeys, registryKeys);
  // Every id handed out to a client that still holds it is unique too.
  EXPECT_EQ(std::set<uint32_t>(allIds.begin(), allIds.end()).size(), allIds.size());
  std::printf("concurrency: %d client operations, %d ticks and presses, %d callbacks, %zu entries left\n",
              kClientThreads * kOperationsPerThread, rounds, callbacksRun.load(), entries);
}

}  // namespace
}  // namespace loomkeys
