#include "debuglog/debug_log.h"

#include <gtest/gtest.h>

#include "fake_os/recording_debug_log.h"

namespace loomkeys {
namespace {

TEST(DebugLogText, FillsDecimalAndUpperCaseHexDirectivesInOrder) {
  EXPECT_EQ(FormatDebugText("ActiveMode = %d", {1}), "ActiveMode = 1");
  EXPECT_EQ(FormatDebugText("HotKey = %.8x", {0x00410003}), "HotKey = 00410003");
  EXPECT_EQ(FormatDebugText("HotKey = %.8x", {0xABCDEF12}), "HotKey = ABCDEF12");
  EXPECT_EQ(FormatDebugText("EnabledVirtualKeys = %d, DisabledVirtualKeys = %d", {0, 3}),
            "EnabledVirtualKeys = 0, DisabledVirtualKeys = 3");
  EXPECT_EQ(FormatDebugText("%d", {-5}), "-5");
  EXPECT_EQ(FormatDebugText("no directive", {}), "no directive");
  EXPECT_EQ(FormatDebugText("%d and %d", {4}), "4 and %d");
}

TEST(DebugLog, WritesNothingWhileOffAndEachLineWhileOn) {
  DebugLog("ActiveMode = %d", {1});  // no sink: nothing to observe, nothing may crash
  testing::RecordingDebugLog log;
  DebugLog("ActiveMode = %d", {2});
  EXPECT_EQ(log.lines, std::vector<std::string>{"ActiveMode = 2"});
}

}  // namespace
}  // namespace loomkeys
