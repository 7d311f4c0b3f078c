// The Windows tests' allocation operators, in place of the programs' own
// (catalogue/allocation.cpp). Every new block comes filled with a pattern
// that is not zero, so code that counts on fresh memory being zero fails on
// every run, not only when the heap happens to hand back used memory.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

// The error mode in force when the last block was handed out: what code that
// allocates as it works ran under.
UINT errorModeAtLastAllocation;

static void* Filled(std::size_t size) {
    errorModeAtLastAllocation = SetErrorMode(0);
    SetErrorMode(errorModeAtLastAllocation);
    void* block = std::malloc(size ? size : 1);
    if (block) std::memset(block, 0xA5, size);
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Filled(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Filled(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
