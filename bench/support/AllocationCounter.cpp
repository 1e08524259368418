#include "bench/support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> gAllocations{0};

void* CountedAlloc(std::size_t ASize) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(ASize == 0 ? 1 : ASize)) return p;
  throw std::bad_alloc();
}

}  // namespace

std::size_t bench_support::AllocationCount() { return gAllocations.load(std::memory_order_relaxed); }

void* operator new(std::size_t ASize) { return CountedAlloc(ASize); }
void* operator new[](std::size_t ASize) { return CountedAlloc(ASize); }
void operator delete(void* APtr) noexcept { std::free(APtr); }
void operator delete[](void* APtr) noexcept { std::free(APtr); }
void operator delete(void* APtr, std::size_t) noexcept { std::free(APtr); }
void operator delete[](void* APtr, std::size_t) noexcept { std::free(APtr); }
