#pragma once
// One line of the debug log file: "yyyy-mm-dd hh:nn:ss.zzz", one blank, the
// text, CR LF. The stamp is local time on the 24-hour clock, every field
// zero-padded, so it is always 23 characters and lines sort by time.
#include <cstdint>
#include <string>
#include <string_view>

namespace loomkeys {

// The fields of a local date and time, as the system clock hands them out.
struct LogTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t millisecond = 0;
};

inline constexpr size_t kTimeStampLength = 23;

// "yyyy-mm-dd hh:nn:ss.zzz". A field too wide for its place keeps only its
// low digits, so the stamp never changes length.
std::string FormatTimeStamp(const LogTime& time);

// The stamp, one blank, the text and CR LF, ready to be written to the file.
std::string FormatLogLine(const LogTime& time, std::string_view text);

}  // namespace loomkeys
