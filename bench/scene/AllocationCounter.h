#pragma once
// Counts heap allocations by replacing the global operator new with malloc. Include it in one
// source file of a benchmark program.

#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long> gAllocations{0};

void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
