// The export that shows the About box.
#include "loomkeys.h"
#include "win32/about_box.h"

extern "C" void LOOMKEYS_CALL ShowAboutBox(void) { loomkeys::ShowAboutForm(nullptr); }
