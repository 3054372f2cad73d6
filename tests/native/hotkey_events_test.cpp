#include "events/hotkey_events.h"

#include <gtest/gtest.h>

#include "fake_os/fake_foreground_window.h"
#include "fake_os/recording_client_code.h"
#include "fake_os/recording_debug_log.h"
#include "registry_fixture.h"

namespace loomkeys {
namespace {

int presses = 0;
void LOOMKEYS_STDCALL CountPress(const char16_t*, uint16_t, uint16_t, const char16_t*, uint32_t) { ++presses; }

class HotKeyEventsTest : public testing::RegistryFixture {
 protected:
  void SetUp() override {
    presses = 0;
    Register("A", 0x41, 3, "", kModeSlideDesign, CountPress);
  }
  testing::FakeForegroundWindow foreground;
  testing::CatchingClientCodeGuard guard;
  testing::RecordingErrorBoxes boxes;
  HotKeyEvents events{*registry, testing::kTestWindow, foreground, guard, boxes};
  testing::RecordingDebugLog log;
};

TEST_F(HotKeyEventsTest, ATickLogsTheModeAndTheKeySetsAndAppliesThem) {
  foreground.Show(u"PPTFrameClass", u"Deck - PowerPoint", true);
  events.Tick();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"ActiveMode = 1", "EnabledVirtualKeys = 1, DisabledVirtualKeys = 0"}));
  EXPECT_EQ(system.BoundKeys(), std::vector<KeyCode>{MakeKeyCode(0x41, 3)});

  foreground.Show(u"Notepad", u"Untitled", false);
  events.Tick();
  EXPECT_EQ(log.lines[2], "ActiveMode = 0");
  EXPECT_TRUE(system.BoundKeys().empty());
}

struct PressCase {
  const char* what;
  bool windowInFront;
  const char16_t* className;
  bool ownProcess;
  std::vector<std::string> lines;
  int presses;
};

class HotKeyPressTest : public HotKeyEventsTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(HotKeyPressTest, APressIsDispatchedOnlyWhenPowerPointIsInFront) {
  const PressCase& c = GetParam();
  if (c.windowInFront) foreground.Show(c.className, u"", c.ownProcess);
  else foreground.ShowNothing();
  events.HandlePress(MakeKeyCode(0x41, 3));
  EXPECT_EQ(log.lines, c.lines) << c.what;
  EXPECT_EQ(presses, c.presses) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Foreground, HotKeyPressTest,
    ::testing::Values(
        PressCase{"own window", true, u"PPTFrameClass", true, {"HotKey = 00410003", "HotKey called = 00410003"}, 1},
        PressCase{"own dialog", true, u"#32770", true, {"HotKey = 00410003", "HotKey called = 00410003"}, 1},
        PressCase{"another program", true, u"Notepad", false, {"HotKey = 00410003"}, 0},
        PressCase{"multiple-window main window elsewhere",
                  true,
                  u"Multiple_PowerPoint_MainWin",
                  false,
                  {"HotKey = 00410003"},
                  1},
        PressCase{"no window in front", false, u"", false, {"HotKey = 00410003"}, 0}));

}  // namespace
}  // namespace loomkeys
