#include "debuglog/debug_log.h"

#include <atomic>
#include <cstdio>

namespace loomkeys {
namespace {

std::atomic<DebugLogSink*> currentSink{nullptr};

}  // namespace

void SetDebugLogSink(DebugLogSink* sink) noexcept { currentSink = sink; }

std::string FormatDebugText(std::string_view format, std::initializer_list<int64_t> arguments) {
  std::string text;
  auto next = arguments.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    const std::string_view rest = format.substr(i);
    const bool decimal = rest.substr(0, 2) == "%d";
    const bool hex = rest.substr(0, 4) == "%.8x";
    if ((decimal || hex) && next != arguments.end()) {
      char digits[32];
      if (decimal) std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(*next));
      else
        std::snprintf(digits, sizeof digits, "%.8llX", static_cast<unsigned long long>(static_cast<uint32_t>(*next)));
      text += digits;
      ++next;
      i += decimal ? 1 : 3;
      continue;
    }
    text += format[i];
  }
  return text;
}

void DebugLog(std::string_view format, std::initializer_list<int64_t> arguments) noexcept {
  DebugLogSink* sink = currentSink;
  if (!sink) return;
  try {
    sink->WriteLine(FormatDebugText(format, arguments));
  } catch (...) {
    // A line that cannot be built is dropped, like a failed write.
  }
}

}  // namespace loomkeys
