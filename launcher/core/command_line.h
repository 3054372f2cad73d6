#pragma once
// Splits the program's command line into parameters: runs of characters 0x01
// to 0x20 separate them; a double quote opens a stretch, ended by the next
// double quote, whose characters (spaces too) belong to the parameter. The
// quotes themselves are dropped and there is no escape character, so an empty
// pair "" is an empty parameter. This is deliberately not the C runtime's
// rule: backslashes are ordinary characters here.
#include <string_view>

#include "core/argument_list.h"

namespace stubwright {

// Every parameter in order; parameter 0 is whatever names the program.
ArgumentList SplitCommandLine(std::string_view commandLine);

}  // namespace stubwright
