#pragma once
// Switches the debug log on for one test and records its lines.
#include <string>
#include <vector>

#include "debuglog/debug_log.h"

namespace loomkeys::testing {

class RecordingDebugLog : public DebugLogSink {
 public:
  RecordingDebugLog() { SetDebugLogSink(this); }
  ~RecordingDebugLog() override { SetDebugLogSink(nullptr); }
  void WriteLine(std::string_view text) noexcept override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

}  // namespace loomkeys::testing
