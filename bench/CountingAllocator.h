// Counts the program's heap allocations, so that a benchmark can report how
// many a frame or a line costs. It replaces the global operator new: include
// it in one file of a benchmark program only.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long> Allocations{0};

// g++ 12 takes the free() of a pointer that this very operator new got from
// malloc() for a mismatched pair once both are inlined into a caller.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t Size) {
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* P = std::malloc(Size == 0 ? 1 : Size)) return P;
    throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }
