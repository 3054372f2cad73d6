// The export that shows the About box.
#include "loomkeys.h"
#include "win32/about_box.h"
#include "win32/procedure_exit_release.h"

extern "C" void LOOMKEYS_CALL LoomkeysShowAboutBox(void) { loomkeys::ShowAboutForm(nullptr); }

// The box's hold may hold the library's last reference when it closes.
LOOMKEYS_RELEASING_ENTRY(ShowAboutBox, LoomkeysShowAboutBox);
