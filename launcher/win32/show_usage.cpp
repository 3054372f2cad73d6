#include <windows.h>

#include "win32/stubwright_actions.h"

namespace stubwright {

void ShowUsage() {
  MessageBoxA(nullptr, "Build Launcher:\r\n/b  <FileName>  <Verb>  <Command>  <Arguments to command>",
              "Stubwright - Options", MB_OK | MB_ICONINFORMATION);
}

}  // namespace stubwright
