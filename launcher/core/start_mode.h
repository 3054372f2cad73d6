#pragma once
// What one run of the stub does, decided from its own file size and its
// command line.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/argument_list.h"

namespace stubwright {

enum class StartMode {
  kLaunch,  // a launcher: start the payload's command, whatever the parameters
  kBuild,   // the bare stub with "/b FileName Verb Command [Arguments]"
  kUsage,   // the bare stub with anything else
};

// The build switch compares equal to "/b" once A-Z are lower-cased; no other
// character changes, whatever the locale.
bool IsBuildSwitch(std::string_view parameter);

// ownFileSize is empty when the own file could not be opened or measured;
// the program then takes itself for the bare stub. A file larger than the
// bare stub carries a payload. parameters holds parameter 0 too.
StartMode ChooseStartMode(std::optional<uint64_t> ownFileSize, uint64_t stubSize, const ArgumentList& parameters);

}  // namespace stubwright
