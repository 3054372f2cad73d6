#pragma once
// The demonstration's transcript on stdout: lines from the user-interface
// thread (callbacks, add-in actions) and from the tour's thread, each whole.
#include <string>

namespace transcript {

// Prints one line and flushes it, so that the transcript is complete even
// if the program is stopped.
void Line(const std::wstring& text);

}  // namespace transcript
