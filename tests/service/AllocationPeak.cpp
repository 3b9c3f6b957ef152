#include "tests/service/AllocationPeak.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> live{0};
std::atomic<std::size_t> peak{0};

void raisePeak(std::size_t level) {
    std::size_t seen = peak.load();
    while (level > seen && !peak.compare_exchange_weak(seen, level)) {
    }
}

} // namespace

// The library's other forms (arrays, sized and no-throw) all come down to these two.
void *operator new(std::size_t size) {
    void *block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    raisePeak(live += malloc_usable_size(block));
    return block;
}

void operator delete(void *block) noexcept {
    if (!block)
        return;
    live -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept {
    operator delete(block);
}

AllocationPeak::AllocationPeak() : start(live.load()) {
    peak = start;
}

std::size_t AllocationPeak::bytesAboveStart() const {
    return peak.load() - start;
}
