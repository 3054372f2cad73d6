#pragma once
// The hidden window's procedure as Windows calls it: an entry written at
// start-up into a page of its own, outside the library's module, so that a
// key press takes its module reference from there. The loader call may wait
// while another thread's FreeLibrary holds the loader's lock and unloads the
// library; the press then finds the module gone and returns without
// touching it. Otherwise the press runs holding that reference (the library
// cannot go under it), and the page drops it with a call of its own once the
// press has returned: when it is the last, the library is unloaded then and
// FreeLibrary returns into the page, which outlives the module. Every other
// message goes on to the in-module procedure at once.
#include <windows.h>

namespace loomkeys {

// Writes the page; nullptr when the process allows no code to be written
// (then the caller installs the in-module entry). One page per load, never
// freed: a thread may still be inside it after the library is gone.
WNDPROC WritePressEntryPage() noexcept;

}  // namespace loomkeys
