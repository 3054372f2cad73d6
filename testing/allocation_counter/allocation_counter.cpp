#include "allocation_counter/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

// Per thread: what a test or benchmark measures is its own thread's work,
// and counting costs no more than an increment.
thread_local uint64_t allocations = 0;
thread_local uint64_t bytes = 0;

void* Allocate(std::size_t size) {
  ++allocations;
  bytes += size;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}

}  // namespace

namespace loomkeys::testing {

AllocationCount AllocationsSoFar() noexcept { return {allocations, bytes}; }

}  // namespace loomkeys::testing

// The standard library's nothrow forms call these, so they are counted too.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
