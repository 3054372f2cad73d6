#include "core/command_line.h"

namespace stubwright {
namespace {

bool IsSeparator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 0x01 && code <= 0x20;
}

}  // namespace

ArgumentList SplitCommandLine(std::string_view commandLine) {
  ArgumentList parameters;
  size_t i = 0;
  const size_t end = commandLine.size();
  for (;;) {
    while (i < end && IsSeparator(commandLine[i])) ++i;
    if (i == end) break;
    std::string parameter;
    while (i < end && !IsSeparator(commandLine[i])) {
      if (commandLine[i] == '"') {
        const size_t close = commandLine.find('"', i + 1);
        const size_t stop = close == std::string_view::npos ? end : close;
        parameter.append(commandLine.substr(i + 1, stop - i - 1));
        i = stop == end ? end : stop + 1;
      } else {
        parameter += commandLine[i++];
      }
    }
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

}  // namespace stubwright
