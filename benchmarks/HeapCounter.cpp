// Every allocation of the benchmark program passes here: its usable size is added to the live
// bytes, and the peak follows. glibc's malloc_usable_size gives the size back at free, so no
// header is needed.
#include "HeapCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace heapcount {
namespace {

std::atomic<std::size_t> live{0};
std::atomic<std::size_t> peak{0};

void* Counted(void* block) {
    if (!block) return nullptr;
    const std::size_t now = live.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return block;
}

void Release(void* block) {
    if (!block) return;
    live.fetch_sub(malloc_usable_size(block));
    std::free(block);
}

void* Allocate(std::size_t size) {
    void* block = Counted(std::malloc(size ? size : 1));
    if (!block) throw std::bad_alloc();
    return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    void* block = Counted(std::aligned_alloc(align, rounded ? rounded : align));
    if (!block) throw std::bad_alloc();
    return block;
}

}  // namespace

std::size_t LiveBytes() { return live.load(); }
std::size_t PeakBytes() { return peak.load(); }
void ResetPeak() { peak.store(live.load()); }

}  // namespace heapcount

void* operator new(std::size_t size) { return heapcount::Allocate(size); }
void* operator new[](std::size_t size) { return heapcount::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return heapcount::Counted(std::malloc(size ? size : 1));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return heapcount::Counted(std::malloc(size ? size : 1));
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return heapcount::AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return heapcount::AllocateAligned(size, alignment);
}
void operator delete(void* block) noexcept { heapcount::Release(block); }
void operator delete[](void* block) noexcept { heapcount::Release(block); }
void operator delete(void* block, std::size_t) noexcept { heapcount::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { heapcount::Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { heapcount::Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { heapcount::Release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    heapcount::Release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    heapcount::Release(block);
}
