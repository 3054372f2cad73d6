#pragma once
// Keeps Loomkeys.dll loaded while the library's thread runs client code
// (shortcut callbacks, provider events and macros) or a modal loop of the
// library (its dialogs, its error boxes). Such code may unload the library
// (a callback that calls FreeLibrary), or another thread may unload it
// meanwhile; either would otherwise tear the library down and unmap its code
// under frames that are still running. With the reference held, that unload
// only drops the client's reference.
//
// The library's code never drops the reference with a plain FreeLibrary:
// should it be the last, FreeLibrary would return into unmapped code. A key
// press's reference is dropped by the hidden window's procedure on its way
// out, with a jump to FreeLibrary once its own frame is gone
// (procedure_exit_release.h). Any other hold's reference is dropped by a
// short-lived thread, ending in FreeLibraryAndExitThread, which returns into
// nothing of the module either; the library's thread waits until that thread
// has ended, so that a FreeLibrary of the host right after the hold unloads
// the library at once, as it would without the hold. When the reference was
// the last, the shut-down runs on that thread; its first step
// (HotKeyWindow::DetachProcedure) waits for the window procedure to return,
// so the library's thread stops waiting as soon as the shut-down has begun
// and leaves the library's code. No wait is without a bound.
//
// What is left: the last FreeLibrary on another thread, done at the moment
// the library's thread enters a key press, can find the press taking its
// reference in the loader; the shut-down then waits out its bound, and the
// press returns into a module that is gone. The library's own releases never
// meet a press that way: a press's release runs on the library's thread, and
// the library's thread waits for the others.
//
// Holds nest: the reference is taken once and released when the outermost
// hold ends. They only count on the library's thread; elsewhere they do
// nothing. Client code runs under the hold of a key press
// (Library::HandlePress) or of a Customize run (ShowCustomizeShortcutsUI);
// every modal loop of the library (its dialogs, its error boxes) takes one
// too, since presses run inside it. A key press's hold is deferred: most
// presses call nobody (a key typed again for another window, a key without
// callbacks), so its reference is taken only when the guard is about to call
// a client (TakeDeferredHold), and a press that calls nobody costs nothing.
// A key press's hold is made only inside the hidden window's procedure.
#include <windows.h>

namespace loomkeys {

class ModuleHold {
 public:
  // kForKeyPress: taken right before client code runs and dropped on the
  // window procedure's way out.
  enum class Taken { kAtOnce, kForKeyPress };
  explicit ModuleHold(Taken taken = Taken::kAtOnce) noexcept;
  ~ModuleHold();
  ModuleHold(const ModuleHold&) = delete;
  ModuleHold& operator=(const ModuleHold&) = delete;

 private:
  const Taken taken_;
};

// Takes the reference for the holds in force, should a deferred one have
// left it untaken; called right before client code runs.
void TakeDeferredHold() noexcept;

// From start-up on, holds count on `thread`.
void BeginModuleHolds(DWORD thread);
// At shut-down: holds do nothing from now on, since a reference taken now
// would keep a module that is already being unloaded.
void EndModuleHolds();

}  // namespace loomkeys
