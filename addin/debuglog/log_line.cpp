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
  // "yyyy-mm-dd hh:nn:ss.zzz": each field with its width and the character before it.
  const struct {
    char before;
    unsigned value;
    int width;
  } fields[] = {{0, time.year, 4},     {'-', time.month, 2},  {'-', time.day, 2},        {' ', time.hour, 2},
                {':', time.minute, 2}, {':', time.second, 2}, {'.', time.millisecond, 3}};
  std::string stamp;
  stamp.reserve(kTimeStampLength);
  for (const auto& field : fields) {
    if (field.before) stamp += field.before;
    AppendDigits(stamp, field.value, field.width);
  }
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
