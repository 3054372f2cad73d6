// The 50 ms tick and the key press as they run all day: once a tick has
// applied what changed, the ticks after it make no hot-key system call and
// allocate nothing, whatever changed before (keys, modes, a suspension of the
// hot keys); a press of a key that was pressed before allocates nothing.
// Runs in a program of its own, whose operator new counts allocations.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "allocation_counter/allocation_counter.h"
#include "events/hotkey_events.h"
#include "fake_os/fake_foreground_window.h"
#include "fake_os/fake_keyboard_layouts.h"
#include "fake_os/recording_client_code.h"
#include "fake_os/recording_key_injector.h"
#include "registry_fixture.h"

namespace loomkeys {
namespace {

class SteadyTickTest : public testing::RegistryFixture {
 protected:
  void SetUp() override {
    for (uint16_t key = 0; key < 64; ++key) {
      Register("A", static_cast<uint16_t>(0x100 + key), 2, "a", static_cast<uint16_t>(key % 3 + 1));
      Register("B", static_cast<uint16_t>(0x100 + key), 2, "b", static_cast<uint16_t>(key % 2 + 1));
    }
    ShowEditingWindow();
  }
  void ShowEditingWindow() { foreground.Show(u"PPTFrameClass", u"Deck - PowerPoint", true); }

  // The system calls and allocations of `ticks` ticks.
  struct Cost {
    size_t systemCalls;
    uint64_t allocations;
  };
  Cost Ticks(int ticks) {
    const size_t calls = system.Calls().size();
    const testing::AllocationCount before = testing::AllocationsSoFar();
    for (int i = 0; i < ticks; ++i) events.Tick();
    return {system.Calls().size() - calls, testing::AllocationsSoFar().allocations - before.allocations};
  }
  void ExpectSteady(const char* after) {
    const Cost cost = Ticks(100);
    EXPECT_EQ(cost.systemCalls, 0u) << after;
    EXPECT_EQ(cost.allocations, 0u) << after;
  }

  testing::FakeForegroundWindow foreground;
  testing::RecordingKeyInjector keys;
  testing::CatchingClientCodeGuard guard;
  testing::RecordingErrorBoxes boxes;
  testing::FakeKeyboardLayouts layouts;
  HotKeyEvents events{*registry, table, testing::kTestWindow, foreground, keys, layouts, guard, boxes};
};

TEST_F(SteadyTickTest, TicksAfterTheOneThatAppliedAChangeMakeNoSystemCallAndAllocateNothing) {
  EXPECT_GT(Ticks(1).systemCalls, 0u);  // the first tick binds and unbinds
  ExpectSteady("the first tick");

  Register("C", 0x300, 2, "c", kModeSlideDesign);
  const uint32_t removed = Register("C", 0x301, 2, "c", kModeSlideShow);
  registry->UnregisterShortcut(removed);
  Ticks(1);
  ExpectSteady("registering and removing");

  foreground.Show(u"screenClass", u"PowerPoint Slide Show - Deck", true);
  EXPECT_GT(Ticks(1).systemCalls, 0u);
  ExpectSteady("a change to slide show");

  foreground.Show(u"Notepad", u"Untitled", false);
  Ticks(1);
  ExpectSteady("another program in front");

  ShowEditingWindow();
  table.SuspendHotKeys(testing::kTestWindow);
  Ticks(1);
  ExpectSteady("suspending the hot keys");
  table.ResumeHotKeys(testing::kTestWindow);
  Ticks(1);
  ExpectSteady("resuming them");
}

TEST_F(SteadyTickTest, AChangeMadeBetweenTicksIsAppliedByTheNextTick) {
  Ticks(1);
  ExpectSteady("the first tick");
  // A key that was dead in slide design becomes live through a new entry on it.
  const KeyCode dead = MakeKeyCode(0x101, 2);  // both its entries want slide show only
  auto isBound = [this](KeyCode key) {
    const std::vector<KeyCode> bound = system.BoundKeys();
    return std::find(bound.begin(), bound.end(), key) != bound.end();
  };
  ASSERT_FALSE(isBound(dead));
  Register("C", 0x101, 2, "c", kModeSlideDesign);
  Ticks(1);
  EXPECT_TRUE(isBound(dead));
}

int callbackCalls = 0;

void LOOMKEYS_STDCALL CountCall(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t) { ++callbackCalls; }

TEST_F(SteadyTickTest, APressOfAKeyPressedBeforeAllocatesNothing) {
  Register("C", 0x400, 2, "first", kModeSlideDesign, CountCall);
  Register("D", 0x400, 2, "second", kEveryMode, CountCall);
  Ticks(1);
  const HotKeyPress press = PressOf(MakeKeyCode(0x400, 2));
  events.HandlePress(press);  // the first press makes what the callbacks receive
  ASSERT_EQ(callbackCalls, 2);
  const uint64_t before = testing::AllocationsSoFar().allocations;
  for (int again = 0; again < 100; ++again) events.HandlePress(press);
  EXPECT_EQ(testing::AllocationsSoFar().allocations - before, 0u);
  EXPECT_EQ(callbackCalls, 202);
}

}  // namespace
}  // namespace loomkeys
