// The entry point of Loomkeys.dll.
#include <windows.h>

#include "win32/debug_log_file.h"
#include "win32/library.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      // The debug log is open during the whole start-up and shut-down.
      loomkeys::OpenDebugLog();
      loomkeys::InitializeLibrary(instance);
      // No notices of threads that start or end: the library keeps no
      // per-thread state.
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      // A non-null `reserved` means that the process is exiting.
      loomkeys::FinalizeLibrary(reserved != nullptr);
      loomkeys::CloseDebugLog(reserved != nullptr);
      break;
  }
  return TRUE;
}
