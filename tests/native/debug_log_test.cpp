#include "debuglog/debug_log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace loomkeys {
namespace {

struct FormatCase {
  const char* name;
  const char* format;
  std::initializer_list<int64_t> arguments;
  const char* expected;
};

const FormatCase kFormatCases[] = {
    {"decimal", "ActiveMode = %d", {1}, "ActiveMode = 1"},
    {"decimal zero", "ActiveMode = %d", {0}, "ActiveMode = 0"},
    {"negative decimal", "x = %d", {-42}, "x = -42"},
    {"two decimals in order", "EnabledVirtualKeys = %d, DisabledVirtualKeys = %d", {2, 3},
     "EnabledVirtualKeys = 2, DisabledVirtualKeys = 3"},
    {"hex is upper case and padded to eight digits", "HotKey = %.8x", {0x00410003}, "HotKey = 00410003"},
    {"hex of a small value", "%.8x", {0xAB}, "000000AB"},
    {"hex with the top bit set is not sign-extended", "%.8x", {0xFFFF0003u}, "FFFF0003"},
    {"hex of a negative 32-bit value shows its bits", "%.8x", {-1}, "FFFFFFFF"},
    {"hex and decimal mixed", "%.8x/%d", {0x7B, 123}, "0000007B/123"},
    {"format without directives is copied", "no directives here", {}, "no directives here"},
    {"surplus arguments are ignored", "only %d", {1, 2}, "only 1"},
    {"directives beyond the arguments stay as written", "%d and %d and %.8x", {5}, "5 and %d and %.8x"},
    {"other percent sequences are copied", "100% %x %.4x %", {7}, "100% %x %.4x %"},
    {"empty format", "", {1}, ""},
};

TEST(DebugLogText, FillsDirectivesFromTheArgumentsInOrder) {
  for (const FormatCase& c : kFormatCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatDebugText(c.format, c.arguments), c.expected);
  }
}

class RecordingSink : public DebugLogSink {
 public:
  void WriteLine(std::string_view text) noexcept override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

// The sink is process-wide: every test leaves the log off again.
class DebugLogSinkTest : public testing::Test {
 protected:
  void TearDown() override { SetDebugLogSink(nullptr); }
  RecordingSink sink;
};

TEST_F(DebugLogSinkTest, InstalledSinkGetsEachLineAsFormattedText) {
  SetDebugLogSink(&sink);
  DebugLog("ActiveMode = %d", {2});
  DebugLog("HotKey = %.8x", {0x00410003});
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"ActiveMode = 2", "HotKey = 00410003"}));
}

TEST_F(DebugLogSinkTest, NoLineReachesASinkOnceTheLogIsTurnedOff) {
  SetDebugLogSink(&sink);
  DebugLog("before");
  SetDebugLogSink(nullptr);
  DebugLog("after");
  EXPECT_EQ(sink.lines, std::vector<std::string>{"before"});
}

}  // namespace
}  // namespace loomkeys
