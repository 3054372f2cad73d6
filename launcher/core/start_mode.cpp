#include "core/start_mode.h"

namespace stubwright {
namespace {

// Parameter 0 plus the switch, the file name, the verb and the command.
constexpr size_t kBuildParameterCount = 5;

char LowerAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsBuildSwitch(std::string_view parameter) {
  return parameter.size() == 2 && parameter[0] == '/' && LowerAsciiLetter(parameter[1]) == 'b';
}

StartMode ChooseStartMode(std::optional<uint64_t> ownFileSize, uint64_t stubSize, const ArgumentList& parameters) {
  if (ownFileSize && *ownFileSize > stubSize) return StartMode::kLaunch;
  if (parameters.size() < kBuildParameterCount || !IsBuildSwitch(parameters[1])) return StartMode::kUsage;
  return StartMode::kBuild;
}

}  // namespace stubwright
