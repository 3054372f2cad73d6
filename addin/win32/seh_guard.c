/* GCC has no __try/__except. On x86_64 MinGW-w64's __try1/__except1 emit an
   SEH scope for __C_specific_handler around the guarded call: the filter
   below accepts every exception, and the unwinder resumes at __except1.
   The labels it uses are fixed, so this file holds the only guarded scope. */
#include <windows.h>
#include <excpt.h>
#include <stdbool.h>

struct StructuredFault {
  unsigned long code;
  void* address;
};

static __thread struct StructuredFault lastFault;

LONG LoomkeysSehFilter(EXCEPTION_POINTERS* info, void* establisherFrame) {
  (void)establisherFrame;
  lastFault.code = info->ExceptionRecord->ExceptionCode;
  lastFault.address = info->ExceptionRecord->ExceptionAddress;
  return EXCEPTION_EXECUTE_HANDLER;
}

__attribute__((noinline)) bool LoomkeysRunGuarded(void (*body)(void*), void* context, struct StructuredFault* fault) {
  volatile bool finished = false;
  __try1(LoomkeysSehFilter)
  body(context);
  finished = true;
  __except1
  if (!finished && fault) *fault = lastFault;
  return finished;
}
