#pragma once
// Counts the allocations of the whole program. The matching source file
// replaces the global operator new and delete; it is compiled into the test
// and benchmark programs that need the counts, and into nothing else.
#include <cstdint>

namespace loomkeys::testing {

struct AllocationCount {
  uint64_t allocations = 0;
  uint64_t bytes = 0;
};

// What operator new has handed out to the calling thread since it started.
AllocationCount AllocationsSoFar() noexcept;

}  // namespace loomkeys::testing
