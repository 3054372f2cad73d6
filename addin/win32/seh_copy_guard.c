/* Guards copies from and to client memory. */
#include "win32/seh_guard_scope.h"

LOOMKEYS_GUARDED_SCOPE(LoomkeysRunCopyGuarded, LoomkeysCopyGuardFilter, kLoomkeysCopyGuard)
