#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fake_os/fake_hotkey_system.h"
#include "registry/shortcut_registry.h"

namespace loomkeys {
namespace {

using testing::FakeHotKeySystem;
using testing::HotKeyCall;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);
constexpr BlobLayout kFirst = BlobLayout::kWithoutActiveMode;
constexpr BlobLayout kSecond = BlobLayout::kWithActiveMode;

void LOOMKEYS_STDCALL SavedCallback(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t) {}
void LOOMKEYS_STDCALL LoadedCallback(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t) {}

// One shortcut's blob text in each layout: virtual key 0x41, shift keys 2, active mode 1
// (second layout only), context abc.
constexpr const char* kExampleFirst = "140000004100020003000000616263";
constexpr const char* kExampleSecond = "1400000041000200010003000000616263";

// Every entry in registry order as "keycode namespace key shift mode context",
// so that order, grouping and every stored field show.
std::vector<std::string> Describe(const ShortcutRegistry& registry) {
  std::vector<std::string> lines;
  for (const KeyEntries& key : registry.Keys()) {
    for (const auto& entry : key.entries) {
      char line[64];
      std::snprintf(line, sizeof line, "%08X %s %X %X %X ", key.keyCode, entry->nameSpace.c_str(), entry->virtualKey,
                    entry->shiftKeys, entry->activeMode);
      lines.push_back(line + entry->context);
    }
  }
  return lines;
}

class NamespaceOperationsTest : public ::testing::Test {
 protected:
  FakeHotKeySystem system;
  HotKeyTable table{system};
  ShortcutRegistry registry{table, kWindow};

  uint32_t Register(const char* ns, uint16_t vk, uint16_t sk, const char* context, uint16_t mode = kEveryMode) {
    uint32_t id = 0;
    EXPECT_EQ(registry.RegisterShortcut2(ns, vk, sk, mode, SavedCallback, context, &id), kOk);
    return id;
  }

  std::string Save(const char* ns, BlobLayout layout) {
    std::string text(registry.GetNamespaceDataSize(ns, layout), '\0');
    uint32_t size = static_cast<uint32_t>(text.size());
    EXPECT_EQ(registry.GetNamespaceData(ns, layout, text.data(), &size), kOk);
    EXPECT_EQ(size, text.size());
    return text;
  }

  std::vector<std::string> Entries() { return Describe(registry); }

  std::vector<uint32_t> Ids() {
    std::vector<uint32_t> ids;
    for (const KeyEntries& key : registry.Keys()) {
      for (const auto& entry : key.entries) ids.push_back(entry->shortcutId);
    }
    return ids;
  }

  std::vector<KeyCode> RegistryKeys() {
    std::vector<KeyCode> keys;
    for (const KeyEntries& key : registry.Keys()) keys.push_back(key.keyCode);
    return keys;
  }
};

TEST_F(NamespaceOperationsTest, TheWorkedExampleSavesAsThirtyAndThirtyFourCharacters) {
  Register("A", 0x41, 2, "abc", kModeSlideDesign);
  Register("B", 0x42, 2, "other");
  EXPECT_EQ(registry.GetNamespaceDataSize("A", kFirst), 30u);
  EXPECT_EQ(registry.GetNamespaceDataSize("A", kSecond), 34u);
  EXPECT_EQ(Save("A", kFirst), kExampleFirst);
  EXPECT_EQ(Save("A", kSecond), kExampleSecond);
}

TEST_F(NamespaceOperationsTest, ABufferOneShortGivesFourAndTheSizeAndAnExactOneGetsTheTextWithoutTerminator) {
  Register("A", 0x41, 2, "abc", kModeSlideDesign);
  for (auto [layout, text] : {std::pair{kFirst, std::string(kExampleFirst)}, {kSecond, std::string(kExampleSecond)}}) {
    std::string buffer(64, '#');
    uint32_t size = static_cast<uint32_t>(text.size() - 1);
    EXPECT_EQ(registry.GetNamespaceData("A", layout, buffer.data(), &size), kBufferTooSmall);
    EXPECT_EQ(size, text.size());
    EXPECT_EQ(buffer, std::string(64, '#'));

    size = static_cast<uint32_t>(text.size());
    EXPECT_EQ(registry.GetNamespaceData("A", layout, buffer.data(), &size), kOk);
    EXPECT_EQ(size, text.size());
    EXPECT_EQ(buffer, text + std::string(64 - text.size(), '#'));
  }
}

TEST_F(NamespaceOperationsTest, ANamespaceWithoutEntriesHasSizeZeroAndGivesElevenWithSizeZero) {
  Register("A", 0x41, 2, "abc");
  EXPECT_EQ(registry.GetNamespaceDataSize("B", kFirst), 0u);
  EXPECT_EQ(registry.GetNamespaceDataSize("B", kSecond), 0u);
  char buffer[4] = {'#', '#', '#', '#'};
  uint32_t size = sizeof buffer;
  EXPECT_EQ(registry.GetNamespaceData("B", kSecond, buffer, &size), kNoEntries);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(std::string(buffer, 4), "####");
  size = 0;
  EXPECT_EQ(registry.GetNamespaceData("B", kFirst, nullptr, &size), kNoEntries);
}

TEST_F(NamespaceOperationsTest, AFaultWhileCopyingTheTextGivesSix) {
  Register("A", 0x41, 2, "abc");
  auto failingCopy = [](void*, const void*, size_t) noexcept { return false; };
  uint32_t size = 100;
  EXPECT_EQ(registry.GetNamespaceData("A", kFirst, nullptr, &size, failingCopy), kErrorRaised);
  EXPECT_EQ(size, 30u);
}

TEST_F(NamespaceOperationsTest, AnEmptyContextIsARecordWithLengthZero) {
  Register("A", 0x41, 2, "", 2);
  // Hex texts stay split into records and fields; clang-format would give every piece a line.
  // clang-format off
  EXPECT_EQ(Save("A", kFirst), "14000000" "4100" "0200" "00000000");
  EXPECT_EQ(Save("A", kSecond), "14000000" "4100" "0200" "0200" "00000000");
  // clang-format on

  registry.UnloadNamespace("A");
  // clang-format off
  EXPECT_EQ(registry.LoadNamespace("B", kSecond, LoadedCallback, "14000000" "410002000200" "00000000"), kOk);
  // clang-format on
  EXPECT_EQ(Entries(), std::vector<std::string>{"00410002 B 41 2 2 "});
}

TEST_F(NamespaceOperationsTest, LoadingRegistersUnderTheGivenNamespaceAndCallbackInEitherCase) {
  struct Case {
    BlobLayout layout;
    std::string text;
    const char* expected;
  };
  const Case cases[] = {
      {kFirst, kExampleFirst, "00410002 N 41 2 FFFF abc"},
      {kSecond, kExampleSecond, "00410002 N 41 2 1 abc"},
      {kFirst, "140000007B000A00020000006B7A", "007B000A N 7B A FFFF kz"},
      {kFirst, "140000007b000a00020000006b7a", "007B000A N 7B A FFFF kz"},     // lower case
      {kSecond, "140000007b000A000300020000006B7a", "007B000A N 7B A 3 kz"},   // mixed case
      {kFirst, "0A0000004100020003000000616263", "00410002 N 41 2 FFFF abc"},  // version 10
      {kSecond, "0a00000041000200010003000000616263", "00410002 N 41 2 1 abc"},
      {kFirst, std::string(kExampleFirst) + "F", "00410002 N 41 2 FFFF abc"},  // odd length
  };
  for (const Case& c : cases) {
    ShortcutRegistry fresh(table, kWindow);
    EXPECT_EQ(fresh.LoadNamespace("N", c.layout, LoadedCallback, c.text), kOk) << c.text;
    EXPECT_EQ(Describe(fresh), std::vector<std::string>{c.expected}) << c.text;
    ASSERT_EQ(fresh.Keys().size(), 1u);
    EXPECT_EQ(fresh.Keys().front().entries.front()->callback, LoadedCallback);
  }
}

TEST_F(NamespaceOperationsTest, RejectedTextGivesSixAndRegistersNothing) {
  const char* texts[] = {
      "1E0000004100020003000000616263",  // version 30
      "1500000041000200",                // version 21
      "",                                // empty
      "140000",                          // shorter than the version word
      "14000000410002000300000061624G",  // a bad pair at the end
      "14000000410002000300000061 263",
  };
  for (const char* text : texts) {
    for (BlobLayout layout : {kFirst, kSecond}) {
      EXPECT_EQ(registry.LoadNamespace("A", layout, LoadedCallback, text), kErrorRaised) << text;
    }
  }
  EXPECT_TRUE(registry.Keys().empty());
  EXPECT_EQ(system.CountCalls(HotKeyCall::kBind), 0u);
}

TEST_F(NamespaceOperationsTest, ReloadingIntoANamespaceThatStillHoldsItsEntriesFollowsTheEarliestEntryRule) {
  Register("A", 0x41, 2, "x");
  Register("A", 0x41, 2, "y");  // earliest entry of A on the key is x
  Register("A", 0x42, 2, "z");
  const std::string text = Save("A", kFirst);

  EXPECT_EQ(registry.LoadNamespace("A", kFirst, LoadedCallback, text), kOk);
  // x and z are duplicates of A's earliest entries and skipped; y differs
  // from x, the only entry compared, and is added a second time.
  EXPECT_EQ(Entries(), (std::vector<std::string>{"00410002 A 41 2 FFFF x", "00410002 A 41 2 FFFF y",
                                                 "00410002 A 41 2 FFFF y", "00420002 A 42 2 FFFF z"}));
  EXPECT_EQ(Ids(), (std::vector<uint32_t>{1, 2, 4, 3}));
}

TEST_F(NamespaceOperationsTest, ARecordWhoseKeyTheSystemRefusesIsSkippedAndLaterRecordsStillLoad) {
  system.Refuse(0x42, 2);
  // clang-format off
  const std::string text = "14000000"
                           "41000200" "01000000" "61"
                           "42000200" "01000000" "62"
                           "43000200" "01000000" "63";
  // clang-format on
  EXPECT_EQ(registry.LoadNamespace("A", kFirst, LoadedCallback, text), kOk);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"00410002 A 41 2 FFFF a", "00430002 A 43 2 FFFF c"}));
  EXPECT_EQ(system.BoundKeys(), (std::vector<KeyCode>{MakeKeyCode(0x41, 2), MakeKeyCode(0x43, 2)}));
}

TEST_F(NamespaceOperationsTest, ACutOffLastRecordGivesSixAndKeepsTheCompleteRecordsBeforeIt) {
  // clang-format off
  const std::string complete = "14000000" "41000200" "01000000" "61";
  for (const char* tail : {"4200", "42000200" "05000000" "6263", "42000200" "FFFFFFFF"}) {
    // clang-format on
    EXPECT_EQ(registry.LoadNamespace("A", kFirst, LoadedCallback, complete + tail), kErrorRaised) << tail;
    EXPECT_EQ(Entries(), std::vector<std::string>{"00410002 A 41 2 FFFF a"}) << tail;
    registry.UnloadNamespace("A");
  }
  // clang-format off
  EXPECT_EQ(registry.LoadNamespace("A", kSecond, LoadedCallback, "14000000" "410002000100" "03000000" "6162"),
            kErrorRaised);
  // clang-format on
  EXPECT_TRUE(registry.Keys().empty());
}

TEST_F(NamespaceOperationsTest, UnloadRemovesOnlyTheNamespacesEntriesAndUnbindsKeysLeftWithoutEntries) {
  Register("A", 0x41, 2, "a1");
  Register("B", 0x41, 2, "b1");
  Register("A", 0x42, 2, "a2");
  Register("B", 0x43, 2, "b3");
  Register("A", 0x43, 2, "a3");
  Register("A", 0x42, 2, "a4");
  system.ClearCalls();

  registry.UnloadNamespace("A");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"00410002 B 41 2 FFFF b1", "00430002 B 43 2 FFFF b3"}));
  EXPECT_EQ(Ids(), (std::vector<uint32_t>{2, 4}));
  EXPECT_EQ(system.Calls(),
            (std::vector<HotKeyCall>{{HotKeyCall::kUnbind, 0xC001, 0, {}}, {HotKeyCall::kDeleteAtom, 0xC001, 0, {}}}));
  EXPECT_EQ(system.BoundKeys(), (std::vector<KeyCode>{MakeKeyCode(0x41, 2), MakeKeyCode(0x43, 2)}));

  system.ClearCalls();
  registry.UnloadNamespace("A");
  registry.UnloadNamespace("a");
  EXPECT_EQ(Entries().size(), 2u);
  EXPECT_TRUE(system.Calls().empty());
}

TEST_F(NamespaceOperationsTest, RenameMovesEveryEntryWithoutDuplicateCheckOrSystemCall) {
  Register("A", 0x41, 2, "x");
  Register("B", 0x41, 2, "x");
  Register("A", 0x42, 2, "y", kModeSlideShow);
  Register("C", 0x42, 2, "y");
  system.ClearCalls();

  registry.NamespaceRename("A", "B");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"00410002 B 41 2 FFFF x", "00410002 B 41 2 FFFF x",
                                                 "00420002 B 42 2 2 y", "00420002 C 42 2 FFFF y"}));
  EXPECT_EQ(Ids(), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(registry.GetShortcutCount("A"), 0u);
  EXPECT_TRUE(system.Calls().empty());

  registry.NamespaceRename("nobody", "C");
  EXPECT_EQ(registry.GetShortcutCount("C"), 1u);
}

TEST_F(NamespaceOperationsTest, SaveUnloadLoadRestoresKeysContextsModesAndRegistryOrder) {
  Register("A", 0x74, 6, "first", kModeSlideShow);
  Register("B", 0x20, 0, "other");
  Register("A", 0x41, 2, "", kModeSlideDesign);
  Register("A", 0x74, 6, "second", kModeSlideDesign | kModeSlideShow);
  Register("A", 0x0D, 1, std::string(300, 'q').c_str(), 0);
  const std::vector<KeyCode> keysOfA{MakeKeyCode(0x74, 6), MakeKeyCode(0x41, 2), MakeKeyCode(0x0D, 1)};
  const std::vector<std::string> before = Entries();
  const std::string second = Save("A", kSecond);
  const std::string first = Save("A", kFirst);

  registry.UnloadNamespace("A");
  EXPECT_EQ(system.BoundKeys(), std::vector<KeyCode>{MakeKeyCode(0x20, 0)});
  EXPECT_EQ(registry.LoadNamespace("A", kSecond, LoadedCallback, second), kOk);
  EXPECT_EQ(Save("A", kSecond), second);
  const std::vector<std::string> after = Entries();
  // B's key stayed where it was; A's keys come back after it in their order.
  EXPECT_EQ(after, (std::vector<std::string>{before[2], before[0], before[1], before[3], before[4]}));
  EXPECT_EQ(RegistryKeys(), (std::vector<KeyCode>{MakeKeyCode(0x20, 0), keysOfA[0], keysOfA[1], keysOfA[2]}));
  EXPECT_EQ(system.BoundKeys().size(), 4u);

  // The first layout keeps keys, contexts and order; every mode comes back as 0xFFFF.
  registry.UnloadNamespace("A");
  EXPECT_EQ(registry.LoadNamespace("A", kFirst, LoadedCallback, first), kOk);
  EXPECT_EQ(Save("A", kFirst), first);
  for (const KeyEntries& key : registry.Keys()) {
    for (const auto& entry : key.entries) EXPECT_EQ(entry->activeMode, kEveryMode);
  }
  EXPECT_EQ(RegistryKeys(), (std::vector<KeyCode>{MakeKeyCode(0x20, 0), keysOfA[0], keysOfA[1], keysOfA[2]}));
}

}  // namespace
}  // namespace loomkeys
