#pragma once
// Counts every heap allocation the program makes (malloc and its kin, which
// operator new goes through too). A program that calls AllocationCount links
// the counting allocator in place of the C library's (glibc only).

#include <cstddef>

namespace bench_support {

// Allocations made since the program started.
std::size_t AllocationCount();

// While on, every allocation also writes the call stack that made it to
// standard error (raw addresses with their module and offset, for addr2line),
// so a count can be traced to its callers. Off by default.
void TraceAllocations(bool AOn);

}  // namespace bench_support
