#include "hotkeys/hotkey_table.h"

#include <gtest/gtest.h>

#include "fake_os/fake_hotkey_system.h"

namespace loomkeys {
namespace {

using testing::FakeHotKeySystem;
using testing::HotKeyCall;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);
constexpr KeyCode kCtrlA = MakeKeyCode(0x41, 2);
constexpr KeyCode kCtrlB = MakeKeyCode(0x42, 2);

class HotKeyTableTest : public ::testing::Test {
 protected:
  FakeHotKeySystem system;
  HotKeyTable table{system};

  void Add(KeyCode key) { ASSERT_TRUE(table.AddSystemHotKey(kWindow, KeyCodeVirtualKey(key), KeyCodeShiftKeys(key))); }
  std::vector<KeyCode> Bound() const { return system.BoundKeys(); }
};

TEST_F(HotKeyTableTest, AddingAPairCreatesItsAtomAndBindsIt) {
  Add(MakeKeyCode(0x74, 6));
  EXPECT_EQ(system.LiveAtoms(), std::set<std::string>{"PowerPoint00740006"});
  EXPECT_EQ(Bound(), std::vector<KeyCode>{MakeKeyCode(0x74, 6)});
  const auto& calls = system.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].kind, HotKeyCall::kBind);
  EXPECT_EQ(calls[1].id, calls[0].id);  // the atom is the hot key's id
}

TEST_F(HotKeyTableTest, AddingAPairTwiceAnswersFalseWithoutAskingTheSystem) {
  Add(kCtrlA);
  system.ClearCalls();
  EXPECT_FALSE(table.AddSystemHotKey(kWindow, 0x41, 2));
  EXPECT_TRUE(system.Calls().empty());
}

TEST_F(HotKeyTableTest, ARefusedPairStaysRefusedAndIsNeverBoundLater) {
  system.Refuse(0x41, 2);
  EXPECT_FALSE(table.AddSystemHotKey(kWindow, 0x41, 2));
  EXPECT_FALSE(table.AddSystemHotKey(kWindow, 0x41, 2));
  EXPECT_EQ(system.CountCalls(HotKeyCall::kBind), 1u);

  table.ApplyKeySets(kWindow, {kCtrlA}, {});
  table.SuspendHotKeys(kWindow);
  table.ResumeHotKeys(kWindow);
  EXPECT_EQ(system.CountCalls(HotKeyCall::kBind), 1u);
  EXPECT_TRUE(Bound().empty());
}

TEST_F(HotKeyTableTest, AFailedAtomLeavesNothingHeldSoTheNextAddTriesAgain) {
  system.FailAtoms(true);
  EXPECT_FALSE(table.AddSystemHotKey(kWindow, 0x41, 2));
  EXPECT_TRUE(table.Snapshot().empty());
  EXPECT_EQ(system.CountCalls(HotKeyCall::kBind), 0u);
  system.FailAtoms(false);
  Add(kCtrlA);
}

TEST_F(HotKeyTableTest, RemovingUnbindsAndDeletesTheAtomEvenWhenTheKeyIsDead) {
  Add(kCtrlA);
  table.ApplyKeySets(kWindow, {}, {kCtrlA});
  system.ClearCalls();
  table.RemoveSystemHotKey(kWindow, 0x41, 2);
  EXPECT_EQ(system.CountCalls(HotKeyCall::kUnbind), 1u);
  EXPECT_TRUE(system.LiveAtoms().empty());
  EXPECT_TRUE(table.Snapshot().empty());
}

TEST_F(HotKeyTableTest, KeysComeAndGoMoreOftenThanThereAreAtomValuesWithoutFailingOrLeavingAnAtom) {
  // The atom table has 16,384 string atoms; their values are handed out
  // again once deleted, so a long session never runs out of them.
  for (int round = 0; round < 20000; ++round) {
    Add(kCtrlA);
    table.RemoveSystemHotKey(kWindow, 0x41, 2);
  }
  EXPECT_TRUE(system.LiveAtoms().empty());
  EXPECT_TRUE(Bound().empty());
}

TEST_F(HotKeyTableTest, RemovingAnUnknownPairDoesNothing) {
  table.RemoveSystemHotKey(kWindow, 0x41, 2);
  EXPECT_TRUE(system.Calls().empty());
}

TEST_F(HotKeyTableTest, ApplyKeySetsCallsTheSystemOnlyForKeysThatChange) {
  Add(kCtrlA);
  Add(kCtrlB);
  system.ClearCalls();
  table.ApplyKeySets(kWindow, {kCtrlA, kCtrlB}, {});
  EXPECT_TRUE(system.Calls().empty());

  table.ApplyKeySets(kWindow, {kCtrlA}, {kCtrlB, MakeKeyCode(0x43, 2)});
  EXPECT_EQ(system.Calls(), (std::vector<HotKeyCall>{{HotKeyCall::kUnbind, system.Calls()[0].id, 0, {}}}));
  EXPECT_EQ(Bound(), std::vector<KeyCode>{kCtrlA});

  system.ClearCalls();
  table.ApplyKeySets(kWindow, {kCtrlB}, {kCtrlA});
  ASSERT_EQ(system.Calls().size(), 2u);
  EXPECT_EQ(system.Calls()[0].kind, HotKeyCall::kBind);  // enabled side first
  EXPECT_EQ(system.Calls()[1].kind, HotKeyCall::kUnbind);
  EXPECT_EQ(Bound(), std::vector<KeyCode>{kCtrlB});
}

TEST_F(HotKeyTableTest, ApplyKeySetsChangesNothingWhileSuspended) {
  Add(kCtrlA);
  table.SuspendHotKeys(kWindow);
  system.ClearCalls();
  table.ApplyKeySets(kWindow, {}, {kCtrlA});
  EXPECT_TRUE(system.Calls().empty());
  table.ResumeHotKeys(kWindow);
  EXPECT_EQ(Bound(), std::vector<KeyCode>{kCtrlA});  // its flag was kept
}

TEST_F(HotKeyTableTest, ResumeBindsTheKeysLiveAtSuspensionAndThoseAddedDuringIt) {
  Add(kCtrlA);
  Add(kCtrlB);
  table.ApplyKeySets(kWindow, {}, {kCtrlB});
  table.SuspendHotKeys(kWindow);
  EXPECT_TRUE(Bound().empty());
  Add(MakeKeyCode(0x43, 2));  // bound at once, even while suspended
  table.SuspendHotKeys(kWindow);
  table.ResumeHotKeys(kWindow);
  EXPECT_TRUE(table.HotKeysActive());
  EXPECT_EQ(Bound(), (std::vector<KeyCode>{kCtrlA, MakeKeyCode(0x43, 2)}));
}

TEST_F(HotKeyTableTest, ResumeWithoutSuspensionDoesNothing) {
  Add(kCtrlA);
  system.ClearCalls();
  table.ResumeHotKeys(kWindow);
  EXPECT_TRUE(system.Calls().empty());
}

TEST_F(HotKeyTableTest, ClearOnASuspendedTableDeletesEveryAtomAndStaysSuspended) {
  Add(kCtrlA);
  Add(kCtrlB);
  table.ApplyKeySets(kWindow, {}, {kCtrlB});
  table.SuspendHotKeys(kWindow);
  system.ClearCalls();
  table.ClearHotKeys(kWindow);
  EXPECT_EQ(system.CountCalls(HotKeyCall::kUnbind), 1u);  // only the key whose flag is set
  EXPECT_EQ(system.CountCalls(HotKeyCall::kDeleteAtom), 2u);
  EXPECT_TRUE(system.LiveAtoms().empty());
  EXPECT_FALSE(table.HotKeysActive());
}

TEST_F(HotKeyTableTest, EntriesAreKeptInAtomNameOrder) {
  Add(MakeKeyCode(0x74, 6));
  Add(MakeKeyCode(0x0D, 0));
  Add(MakeKeyCode(0x41, 0xFFFF));
  Add(MakeKeyCode(0x42, 0));
  std::vector<KeyCode> order;
  for (const auto& [key, entry] : table.Snapshot()) order.push_back(key);
  EXPECT_EQ(order, (std::vector<KeyCode>{MakeKeyCode(0x0D, 0), MakeKeyCode(0x41, 0xFFFF), MakeKeyCode(0x42, 0),
                                         MakeKeyCode(0x74, 6)}));
}

}  // namespace
}  // namespace loomkeys
