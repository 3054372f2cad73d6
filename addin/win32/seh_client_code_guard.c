/* Guards calls into client code. */
#include "win32/seh_guard_scope.h"

LOOMKEYS_GUARDED_SCOPE(LoomkeysRunClientCodeGuarded, LoomkeysClientCodeGuardFilter, kLoomkeysClientCodeGuard)
