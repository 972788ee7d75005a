#pragma once
// An allocator for the large per-sample arrays that a reader or a summary writes in full
// right after sizing them: elements are default-initialised (a trivial type is left as the
// memory gives it, not zero-filled first), and a block of several megabytes is mapped on its
// own and asks the kernel for huge pages, which cuts the page faults of a record's open
// hundredfold. Vectors with it are used only where every element is written before it is read.
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace tv {

// Blocks at least this large are mapped with huge pages asked for; smaller ones come from the
// heap.
constexpr size_t kBulkMapBytes = size_t(1) << 20;

void* BulkMap(size_t bytes);
void BulkUnmap(void* p, size_t bytes);

template <class T>
class BulkAllocator {
public:
    using value_type = T;
    BulkAllocator() noexcept = default;
    template <class U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}  // NOLINT: rebinding

    T* allocate(size_t n) {
        if (n > size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (bytes >= kBulkMapBytes) return static_cast<T*>(BulkMap(bytes));
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, size_t n) noexcept {
        if (n * sizeof(T) >= kBulkMapBytes) BulkUnmap(p, n * sizeof(T));
        else std::allocator<T>().deallocate(p, n);
    }
    // Without arguments an element is default-initialised: a trivial one keeps what the memory
    // holds, to be written by the caller.
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const BulkAllocator&, const BulkAllocator&) noexcept { return true; }
};

// A vector whose resize leaves trivial elements unwritten.
template <class T>
using BulkVector = std::vector<T, BulkAllocator<T>>;

}  // namespace tv
