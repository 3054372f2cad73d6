#include "debuglog/debug_log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

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

struct FormatCase {
  const char* name;
  const char* format;
  std::initializer_list<int64_t> arguments;
  const char* expected;
};

TEST(DebugLogText, HandlesEdgesOfDirectivesAndArguments) {
  const FormatCase cases[] = {
      {"hex of a small value is zero-padded", "%.8x", {0xAB}, "000000AB"},
      {"hex of a negative 32-bit value shows its bits", "%.8x", {-1}, "FFFFFFFF"},
      {"hex and decimal mixed", "%.8x/%d", {0x7B, 123}, "0000007B/123"},
      {"surplus arguments are ignored", "only %d", {1, 2}, "only 1"},
      {"every directive beyond the arguments stays as written", "%d and %d and %.8x", {5}, "5 and %d and %.8x"},
      {"other percent sequences are copied", "100% %x %.4x %", {7}, "100% %x %.4x %"},
      {"empty format", "", {1}, ""},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatDebugText(c.format, c.arguments), c.expected);
  }
}

TEST(DebugLog, NoLineReachesTheSinkOnceTheLogIsTurnedOff) {
  testing::RecordingDebugLog log;
  DebugLog("before");
  SetDebugLogSink(nullptr);
  DebugLog("after");
  EXPECT_EQ(log.lines, std::vector<std::string>{"before"});
}

}  // namespace
}  // namespace loomkeys
