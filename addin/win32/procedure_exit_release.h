#pragma once
// Entries into the library from outside it that drop the library's module
// reference on their way out: the hidden window's procedure, which the entry
// page (press_entry_page.h) jumps to for every message but a key press (and
// Windows calls directly where no page could be written), and the exports
// that run a modal loop or client code (module_hold.h). A key press comes in
// through the page, which holds and drops a reference of its own around it.
//
// While the library's thread runs client code or a modal loop, the library
// holds a reference on its own module. It cannot drop it with FreeLibrary
// from its own code: were the reference the last, FreeLibrary would unload
// the module and return into code that is gone. Instead the hold hands the
// reference over here, and the entry, once the function behind it has
// returned and its frame is gone, ends with a jump to FreeLibrary: FreeLibrary
// then returns straight to the entry's caller outside the library, and
// nothing of the module is left on the stack to return into. No thread is
// started for it, and a FreeLibrary of the host right after the call unloads
// the library at once.
#include <windows.h>

#include <type_traits>

// LOOMKEYS_RELEASING_ENTRY(name, body) defines the function `name` as an
// entry that calls `body`, an extern "C" function of the same type, with its
// own arguments, and returns body's result; when a reference was handed over
// meanwhile, it jumps to FreeLibrary with it instead, and the result is then
// FreeLibrary's. Only for functions of at most four arguments (x86-64 passes
// them in registers, which the entry leaves alone) whose result nobody needs
// when the reference goes: functions without a result, and the window
// procedure (a key press's result is not used).
#define LOOMKEYS_RELEASING_ENTRY(name, body)                                                         \
  static_assert(std::is_same_v<decltype(name), decltype(body)>, "the entry's body has its type");    \
  asm(".text\n.globl " #name "\n.def " #name "; .scl 2; .type 32; .endef\n" #name ":\n  leaq " #body \
      "(%rip), %r10\n  jmp LoomkeysReleasingEntry\n")

extern "C" LRESULT CALLBACK LoomkeysHotKeyWindowEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace loomkeys {

// Has the entry that the calling thread returns through next drop `module`'s
// reference once the function behind it has returned.
void ReleaseOnEntryExit(HMODULE module) noexcept;

}  // namespace loomkeys
