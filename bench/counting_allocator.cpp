// counting_allocator.cpp - counts every allocation of the benchmark process (glibc only).
//
// The C library's allocation functions are replaced by ones that count and hand on to
// glibc's own, so a benchmark can show that the code it times allocates nothing: operator
// new, strdup and the C library itself all end up here.
#include <stddef.h>

#include "bench/counting_allocator.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

static unsigned long Allocations;

unsigned long AllocationCount()
{
    return __atomic_load_n(&Allocations, __ATOMIC_RELAXED);
}

static void CountAllocation()
{
    __atomic_add_fetch(&Allocations, 1, __ATOMIC_RELAXED);
}

extern "C" void* malloc(size_t size) noexcept
{
    CountAllocation();
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) noexcept
{
    CountAllocation();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, size_t size) noexcept
{
    CountAllocation();
    return __libc_realloc(block, size);
}

extern "C" void* memalign(size_t alignment, size_t size) noexcept
{
    CountAllocation();
    return __libc_memalign(alignment, size);
}

extern "C" void* aligned_alloc(size_t alignment, size_t size) noexcept
{
    CountAllocation();
    return __libc_memalign(alignment, size);
}

extern "C" int posix_memalign(void** result, size_t alignment, size_t size) noexcept
{
    CountAllocation();
    void* block = __libc_memalign(alignment, size);
    if (!block) return 12;  // ENOMEM
    *result = block;
    return 0;
}

extern "C" void free(void* block) noexcept
{
    __libc_free(block);
}
