// The export that opens the Customize Shortcuts dialog.
#include "common/exception_text.h"
#include "customize/customize_session.h"
#include "loomkeys.h"
#include "win32/automation_macro_runner.h"
#include "win32/customize_dialog.h"
#include "win32/export_guard.h"
#include "win32/module_hold.h"
#include "win32/procedure_exit_release.h"

namespace {

// PowerPoint's window in front owns the dialog, so that it takes no input
// while the dialog is open. Only a window of this thread may: disabling
// another thread's window from here would attach the two threads' input
// queues, and a busy thread would then stall this one. Otherwise nobody does.
HWND OwnerWindow() {
  HWND front = GetAncestor(GetForegroundWindow(), GA_ROOT);
  return front && GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId() ? front : nullptr;
}

}  // namespace

extern "C" void LOOMKEYS_CALL LoomkeysShowCustomizeShortcutsUI(struct tagVARIANT* lpApplication) {
  loomkeys::GuardedExport<int>(0, [lpApplication](loomkeys::Library& library) {
    // Suspending and resuming the hot keys only works on the window's thread.
    if (GetCurrentThreadId() != library.WindowThreadId()) return 0;
    // One hold for the whole run: provider events, the dialog and the boxes
    // may unload the library, and the run goes on after them.
    const loomkeys::ModuleHold hold;
    try {
      loomkeys::AutomationMacroRunner macros(lpApplication);
      const std::unique_ptr<loomkeys::CustomizeDialog> dialog = loomkeys::MakeCustomizeDialog(OwnerWindow());
      library.Customize().ShowCustomizeShortcutsUI(macros, *dialog);
    } catch (const std::exception&) {
      loomkeys::MessageBoxErrorBoxes().ShowError(u"Exception", loomkeys::CurrentExceptionText());
    }
    return 0;
  });
}

// The run's hold may hold the library's last reference when it ends.
LOOMKEYS_RELEASING_ENTRY(ShowCustomizeShortcutsUI, LoomkeysShowCustomizeShortcutsUI);
