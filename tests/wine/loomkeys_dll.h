#pragma once
// Loads the real Loomkeys.dll, from the test program's own folder, the way an
// add-in does, and looks its exports up by their plain names.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "loomkeys.h"

namespace loomkeys_dll {

inline HMODULE Load() {
  HMODULE module = LoadLibraryW(L"Loomkeys.dll");
  if (!module) {
    std::printf("cannot load Loomkeys.dll (error %lu)\n", GetLastError());
    std::exit(2);
  }
  return module;
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
  auto address = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (!address) {
    std::printf("Loomkeys.dll does not export %s\n", name);
    std::exit(2);
  }
  return address;
}

}  // namespace loomkeys_dll

// LOOMKEYS_EXPORT(module, RegisterShortcut2) gives a typed pointer to that export.
#define LOOMKEYS_EXPORT(module, name) ::loomkeys_dll::Export<decltype(&::name)>(module, #name)
