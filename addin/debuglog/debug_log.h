#pragma once
// The optional debug log: one time-stamped line per event. It is off unless
// the per-user switch turns it on at load; while it is off nothing here does
// any file work. The line's text is "%d" and "%.8x" (upper-case hex)
// directives filled from integer arguments.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace loomkeys {

// Where the log's lines go while the log is on: the desktop file on Windows,
// a recording sink in native tests.
class DebugLogSink {
 public:
  virtual ~DebugLogSink() = default;
  // Writes one line: the caller's text, without time stamp or line end.
  virtual void WriteLine(std::string_view text) noexcept = 0;
};

// Installs the sink that DebugLog writes to; null turns the log off.
void SetDebugLogSink(DebugLogSink* sink) noexcept;

// The text of a line: format with each directive replaced by the next argument.
std::string FormatDebugText(std::string_view format, std::initializer_list<int64_t> arguments);

// Writes one line to the log when it is on; never reports a failure.
void DebugLog(std::string_view format, std::initializer_list<int64_t> arguments = {}) noexcept;

}  // namespace loomkeys
