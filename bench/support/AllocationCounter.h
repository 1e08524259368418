#pragma once
// Counts every heap allocation the program makes (malloc and its kin, which
// operator new goes through too). A program that calls AllocationCount links
// the counting allocator in place of the C library's (glibc only).

#include <cstddef>

namespace bench_support {

// Allocations made since the program started.
std::size_t AllocationCount();

}  // namespace bench_support
