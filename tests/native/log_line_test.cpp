#include "debuglog/log_line.h"

#include <gtest/gtest.h>

namespace loomkeys {
namespace {

struct StampCase {
  LogTime time;
  const char* expected;
};

TEST(LogTimeStamp, IsZeroPaddedLocalDateAndTimeOnTheTwentyFourHourClock) {
  const StampCase cases[] = {
      {{2024, 3, 7, 9, 5, 4, 7}, "2024-03-07 09:05:04.007"},
      {{2024, 12, 31, 23, 59, 59, 999}, "2024-12-31 23:59:59.999"},
      {{2025, 1, 1, 0, 0, 0, 0}, "2025-01-01 00:00:00.000"},       // midnight
      {{2025, 6, 15, 12, 0, 0, 0}, "2025-06-15 12:00:00.000"},     // noon stays 12
      {{2025, 6, 15, 13, 30, 10, 50}, "2025-06-15 13:30:10.050"},  // afternoon is not 01
      {{999, 10, 10, 10, 10, 10, 100}, "0999-10-10 10:10:10.100"},
  };
  for (const StampCase& c : cases) {
    EXPECT_EQ(FormatTimeStamp(c.time), c.expected);
  }
}

TEST(LogTimeStamp, KeepsItsTwentyThreeCharactersEvenForOverwideFields) {
  const LogTime overwide{30827, 99, 99, 99, 99, 99, 9999};
  const std::string stamp = FormatTimeStamp(overwide);
  EXPECT_EQ(stamp.size(), kTimeStampLength);
  EXPECT_EQ(stamp, "0827-99-99 99:99:99.999");
}

TEST(LogLine, IsStampBlankTextAndCarriageReturnLineFeed) {
  const LogTime time{2024, 3, 7, 9, 5, 4, 7};
  EXPECT_EQ(FormatLogLine(time, "HotKey = 00410003"), "2024-03-07 09:05:04.007 HotKey = 00410003\r\n");
  EXPECT_EQ(FormatLogLine(time, ""), "2024-03-07 09:05:04.007 \r\n");
}

}  // namespace
}  // namespace loomkeys
