#include "win32/library_instance.h"

// The linker's symbol at the start of this module's image: its address is the
// module handle, whoever loaded the DLL and from wherever.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace loomkeys {

HINSTANCE LibraryInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace loomkeys
