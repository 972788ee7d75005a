#pragma once
// The largest single allocation made while a watch lives, through the sanitizers' allocation
// hook (the test suite runs under AddressSanitizer). Without a sanitizer there is no hook, and
// Available() tells the test to skip.
#include <atomic>
#include <cstddef>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                                         void (*free_hook)(const volatile void*))
    __attribute__((weak));

namespace testutil {

class LargestAllocation {
public:
    LargestAllocation() {
        static const bool installed = __sanitizer_install_malloc_and_free_hooks &&
                                      __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
        m_available = installed;
        Largest().store(0);
        Watching().store(true);
    }
    ~LargestAllocation() { Watching().store(false); }
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;

    bool Available() const { return m_available; }
    size_t Bytes() const { return Largest().load(); }

private:
    static std::atomic<size_t>& Largest() {
        static std::atomic<size_t> v{0};
        return v;
    }
    static std::atomic<bool>& Watching() {
        static std::atomic<bool> v{false};
        return v;
    }
    static void OnMalloc(const volatile void*, size_t size) {
        if (!Watching().load(std::memory_order_relaxed)) return;
        size_t seen = Largest().load(std::memory_order_relaxed);
        while (size > seen && !Largest().compare_exchange_weak(seen, size)) {
        }
    }
    static void OnFree(const volatile void*) {}

    bool m_available = false;
};

}  // namespace testutil
