#include "win32/procedure_exit_release.h"

#include "win32/hotkey_window.h"

#if !defined(__x86_64__)
#error "the window procedure's entry below is x86-64 code"
#endif

extern "C" {

// The reference to drop once the procedure has returned; used by the
// window's thread only.
HMODULE loomkeysModuleToRelease = nullptr;

LRESULT CALLBACK LoomkeysRunHotKeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return loomkeys::HotKeyWindow::WindowProc(window, message, wParam, lParam);
}
}

// x86-64: 40 bytes of stack keep the call aligned and give the callee its 32
// bytes of spill space. The release path takes the frame down again and
// jumps, so that FreeLibrary's return value is the procedure's result (a
// key press's result is not used). The unwind directives describe the frame
// to the system's exception dispatch.
asm(R"(
  .text
  .globl LoomkeysHotKeyWindowEntry
  .def LoomkeysHotKeyWindowEntry; .scl 2; .type 32; .endef
  .seh_proc LoomkeysHotKeyWindowEntry
LoomkeysHotKeyWindowEntry:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  call LoomkeysRunHotKeyWindowProc
  movq loomkeysModuleToRelease(%rip), %rcx
  testq %rcx, %rcx
  jnz 1f
  addq $40, %rsp
  ret
1:
  movq $0, loomkeysModuleToRelease(%rip)
  addq $40, %rsp
  jmp *__imp_FreeLibrary(%rip)
  .seh_endproc
)");

namespace loomkeys {

void ReleaseOnProcedureExit(HMODULE module) noexcept { loomkeysModuleToRelease = module; }

}  // namespace loomkeys
