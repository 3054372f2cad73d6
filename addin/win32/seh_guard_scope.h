/* The pieces of the library's structured-exception guards, in C: GCC has no
   __try/__except. On x86_64 MinGW-w64's __try1/__except1 emit an SEH scope
   for __C_specific_handler around the guarded call; its filter decides, and
   when it accepts, the unwinder resumes at __except1. The scope's labels are
   fixed, so a file holds one scope: each guard is a file that expands
   LOOMKEYS_GUARDED_SCOPE once. */
#pragma once
#include <windows.h>
#include <excpt.h>
#include <stdbool.h>

#include "common/structured_fault_policy.h"

struct StructuredFault {
  unsigned long code;
  void* address;
};

/* Called on entry, on a healthy stack: the thread's fault record is
   allocated here rather than in a filter that may run on an overflowed one. */
void LoomkeysPrepareFault(void);
/* The filter: records a fault that `guard` catches and accepts it. */
LONG LoomkeysFilterFault(enum LoomkeysGuardKind guard, EXCEPTION_POINTERS* info);
/* After the unwind: puts right what the fault undid, then reports it. */
void LoomkeysFinishFault(struct StructuredFault* fault);

#define LOOMKEYS_GUARDED_SCOPE(run, filter, guard)                                                        \
  LONG filter(EXCEPTION_POINTERS* info, void* establisherFrame) {                                         \
    (void)establisherFrame;                                                                               \
    return LoomkeysFilterFault(guard, info);                                                              \
  }                                                                                                       \
  __attribute__((noinline)) bool run(void (*body)(void*), void* context, struct StructuredFault* fault) { \
    volatile bool finished = false;                                                                       \
    LoomkeysPrepareFault();                                                                               \
    __try1(filter)                                                                                        \
    body(context);                                                                                        \
    finished = true;                                                                                      \
    __except1                                                                                             \
    if (!finished) LoomkeysFinishFault(fault);                                                            \
    return finished;                                                                                      \
  }
