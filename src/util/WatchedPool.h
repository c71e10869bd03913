// A pool of small blocks that the address sanitizer still watches.
//
// A pool hands out pieces of large chunks, so a read past the end of one block would land in the
// next without a report, and a block given back could be read on unnoticed. Under the sanitizer
// each block is therefore followed by a poisoned gap, and a block given back is poisoned whole
// until the pool hands it out again. Without the sanitizer this is a plain pool.
#pragma once

#include <cstddef>
#include <memory_resource>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORV_WATCHED_POOL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ORV_WATCHED_POOL_ASAN 1
#endif

#ifdef ORV_WATCHED_POOL_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace orv {

class WatchedPool final : public std::pmr::memory_resource {
public:
    WatchedPool() = default;
    WatchedPool(const WatchedPool&) = delete;
    WatchedPool& operator=(const WatchedPool&) = delete;

private:
#ifdef ORV_WATCHED_POOL_ASAN
    // The sanitizer tracks memory in eight-byte granules: blocks start on one, so a gap of two
    // granules always holds at least one whole poisoned granule.
    static constexpr size_t kGap = 16;
    static constexpr size_t kGranule = 8;

    void* do_allocate(size_t bytes, size_t align) override {
        void* p = pool_.allocate(bytes + kGap, align < kGranule ? kGranule : align);
        ASAN_UNPOISON_MEMORY_REGION(p, bytes);
        ASAN_POISON_MEMORY_REGION(static_cast<char*>(p) + bytes, kGap);
        return p;
    }
    void do_deallocate(void* p, size_t bytes, size_t align) override {
        ASAN_POISON_MEMORY_REGION(p, bytes + kGap);
        pool_.deallocate(p, bytes + kGap, align < kGranule ? kGranule : align);
    }
#else
    void* do_allocate(size_t bytes, size_t align) override {
        return pool_.allocate(bytes, align);
    }
    void do_deallocate(void* p, size_t bytes, size_t align) override {
        pool_.deallocate(p, bytes, align);
    }
#endif
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    std::pmr::unsynchronized_pool_resource pool_;
};

} // namespace orv
