/* The thread-local allocation tally, and, outside sanitizer builds, the C
   library's allocation entry points replaced by ones that note the call and
   forward to the C library's own allocator. free is replaced too, so every
   block goes back the way it came. */
#include <errno.h>
#include <stddef.h>
#include <stdlib.h>

static _Thread_local int tCounting;
static _Thread_local long tCount;
enum { kKeptSizes = 8 };
static _Thread_local size_t tSizes[kKeptSizes];

void zt_note_allocation(size_t size) {
    if (!tCounting) return;
    if (tCount < kKeptSizes) tSizes[tCount] = size;
    ++tCount;
}

void zt_start_counting(void) {
    tCount = 0;
    tCounting = 1;
}

long zt_stop_counting(void) {
    tCounting = 0;
    return tCount;
}

size_t zt_counted_size(long index) { return index >= 0 && index < kKeptSizes ? tSizes[index] : 0; }

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
int zt_counts_every_malloc(void) { return 0; }
#else
int zt_counts_every_malloc(void) { return 1; }

void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);

void* malloc(size_t size) {
    zt_note_allocation(size);
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    zt_note_allocation(count * size);
    return __libc_calloc(count, size);
}

void* realloc(void* block, size_t size) {
    zt_note_allocation(size);
    return __libc_realloc(block, size);
}

void free(void* block) { __libc_free(block); }

int posix_memalign(void** result, size_t alignment, size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    zt_note_allocation(size);
    void* block = __libc_memalign(alignment, size);
    if (block == NULL) return ENOMEM;
    *result = block;
    return 0;
}

void* aligned_alloc(size_t alignment, size_t size) {
    zt_note_allocation(size);
    return __libc_memalign(alignment, size);
}

void* memalign(size_t alignment, size_t size) {
    zt_note_allocation(size);
    return __libc_memalign(alignment, size);
}
#endif
