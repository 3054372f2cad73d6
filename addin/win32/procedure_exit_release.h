#pragma once
// The hidden window's procedure as Windows calls it, and the release of a
// key press's module reference on the procedure's way out.
//
// A key press holds a reference on the library's module while it calls
// clients (module_hold.h). It cannot drop it with FreeLibrary from the
// library's code: were the reference the last, FreeLibrary would unload the
// module and return into code that is gone. Instead the press hands the
// reference over here, and the procedure's entry, once the procedure has
// returned and its frame is gone, ends with a jump to FreeLibrary: FreeLibrary
// then returns straight to the procedure's caller in the system, and nothing
// of the module is left on the stack to return into. No thread is started for
// it, and a FreeLibrary of the host right after the press unloads the library
// at once.
#include <windows.h>

extern "C" LRESULT CALLBACK LoomkeysHotKeyWindowEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace loomkeys {

// Has LoomkeysHotKeyWindowEntry drop `module`'s reference once the running
// procedure has returned. Only for the window's thread, inside the procedure.
void ReleaseOnProcedureExit(HMODULE module) noexcept;

}  // namespace loomkeys
