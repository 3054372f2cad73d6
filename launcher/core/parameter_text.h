#pragma once
// The parameter text a launcher hands to the shell: its stored arguments,
// then its own, each after the quote rule and followed by one space, with
// the whole text trimmed of characters 0x00 to 0x20 at both ends.
#include <string>
#include <string_view>

#include "core/argument_list.h"

namespace stubwright {

// The command-line split drops double quotes, so an argument that must reach
// the command quoted is given in single quotes: a leading single quote turns
// into a double quote, and so does the last character, whatever it is.
std::string ApplyQuoteRule(std::string_view argument);

// An empty result means "no parameters" (the shell call then gets none).
std::string BuildParameterText(const ArgumentList& storedArguments, const ArgumentList& ownArguments);

}  // namespace stubwright
