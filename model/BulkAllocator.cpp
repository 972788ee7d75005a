#include "model/BulkAllocator.h"

#include <sys/mman.h>

#include <cstdint>

namespace tv {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kPage = size_t(4) << 10;

size_t RoundUp(size_t bytes, size_t unit) { return (bytes + unit - 1) / unit * unit; }

// The kernel backs with huge pages only whole aligned 2 MiB ranges of a mapping: a block is
// mapped to whole huge pages where that wastes at most an eighth of it, else to whole small
// pages (its tail then stays in small pages).
size_t MappedSize(size_t bytes) {
    const size_t huge = RoundUp(bytes, kHugePage);
    return huge - bytes <= bytes / 8 ? huge : RoundUp(bytes, kPage);
}

}  // namespace

void* BulkMap(size_t bytes) {
    // Mapped one huge page larger than needed and trimmed to start on a huge-page boundary, so
    // that the kernel can back the block with huge pages; the pages arrive zeroed, written once.
    const size_t size = MappedSize(bytes);
    const size_t span = size + kHugePage;
    void* m = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t base = reinterpret_cast<uintptr_t>(m);
    const uintptr_t aligned = RoundUp(base, kHugePage);
    if (aligned > base) munmap(m, aligned - base);
    const uintptr_t tail = aligned + size;
    if (base + span > tail) munmap(reinterpret_cast<void*>(tail), base + span - tail);
    void* p = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    // Only a hint: where huge pages are off the block works with small ones.
    madvise(p, size, MADV_HUGEPAGE);
#endif
    return p;
}

void BulkUnmap(void* p, size_t bytes) {
    if (p) munmap(p, MappedSize(bytes));
}

}  // namespace tv
