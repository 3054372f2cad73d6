#pragma once
// Keeps Loomkeys.dll loaded while the library's thread runs client code
// (shortcut callbacks, provider events and macros) or a modal loop of the
// library (its dialogs, its error boxes). Such code may unload the library
// (a callback, a provider event, or the host's own code run by a dialog's
// message loop, that calls FreeLibrary), or another thread may unload it
// meanwhile; either would otherwise tear the library down and unmap its code
// under frames that are still running. With the reference held, that unload
// only drops the client's reference.
//
// Holds nest: the reference is taken when the outermost hold begins and, when
// it ends, handed over to the entry through which the call came into the
// library (procedure_exit_release.h: the hidden window's procedure, and the
// exports ShowAboutBox, ShowCustomizeShortcutsUI and DestroyUIData, the only
// ones that can end an outermost hold). The entry drops it once the call has
// returned and nothing of the library is left on the stack; when it was the
// last reference, the library is shut down there and then, on its own
// thread, and the call returns to its caller with the library gone. No
// thread is started for it and nothing waits. Holds only count on the
// library's thread; elsewhere they do nothing.
//
// A key press gets its reference before it enters the module: the hidden
// window's entry page (press_entry_page.h) takes it from outside the module,
// and the press runs in RunEntryHeldPress, so that the holds inside it
// take none of their own. The loader call may wait for the loader's lock,
// which a FreeLibrary on another thread holds while the shut-down runs;
// when that unloads the library, the page finds the module gone and returns
// without entering it. Where no page could be written, the press's own hold
// takes the reference inside the module as the first thing it does, before
// any lock of the library; an unload on another thread at that moment can
// then leave the press in a module that is gone. No lock of the library is
// held across a loader call.
#include <windows.h>

namespace loomkeys {

// The two halves of RunEntryHeldPress; CountEntryHold is true when the hold
// counts on this thread.
bool CountEntryHold() noexcept;
void UncountEntryHold() noexcept;

class ModuleHold {
 public:
  ModuleHold() noexcept;
  ~ModuleHold();
  ModuleHold(const ModuleHold&) = delete;
  ModuleHold& operator=(const ModuleHold&) = delete;
};

// Runs `press` as the outermost hold of a key press whose reference the
// hidden window's entry page took (press_entry_page.h): the holds inside it
// take none.
template <typename Press>
auto RunEntryHeldPress(Press press) {
  const bool counted = CountEntryHold();
  const auto result = press();
  if (counted) UncountEntryHold();
  return result;
}

// From start-up on, holds count on `thread`.
void BeginModuleHolds(DWORD thread);
// At shut-down: holds do nothing from now on, since a reference taken now
// would keep a module that is already being unloaded.
void EndModuleHolds();

}  // namespace loomkeys
