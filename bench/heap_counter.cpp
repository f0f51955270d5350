#include "heap_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> liveBlocks{0};
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};
}  // namespace

namespace heap_counter {
long long LiveBlocks() { return liveBlocks.load(); }
long long LiveBytes() { return liveBytes.load(); }
long long PeakBytes() { return peakBytes.load(); }
void ResetPeak() { peakBytes = liveBytes.load(); }
}  // namespace heap_counter

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    ++liveBlocks;
    const long long live = liveBytes += static_cast<long long>(malloc_usable_size(block));
    long long peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    --liveBlocks;
    liveBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }
