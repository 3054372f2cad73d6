#pragma once
// The three things one run of the stub can do.
#include <string>

#include "core/argument_list.h"
#include "core/payload.h"

namespace stubwright {

// Copies the own file to fileName, replacing any file of that name, and
// appends the payload at StubSize(). Shows nothing.
void BuildLauncher(const std::string& ownPath, const std::string& fileName, const Payload& payload);

// Reads the payload from the own file and starts its command through the
// shell with the stored arguments and then ownArguments. Does not wait.
void LaunchPayload(const std::string& ownPath, const ArgumentList& ownArguments);

// The box that tells how to build a launcher.
void ShowUsage();

}  // namespace stubwright
