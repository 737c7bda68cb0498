// operator new and delete replaced for the whole test program: every form
// allocates with malloc (or aligned_alloc) and frees with free, so sanitizers
// see matching pairs. Where malloc is not counted itself, operator new is.
#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

extern "C" {
void zt_note_allocation(size_t size);
void zt_start_counting(void);
long zt_stop_counting(void);
size_t zt_counted_size(long index);
int zt_counts_every_malloc(void);
}

namespace {

void* Allocate(std::size_t size) noexcept {
    if (zt_counts_every_malloc() == 0) zt_note_allocation(size);
    return std::malloc(size != 0 ? size : 1);
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
    if (zt_counts_every_malloc() == 0) zt_note_allocation(size);
    std::size_t align = static_cast<std::size_t>(alignment);
    if (align < sizeof(void*)) align = sizeof(void*);
    std::size_t rounded = (size + align - 1) / align * align; // aligned_alloc wants a multiple
    return std::aligned_alloc(align, rounded != 0 ? rounded : align);
}

void* OrThrow(void* block) {
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

} // namespace

void* operator new(std::size_t size) { return OrThrow(Allocate(size)); }
void* operator new[](std::size_t size) { return OrThrow(Allocate(size)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return OrThrow(AllocateAligned(size, a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return OrThrow(AllocateAligned(size, a)); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, a);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(block); }

namespace zt::test {

void StartCountingAllocations() { zt_start_counting(); }
long StopCountingAllocations() { return zt_stop_counting(); }
bool CountsEveryMalloc() { return zt_counts_every_malloc() != 0; }

std::string CountedAllocationSizes() {
    std::string sizes;
    for (long i = 0; i < 8 && zt_counted_size(i) != 0; ++i)
        sizes += (sizes.empty() ? "" : ", ") + std::to_string(zt_counted_size(i));
    return sizes;
}

} // namespace zt::test
