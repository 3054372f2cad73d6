#include <gtest/gtest.h>

#include "fake_os/recording_debug_log.h"
#include "registry_fixture.h"

namespace loomkeys {
namespace {

using testing::HotKeyCall;

class ModeFilterTest : public testing::RegistryFixture {
 protected:
  // The keys whose binding the last ApplyActiveMode changed, in call order,
  // as (bound?, key).
  std::vector<std::pair<bool, KeyCode>> Apply(uint16_t mode) {
    system.ClearCalls();
    registry->ApplyActiveMode(testing::kTestWindow, mode);
    std::vector<std::pair<bool, KeyCode>> changes;
    for (const HotKeyCall& call : system.Calls()) {
      if (call.kind == HotKeyCall::kBind) changes.push_back({true, call.key});
      if (call.kind == HotKeyCall::kUnbind) changes.push_back({false, KeyOfAtom(call.id)});
    }
    return changes;
  }
  KeyCode KeyOfAtom(int atom) {
    for (const auto& [key, entry] : table.Snapshot()) {
      if (entry.keyAtom == atom) return key;
    }
    return 0;
  }
  static constexpr KeyCode kA = MakeKeyCode(0x41, 2);
  static constexpr KeyCode kB = MakeKeyCode(0x42, 2);
  static constexpr KeyCode kC = MakeKeyCode(0x43, 2);
};

TEST_F(ModeFilterTest, ModeNoneDisablesEveryKeyInBackwardRegistryOrder) {
  Register("A", 0x42, 2, "");
  Register("A", 0x41, 2, "");
  Register("A", 0x43, 2, "");
  testing::RecordingDebugLog log;
  EXPECT_EQ(Apply(kModeNone), (decltype(Apply(0)){{false, kC}, {false, kA}, {false, kB}}));
  EXPECT_EQ(log.lines, std::vector<std::string>{"EnabledVirtualKeys = 0, DisabledVirtualKeys = 3"});
}

TEST_F(ModeFilterTest, AKeyIsLiveWhenAnyOfItsEntriesWantsTheMode) {
  Register("A", 0x41, 2, "", kModeSlideDesign);
  Register("B", 0x41, 2, "", kModeSlideShow);
  Register("A", 0x42, 2, "", kModeSlideShow);
  Apply(kModeNone);
  EXPECT_TRUE(system.BoundKeys().empty());

  EXPECT_EQ(Apply(kModeSlideDesign), (decltype(Apply(0)){{true, kA}}));
  EXPECT_EQ(Apply(kModeSlideShow), (decltype(Apply(0)){{true, kB}}));
  EXPECT_EQ(system.BoundKeys(), (std::vector<KeyCode>{kA, kB}));
}

TEST_F(ModeFilterTest, EnabledKeysAreBoundBeforeDisabledOnesAreReleased) {
  Register("A", 0x41, 2, "", kModeSlideDesign);
  Register("A", 0x42, 2, "", kModeSlideShow);
  Register("A", 0x43, 2, "", kModeSlideDesign);
  Apply(kModeSlideShow);
  EXPECT_EQ(Apply(kModeSlideDesign), (decltype(Apply(0)){{true, kC}, {true, kA}, {false, kB}}));
}

TEST_F(ModeFilterTest, ModeZeroEntriesAndVirtualKeyZeroNeverMakeAKeyLive) {
  Register("A", 0x41, 2, "", 0);
  Register("A", 0x00, 2, "", kEveryMode);
  testing::RecordingDebugLog log;
  for (uint16_t mode : {kModeNone, kModeSlideDesign, kModeSlideShow}) Apply(mode);
  EXPECT_TRUE(system.BoundKeys() == std::vector<KeyCode>{MakeKeyCode(0, 2)});  // bound once, never touched
  EXPECT_EQ(log.lines.back(), "EnabledVirtualKeys = 0, DisabledVirtualKeys = 1");
}

TEST_F(ModeFilterTest, ASteadyModeMakesNoSystemCall) {
  Register("A", 0x41, 2, "", kModeSlideDesign);
  Register("A", 0x42, 2, "", kModeSlideShow);
  Apply(kModeSlideDesign);
  for (int tick = 0; tick < 5; ++tick) EXPECT_TRUE(Apply(kModeSlideDesign).empty());
}

TEST_F(ModeFilterTest, RegisterShortcutEntriesAreLiveInBothModes) {
  Register("A", 0x41, 2, "", kEveryMode);
  Apply(kModeNone);
  EXPECT_EQ(Apply(kModeSlideDesign), (decltype(Apply(0)){{true, kA}}));
  EXPECT_TRUE(Apply(kModeSlideShow).empty());
}

}  // namespace
}  // namespace loomkeys
