#pragma once
// The Windows side of the debug log: the per-user switch in the registry and
// the log file on the desktop. OpenDebugLog runs before the library's
// start-up and CloseDebugLog after its shut-down, so the log covers both.
#include <string>

namespace loomkeys {

// Reads the value "Debug" under HKCU\Software\Tarnwell\Keyloom for PowerPoint
// once; when it is a non-zero REG_DWORD, opens "Keyloom for PowerPoint.txt"
// on the desktop for appending and turns DebugLog on. Any failure leaves the
// log off for this load, silently.
void OpenDebugLog() noexcept;

// Turns DebugLog off, writes out the buffered lines and closes the file. At
// process exit (processExit) it only writes them out: the file and the
// memory go with the process.
void CloseDebugLog(bool processExit) noexcept;

// The file-system path of a shell special folder (a CSIDL_ value); empty
// when the shell cannot give one.
std::wstring GetSpecialFolderPath(int csidl);

}  // namespace loomkeys
