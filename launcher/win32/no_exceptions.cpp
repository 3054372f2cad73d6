// Stubwright is built without C++ exceptions. The standard library still
// reports a failed allocation or an impossible length by throwing, and those
// throw helpers would link in the whole exception and terminate machinery
// (about 200 KB). The stub defines them itself: such a failure ends the
// program quietly with exit code 0, as every other failure of the stub does.
#include <windows.h>

#include <cstddef>
#include <new>

namespace {

[[noreturn]] void QuietExit() { ExitProcess(0); }

void* Allocate(std::size_t size) {
  void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
  if (!block) QuietExit();
  return block;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace std {

void __throw_bad_alloc() { QuietExit(); }
void __throw_bad_array_new_length() { QuietExit(); }
void __throw_length_error(const char*) { QuietExit(); }
void __throw_logic_error(const char*) { QuietExit(); }
void __throw_out_of_range(const char*) { QuietExit(); }
void __throw_out_of_range_fmt(const char*, ...) { QuietExit(); }

}  // namespace std
