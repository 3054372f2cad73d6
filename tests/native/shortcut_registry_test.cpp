#include "registry/shortcut_registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "registry_fixture.h"

namespace loomkeys {
namespace {

using testing::HotKeyCall;

class ShortcutRegistryTest : public testing::RegistryFixture {
 protected:
  // The registry's keys with the ids of their entries, in registry order.
  std::vector<std::pair<KeyCode, std::vector<uint32_t>>> Layout() {
    std::vector<std::pair<KeyCode, std::vector<uint32_t>>> layout;
    for (const KeyEntries& key : registry->Keys()) {
      layout.push_back({key.keyCode, {}});
      for (const auto& entry : key.entries) layout.back().second.push_back(entry->shortcutId);
    }
    return layout;
  }
};

TEST_F(ShortcutRegistryTest, AKeyIsBoundOnceForAllNamespacesThatShareIt) {
  EXPECT_EQ(Register("A", 0x41, 2, "x"), 1u);
  EXPECT_EQ(Register("B", 0x41, 2, "x"), 2u);
  EXPECT_EQ(system.CountCalls(HotKeyCall::kBind), 1u);
  EXPECT_EQ(Layout(), (decltype(Layout()){{MakeKeyCode(0x41, 2), {1, 2}}}));
}

TEST_F(ShortcutRegistryTest, OnlyTheNamespacesEarliestEntryOnTheKeyIsComparedForDuplicates) {
  Register("A", 0x41, 2, "x");
  uint32_t id = 99;
  EXPECT_EQ(registry->RegisterShortcut2("A", 0x41, 2, kEveryMode, nullptr, "x", &id), kDuplicate);
  EXPECT_EQ(id, 99u);
  EXPECT_EQ(Register("A", 0x41, 2, "y"), 2u);
  EXPECT_EQ(Register("A", 0x41, 2, "y"), 3u);  // compared with "x" only
  EXPECT_EQ(registry->GetShortcutCount("A"), 3u);
}

TEST_F(ShortcutRegistryTest, NamespacesAreComparedExactly) {
  Register("", 0x41, 2, "x");
  EXPECT_EQ(registry->RegisterShortcut2("", 0x41, 2, kEveryMode, nullptr, "x", nullptr), kDuplicate);
  EXPECT_EQ(registry->RegisterShortcut2("a", 0x41, 2, kEveryMode, nullptr, "x", nullptr), kOk);
  EXPECT_EQ(registry->RegisterShortcut2("A", 0x41, 2, kEveryMode, nullptr, "x", nullptr), kOk);
}

TEST_F(ShortcutRegistryTest, ARefusedKeyGivesThreeAndStoresNothing) {
  system.Refuse(0x41, 2);
  uint32_t id = 77;
  EXPECT_EQ(registry->RegisterShortcut2("A", 0x41, 2, kEveryMode, nullptr, "x", &id), kKeyNotBound);
  EXPECT_EQ(id, 77u);
  EXPECT_TRUE(registry->Keys().empty());
  EXPECT_EQ(Register("A", 0x42, 2, "x"), 1u);  // the counter did not move
}

TEST_F(ShortcutRegistryTest, RemovingTheLastEntryUnbindsTheKeyAndItsReturnGoesLast) {
  const uint32_t a = Register("A", 0x41, 2, "x");
  const uint32_t b = Register("B", 0x41, 2, "x");
  Register("A", 0x42, 2, "x");
  system.ClearCalls();

  EXPECT_EQ(registry->UnregisterShortcut(a), kOk);
  EXPECT_EQ(system.CountCalls(HotKeyCall::kUnbind), 0u);
  EXPECT_EQ(registry->UnregisterShortcut(b), kOk);
  EXPECT_EQ(system.CountCalls(HotKeyCall::kUnbind), 1u);
  EXPECT_EQ(system.BoundKeys(), std::vector<KeyCode>{MakeKeyCode(0x42, 2)});

  const uint32_t again = Register("A", 0x41, 2, "x");
  EXPECT_EQ(again, 4u);  // ids are never reused
  EXPECT_EQ(Layout(), (decltype(Layout()){{MakeKeyCode(0x42, 2), {3}}, {MakeKeyCode(0x41, 2), {4}}}));
  EXPECT_EQ(registry->UnregisterShortcut(a), kUnknownShortcutId);
}

TEST_F(ShortcutRegistryTest, InfoByIdGivesKeyShiftAndMode) {
  const uint32_t id = Register("A", 0x74, 6, "x", kModeSlideShow);
  ShortcutInfo info;
  EXPECT_EQ(registry->GetShortcutInfoByShortcutId(id, &info), kOk);
  EXPECT_EQ(info.virtualKey, 0x74);
  EXPECT_EQ(info.shiftKeys, 6);
  EXPECT_EQ(info.activeMode, kModeSlideShow);
  EXPECT_EQ(registry->GetShortcutInfoByShortcutId(id + 1, &info), kUnknownShortcutId);
  EXPECT_EQ(registry->GetShortcutInfoByShortcutId(id, nullptr), kOk);
}

TEST_F(ShortcutRegistryTest, InfoByContextTellsAnUnknownNamespaceFromAnUnknownContext) {
  Register("A", 0x41, 2, "x");
  const uint32_t y = Register("A", 0x42, 2, "y", 1);
  ShortcutInfo info;
  EXPECT_EQ(registry->GetShortcutInfoByContext("A", "y", &info), kOk);
  EXPECT_EQ(info.shortcutId, y);
  EXPECT_EQ(info.virtualKey, 0x42);
  EXPECT_EQ(info.activeMode, 1);
  EXPECT_EQ(registry->GetShortcutInfoByContext("A", "z", &info), kNoSuchContext);
  EXPECT_EQ(registry->GetShortcutInfoByContext("B", "x", &info), kNoEntries);
}

TEST_F(ShortcutRegistryTest, DataIndexCountsTheNamespacesEntriesInRegistryOrder) {
  Register("A", 0x42, 2, "first");
  Register("B", 0x42, 2, "other");
  Register("A", 0x41, 2, "");
  uint32_t size = 0;
  EXPECT_EQ(registry->GetShortcutDataSize("A", 1, &size), kOk);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(registry->GetShortcutDataSize("A", 2, &size), kOk);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(registry->GetShortcutDataSize("A", 3, &size), kIndexPastEntries);
  EXPECT_EQ(registry->GetShortcutDataSize("A", 0, &size), kIndexPastEntries);
  EXPECT_EQ(registry->GetShortcutDataSize("C", 1, &size), kNoEntries);
  EXPECT_EQ(registry->GetShortcutCount("C"), 0u);

  char buffer[1];
  uint32_t room = 0, id = 0;
  EXPECT_EQ(registry->GetShortcutData("A", 2, buffer, &room, &id), kOk);  // empty context, no room
  EXPECT_EQ(id, 3u);
}

TEST_F(ShortcutRegistryTest, DataCopiesExactlyTheContextBytesWithoutTerminator) {
  const uint32_t expectedId = Register("A", 0x41, 2, "abc");
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);

  uint32_t size = 2, id = 0;
  EXPECT_EQ(registry->GetShortcutData("A", 1, buffer, &size, &id), kBufferTooSmall);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(id, expectedId);
  EXPECT_EQ(buffer[0], '#');

  size = sizeof buffer;
  EXPECT_EQ(registry->GetShortcutData("A", 1, buffer, &size, &id), kOk);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::string(buffer, 4), "abc#");
}

TEST_F(ShortcutRegistryTest, AFaultWhileCopyingGivesSixAndKeepsSizeAndId) {
  Register("A", 0x41, 2, "abc");
  auto failingCopy = [](void*, const void*, size_t) noexcept { return false; };
  uint32_t size = 10, id = 0;
  EXPECT_EQ(registry->GetShortcutData("A", 1, nullptr, &size, &id, failingCopy), kErrorRaised);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(id, 1u);
}

TEST_F(ShortcutRegistryTest, DestroyingTheRegistryUnbindsEveryKeyAndDeletesEveryAtom) {
  Register("A", 0x41, 2, "x");
  Register("B", 0x42, 2, "x");
  registry.reset();
  EXPECT_TRUE(system.BoundKeys().empty());
  EXPECT_TRUE(system.LiveAtoms().empty());
  EXPECT_TRUE(table.Snapshot().empty());
}

}  // namespace
}  // namespace loomkeys
