/* What the guards share: the fault record of the thread, the filter's
   decision and what is put right after the unwind. */
#include <malloc.h>

#include "win32/seh_guard_scope.h"

struct CaughtFault {
  unsigned long code;
  void* address;
  enum LoomkeysFaultAction action;
  void* touched; /* the data address of an access fault, when the system gives one */
};

static __thread struct CaughtFault caught;

void LoomkeysPrepareFault(void) { caught.action = kLoomkeysPassOn; }

LONG LoomkeysFilterFault(enum LoomkeysGuardKind guard, EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  const enum LoomkeysFaultAction action = LoomkeysFaultActionFor(guard, record->ExceptionCode);
  if (action == kLoomkeysPassOn) return EXCEPTION_CONTINUE_SEARCH;
  caught.code = record->ExceptionCode;
  caught.address = record->ExceptionAddress;
  caught.action = action;
  caught.touched = record->NumberParameters >= 2 ? (void*)record->ExceptionInformation[1] : NULL;
  return EXCEPTION_EXECUTE_HANDLER;
}

/* The first touch of a PAGE_GUARD page removes the attribute; whoever set it
   (a thread's stack, another runtime) still counts on it. */
static void GuardAgain(void* touched) {
  MEMORY_BASIC_INFORMATION page;
  DWORD old = 0;
  if (!touched || !VirtualQuery(touched, &page, sizeof page) || page.State != MEM_COMMIT) return;
  VirtualProtect(touched, 1, page.Protect | PAGE_GUARD, &old);
}

void LoomkeysFinishFault(struct StructuredFault* fault) {
  if (caught.action == kLoomkeysCatchGuardPage) GuardAgain(caught.touched);
  /* An overflow used up the stack's guard page; without a new one the next
     overflow on this thread ends the process unreported. Where no guard page
     fits any more, the overflow is not the library's to report. */
  if (caught.action == kLoomkeysCatchStackOverflow && !_resetstkoflw()) RaiseFailFastException(NULL, NULL, 0);
  if (fault) {
    fault->code = caught.code;
    fault->address = caught.address;
  }
}
