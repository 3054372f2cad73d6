#pragma once
// The real Loomkeys.dll for the Windows test programs: loaded from the test
// program's own folder the way an add-in loads it, with its exports looked up
// by their plain names once per load into one table of typed pointers.
//
//   const auto& dll = loomkeys_dll::Load();  // LoadLibrary and the whole table
//   dll.RegisterShortcut2("Ns", 'K', MOD_CONTROL, 1, Callback, "", &id);
//   loomkeys_dll::Exports().DestroyUIData(tree);  // e.g. in a callback
//   FreeLibrary(dll.module);
//
// A library that cannot be loaded, or that lacks an export, ends the program
// with exit code 2 and says which. A program calls only the exports it needs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "loomkeys.h"

// Every export of Loomkeys.dll, as in its .def file.
#define LOOMKEYS_DLL_EXPORTS(X)  \
  X(RegisterShortcut)            \
  X(RegisterShortcut2)           \
  X(UnregisterShortcut)          \
  X(GetShortcutInfoByShortcutId) \
  X(GetShortcutInfoByContext)    \
  X(GetShortcutCount)            \
  X(GetShortcutDataSize)         \
  X(GetShortcutData)             \
  X(GetNamespaceDataSize)        \
  X(GetNamespaceDataSize2)       \
  X(GetNamespaceData)            \
  X(GetNamespaceData2)           \
  X(LoadNamespace)               \
  X(LoadNamespace2)              \
  X(UnloadNamespace)             \
  X(NamespaceRename)             \
  X(CreateUIData)                \
  X(AddCommand)                  \
  X(AddCommand2)                 \
  X(GetCommand)                  \
  X(GetCommand2)                 \
  X(DestroyUIData)               \
  X(RegisterUIProvider)          \
  X(InitializeKeyloomAddin)      \
  X(UnregisterUIProvider)        \
  X(ShowAboutBox)                \
  X(ShowCustomizeShortcutsUI)

namespace loomkeys_dll {

// One load of the library: its module and a pointer to each export, typed
// by the public header's declaration.
struct Library {
  HMODULE module = nullptr;
#define LOOMKEYS_DLL_POINTER(name) decltype(&::name) name = nullptr;
  LOOMKEYS_DLL_EXPORTS(LOOMKEYS_DLL_POINTER)
#undef LOOMKEYS_DLL_POINTER
};

// The table of the latest load, shared by the program's callbacks and threads.
inline Library& Latest() {
  static Library latest;
  return latest;
}

inline const Library& Exports() { return Latest(); }

// Fills the table from a module the program has loaded itself.
inline const Library& Bind(HMODULE module) {
  Library& loaded = Latest();
  loaded = Library{};
  loaded.module = module;
  bool complete = true;
  auto find = [&](auto& pointer, const char* name) {
    pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
        reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!pointer) {
      std::printf("Loomkeys.dll does not export %s\n", name);
      complete = false;
    }
  };
#define LOOMKEYS_DLL_FIND(name) find(loaded.name, #name);
  LOOMKEYS_DLL_EXPORTS(LOOMKEYS_DLL_FIND)
#undef LOOMKEYS_DLL_FIND
  if (!complete) {
    std::fflush(stdout);
    std::exit(2);
  }
  return loaded;
}

inline const Library& Load() {
  HMODULE module = LoadLibraryW(L"Loomkeys.dll");
  if (!module) {
    std::printf("cannot load Loomkeys.dll (error %lu)\n", GetLastError());
    std::fflush(stdout);
    std::exit(2);
  }
  return Bind(module);
}

}  // namespace loomkeys_dll
