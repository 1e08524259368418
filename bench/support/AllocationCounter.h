#pragma once
// Counts every allocation the program makes through operator new. A program
// that calls AllocationCount links the counting operator new and delete in
// place of the standard ones.

#include <cstddef>

namespace bench_support {

// Allocations made since the program started.
std::size_t AllocationCount();

}  // namespace bench_support
