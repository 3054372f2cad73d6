#pragma once
// How the library shows an error that it cannot return to a caller: a
// message box with no owner window, the error's message as its text, the
// error icon, and a caption that names the place ("Exception", ...).
#include <windows.h>

#include "win32/seh_guard.h"

namespace loomkeys {

// Only inside a catch block: shows the message of the exception being handled.
void ShowCaughtErrorBox(const wchar_t* caption) noexcept;
// A structured exception that a guard caught, such as an access violation.
void ShowFaultBox(const wchar_t* caption, const StructuredFault& fault) noexcept;

}  // namespace loomkeys
