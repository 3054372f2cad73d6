#include "debuglog/log_line.h"

namespace loomkeys {
namespace {

// Appends exactly `width` decimal digits of value: zero-padded on the left,
// higher digits dropped.
void AppendDigits(std::string& out, unsigned value, int width) {
  const size_t end = out.size() + static_cast<size_t>(width);
  out.resize(end);
  for (size_t i = end; i-- > end - static_cast<size_t>(width);) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

}  // namespace

std::string FormatTimeStamp(const LogTime& time) {
  std::string stamp;
  stamp.reserve(kTimeStampLength);
  AppendDigits(stamp, time.year, 4);
  stamp += '-';
  AppendDigits(stamp, time.month, 2);
  stamp += '-';
  AppendDigits(stamp, time.day, 2);
  stamp += ' ';
  AppendDigits(stamp, time.hour, 2);
  stamp += ':';
  AppendDigits(stamp, time.minute, 2);
  stamp += ':';
  AppendDigits(stamp, time.second, 2);
  stamp += '.';
  AppendDigits(stamp, time.millisecond, 3);
  return stamp;
}

std::string FormatLogLine(const LogTime& time, std::string_view text) {
  std::string line = FormatTimeStamp(time);
  line += ' ';
  line += text;
  line += "\r\n";
  return line;
}

}  // namespace loomkeys
