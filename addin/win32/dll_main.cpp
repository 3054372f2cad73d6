// The entry point of Loomkeys.dll.
#include <windows.h>

#include "win32/library.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      loomkeys::InitializeLibrary(instance);
      // No notices of threads that start or end: the library keeps no
      // per-thread state.
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      loomkeys::FinalizeLibrary();
      break;
  }
  return TRUE;
}
