#pragma once
/* Which Windows exception codes the library's two structured-exception guards
   catch, and what each must put right once the stack has been unwound to it.
   Plain C, so that the guards' filter (seh_guard.c) asks it, and free of
   <windows.h>, so that the native tests hold every code against it. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum LoomkeysGuardKind {
  /* Around copies from and to a client's memory: only the faults of a
     pointer that cannot be used are the client's. */
  kLoomkeysCopyGuard,
  /* Around client code (callbacks, provider events, macros, the AddRef of
     the Application object that VariantCopyInd calls). */
  kLoomkeysClientCodeGuard,
};

enum LoomkeysFaultAction {
  kLoomkeysPassOn,             /* not caught: handlers further out, or the system, see it */
  kLoomkeysCatch,              /* caught and reported */
  kLoomkeysCatchGuardPage,     /* caught; the page whose guard the touch removed is guarded again */
  kLoomkeysCatchStackOverflow, /* caught; the stack's guard page is armed again before it is reported */
};

enum LoomkeysFaultAction LoomkeysFaultActionFor(enum LoomkeysGuardKind guard, uint32_t code);

#ifdef __cplusplus
}
#endif
