#include "win32/procedure_exit_release.h"

#include <atomic>
#include <utility>

#include "win32/hotkey_window.h"

#if !defined(__x86_64__)
#error "the entries below are x86-64 code"
#endif

namespace {

// The reference to drop, and the thread that handed it over: only that
// thread's next entry drops it, whatever other threads call meanwhile.
HMODULE moduleToRelease = nullptr;
std::atomic<DWORD> releasingThread{0};

}  // namespace

extern "C" {

// Called by every entry on its way out: the reference that this thread
// handed over, if any.
HMODULE LoomkeysTakeModuleToRelease() noexcept {
  if (releasingThread != GetCurrentThreadId()) return nullptr;
  releasingThread = 0;
  return std::exchange(moduleToRelease, nullptr);
}

LRESULT CALLBACK LoomkeysRunHotKeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return loomkeys::HotKeyWindow::WindowProc(window, message, wParam, lParam);
}
}

LOOMKEYS_RELEASING_ENTRY(LoomkeysHotKeyWindowEntry, LoomkeysRunHotKeyWindowProc);

// x86-64, entered with the body's address in r10 and the arguments untouched:
// 40 bytes of stack keep the calls aligned, give the callees their 32 bytes
// of spill space and keep the body's result meanwhile. The release path takes
// the frame down again and jumps. The unwind directives describe the frame
// to the system's exception dispatch.
asm(R"(
  .text
  .globl LoomkeysReleasingEntry
  .def LoomkeysReleasingEntry; .scl 2; .type 32; .endef
  .seh_proc LoomkeysReleasingEntry
LoomkeysReleasingEntry:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  call *%r10
  movq %rax, 32(%rsp)
  call LoomkeysTakeModuleToRelease
  testq %rax, %rax
  jnz 1f
  movq 32(%rsp), %rax
  addq $40, %rsp
  ret
1:
  movq %rax, %rcx
  addq $40, %rsp
  jmp *__imp_FreeLibrary(%rip)
  .seh_endproc
)");

namespace loomkeys {

void ReleaseOnEntryExit(HMODULE module) noexcept {
  moduleToRelease = module;
  releasingThread = GetCurrentThreadId();
}

}  // namespace loomkeys
