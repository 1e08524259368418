#include "bench/support/AllocationCounter.h"

#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

// Qt's containers, strings and regions take their memory from malloc, not
// from operator new, so a count of operator new alone misses most of a
// repaint's allocations. With glibc the program's own malloc family takes the
// place of the C library's for every shared library too; each one counts and
// hands over to glibc's allocator. operator new goes through malloc and is
// counted there.

extern "C" {
void* __libc_malloc(std::size_t) noexcept;
void* __libc_calloc(std::size_t, std::size_t) noexcept;
void* __libc_realloc(void*, std::size_t) noexcept;
void* __libc_memalign(std::size_t, std::size_t) noexcept;
void __libc_free(void*) noexcept;
}

namespace {

std::atomic<std::size_t> gAllocations{0};
std::atomic<bool> gTrace{false};
// The stack walk may allocate on its first use; that allocation is not traced.
thread_local bool tInTrace = false;

void Trace() {
  if (tInTrace) return;
  tInTrace = true;
  void* frames[32];
  const int count = backtrace(frames, 32);
  constexpr char kMark[] = "--- allocation\n";
  if (write(STDERR_FILENO, kMark, sizeof kMark - 1) > 0) backtrace_symbols_fd(frames, count, STDERR_FILENO);
  tInTrace = false;
}

void Count() {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (gTrace.load(std::memory_order_relaxed)) Trace();
}

}  // namespace

std::size_t bench_support::AllocationCount() { return gAllocations.load(std::memory_order_relaxed); }

void bench_support::TraceAllocations(bool AOn) {
  if (AOn) {
    // Loads the unwinder now, outside the frames being traced.
    void* frame = nullptr;
    backtrace(&frame, 1);
  }
  gTrace.store(AOn, std::memory_order_relaxed);
}

extern "C" {

void* malloc(std::size_t ASize) noexcept {
  Count();
  return __libc_malloc(ASize);
}

void* calloc(std::size_t ACount, std::size_t ASize) noexcept {
  Count();
  return __libc_calloc(ACount, ASize);
}

// A realloc that moves or grows a block is an allocation as far as the
// repaint is concerned; one that frees (size 0) is not.
void* realloc(void* APtr, std::size_t ASize) noexcept {
  if (ASize != 0) Count();
  return __libc_realloc(APtr, ASize);
}

void* memalign(std::size_t AAlignment, std::size_t ASize) noexcept {
  Count();
  return __libc_memalign(AAlignment, ASize);
}

void* aligned_alloc(std::size_t AAlignment, std::size_t ASize) noexcept {
  Count();
  return __libc_memalign(AAlignment, ASize);
}

int posix_memalign(void** APtr, std::size_t AAlignment, std::size_t ASize) noexcept {
  Count();
  void* p = __libc_memalign(AAlignment, ASize);
  if (p == nullptr) return ENOMEM;
  *APtr = p;
  return 0;
}

void free(void* APtr) noexcept { __libc_free(APtr); }

}  // extern "C"
