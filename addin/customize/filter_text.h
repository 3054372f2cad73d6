#pragma once
// How the Customize dialog's Find text is compared with command names.
#include <string>
#include <string_view>

namespace loomkeys {

// Removes every leading and trailing character whose code is 32 or below
// (spaces, tabs, line breaks and the other control characters).
std::u16string TrimFilterText(std::u16string_view text);

// Maps only the letters A to Z to a to z; every other character, accented
// capitals included, stays as it is.
std::u16string LowerAsciiLetters(std::u16string_view text);

// True when `lowerFilter` (already lower-cased as above) is empty or occurs
// in `name` lower-cased the same way.
bool NameMatchesFilter(std::u16string_view name, std::u16string_view lowerFilter);

}  // namespace loomkeys
