#pragma once
// The argument lists of the launcher stub: the arguments a builder stores and
// the arguments a launcher receives. All strings are bytes in the system's
// ANSI code page.
#include <string>
#include <vector>

namespace stubwright {

using ArgumentList = std::vector<std::string>;

}  // namespace stubwright
